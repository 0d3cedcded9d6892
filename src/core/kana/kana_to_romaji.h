// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/kana/romaji_conversion.h"
#include "core/settings/settings.h"

#include <QStringView>

namespace lirobel::kana {

/// Sequence romaji of kana lyrics: one token per kana of the kana tables, in text order, joined by single
/// spaces. は/ハ, を/ヲ and づ/ヅ take HaReading, WoReading and ZuReading of the settings as they stand.
/// A small kana replaces the token of the kana right before it in the text when the two form a pair
/// (きゃ gives "kya", in either script or mixed); otherwise it adds nothing. Everything else (kanji,
/// Latin letters, punctuation, spaces, line breaks) leaves no trace. "きゃっと" gives "kya - to".
///
/// Fails only when the text begins with one of the small kana, which then has nothing to merge with.
RomajiConversion KanaToRomaji(QStringView text, const settings::Settings& settings);

} // namespace lirobel::kana
