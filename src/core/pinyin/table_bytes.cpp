// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/pinyin/table_bytes.h"

namespace lirobel::pinyin {

void TableWriter::Put(const std::vector<QString>& strings) {
    Put(static_cast<std::uint32_t>(strings.size()));
    for (const QString& text : strings) {
        Put(static_cast<std::uint32_t>(text.size()));
        Put(std::span(reinterpret_cast<const char16_t*>(text.utf16()), static_cast<std::size_t>(text.size())));
    }
}

const char* TableReader::TakeBytes(std::size_t size) {
    if (m_failed || size > static_cast<std::size_t>(m_bytes.size()) - m_at) {
        m_failed = true;
        return nullptr;
    }
    const char* bytes = m_bytes.constData() + m_at;
    m_at += size;
    return bytes;
}

bool TableReader::Take(std::vector<QString>& strings) {
    std::uint32_t count = 0;
    if (!Take(count))
        return false;
    strings.clear();
    for (std::uint32_t i = 0; i < count; ++i) {
        std::uint32_t size = 0;
        const char* units = Take(size) ? TakeBytes(std::size_t{size} * 2) : nullptr;
        if (!units)
            return false;
        QString& text = strings.emplace_back(static_cast<qsizetype>(size), Qt::Uninitialized);
        std::memcpy(text.data(), units, std::size_t{size} * 2);
    }
    return true;
}

} // namespace lirobel::pinyin
