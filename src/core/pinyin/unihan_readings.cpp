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

bool IsIdeographCode(char32_t c) {
    return c >= 0x3400 && c <= UnihanReadings::kLastIdeograph;
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
        if (IsIdeographCode(c))
            each(c, line.substr(fieldAt + 1, valueAt - fieldAt - 1), line.substr(valueAt + 1));
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
char32_t DefinedAsFormOf(std::string_view definition) {
    for (const std::string_view marker : {"same as ", "form of ", "variant of ", "non-classical of "}) {
        const std::size_t at = definition.find(marker);
        if (at == std::string_view::npos)
            continue;
        std::string_view rest = definition.substr(at + marker.size());
        if (const char32_t named = CodePoint(rest); IsIdeographCode(named))
            return named;
        const auto continued = [&](std::size_t count) {
            return rest.size() > count &&
                   std::all_of(rest.begin() + 1, rest.begin() + 1 + static_cast<std::ptrdiff_t>(count),
                               [](char c) { return (c & 0xC0) == 0x80; });
        };
        const auto bits = [&](std::size_t i) { return static_cast<char32_t>(rest[i] & 0x3F); };
        char32_t named = 0;
        if (continued(2) && (rest.front() & 0xF0) == 0xE0)
            named = static_cast<char32_t>(rest[0] & 0x0F) << 12 | bits(1) << 6 | bits(2);
        else if (continued(3) && (rest.front() & 0xF8) == 0xF0)
            named = static_cast<char32_t>(rest[0] & 0x07) << 18 | bits(1) << 12 | bits(2) << 6 | bits(3);
        if (IsIdeographCode(named))
            return named;
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
    if (plain == u"lve" || plain == u"nve")
        plain[1] = u'u';
    return plain;
}

UnihanReadings::UnihanReadings(const char* readingsPath, const char* variantsPath) {
    m_problem = Unreadable(readingsPath, variantsPath);
    if (m_problem.isEmpty())
        m_problem = Load(readingsPath, variantsPath);
}

UnihanReadings::UnihanReadings(TableReader& saved) {
    std::uint32_t supplementary = 0;
    const auto known = [&](std::uint16_t syllable) { return syllable < m_syllables.size(); };
    if (saved.Take(m_syllables) && !m_syllables.empty() && m_syllables.size() <= 0x10000 &&
        saved.Take(std::span<std::uint16_t>(m_characters)) &&
        std::all_of(m_characters.begin(), m_characters.end(), known) && saved.Take(supplementary) &&
        supplementary <= kLastIdeograph) {
        m_supplementary.resize(supplementary);
        m_supplementarySyllables.resize(supplementary);
        if (saved.Take(std::span<std::uint32_t>(m_supplementary)) &&
            saved.Take(std::span<std::uint16_t>(m_supplementarySyllables)) &&
            std::is_sorted(m_supplementary.begin(), m_supplementary.end()) &&
            std::all_of(m_supplementarySyllables.begin(), m_supplementarySyllables.end(), known))
            return;
    }
    m_supplementary.clear();
    m_supplementarySyllables.clear();
    m_problem = QStringLiteral("the saved Unihan readings are damaged");
}

void UnihanReadings::SaveTo(TableWriter& writer) const {
    writer.Put(m_syllables);
    writer.Put(std::span<const std::uint16_t>(m_characters));
    writer.Put(static_cast<std::uint32_t>(m_supplementary.size()));
    writer.Put(std::span<const std::uint32_t>(m_supplementary));
    writer.Put(std::span<const std::uint16_t>(m_supplementarySyllables));
}

std::uint16_t UnihanReadings::SupplementarySyllable(char32_t c) const {
    const auto at = std::lower_bound(m_supplementary.begin(), m_supplementary.end(), c);
    if (at == m_supplementary.end() || *at != c)
        return 0;
    return m_supplementarySyllables[static_cast<std::size_t>(at - m_supplementary.begin())];
}

QString UnihanReadings::Unreadable(const char* readingsPath, const char* variantsPath) {
    for (const char* path : {readingsPath, variantsPath}) {
        QFile file(QString::fromLocal8Bit(path));
        if (!file.open(QIODevice::ReadOnly))
            return QStringLiteral("cannot open ") + Where(path) + QStringLiteral(": ") + file.errorString();
    }
    return {};
}

namespace {

// Most characters that Unihan reads only in Cantonese are Cantonese coinages, written for a syllable that
// other characters share. Last of all sources, they take the Mandarin reading most common among the
// characters read in Mandarin that share their Cantonese syllable (tones aside); of equally common
// readings, the first in alphabetical order.
void ReadByCantoneseSyllable(const std::vector<std::pair<char32_t, std::string_view>>& cantonese,
                             const std::vector<QString>& syllables, std::vector<std::uint16_t>& characters) {
    std::map<std::string_view, std::map<std::uint16_t, int>> mandarinCounts;
    for (const auto& [c, syllable] : cantonese) {
        if (characters[c] != 0)
            ++mandarinCounts[syllable][characters[c]];
    }
    for (const auto& [c, syllable] : cantonese) {
        const auto counts = mandarinCounts.find(syllable);
        if (characters[c] != 0 || counts == mandarinCounts.end())
            continue;
        const auto mostCommon = std::max_element(counts->second.begin(), counts->second.end(), [&](auto a, auto b) {
            return a.second != b.second ? a.second < b.second : syllables[a.first] > syllables[b.first];
        });
        characters[c] = mostCommon->first;
    }
}

} // namespace

QString UnihanReadings::Load(const char* readingsPath, const char* variantsPath) {
    QString problem;
    const std::optional<QByteArray> readings = Decompressed(readingsPath, problem);
    if (!readings)
        return problem;
    std::vector<std::uint16_t> characters(kLastIdeograph + 1); // every plane with ideographs, while building
    std::vector<std::uint8_t> source(kLastIdeograph + 1, kNoSource);
    QHash<QString, std::uint16_t> interned;
    std::vector<std::pair<char32_t, char32_t>> definedAs;         // (character, the one it is a form of)
    std::vector<std::pair<char32_t, std::string_view>> cantonese; // (character, its first reading, toneless)
    ForEachEntry(*readings, [&](char32_t c, std::string_view field, std::string_view value) {
        if (field == "kCantonese") {
            const std::string_view syllable = value.substr(0, value.find(' '));
            cantonese.emplace_back(c, syllable.substr(0, syllable.find_first_of("0123456789")));
            return;
        }
        if (field == "kDefinition") {
            if (const char32_t named = DefinedAsFormOf(value); named != 0 && named != c)
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
        characters[c] = *at;
    });
    if (interned.isEmpty())
        return Where(readingsPath) + QStringLiteral(" holds no Mandarin readings");

    const std::optional<QByteArray> variants = Decompressed(variantsPath, problem);
    if (!variants)
        return problem;
    // Each unread character's variants, best kind first; a variant may itself borrow from another.
    std::vector<std::pair<char32_t, char32_t>> borrowings; // (unread, variant) in order of preference
    for (const std::string_view kind : kVariants) {
        ForEachEntry(*variants, [&](char32_t c, std::string_view field, std::string_view value) {
            if (field != kind || characters[c] != 0)
                return;
            for (std::size_t at = value.find("U+"); at != std::string_view::npos; at = value.find("U+", at + 2)) {
                const char32_t variant = CodePoint(value.substr(at));
                if (IsIdeographCode(variant) && variant != c)
                    borrowings.emplace_back(c, variant);
            }
        });
    }
    borrowings.insert(borrowings.end(), definedAs.begin(), definedAs.end()); // the vaguer kind of variant last
    const auto borrow = [&] {
        for (bool borrowed = true; borrowed;) {
            borrowed = false;
            for (const auto& [c, variant] : borrowings) {
                if (characters[c] == 0 && characters[variant] != 0) {
                    characters[c] = characters[variant];
                    borrowed = true;
                }
            }
        }
    };
    borrow();
    ReadByCantoneseSyllable(cantonese, m_syllables, characters);
    borrow(); // variants of the characters read that way

    std::copy_n(characters.begin(), m_characters.size(), m_characters.begin());
    for (char32_t c = 0x10000; c <= kLastIdeograph; ++c) {
        if (characters[c] != 0) {
            m_supplementary.push_back(static_cast<std::uint32_t>(c));
            m_supplementarySyllables.push_back(characters[c]);
        }
    }
    return {};
}

} // namespace lirobel::pinyin
