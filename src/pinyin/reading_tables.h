// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "pinyin/unihan_readings.h"
#include "pinyin/word_dictionary.h"

#include <QByteArray>
#include <QString>
#include <memory>

namespace lirobel::pinyin {

/// Every table that reading by words needs, built from the packages' files or restored from the bytes
/// Saved() gave.
struct ReadingTables {
    WordDictionary dictionary;
    UnihanReadings rare; ///< the characters the dictionary lacks

    ReadingTables() = default;
    explicit ReadingTables(TableReader& saved) : dictionary(saved), rare(saved) {}

    /// Empty when both tables are usable.
    QString Problem() const { return dictionary.Problem().isEmpty() ? rare.Problem() : dictionary.Problem(); }
    QByteArray Saved() const;
};

/// The tables from the cache file in cacheFolder when it was written from the files installed now; else
/// built from those files, in most of a second, and cached there for the next process. An empty folder,
/// or one that cannot be written, means building them every time.
std::unique_ptr<ReadingTables> LoadReadingTables(const QString& cacheFolder);

/// The user's cache folder for Lirobel (~/.cache/lirobel), or an empty string when the system gives none.
QString UserCacheFolder();

} // namespace lirobel::pinyin
