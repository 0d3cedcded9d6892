// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringView>
#include <bitset>
#include <memory>

namespace lirobel::pinyin {

class TableReader;
class TableWriter;

/// Traditional Chinese to simplified with OpenCC's "t2s" conversion (its phrases included, so that 乾隆
/// and 乾淨 part ways). Only lines that hold a character t2s changes pass through OpenCC; lines in
/// simplified characters, the usual case, cost one table lookup per character.
class TraditionalToSimplified {
public:
    /// Opens OpenCC's t2s configuration; Problem() says why when it cannot.
    TraditionalToSimplified();
    /// Opens OpenCC, and takes which characters it changes from what SaveTo wrote.
    explicit TraditionalToSimplified(TableReader& saved);
    void SaveTo(TableWriter& writer) const;
    ~TraditionalToSimplified();
    TraditionalToSimplified(const TraditionalToSimplified&) = delete;
    TraditionalToSimplified& operator=(const TraditionalToSimplified&) = delete;

    /// Empty once the conversion works.
    const QString& Problem() const { return m_problem; }

    /// The text with its traditional lines simplified; line breaks stay where they were.
    QString Simplified(const QString& text) const;

    /// The files of Debian's OpenCC data that t2s reads.
    static constexpr const char* kDataFiles[] = {"/usr/share/opencc/t2s.json", "/usr/share/opencc/TSPhrases.ocd2",
                                                 "/usr/share/opencc/TSCharacters.ocd2"};

private:
    bool Open();
    void FindChangedCharacters();
    QString Convert(QStringView line) const;
    /// Converts the line but keeps its m_kept characters as they are.
    QString ConvertAround(QStringView line) const;

    struct Converter;
    std::unique_ptr<Converter> m_converter;
    std::bitset<0x10000> m_changed; ///< code units that t2s replaces on their own
    /// Rare traditional characters that t2s writes as simplified ones outside the basic plane, which no
    /// source of readings knows: they stay traditional, and Unihan reads them.
    std::bitset<0x10000> m_kept;
    QString m_problem;
};

} // namespace lirobel::pinyin
