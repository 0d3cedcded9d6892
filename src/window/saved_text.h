// SPDX-License-Identifier: GPL-3.0-or-later
// The text of the input panes, kept per user from one run of the window to the next, so that a stray
// Esc or Enter, which ends the program at once, loses nothing typed.
#pragma once

#include <QString>

namespace lirobel::window {

/// Where the user's pane text is kept: "Lirobel/panes" in the per-user data folder.
QString SavedTextFolder();

/// Keeps text as what the pane named `pane` held at the end of the run, in `folder` (created when
/// missing). An empty text removes what was kept. The file is replaced whole by a rename, never written
/// through a link found at its name. "" when done, otherwise the cause, in English.
QString SaveText(const QString& folder, const QString& pane, const QString& text);

/// What SaveText kept for the pane, or "" when nothing was kept or it is not a regular file of the
/// user's own (a link, a pipe or a device is never opened).
QString SavedText(const QString& folder, const QString& pane);

} // namespace lirobel::window
