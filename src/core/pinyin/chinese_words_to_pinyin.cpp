// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/pinyin/chinese_words_to_pinyin.h"

#include "core/pinyin/reading_tables.h"

#include <algorithm>
#include <functional>
#include <vector>

namespace lirobel::pinyin {

namespace {

// Loaded on first use, once per process.
const ReadingTables& Tables() {
    static const std::unique_ptr<ReadingTables> tables = LoadReadingTables(UserCacheFolder());
    return *tables;
}

// Code units that are ideographs on their own; those beyond the basic plane come as surrogate pairs.
bool IsIdeograph(char16_t c) {
    return (c >= 0x3400 && c <= 0x4DBF) || (c >= 0x4E00 && c <= 0x9FFF) || (c >= 0xF900 && c <= 0xFAFF);
}

// The compatibility ideographs (U+F900–U+FAFF, U+2F800–U+2FA1F) are other code points for ordinary
// characters: they are read as the characters they stand for, and in their words.
bool IsCompatibilityUnit(char16_t c) {
    return (c >= 0xF900 && c <= 0xFAFF) || c == 0xD87E; // the high surrogate of U+2F800–U+2FBFF
}

QString WithCompatibilityIdeographsUnified(QString text) {
    if (std::none_of(text.cbegin(), text.cend(), [](QChar c) { return IsCompatibilityUnit(c.unicode()); }))
        return text;
    QString unified;
    unified.reserve(text.size());
    for (qsizetype at = 0; at < text.size(); ++at) {
        char32_t c = text[at].unicode();
        if (text[at].isHighSurrogate() && at + 1 < text.size() && text[at + 1].isLowSurrogate()) {
            c = QChar::surrogateToUcs4(text[at], text[at + 1]);
            ++at;
        }
        if (QChar::decompositionTag(c) == QChar::Canonical)
            unified += QChar::decomposition(c);
        else
            unified += QStringView(QChar::fromUcs4(c));
    }
    return unified;
}

// The best way to read characters[from, to) from each position on: fewest words, then the greatest sum
// of word frequencies.
struct Split {
    std::size_t words = 0;
    std::int64_t frequency = 0;
    std::size_t length = 1;                     ///< of the first word
    const WordDictionary::Word* word = nullptr; ///< the first word, nullptr for a lone character
};

void ReadRun(const WordDictionary& dictionary, const char16_t* run, std::size_t size, std::vector<Split>& splits,
             QString& pinyin) {
    constexpr auto kLongestWord = static_cast<std::size_t>(WordDictionary::kLongestWord);
    splits.assign(size + 1, Split{});
    for (std::size_t at = size; at-- > 0;) {
        if (at >= 1)
            dictionary.Prefetch(run + at - 1, 2); // the next position's first lookup
        Split best{splits[at + 1].words + 1, splits[at + 1].frequency, 1, nullptr};
        for (std::size_t length = 2; length <= std::min(kLongestWord, size - at); ++length) {
            const WordDictionary::Word* word = dictionary.Find(run + at, static_cast<int>(length));
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
    for (std::size_t at = 0; at < size; at += splits[at].length) {
        const Split& split = splits[at];
        for (std::size_t i = 0; i < split.length; ++i) {
            const std::uint16_t syllable =
                split.word ? split.word->syllables[i] : dictionary.CharacterSyllable(run[at + i]);
            pinyin += dictionary.Syllable(syllable);
        }
    }
}

// The text is read in pieces of about this many code units, so that the memory a reading takes beside
// its text and its pinyin stays small, however long the text's lines and runs of hanzi are.
constexpr qsizetype kPieceSize = qsizetype{1} << 16;

// Whether no word of the dictionary holds both the character before at and the one at at.
bool NoWordAcross(const WordDictionary& dictionary, QStringView text, qsizetype at) {
    const auto* characters = reinterpret_cast<const char16_t*>(text.utf16());
    for (qsizetype start = std::max<qsizetype>(0, at - WordDictionary::kLongestWord + 1); start < at; ++start) {
        for (qsizetype end = at + 1; end <= std::min(text.size(), start + WordDictionary::kLongestWord); ++end) {
            if (dictionary.Find(characters + start, static_cast<int>(end - start)))
                return false;
        }
    }
    return true;
}

// Where the piece of text that starts at start ends: after a line break, which the simplification never
// reaches across, else after a character that is no letter and so ends every run of hanzi, else where no
// word reaches across; a surrogate pair is never cut.
qsizetype PieceEnd(const WordDictionary& dictionary, QStringView text, qsizetype start) {
    if (text.size() - start <= kPieceSize)
        return text.size();
    const qsizetype limit = start + kPieceSize;
    const qsizetype floor = start + kPieceSize / 2;
    for (qsizetype at = limit; at > floor; --at) {
        if (text[at - 1] == u'\n')
            return at;
    }
    for (qsizetype at = limit; at > floor; --at) {
        if (!text[at - 1].isLetter() && !text[at - 1].isSurrogate())
            return at;
    }
    for (qsizetype at = limit; at > floor; --at) {
        if (!text[at].isLowSurrogate() && NoWordAcross(dictionary, text, at))
            return at;
    }
    return text[limit].isLowSurrogate() ? limit + 1 : limit;
}

void ReadPiece(const ReadingTables& tables, const QString& piece, std::vector<Split>& splits, QString& pinyin) {
    const WordDictionary& dictionary = tables.dictionary;
    const auto* characters = reinterpret_cast<const char16_t*>(piece.utf16());
    const auto size = static_cast<std::size_t>(piece.size());
    for (std::size_t at = 0; at < size;) {
        const char16_t c = characters[at];
        if (dictionary.CharacterSyllable(c) == WordDictionary::kNoSyllable) {
            if (QChar::isHighSurrogate(c) && at + 1 < size && QChar::isLowSurrogate(characters[at + 1])) {
                pinyin += tables.rare.Reading(QChar::surrogateToUcs4(c, characters[at + 1]));
                at += 2;
                continue;
            }
            if (IsIdeograph(c))
                pinyin += tables.rare.Reading(c);
            ++at;
            continue;
        }
        std::size_t end = at + 1;
        while (end < size && dictionary.CharacterSyllable(characters[end]) != WordDictionary::kNoSyllable)
            ++end;
        ReadRun(dictionary, characters + at, end - at, splits, pinyin);
        at = end;
    }
}

// Reads the text piece by piece into pinyin, and calls flush(pinyin) whenever it has grown to a piece's
// size; false from flush stops the reading.
template <class Flush> bool ReadText(const ReadingTables& tables, const QString& text, QString& pinyin, Flush flush) {
    std::vector<Split> splits;
    for (qsizetype start = 0; start < text.size();) {
        const qsizetype end = PieceEnd(tables.dictionary, text, start);
        const QString piece = start == 0 && end == text.size() ? text : text.sliced(start, end - start);
        ReadPiece(tables, tables.simplifier.Simplified(WithCompatibilityIdeographsUnified(piece)), splits, pinyin);
        if (pinyin.size() >= kPieceSize && !flush(pinyin))
            return false;
        start = end;
    }
    return true;
}

} // namespace

QString WordReadingProblem() {
    return Tables().Problem();
}

QString ChineseWordsToPinYin(const QString& text) {
    const ReadingTables& tables = Tables();
    if (!tables.Problem().isEmpty())
        return {};
    QString pinyin;
    pinyin.reserve(text.size() * 4); // a syllable and its comma take about four characters
    ReadText(tables, text, pinyin, [](const QString&) { return true; });
    return pinyin;
}

bool ChineseWordsToPinYin(const QString& text, const std::function<bool(QStringView)>& write) {
    const ReadingTables& tables = Tables();
    if (!tables.Problem().isEmpty())
        return true;
    QString pinyin;
    pinyin.reserve(kPieceSize * 5); // a piece's pinyin, and a little more
    const auto flush = [&](QString& done) {
        const bool written = write(done);
        done.clear();
        return written;
    };
    return ReadText(tables, text, pinyin, flush) && (pinyin.isEmpty() || flush(pinyin));
}

WordReading ReadChineseByWords(const QString& text) {
    if (QString problem = WordReadingProblem(); !problem.isEmpty())
        return {{}, std::move(problem)};
    return {ChineseWordsToPinYin(text), {}};
}

} // namespace lirobel::pinyin
