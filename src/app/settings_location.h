// SPDX-License-Identifier: GPL-3.0-or-later
// Where "Settings.ini" lives: beside the executable, or, where that folder cannot be written (a program
// installed in a system folder), in the user's configuration folder.
#pragma once

#include <QString>

namespace lirobel::app {

/// The per-user settings file: "Lirobel/Settings.ini" in the user's configuration folder
/// (~/.config/Lirobel/Settings.ini on Linux).
QString UserSettingsPath();

/// The file the window reads and writes: "Settings.ini" in the executable's folder when that folder can
/// be written, otherwise UserSettingsPath().
QString WindowSettingsPath(const QString& executableFolder);

/// The file the CLI reads: "Settings.ini" beside its executable when that exists, otherwise
/// UserSettingsPath() (which may not exist either).
QString CliSettingsPath(const QString& executableFolder);

} // namespace lirobel::app
