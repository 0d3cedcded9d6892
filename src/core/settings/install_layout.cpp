// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/settings/install_layout.h"

#include <QDir>
#include <QFileInfo>
#include <QUrl>

namespace lirobel::settings {

namespace {

// The prefix-relative places the install rules use (GNUInstallDirs), given by the build.
const QString kBinFolder = QStringLiteral(LIROBEL_INSTALL_BINDIR);
const QString kInstalledMarker = QStringLiteral(LIROBEL_INSTALLED_MARKER);
const QString kInstalledReadme = QStringLiteral(LIROBEL_INSTALLED_README);

// The prefix the executable folder would be installed under, or "" when its path does not end in the
// binary folder.
QString Prefix(const QString& executableFolder) {
    const QString folder = QDir::cleanPath(executableFolder);
    const QString suffix = u'/' + kBinFolder;
    return folder.endsWith(suffix) ? folder.chopped(suffix.size()) : QString();
}

} // namespace

bool IsInstalled(const QString& executableFolder) {
    const QString prefix = Prefix(executableFolder);
    return !prefix.isEmpty() && QFileInfo(prefix + u'/' + kInstalledMarker).isFile();
}

QString ProjectPage(const QString& executableFolder) {
    const QString prefix = Prefix(executableFolder);
    return QUrl::fromLocalFile((prefix.isEmpty() ? QDir::cleanPath(executableFolder) : prefix) + u'/' +
                               kInstalledReadme)
        .toString();
}

} // namespace lirobel::settings
