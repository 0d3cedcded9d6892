// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/pinyin/cache_file.h"

#include "core/files/user_file.h"

#include <QFile>
#include <bit>
#include <cstring>
#include <sys/stat.h>

namespace lirobel::pinyin {

namespace {

constexpr char kMagic[] = "Lirobel cache\n"; // identifies the file; its terminating zero is written too

// Word-at-a-time mixing: any damaged or missing byte changes it, at several GB/s.
std::uint64_t Checksum(const QByteArray& bytes) {
    std::uint64_t sum = 0x9E3779B97F4A7C15ULL ^ static_cast<std::uint64_t>(bytes.size());
    const char* data = bytes.constData();
    const auto size = static_cast<std::size_t>(bytes.size());
    std::size_t at = 0;
    for (std::uint64_t word; at + 8 <= size; at += 8) {
        std::memcpy(&word, data + at, 8);
        sum = std::rotl(sum ^ word, 27) * 0xFF51AFD7ED558CCDULL;
    }
    for (; at < size; ++at)
        sum = std::rotl(sum ^ static_cast<unsigned char>(data[at]), 27) * 0xFF51AFD7ED558CCDULL;
    return sum;
}

template <class T> void Append(QByteArray& bytes, T value) {
    bytes.append(reinterpret_cast<const char*>(&value), sizeof value);
}

template <class T> bool ReadValue(QFile& file, T& value) {
    return file.read(reinterpret_cast<char*>(&value), sizeof value) == sizeof value;
}

} // namespace

QByteArray CacheKey(std::uint32_t formatVersion, std::initializer_list<const char*> sourcePaths) {
    QByteArray key;
    Append(key, formatVersion);
    for (const char* path : sourcePaths) {
        struct stat status {};
        if (stat(path, &status) != 0)
            status = {}; // a missing source keys as empty; building from it reports the problem
        key.append(path);
        key.append('\0');
        Append(key, static_cast<std::int64_t>(status.st_size));
        Append(key, static_cast<std::int64_t>(status.st_mtim.tv_sec));
        Append(key, static_cast<std::int64_t>(status.st_mtim.tv_nsec));
    }
    return key;
}

std::optional<QByteArray> ReadCacheFile(const QString& path, const QByteArray& key) {
    QFile file;
    if (!files::OpenUserFile(path, file).isEmpty())
        return std::nullopt;
    char magic[sizeof kMagic];
    std::uint32_t keySize = 0;
    std::uint64_t contentsSize = 0;
    std::uint64_t checksum = 0;
    if (file.read(magic, sizeof magic) != sizeof magic || std::memcmp(magic, kMagic, sizeof magic) != 0 ||
        !ReadValue(file, keySize) || keySize != static_cast<std::uint32_t>(key.size()) || file.read(keySize) != key ||
        !ReadValue(file, contentsSize) || !ReadValue(file, checksum))
        return std::nullopt;
    // The size is checked against the file's before anything that large is allocated.
    if (contentsSize != static_cast<std::uint64_t>(file.size() - file.pos()))
        return std::nullopt;
    QByteArray contents = file.read(static_cast<qint64>(contentsSize));
    if (static_cast<std::uint64_t>(contents.size()) != contentsSize || Checksum(contents) != checksum)
        return std::nullopt;
    return contents;
}

bool WriteCacheFile(const QString& path, const QByteArray& key, const QByteArray& contents) {
    QByteArray header(kMagic, sizeof kMagic);
    Append(header, static_cast<std::uint32_t>(key.size()));
    header += key;
    Append(header, static_cast<std::uint64_t>(contents.size()));
    Append(header, Checksum(contents));
    return files::WriteUserFile(path, {header, contents}).isEmpty();
}

} // namespace lirobel::pinyin
