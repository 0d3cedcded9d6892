// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/settings/preferences.h"

#include "core/files/user_file.h"

#include <QSettings>
#include <QStandardPaths>
#include <cstdio>

namespace lirobel::settings {

namespace {

// Judged before a QSettings is made for it: making one already opens the file, which would follow a
// link or wait on a pipe forever, and its save writes through a link to the file it names.
bool Usable(const QString& path) {
    return files::CheckUserFile(path).state != files::UserFileState::Refused;
}

} // namespace

QString PreferencesPath() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/Lirobel/lirobel.conf");
}

bool ReadPreference(QAnyStringView key, bool byDefault) {
    const QString path = PreferencesPath();
    return Usable(path) ? QSettings(path, QSettings::IniFormat).value(key, byDefault).toBool() : byDefault;
}

void WritePreference(QAnyStringView key, bool value) {
    const QString path = PreferencesPath();
    if (const files::UserFileCheck check = files::CheckUserFile(path); check.state == files::UserFileState::Refused) {
        std::fprintf(stderr, "lirobel: cannot keep a preference in %s: %s\n", qPrintable(path),
                     qPrintable(check.cause));
        return;
    }
    QSettings preferences(path, QSettings::IniFormat);
    preferences.setValue(key, value);
    preferences.sync();
    if (preferences.status() != QSettings::NoError)
        std::fprintf(stderr, "lirobel: cannot keep a preference in %s\n", qPrintable(path));
}

} // namespace lirobel::settings
