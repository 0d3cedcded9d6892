// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/pinyin/huge_page_allocator.h"

#include <QHash>
#include <QString>
#include <QStringView>
#include <array>
#include <cstdint>
#include <vector>

namespace lirobel::pinyin {

class TableReader;
class TableWriter;

/// Chinese words with their readings and frequencies, and the usual reading of every character, built
/// once from the phrase database of Debian's package pinyin-database: words of two to four characters, and
/// the most frequent reading of each of its 26,000 single characters.
class WordDictionary {
public:
    static constexpr int kLongestWord = 4;
    static constexpr std::uint16_t kNoSyllable = 0;

    struct Word {
        std::array<std::uint16_t, kLongestWord> syllables{}; ///< one per character
        std::int32_t frequency = -1;                         ///< -1: only the start of longer words
        bool startsLongerWords = false;
    };

    explicit WordDictionary(const char* databasePath = kDatabasePath);
    /// The tables as SaveTo wrote them; Problem() is not empty when the bytes do not hold them whole.
    explicit WordDictionary(TableReader& saved);
    void SaveTo(TableWriter& writer) const;

    /// Empty once the dictionary is usable; otherwise what is missing.
    const QString& Problem() const { return m_problem; }

    /// The usual reading of a character, or kNoSyllable.
    std::uint16_t CharacterSyllable(char16_t c) const { return m_characters[c]; }
    /// The entry of 2 to kLongestWord characters, or nullptr.
    const Word* Find(const char16_t* characters, int length) const;
    /// Starts fetching the place of an entry that Find will soon look for: the table outgrows the caches.
    void Prefetch(const char16_t* characters, int length) const;
    /// A syllable followed by ",", as the pinyin text carries it.
    QStringView Syllable(std::uint16_t index) const { return m_syllables[index]; }

    static constexpr const char* kDatabasePath = "/usr/share/pinyin-database/main.db";

private:
    std::uint16_t Intern(const QString& syllable);
    QString LoadWords(const char* databasePath);
    Word& Slot(std::uint64_t key);
    struct PendingWord {
        std::uint64_t key;
        int length;
        std::int32_t frequency;
        std::array<std::uint16_t, kLongestWord> syllables;
    };
    void StorePending(std::vector<PendingWord>& pending);

    // Open addressing in one flat array: a million words built and found without a node each.
    struct Entry {
        std::uint64_t key = 0; ///< 0: free
        Word word;
    };

    std::vector<QString> m_syllables{QString()};
    QHash<QString, std::uint16_t> m_syllableIndex;
    std::array<std::uint16_t, 0x10000> m_characters{};
    std::vector<Entry, HugePageAllocator<Entry>> m_words;
    std::size_t m_wordCount = 0;
    QString m_problem;
};

} // namespace lirobel::pinyin
