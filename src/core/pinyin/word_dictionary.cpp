// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/pinyin/word_dictionary.h"

#include "core/pinyin/table_bytes.h"

#include <algorithm>
#include <bit>
#include <memory>
#include <sqlite3.h>

namespace lirobel::pinyin {

namespace {

// The database spells a syllable as an initial and a final, by number.
constexpr std::string_view kInitials[] = {"",  "b", "c", "ch", "d", "f",  "g", "h", "j", "k", "l", "m",
                                          "n", "p", "q", "r",  "s", "sh", "t", "w", "x", "y", "z", "zh"};
constexpr std::string_view kFinals[] = {"a",  "ai",  "an",   "ang", "ao",  "e",    "ei",  "en",   "eng", "er", "i",
                                        "ia", "ian", "iang", "iao", "ie",  "in",   "ing", "iong", "iu",  "o",  "ong",
                                        "ou", "u",   "ua",   "uai", "uan", "uang", "ue",  "ui",   "un",  "uo", "v"};
constexpr int kFirstFinal = 24;

std::uint64_t Key(const char16_t* characters, int length) {
    std::uint64_t key = 0;
    for (int i = 0; i < length; ++i)
        key |= std::uint64_t{characters[i]} << (16 * i);
    return key;
}

// The key of the word's first characters.
std::uint64_t Prefix(std::uint64_t key, int length) {
    return length == WordDictionary::kLongestWord ? key : key & ((std::uint64_t{1} << (16 * length)) - 1);
}

std::size_t Mixed(std::uint64_t key) {
    key ^= key >> 33;
    key *= 0xff51afd7ed558ccdULL;
    key ^= key >> 33;
    return static_cast<std::size_t>(key);
}

// The phrase as UTF-16 when it is exactly length characters of the basic plane. Decoding the database's
// UTF-8 here spares SQLite a conversion and an allocation for each of its 700,000 rows.
bool DecodePhrase(const unsigned char* text, int bytes, int length, char16_t* phrase) {
    const unsigned char* const end = text + bytes;
    for (int i = 0; i < length; ++i) {
        if (text == end)
            return false;
        if (*text < 0x80) {
            phrase[i] = *text++;
        } else if ((*text & 0xE0) == 0xC0 && end - text >= 2) {
            phrase[i] = static_cast<char16_t>(((text[0] & 0x1F) << 6) | (text[1] & 0x3F));
            text += 2;
        } else if ((*text & 0xF0) == 0xE0 && end - text >= 3) {
            phrase[i] = static_cast<char16_t>(((text[0] & 0x0F) << 12) | ((text[1] & 0x3F) << 6) | (text[2] & 0x3F));
            text += 3;
        } else {
            return false; // outside the basic plane, or not UTF-8
        }
    }
    return text == end;
}

// A word as the cache file holds it: fixed sizes, no padding.
struct SavedWord {
    std::uint64_t key;
    std::array<std::uint16_t, WordDictionary::kLongestWord> syllables;
    std::int32_t frequency;
    std::uint32_t startsLongerWords;
};

struct CloseDatabase {
    void operator()(sqlite3* database) const { sqlite3_close(database); }
};
struct FinalizeStatement {
    void operator()(sqlite3_stmt* statement) const { sqlite3_finalize(statement); }
};

} // namespace

WordDictionary::WordDictionary(const char* databasePath) {
    m_problem = LoadWords(databasePath);
}

// Only the occupied slots are saved, with a bit for each slot: the file is half the table's size, and
// every word goes back to its own slot without being hashed again.
void WordDictionary::SaveTo(TableWriter& writer) const {
    writer.Put(m_syllables);
    writer.Put(std::span<const std::uint16_t>(m_characters));
    writer.Put(static_cast<std::uint64_t>(m_words.size()));
    writer.Put(static_cast<std::uint64_t>(m_wordCount));
    std::vector<std::uint64_t> occupied(m_words.size() / 64);
    for (std::size_t at = 0; at < m_words.size(); ++at)
        occupied[at / 64] |= std::uint64_t{m_words[at].key != 0} << (at % 64);
    writer.Put(std::span<const std::uint64_t>(occupied));
    for (const Entry& entry : m_words) {
        if (entry.key != 0)
            writer.Put(SavedWord{entry.key, entry.word.syllables, entry.word.frequency, entry.word.startsLongerWords});
    }
}

WordDictionary::WordDictionary(TableReader& saved) {
    m_problem = QStringLiteral("the saved word tables are damaged");
    std::uint64_t tableSize = 0;
    std::uint64_t wordCount = 0;
    if (!saved.Take(m_syllables) || m_syllables.empty() || m_syllables.size() > 0x10000 ||
        !saved.Take(std::span<std::uint16_t>(m_characters)) || !saved.Take(tableSize) || !saved.Take(wordCount) ||
        tableSize < 64 || tableSize > (std::uint64_t{1} << 26) || !std::has_single_bit(tableSize) ||
        wordCount >= tableSize) // a full table would leave Find no free slot to stop at
        return;
    const auto known = [&](std::uint16_t syllable) { return syllable < m_syllables.size(); };
    if (!std::all_of(m_characters.begin(), m_characters.end(), known))
        return;
    std::vector<std::uint64_t> occupied(tableSize / 64);
    if (!saved.Take(std::span<std::uint64_t>(occupied)))
        return;
    std::uint64_t marked = 0;
    for (const std::uint64_t bits : occupied)
        marked += static_cast<std::uint64_t>(std::popcount(bits));
    const char* words = marked == wordCount ? saved.TakeBytes(wordCount * sizeof(SavedWord)) : nullptr;
    if (!words)
        return;
    m_words.resize(tableSize);
    for (std::size_t at = 0; at < tableSize; ++at) {
        if (!(occupied[at / 64] >> (at % 64) & 1))
            continue;
        SavedWord word;
        std::memcpy(&word, words, sizeof word);
        words += sizeof word;
        if (word.key == 0 || !std::all_of(word.syllables.begin(), word.syllables.end(), known))
            return;
        m_words[at] = {word.key, {word.syllables, word.frequency, word.startsLongerWords != 0}};
    }
    m_wordCount = wordCount;
    m_problem.clear();
}

std::uint16_t WordDictionary::Intern(const QString& syllable) {
    const auto at = m_syllableIndex.constFind(syllable);
    if (at != m_syllableIndex.constEnd())
        return *at;
    const auto index = static_cast<std::uint16_t>(m_syllables.size());
    m_syllableIndex.insert(syllable, index);
    m_syllables.push_back(syllable + u',');
    return index;
}

const WordDictionary::Word* WordDictionary::Find(const char16_t* characters, int length) const {
    const std::uint64_t key = Key(characters, length);
    const std::size_t mask = m_words.size() - 1;
    for (std::size_t at = Mixed(key) & mask;; at = (at + 1) & mask) {
        if (m_words[at].key == key)
            return &m_words[at].word;
        if (m_words[at].key == 0)
            return nullptr;
    }
}

void WordDictionary::Prefetch(const char16_t* characters, int length) const {
    __builtin_prefetch(&m_words[Mixed(Key(characters, length)) & (m_words.size() - 1)]);
}

WordDictionary::Word& WordDictionary::Slot(std::uint64_t key) {
    if ((m_wordCount + 1) * 10 > m_words.size() * 7) {
        decltype(m_words) old(m_words.size() * 2);
        old.swap(m_words);
        m_wordCount = 0;
        for (const Entry& entry : old) {
            if (entry.key != 0)
                Slot(entry.key) = entry.word;
        }
    }
    const std::size_t mask = m_words.size() - 1;
    std::size_t at = Mixed(key) & mask;
    while (m_words[at].key != 0 && m_words[at].key != key)
        at = (at + 1) & mask;
    if (m_words[at].key == 0) {
        m_words[at].key = key;
        ++m_wordCount;
    }
    return m_words[at].word;
}

void WordDictionary::StorePending(std::vector<PendingWord>& pending) {
    for (const PendingWord& row : pending) {
        // Of a word's readings the most frequent wins. The database often gives every reading of a
        // word's polyphones the same frequency; the first it lists then stands (measured on the lyrics
        // table of the tests, the last would read 0.3 % fewer characters right).
        Word& word = Slot(row.key);
        if (row.frequency > word.frequency) {
            word.frequency = row.frequency;
            word.syllables = row.syllables;
        }
        for (int prefix = 2; prefix < row.length; ++prefix)
            Slot(Prefix(row.key, prefix)).startsLongerWords = true;
    }
    pending.clear();
}

QString WordDictionary::LoadWords(const char* databasePath) {
    sqlite3* opened = nullptr;
    const int status = sqlite3_open_v2(databasePath, &opened, SQLITE_OPEN_READONLY | SQLITE_OPEN_NOMUTEX, nullptr);
    std::unique_ptr<sqlite3, CloseDatabase> database(opened);
    const QString where = QStringLiteral("the phrase database %1 (Debian package pinyin-database)")
                              .arg(QString::fromLocal8Bit(databasePath));
    if (status != SQLITE_OK)
        return QStringLiteral("cannot open ") + where + QStringLiteral(": ") +
               QString::fromUtf8(sqlite3_errstr(status));
    // Reading the 58 MB file through a mapping spares SQLite copying every page; without it, reading is
    // slower but the same.
    sqlite3_exec(database.get(), "PRAGMA mmap_size = 268435456", nullptr, nullptr, nullptr);

    std::array<std::array<std::uint16_t, std::size(kFinals)>, std::size(kInitials)> spelled;
    for (std::size_t initial = 0; initial < std::size(kInitials); ++initial) {
        for (std::size_t final = 0; final < std::size(kFinals); ++final)
            spelled[initial][final] =
                Intern(QString::fromLatin1(kInitials[initial]) + QString::fromLatin1(kFinals[final]));
    }
    std::array<std::int32_t, 0x10000> characterFrequency;
    characterFrequency.fill(-1);
    m_words.resize(std::size_t{1} << 21); // the database's 700,000 words and their beginnings
    // The table outgrows the caches: rows wait in small batches while their slots are fetched, which
    // halves the time spent waiting on memory.
    std::vector<PendingWord> pending;
    pending.reserve(32);
    for (int length = 1; length <= kLongestWord; ++length) {
        QByteArray query = "SELECT phrase, freq";
        for (int i = 0; i < length; ++i)
            query += ", s" + QByteArray::number(i) + ", y" + QByteArray::number(i);
        query += " FROM py_phrase_" + QByteArray::number(length - 1);
        sqlite3_stmt* prepared = nullptr;
        if (sqlite3_prepare_v2(database.get(), query.constData(), -1, &prepared, nullptr) != SQLITE_OK)
            return QStringLiteral("cannot read ") + where + QStringLiteral(": ") +
                   QString::fromUtf8(sqlite3_errmsg(database.get()));
        std::unique_ptr<sqlite3_stmt, FinalizeStatement> statement(prepared);
        int step;
        while ((step = sqlite3_step(statement.get())) == SQLITE_ROW) {
            char16_t phrase[kLongestWord];
            const unsigned char* text = sqlite3_column_text(statement.get(), 0);
            if (!text || !DecodePhrase(text, sqlite3_column_bytes(statement.get(), 0), length, phrase))
                continue;
            const std::int32_t frequency = sqlite3_column_int(statement.get(), 1);
            std::array<std::uint16_t, kLongestWord> syllables{};
            bool known = true;
            for (int i = 0; i < length && known; ++i) {
                const int initial = sqlite3_column_int(statement.get(), 2 + 2 * i);
                const int final = sqlite3_column_int(statement.get(), 3 + 2 * i) - kFirstFinal;
                known = initial >= 0 && initial < static_cast<int>(std::size(kInitials)) && final >= 0 &&
                        final < static_cast<int>(std::size(kFinals));
                if (known)
                    syllables[i] = spelled[initial][final];
            }
            if (!known)
                continue;
            if (length == 1) {
                if (frequency > characterFrequency[phrase[0]]) {
                    characterFrequency[phrase[0]] = frequency;
                    m_characters[phrase[0]] = syllables[0];
                }
                continue;
            }
            const std::uint64_t key = Key(phrase, length);
            for (int prefix = 2; prefix <= length; ++prefix)
                __builtin_prefetch(&m_words[Mixed(Prefix(key, prefix)) & (m_words.size() - 1)], 1);
            pending.push_back({key, length, frequency, syllables});
            if (pending.size() == pending.capacity())
                StorePending(pending);
        }
        StorePending(pending);
        if (step != SQLITE_DONE)
            return QStringLiteral("cannot read ") + where + QStringLiteral(": ") +
                   QString::fromUtf8(sqlite3_errmsg(database.get()));
    }
    if (m_wordCount == 0)
        return where + QStringLiteral(" holds no words");
    return {};
}

} // namespace lirobel::pinyin
