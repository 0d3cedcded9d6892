// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

namespace lirobel::pinyin {

/// The code of one UTF-16 code unit in code page 936 (GBK), whatever the system's own code page:
/// the byte value for a single-byte character, lead byte * 256 + trail byte read as a signed 16-bit
/// value for a double-byte one (always negative), and 63 ("?") for a code unit the code page cannot
/// represent, lone surrogates included.
///
/// The whole map is computed with the system's iconv once, on first use, so that a conversion never
/// calls iconv per character.
std::int16_t CharacterCode(char16_t c);

/// False when the system's iconv offers no code page 936; every character then has the code 63 and
/// no Chinese character can be recognised. Callers that can tell the user check this once.
bool CharacterCodesAvailable();

} // namespace lirobel::pinyin
