// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/pinyin/chinese_to_pinyin.h"

#include "core/pinyin/character_code.h"
#include "core/pinyin/pinyin_table.h"

#include <algorithm>
#include <array>

namespace lirobel::pinyin {

namespace {

constexpr int kNoSyllable = -1;

int SyllableIndexOfCode(int code) {
    if (code < kFirstLevel1Code || code > kLastLevel1Code)
        return kNoSyllable;
    const auto table = PinYinTable();
    const auto after = std::upper_bound(table.begin(), table.end(), code,
                                        [](int value, const PinYinEntry& entry) { return value < entry.code; });
    // The first entry's code is the bottom of the range, so some entry always lies at or below the code.
    return static_cast<int>(after - table.begin()) - 1;
}

// Per UTF-16 code unit, the text it appends ("syllable," or nothing), computed once so that a conversion
// is a table lookup per character.
class SyllablesByCodeUnit {
public:
    SyllablesByCodeUnit() {
        const auto table = PinYinTable();
        for (std::size_t i = 0; i < table.size(); ++i) {
            m_syllables[i] = QString::fromLatin1(table[i].syllable.data(), table[i].syllable.size()) + u',';
        }
        for (unsigned unit = 0; unit < m_index.size(); ++unit) {
            m_index[unit] = static_cast<std::int16_t>(SyllableIndexOfCode(CharacterCode(static_cast<char16_t>(unit))));
        }
    }

    QStringView Of(char16_t unit) const {
        const int index = m_index[unit];
        return index == kNoSyllable ? QStringView() : QStringView(m_syllables[index]);
    }

private:
    std::array<QString, 396> m_syllables;
    std::array<std::int16_t, 0x10000> m_index;
};

const SyllablesByCodeUnit& Syllables() {
    static const SyllablesByCodeUnit syllables;
    return syllables;
}

} // namespace

QString CodeToPinYin(int code) {
    const int index = SyllableIndexOfCode(code);
    if (index == kNoSyllable)
        return {};
    const std::string_view syllable = PinYinTable()[index].syllable;
    return QString::fromLatin1(syllable.data(), syllable.size()) + u',';
}

QString ChineseToPinYin(QStringView text) {
    const SyllablesByCodeUnit& syllables = Syllables();
    QString result;
    result.reserve(text.size() * 4); // a syllable and its comma take about four characters
    for (const QChar c : text)
        result.append(syllables.Of(c.unicode()));
    return result;
}

} // namespace lirobel::pinyin
