// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/settings/settings_location.h"

#include "core/settings/install_layout.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace lirobel::settings {

namespace {

QString BesideExecutable(const QString& executableFolder) {
    return QDir(executableFolder).filePath(QStringLiteral("Settings.ini"));
}

} // namespace

QString UserSettingsPath() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/Lirobel/Settings.ini");
}

QString WindowSettingsPath(const QString& executableFolder) {
    return !IsInstalled(executableFolder) && QFileInfo(executableFolder).isWritable()
               ? BesideExecutable(executableFolder)
               : UserSettingsPath();
}

QString CliSettingsPath(const QString& executableFolder) {
    const QString beside = BesideExecutable(executableFolder);
    return !IsInstalled(executableFolder) && QFileInfo(beside).isFile() ? beside : UserSettingsPath();
}

} // namespace lirobel::settings
