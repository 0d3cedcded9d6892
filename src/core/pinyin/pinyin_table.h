// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace lirobel::pinyin {

/// A syllable and the code of the first GB2312 level-1 hanzi read with it.
struct PinYinEntry {
    std::string_view syllable; ///< 1 to 6 lower-case ASCII letters; "v" stands for ü in "lv" and "nv"
    std::int16_t code;         ///< GB2312 code as a signed 16-bit value
};

/// The 396 syllable runs of GB2312 level 1, in GB2312 order: codes strictly ascending from
/// -20319 ("a") to -10254 ("zuo"). A hanzi takes the syllable of the run its code lies in.
std::span<const PinYinEntry> PinYinTable();

} // namespace lirobel::pinyin
