// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringView>
#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

namespace lirobel::pinyin {

class TableReader;
class TableWriter;

/// The customary toneless reading (ü written as v, lüe and nüe as lue and nue) of every ideograph, in the
/// basic plane or beyond it, that the Unihan database of Debian's package unicode-data reads: its kMandarin reading,
/// else the first of kHanyuPinyin, kXHC1983 or kTGHZ2013; a character with none of them takes the reading of a variant
/// that has one (from Unihan's variants, else from the form its definition names: "(same as 昆)"); one read only in
/// Cantonese takes the Mandarin reading most common among the characters of its Cantonese syllable. Takes a few tenths
/// of a second to build: for the rare characters the phrase database lacks.
class UnihanReadings {
public:
    explicit UnihanReadings(const char* readingsPath = kReadingsPath, const char* variantsPath = kVariantsPath);
    /// The readings as SaveTo wrote them; Problem() is not empty when the bytes do not hold them whole.
    explicit UnihanReadings(TableReader& saved);
    void SaveTo(TableWriter& writer) const;

    /// Empty once the readings are usable; otherwise what is missing or broken.
    const QString& Problem() const { return m_problem; }
    /// The reading followed by ",", as the pinyin text carries it, or an empty view.
    QStringView Reading(char32_t c) const {
        return m_syllables[c <= 0xFFFF ? m_characters[c] : SupplementarySyllable(c)];
    }

    /// The last code point of the planes that hold ideographs.
    static constexpr char32_t kLastIdeograph = 0x3FFFF;

    /// Why the files cannot be read, or an empty string; far cheaper than building the readings.
    static QString Unreadable(const char* readingsPath = kReadingsPath, const char* variantsPath = kVariantsPath);

    static constexpr const char* kReadingsPath = "/usr/share/unicode/Unihan_Readings.txt.bz2";
    static constexpr const char* kVariantsPath = "/usr/share/unicode/Unihan_Variants.txt.bz2";

private:
    QString Load(const char* readingsPath, const char* variantsPath);
    std::uint16_t SupplementarySyllable(char32_t c) const;

    std::vector<QString> m_syllables{QString()};
    std::array<std::uint16_t, 0x10000> m_characters{};
    /// The read characters beyond the basic plane, in order, and their syllables: few and rarely asked for.
    std::vector<std::uint32_t> m_supplementary;
    std::vector<std::uint16_t> m_supplementarySyllables;
    QString m_problem;
};

/// A pinyin syllable with its tone marks dropped and ü written as v, but as u in lüe and nüe (as the
/// phonetic table writes them): "lǜ" gives "lv", "lüè" gives "lue", "ńg" gives "ng".
QString Toneless(QStringView marked);

} // namespace lirobel::pinyin
