// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <initializer_list>
#include <optional>

namespace lirobel::pinyin {

/// What a cache file is derived from: the format's version and, for every source file, its path, size
/// and time of change. A package upgrade changes it, and so makes the cache stale.
QByteArray CacheKey(std::uint32_t formatVersion, std::initializer_list<const char*> sourcePaths);

/// The contents of the cache file when it is whole and was written under this key; nothing otherwise
/// (missing, stale, truncated, damaged or not a cache file at all, or refused as files::OpenUserFile
/// refuses what is not the user's own regular file).
std::optional<QByteArray> ReadCacheFile(const QString& path, const QByteArray& key);

/// Replaces the cache file at once, as files::WriteUserFile does, making its folder if needed. False when
/// it cannot be written or something else than the user's own regular file is at its name; a reader
/// never sees half a file.
bool WriteCacheFile(const QString& path, const QByteArray& key, const QByteArray& contents);

} // namespace lirobel::pinyin
