// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/pinyin/character_code.h"

#include <array>
#include <iconv.h>

namespace lirobel::pinyin {

namespace {

constexpr std::int16_t kUnrepresentable = 63;

struct CodePage936 {
    std::array<std::int16_t, 0x10000> codes;
    bool available = false;

    CodePage936() {
        codes.fill(kUnrepresentable);
        iconv_t cd = iconv_open("CP936", "UTF-16LE");
        if (cd == reinterpret_cast<iconv_t>(-1))
            return;
        available = true;
        for (unsigned unit = 0; unit < 0x10000; ++unit) {
            if (unit >= 0xD800 && unit <= 0xDFFF)
                continue; // a lone surrogate is no character
            char in[2] = {static_cast<char>(unit & 0xFF), static_cast<char>(unit >> 8)};
            unsigned char out[8];
            char* inPtr = in;
            char* outPtr = reinterpret_cast<char*>(out);
            std::size_t inLeft = sizeof in;
            std::size_t outLeft = sizeof out;
            iconv(cd, nullptr, nullptr, nullptr, nullptr);
            // Judge by what was consumed and produced, not by the return value: only a character
            // converted whole counts.
            if (iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft) == static_cast<std::size_t>(-1) || inLeft != 0)
                continue;
            const std::size_t produced = sizeof out - outLeft;
            if (produced == 1)
                codes[unit] = static_cast<std::int16_t>(out[0]);
            else if (produced == 2)
                codes[unit] = static_cast<std::int16_t>(static_cast<std::uint16_t>(out[0] << 8 | out[1]));
        }
        iconv_close(cd);
    }
};

const CodePage936& Table() {
    static const CodePage936 table;
    return table;
}

} // namespace

std::int16_t CharacterCode(char16_t c) {
    return Table().codes[c];
}

bool CharacterCodesAvailable() {
    return Table().available;
}

} // namespace lirobel::pinyin
