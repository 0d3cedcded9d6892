// SPDX-License-Identifier: GPL-3.0-or-later
#include "pinyin/word_dictionary.h"

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

std::size_t Mixed(std::uint64_t key) {
    key ^= key >> 33;
    key *= 0xff51afd7ed558ccdULL;
    key ^= key >> 33;
    return static_cast<std::size_t>(key);
}

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

WordDictionary::Word& WordDictionary::Slot(std::uint64_t key) {
    if ((m_wordCount + 1) * 10 > m_words.size() * 7) {
        std::vector<Entry> old(m_words.size() * 2);
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

QString WordDictionary::LoadWords(const char* databasePath) {
    sqlite3* opened = nullptr;
    const int status = sqlite3_open_v2(databasePath, &opened, SQLITE_OPEN_READONLY | SQLITE_OPEN_NOMUTEX, nullptr);
    std::unique_ptr<sqlite3, CloseDatabase> database(opened);
    const QString where = QStringLiteral("the phrase database %1 (Debian package pinyin-database)")
                              .arg(QString::fromLocal8Bit(databasePath));
    if (status != SQLITE_OK)
        return QStringLiteral("cannot open ") + where + QStringLiteral(": ") +
               QString::fromUtf8(sqlite3_errstr(status));

    std::array<std::array<std::uint16_t, std::size(kFinals)>, std::size(kInitials)> spelled;
    for (std::size_t initial = 0; initial < std::size(kInitials); ++initial) {
        for (std::size_t final = 0; final < std::size(kFinals); ++final)
            spelled[initial][final] =
                Intern(QString::fromLatin1(kInitials[initial]) + QString::fromLatin1(kFinals[final]));
    }
    std::array<std::int32_t, 0x10000> characterFrequency;
    characterFrequency.fill(-1);
    m_words.resize(std::size_t{1} << 21); // the database's 700,000 words and their beginnings
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
            const auto* phrase = static_cast<const char16_t*>(sqlite3_column_text16(statement.get(), 0));
            if (!phrase || sqlite3_column_bytes16(statement.get(), 0) != 2 * length)
                continue; // a phrase outside the basic plane
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
            // Of a word's readings the most frequent wins. The database often gives every reading of a
            // word's polyphones the same frequency; the first it lists then stands (measured on the lyrics
            // table of the tests, the last would read 0.3 % fewer characters right).
            Word& word = Slot(Key(phrase, length));
            if (frequency > word.frequency) {
                word.frequency = frequency;
                word.syllables = syllables;
            }
            for (int prefix = 2; prefix < length; ++prefix)
                Slot(Key(phrase, prefix)).startsLongerWords = true;
        }
        if (step != SQLITE_DONE)
            return QStringLiteral("cannot read ") + where + QStringLiteral(": ") +
                   QString::fromUtf8(sqlite3_errmsg(database.get()));
    }
    if (m_wordCount == 0)
        return where + QStringLiteral(" holds no words");
    return {};
}

} // namespace lirobel::pinyin
