// SPDX-License-Identifier: GPL-3.0-or-later
// Where "Settings.ini" lives: in the user's configuration folder for an installed program, which never
// writes beside itself, whoever runs it; beside the executable in the build tree and in a copied program
// folder, unless that folder cannot be written.
#pragma once

#include <QString>

namespace lirobel::settings {

/// The per-user settings file: "Lirobel/Settings.ini" in the user's configuration folder
/// (~/.config/Lirobel/Settings.ini on Linux).
QString UserSettingsPath();

/// The file the window reads and writes: UserSettingsPath() when the program is installed (IsInstalled)
/// or its folder cannot be written, otherwise "Settings.ini" in the executable's folder.
QString WindowSettingsPath(const QString& executableFolder);

/// The file the CLI reads, the one the window beside it writes: UserSettingsPath() when installed;
/// otherwise "Settings.ini" beside the executable when that exists, or else UserSettingsPath() (which may
/// not exist either).
QString CliSettingsPath(const QString& executableFolder);

} // namespace lirobel::settings
