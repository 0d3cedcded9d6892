// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/pinyin/unihan_readings.h"

#include "core/pinyin/table_bytes.h"

#include <QFile>
#include <QHash>
#include <algorithm>
#include <bzlib.h>
#include <map>
#include <optional>
#include <string_view>

namespace lirobel::pinyin {

namespace {

constexpr std::string_view kSources[] = {"kMandarin", "kHanyuPinyin", "kXHC1983", "kTGHZ2013"}; // best first
constexpr std::string_view kVariants[] = {"kZVariant", "kSimplifiedVariant", "kTraditionalVariant", "kSemanticVariant"};
constexpr int kNoSource = static_cast<int>(std::size(kSources));

QString Where(const char* path) {
    return QStringLiteral("the Unihan database %1 (Debian package unicode-data)").arg(QString::fromLocal8Bit(path));
}

// The whole of a bzip2 file, or nothing with why in problem.
std::optional<QByteArray> Decompressed(const char* path, QString& problem) {
    QFile file(QString::fromLocal8Bit(path));
    if (!file.open(QIODevice::ReadOnly)) {
        problem = QStringLiteral("cannot open ") + Where(path) + QStringLiteral(": ") + file.errorString();
        return std::nullopt;
    }
    QByteArray packed = file.readAll();
    QByteArray plain(packed.size() * 8, Qt::Uninitialized); // Unihan's text packs about 7 to 1
    bz_stream stream{};
    if (BZ2_bzDecompressInit(&stream, 0, 0) != BZ_OK) {
        problem = QStringLiteral("bzip2 cannot start on ") + Where(path);
        return std::nullopt;
    }
    stream.next_in = packed.data();
    stream.avail_in = static_cast<unsigned>(packed.size());
    int status = BZ_OK;
    qsizetype done = 0;
    while (status == BZ_OK) {
        if (done == plain.size())
            plain.resize(plain.size() * 2);
        stream.next_out = plain.data() + done;
        stream.avail_out = static_cast<unsigned>(plain.size() - done);
        status = BZ2_bzDecompress(&stream);
        done = plain.size() - stream.avail_out;
        if (status == BZ_OK && stream.avail_in == 0 && stream.avail_out != 0)
            break; // the file ends before its stream does
    }
    BZ2_bzDecompressEnd(&stream);
    if (status != BZ_STREAM_END) {
        problem = Where(path) + QStringLiteral(" is not a whole bzip2 file");
        return std::nullopt;
    }
    plain.truncate(done);
    return plain;
}

// A code point written "U+4E00" at the start of text, or 0.
char32_t CodePoint(std::string_view text) {
    if (text.size() < 6 || text[0] != 'U' || text[1] != '+')
        return 0;
    char32_t value = 0;
    for (std::size_t at = 2; at < text.size() && at < 9; ++at) {
        const char c = text[at];
        const int digit = c >= '0' && c <= '9' ? c - '0' : c >= 'A' && c <= 'F' ? c - 'A' + 10 : -1;
        if (digit < 0)
            break;
        value = value * 16 + static_cast<char32_t>(digit);
    }
    return value;
}

// Calls each(code point, field, value) for every line "U+4E00<tab>kMandarin<tab>yī" of a Unihan file.
template <class Each> void ForEachEntry(const QByteArray& file, Each each) {
    const std::string_view text(file.constData(), static_cast<std::size_t>(file.size()));
    for (std::size_t at = 0; at < text.size();) {
        std::size_t end = text.find('\n', at);
        if (end == std::string_view::npos)
            end = text.size();
        const std::string_view line = text.substr(at, end - at);
        at = end + 1;
        const std::size_t fieldAt = line.find('\t');
        const std::size_t valueAt = fieldAt == std::string_view::npos ? fieldAt : line.find('\t', fieldAt + 1);
        if (valueAt == std::string_view::npos || line.front() == '#')
            continue;
        const char32_t c = CodePoint(line);
        if (c >= 0x3400 && c <= 0xFFFF)
            each(static_cast<char16_t>(c), line.substr(fieldAt + 1, valueAt - fieldAt - 1), line.substr(valueAt + 1));
    }
}

// The first reading of "yī", "10001.010:yī,yí" or "1351.020:yī 1360.040:yí".
std::string_view FirstReading(std::string_view value) {
    const std::size_t colon = value.find(':');
    if (colon != std::string_view::npos)
        value.remove_prefix(colon + 1);
    return value.substr(0, value.find_first_of(" ,"));
}

// The character that a definition such as "(same as 昆) an elder brother" or "(J) non-standard form of
// U+559C 喜, to like" names as the one this is a form of, or 0. Unihan records many such variants of rare
// characters only in their definitions.
char16_t DefinedAsFormOf(std::string_view definition) {
    for (const std::string_view marker : {"same as ", "form of ", "variant of ", "non-classical of "}) {
        const std::size_t at = definition.find(marker);
        if (at == std::string_view::npos)
            continue;
        std::string_view rest = definition.substr(at + marker.size());
        if (const char32_t named = CodePoint(rest); named >= 0x3400 && named <= 0xFFFF)
            return static_cast<char16_t>(named);
        if (rest.size() >= 3 && (rest[0] & 0xF0) == 0xE0 && (rest[1] & 0xC0) == 0x80 && (rest[2] & 0xC0) == 0x80) {
            const auto named =
                static_cast<char16_t>(((rest[0] & 0x0F) << 12) | ((rest[1] & 0x3F) << 6) | (rest[2] & 0x3F));
            if (named >= 0x3400)
                return named;
        }
    }
    return 0;
}

} // namespace

QString Toneless(QStringView marked) {
    const QString decomposed = marked.toString().normalized(QString::NormalizationForm_D);
    QString plain;
    plain.reserve(decomposed.size());
    for (const QChar c : decomposed) {
        if (c.unicode() == 0x0308 && plain.endsWith(u'u'))
            plain.back() = u'v';
        else if (c.category() != QChar::Mark_NonSpacing)
            plain += c.toLower();
    }
    return plain;
}

UnihanReadings::UnihanReadings(const char* readingsPath, const char* variantsPath) {
    m_problem = Unreadable(readingsPath, variantsPath);
    if (m_problem.isEmpty())
        m_problem = Load(readingsPath, variantsPath);
}

UnihanReadings::UnihanReadings(TableReader& saved) {
    if (saved.Take(m_syllables) && !m_syllables.empty() && m_syllables.size() <= 0x10000 &&
        saved.Take(std::span<std::uint16_t>(m_characters)) &&
        std::all_of(m_characters.begin(), m_characters.end(),
                    [&](std::uint16_t syllable) { return syllable < m_syllables.size(); }))
        return;
    m_problem = QStringLiteral("the saved Unihan readings are damaged");
}

void UnihanReadings::SaveTo(TableWriter& writer) const {
    writer.Put(m_syllables);
    writer.Put(std::span<const std::uint16_t>(m_characters));
}

QString UnihanReadings::Unreadable(const char* readingsPath, const char* variantsPath) {
    for (const char* path : {readingsPath, variantsPath}) {
        QFile file(QString::fromLocal8Bit(path));
        if (!file.open(QIODevice::ReadOnly))
            return QStringLiteral("cannot open ") + Where(path) + QStringLiteral(": ") + file.errorString();
    }
    return {};
}

// Most characters that Unihan reads only in Cantonese are Cantonese coinages, written for a syllable that
// other characters share. Last of all sources, they take the Mandarin reading most common among the
// characters read in Mandarin that share their Cantonese syllable (tones aside); of equally common
// readings, the first in alphabetical order.
void UnihanReadings::ReadByCantoneseSyllable(const std::vector<std::pair<char16_t, std::string_view>>& cantonese) {
    std::map<std::string_view, std::map<std::uint16_t, int>> mandarinCounts;
    for (const auto& [c, syllable] : cantonese) {
        if (m_characters[c] != 0)
            ++mandarinCounts[syllable][m_characters[c]];
    }
    for (const auto& [c, syllable] : cantonese) {
        const auto counts = mandarinCounts.find(syllable);
        if (m_characters[c] != 0 || counts == mandarinCounts.end())
            continue;
        const auto mostCommon = std::max_element(counts->second.begin(), counts->second.end(), [&](auto a, auto b) {
            return a.second != b.second ? a.second < b.second : m_syllables[a.first] > m_syllables[b.first];
        });
        m_characters[c] = mostCommon->first;
    }
}

QString UnihanReadings::Load(const char* readingsPath, const char* variantsPath) {
    QString problem;
    const std::optional<QByteArray> readings = Decompressed(readingsPath, problem);
    if (!readings)
        return problem;
    std::array<std::uint8_t, 0x10000> source;
    source.fill(kNoSource);
    QHash<QString, std::uint16_t> interned;
    std::vector<std::pair<char16_t, char16_t>> definedAs;         // (character, the one it is a form of)
    std::vector<std::pair<char16_t, std::string_view>> cantonese; // (character, its first reading, toneless)
    ForEachEntry(*readings, [&](char16_t c, std::string_view field, std::string_view value) {
        if (field == "kCantonese") {
            const std::string_view syllable = value.substr(0, value.find(' '));
            cantonese.emplace_back(c, syllable.substr(0, syllable.find_first_of("0123456789")));
            return;
        }
        if (field == "kDefinition") {
            if (const char16_t named = DefinedAsFormOf(value); named != 0 && named != c)
                definedAs.emplace_back(c, named);
            return;
        }
        const auto rank = static_cast<std::uint8_t>(std::find(std::begin(kSources), std::end(kSources), field) -
                                                    std::begin(kSources));
        if (rank >= source[c])
            return;
        const QString syllable = Toneless(QString::fromUtf8(FirstReading(value))) + u',';
        if (syllable.size() < 2)
            return;
        source[c] = rank;
        auto at = interned.constFind(syllable);
        if (at == interned.constEnd()) {
            at = interned.insert(syllable, static_cast<std::uint16_t>(m_syllables.size()));
            m_syllables.push_back(syllable);
        }
        m_characters[c] = *at;
    });
    if (interned.isEmpty())
        return Where(readingsPath) + QStringLiteral(" holds no Mandarin readings");

    const std::optional<QByteArray> variants = Decompressed(variantsPath, problem);
    if (!variants)
        return problem;
    // Each unread character's variants, best kind first; a variant may itself borrow from another.
    std::vector<std::pair<char16_t, char16_t>> borrowings; // (unread, variant) in order of preference
    for (const std::string_view kind : kVariants) {
        ForEachEntry(*variants, [&](char16_t c, std::string_view field, std::string_view value) {
            if (field != kind || m_characters[c] != 0)
                return;
            for (std::size_t at = value.find("U+"); at != std::string_view::npos; at = value.find("U+", at + 2)) {
                const char32_t variant = CodePoint(value.substr(at));
                if (variant >= 0x3400 && variant <= 0xFFFF && variant != c)
                    borrowings.emplace_back(c, static_cast<char16_t>(variant));
            }
        });
    }
    borrowings.insert(borrowings.end(), definedAs.begin(), definedAs.end()); // the vaguer kind of variant last
    const auto borrow = [&] {
        for (bool borrowed = true; borrowed;) {
            borrowed = false;
            for (const auto& [c, variant] : borrowings) {
                if (m_characters[c] == 0 && m_characters[variant] != 0) {
                    m_characters[c] = m_characters[variant];
                    borrowed = true;
                }
            }
        }
    };
    borrow();
    ReadByCantoneseSyllable(cantonese);
    borrow(); // variants of the characters read that way
    return {};
}

} // namespace lirobel::pinyin
