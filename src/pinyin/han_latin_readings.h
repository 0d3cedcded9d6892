// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <functional>

namespace lirobel::pinyin {

/// The toneless reading of each of the characters that ICU's Han-Latin transform knows (its most common
/// reading, ü written as v), handed to found one by one. Returns why ICU cannot do it, or an empty string.
/// Slow (over a second to set ICU up, 0.1 ms a character): for the rare characters other sources lack.
QString ReadWithHanLatin(QStringView characters, const std::function<void(char16_t, QStringView)>& found);

/// A pinyin syllable with its tone marks dropped and ü written as v: "lǜ" gives "lv", "ńg" gives "ng".
QString Toneless(QStringView marked);

} // namespace lirobel::pinyin
