// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringView>

namespace lirobel::pinyin {

/// Codes of GB2312 level 1 (0xB0A1 to 0xD7F9 as signed 16-bit values): only these have a syllable.
inline constexpr int kFirstLevel1Code = -20319;
inline constexpr int kLastLevel1Code = -10247;

/// The syllable of a character code followed by ",", or "" for a code outside GB2312 level 1.
/// A code takes the syllable of the last table entry whose code is not above it.
QString CodeToPinYin(int code);

/// Pinyin text of Chinese lyrics: for every code unit of the text that is a GB2312 level-1 hanzi,
/// its syllable followed by ","; everything else (line breaks included) leaves no trace.
/// "你好" gives "ni,hao,". Never fails.
QString ChineseToPinYin(QStringView text);

} // namespace lirobel::pinyin
