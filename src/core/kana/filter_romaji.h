// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/kana/romaji_conversion.h"
#include "core/settings/settings.h"

#include <QStringView>

namespace lirobel::kana {

/// The longest English span: its closing "*/" must begin within this many characters after "/*".
inline constexpr qsizetype kLongestEnglishSpan = 32764;

/// Sequence romaji of the romaji found in mixed lyrics. The text is lower-cased, then scanned left to
/// right: each syllable gives itself as a token ("wo" gives WoReading, "zu" and "du" give ZuReading, as
/// they stand), the first of two equal consonants (and "t" before "c") gives "-", and the text between
/// "/*" and "*/" gives one token in capitals, whatever it holds. Everything else leaves no trace.
/// "/*Happy*/ birthday" gives "HAPPY bi da".
///
/// Fails when a "/*" has no "*/" within kLongestEnglishSpan characters.
RomajiConversion FilterRomaji(QStringView text, const settings::Settings& settings);

} // namespace lirobel::kana
