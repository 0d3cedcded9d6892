// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/pinyin/chinese_words_to_pinyin.h"

#include "core/pinyin/reading_tables.h"

#include <algorithm>
#include <vector>

namespace lirobel::pinyin {

namespace {

// Loaded on first use, once per process.
const ReadingTables& Tables() {
    static const std::unique_ptr<ReadingTables> tables = LoadReadingTables(UserCacheFolder());
    return *tables;
}

bool IsIdeograph(char16_t c) {
    return (c >= 0x3400 && c <= 0x4DBF) || (c >= 0x4E00 && c <= 0x9FFF);
}

// The best way to read characters[from, to) from each position on: fewest words, then the greatest sum
// of word frequencies.
struct Split {
    int words = 0;
    std::int64_t frequency = 0;
    int length = 1;                             ///< of the first word
    const WordDictionary::Word* word = nullptr; ///< the first word, nullptr for a lone character
};

void ReadRun(const WordDictionary& dictionary, const char16_t* run, int size, std::vector<Split>& splits,
             QString& pinyin) {
    splits.assign(static_cast<std::size_t>(size) + 1, Split{});
    for (int at = size - 1; at >= 0; --at) {
        if (at >= 1)
            dictionary.Prefetch(run + at - 1, 2); // the next position's first lookup
        Split best{splits[at + 1].words + 1, splits[at + 1].frequency, 1, nullptr};
        for (int length = 2; length <= std::min(WordDictionary::kLongestWord, size - at); ++length) {
            const WordDictionary::Word* word = dictionary.Find(run + at, length);
            if (!word)
                break;
            if (word->frequency >= 0) {
                const Split& rest = splits[at + length];
                const Split candidate{rest.words + 1, rest.frequency + word->frequency, length, word};
                if (candidate.words < best.words ||
                    (candidate.words == best.words && candidate.frequency > best.frequency))
                    best = candidate;
            }
            if (!word->startsLongerWords)
                break;
        }
        splits[at] = best;
    }
    for (int at = 0; at < size; at += splits[at].length) {
        const Split& split = splits[at];
        for (int i = 0; i < split.length; ++i) {
            const std::uint16_t syllable =
                split.word ? split.word->syllables[i] : dictionary.CharacterSyllable(run[at + i]);
            pinyin += dictionary.Syllable(syllable);
        }
    }
}

} // namespace

QString WordReadingProblem() {
    return Tables().Problem();
}

QString ChineseWordsToPinYin(const QString& text) {
    const ReadingTables& tables = Tables();
    if (!tables.Problem().isEmpty())
        return {};
    const QString simplified = tables.simplifier.Simplified(text);
    const WordDictionary& dictionary = tables.dictionary;
    QString pinyin;
    pinyin.reserve(simplified.size() * 4); // a syllable and its comma take about four characters
    std::vector<Split> splits;
    const auto* characters = reinterpret_cast<const char16_t*>(simplified.utf16());
    const int size = static_cast<int>(simplified.size());
    for (int at = 0; at < size;) {
        if (dictionary.CharacterSyllable(characters[at]) == WordDictionary::kNoSyllable) {
            if (IsIdeograph(characters[at]))
                pinyin += tables.rare.Reading(characters[at]);
            ++at;
            continue;
        }
        int end = at + 1;
        while (end < size && dictionary.CharacterSyllable(characters[end]) != WordDictionary::kNoSyllable)
            ++end;
        ReadRun(dictionary, characters + at, end - at, splits, pinyin);
        at = end;
    }
    return pinyin;
}

WordReading ReadChineseByWords(const QString& text) {
    if (QString problem = WordReadingProblem(); !problem.isEmpty())
        return {{}, std::move(problem)};
    return {ChineseWordsToPinYin(text), {}};
}

} // namespace lirobel::pinyin
