// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <cstring>
#include <span>
#include <type_traits>
#include <vector>

namespace lirobel::pinyin {

/// Finished tables as bytes, to be kept in a cache file and read back by TableReader in the same order.
class TableWriter {
public:
    template <class T> void Put(std::span<const T> items) {
        static_assert(std::has_unique_object_representations_v<T>, "padding would write unset bytes");
        m_bytes.append(reinterpret_cast<const char*>(items.data()), static_cast<qsizetype>(items.size_bytes()));
    }
    template <class T> void Put(const T& value) { Put(std::span<const T>(&value, 1)); }
    void Put(const std::vector<QString>& strings);

    const QByteArray& Bytes() const { return m_bytes; }

private:
    QByteArray m_bytes;
};

/// Reads what a TableWriter wrote. A read past the end fails, and so does every read after it: the bytes
/// may come from a damaged file, so nothing is taken on trust.
class TableReader {
public:
    explicit TableReader(const QByteArray& bytes) : m_bytes(bytes) {}

    /// The next size bytes, or nullptr when fewer remain.
    const char* TakeBytes(std::size_t size);
    template <class T> bool Take(std::span<T> items) {
        static_assert(std::has_unique_object_representations_v<T>, "any bytes must make a valid value");
        const char* bytes = TakeBytes(items.size_bytes());
        if (bytes)
            std::memcpy(items.data(), bytes, items.size_bytes());
        return bytes != nullptr;
    }
    template <class T> bool Take(T& value) { return Take(std::span<T>(&value, 1)); }
    bool Take(std::vector<QString>& strings);

    bool Failed() const { return m_failed; }
    bool AtEnd() const { return !m_failed && m_at == static_cast<std::size_t>(m_bytes.size()); }

private:
    const QByteArray& m_bytes;
    std::size_t m_at = 0;
    bool m_failed = false;
};

} // namespace lirobel::pinyin
