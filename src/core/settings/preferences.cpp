// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/settings/preferences.h"

#include <QSettings>
#include <cstdio>

namespace lirobel::settings {

namespace {

// Named here rather than through the application object, so that every program and test reads the same
// file: ~/.config/Lirobel/lirobel.conf on Linux.
QSettings Preferences() {
    return QSettings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Lirobel"),
                     QStringLiteral("lirobel"));
}

} // namespace

bool ReadPreference(QAnyStringView key, bool byDefault) {
    return Preferences().value(key, byDefault).toBool();
}

void WritePreference(QAnyStringView key, bool value) {
    QSettings preferences = Preferences();
    preferences.setValue(key, value);
    preferences.sync();
    if (preferences.status() != QSettings::NoError)
        std::fprintf(stderr, "lirobel: cannot keep a preference in %s\n", qPrintable(preferences.fileName()));
}

} // namespace lirobel::settings
