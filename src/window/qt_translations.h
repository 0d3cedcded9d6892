// SPDX-License-Identifier: GPL-3.0-or-later
// Qt's own texts (the file dialog's labels, a message box's "Show Details..." button) in the user's
// language, or in the Chinese of the program's own texts.
#pragma once

class QCoreApplication;

namespace lirobel::window {

/// Installs Qt's translations from Qt's translations folder for the system's language, or for
/// Simplified Chinese when the system names no language ("C") or Qt has none for it. False when none is
/// found (the package qt6-translations-l10n is missing): Qt's texts stay in English.
bool InstallQtTranslations(QCoreApplication& application);

} // namespace lirobel::window
