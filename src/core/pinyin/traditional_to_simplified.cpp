// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/pinyin/traditional_to_simplified.h"

#include "core/pinyin/table_bytes.h"

#include <QStringList>
#include <algorithm>
#include <opencc/opencc.h>

namespace lirobel::pinyin {

namespace {

const opencc_t kNoConverter = reinterpret_cast<opencc_t>(-1);

// Every character t2s may touch lies in the unified ideographs, extension A or the compatibility block.
bool MayBeTraditional(char16_t unit) {
    return (unit >= 0x3400 && unit <= 0x9FFF) || (unit >= 0xF900 && unit <= 0xFAFF);
}

} // namespace

struct TraditionalToSimplified::Converter {
    opencc_t handle = kNoConverter;
    ~Converter() {
        if (handle != kNoConverter)
            opencc_close(handle);
    }
};

TraditionalToSimplified::TraditionalToSimplified() {
    if (Open())
        FindChangedCharacters();
}

TraditionalToSimplified::TraditionalToSimplified(TableReader& saved) {
    std::array<std::uint64_t, 2 * 0x10000 / 64> bits{};
    if (!saved.Take(std::span<std::uint64_t>(bits))) {
        m_problem = QStringLiteral("the saved traditional characters are damaged");
        return;
    }
    if (!Open())
        return;
    for (std::size_t unit = 0; unit < 0x10000; ++unit) {
        m_changed[unit] = bits[unit / 64] >> (unit % 64) & 1;
        m_kept[unit] = bits[(0x10000 + unit) / 64] >> (unit % 64) & 1;
    }
}

void TraditionalToSimplified::SaveTo(TableWriter& writer) const {
    std::array<std::uint64_t, 2 * 0x10000 / 64> bits{};
    for (std::size_t unit = 0; unit < 0x10000; ++unit) {
        bits[unit / 64] |= std::uint64_t{m_changed[unit]} << (unit % 64);
        bits[(0x10000 + unit) / 64] |= std::uint64_t{m_kept[unit]} << (unit % 64);
    }
    writer.Put(std::span<const std::uint64_t>(bits));
}

bool TraditionalToSimplified::Open() {
    m_converter = std::make_unique<Converter>();
    m_converter->handle = opencc_open("t2s.json");
    if (m_converter->handle != kNoConverter)
        return true;
    m_problem = QStringLiteral("OpenCC cannot open its t2s.json configuration (Debian package "
                               "libopencc1.1 and its data): ") +
                QString::fromUtf8(opencc_error());
    return false;
}

// Which characters t2s changes takes OpenCC most of a tenth of a second to tell: it is saved with the
// reading tables.
void TraditionalToSimplified::FindChangedCharacters() {
    // One line per candidate character: t2s's phrases cannot reach across a line break, so each line
    // tells what becomes of its character alone.
    QString all;
    for (unsigned unit = 0x3400; unit <= 0xFAFF; ++unit) {
        if (MayBeTraditional(static_cast<char16_t>(unit))) {
            all += QChar(static_cast<char16_t>(unit));
            all += u'\n';
        }
    }
    const QString converted = Convert(all);
    const QStringList lines = converted.split(u'\n');
    if (lines.size() != all.size() / 2 + 1) {
        m_problem = QStringLiteral("OpenCC's t2s conversion changed the number of lines");
        return;
    }
    for (qsizetype i = 0; i + 1 < lines.size(); ++i) {
        const char16_t unit = all[i * 2].unicode();
        if (lines[i] == all.mid(i * 2, 1))
            continue;
        if (std::any_of(lines[i].cbegin(), lines[i].cend(), [](QChar c) { return c.isSurrogate(); }))
            m_kept.set(unit);
        else
            m_changed.set(unit);
    }
}

TraditionalToSimplified::~TraditionalToSimplified() = default;

QString TraditionalToSimplified::Convert(QStringView line) const {
    const QByteArray utf8 = line.toUtf8();
    char* converted = opencc_convert_utf8(m_converter->handle, utf8.constData(), static_cast<size_t>(utf8.size()));
    if (!converted)
        return line.toString(); // OpenCC fails only on input that is not UTF-8, which a QString never gives
    QString result = QString::fromUtf8(converted);
    opencc_convert_utf8_free(converted);
    return result;
}

QString TraditionalToSimplified::ConvertAround(QStringView line) const {
    QString result;
    qsizetype from = 0;
    for (qsizetype i = 0; i <= line.size(); ++i) {
        if (i < line.size() && !m_kept.test(line[i].unicode()))
            continue;
        if (i > from)
            result += Convert(line.mid(from, i - from));
        if (i < line.size())
            result += line[i];
        from = i + 1;
    }
    return result;
}

QString TraditionalToSimplified::Simplified(const QString& text) const {
    if (!m_problem.isEmpty())
        return text;
    QString result;
    qsizetype copiedUpTo = 0;
    qsizetype lineStart = 0;
    bool traditional = false;
    for (qsizetype i = 0; i <= text.size(); ++i) {
        if (i == text.size() || text[i] == u'\n') {
            if (traditional) {
                result += QStringView(text).mid(copiedUpTo, lineStart - copiedUpTo);
                result += ConvertAround(QStringView(text).mid(lineStart, i - lineStart));
                copiedUpTo = i;
            }
            lineStart = i + 1;
            traditional = false;
        } else if (m_changed.test(text[i].unicode())) {
            traditional = true;
        }
    }
    if (copiedUpTo == 0)
        return text;
    result += QStringView(text).mid(copiedUpTo);
    return result;
}

} // namespace lirobel::pinyin
