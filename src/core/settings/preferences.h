// SPDX-License-Identifier: GPL-3.0-or-later
// Choices the user makes in the windows beyond the four rule settings: kept per user in the system's
// configuration folder, so that "Settings.ini" keeps exactly its four lines.
#pragma once

#include <QAnyStringView>
#include <QString>

namespace lirobel::settings {

/// Whether the phonetic writer skips held notes (lyric "-").
inline constexpr QAnyStringView kSkipHeldNotesPreference = u"PhoneticWriter/SkipHeldNotes";

/// Whether the phonetic writer pours from the hanzi the notes carry rather than from the phonetic pane.
inline constexpr QAnyStringView kFromNotesPreference = u"PhoneticWriter/FromNotes";

/// Whether the Chinese tab reads lyrics by words (polyphones, traditional and rarer characters).
inline constexpr QAnyStringView kReadByWordsPreference = u"ChineseTab/ReadByWords";

/// The preferences file: "Lirobel/lirobel.conf" in the user's configuration folder
/// (~/.config/Lirobel/lirobel.conf on Linux).
QString PreferencesPath();

/// The stored choice, or byDefault when there is none or the file is not the user's own regular file in a
/// folder of theirs (files::CheckUserFile), which is then not opened.
bool ReadPreference(QAnyStringView key, bool byDefault);
/// Stores the choice at once; a configuration folder that cannot be written, or a file or folder that is
/// not the user's own, loses it with a word on stderr.
void WritePreference(QAnyStringView key, bool value);

} // namespace lirobel::settings
