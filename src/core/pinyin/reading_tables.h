// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/pinyin/traditional_to_simplified.h"
#include "core/pinyin/unihan_readings.h"
#include "core/pinyin/word_dictionary.h"

#include <QByteArray>
#include <QString>
#include <memory>

namespace lirobel::pinyin {

/// Everything that reading by words needs, built from the packages' files or restored from the bytes
/// Saved() gave.
struct ReadingTables {
    WordDictionary dictionary;
    UnihanReadings rare; ///< the characters the dictionary lacks
    TraditionalToSimplified simplifier;

    ReadingTables() = default;
    explicit ReadingTables(TableReader& saved) : dictionary(saved), rare(saved), simplifier(saved) {}

    /// Empty when every part is usable.
    QString Problem() const;
    QByteArray Saved() const;
};

/// The tables from the cache file in cacheFolder when it was written from the files installed now; else
/// built from those files, in most of a second, and cached there for the next process. An empty folder,
/// one that cannot be written, and a folder or cache that is not the user's own (a symbolic link, a pipe,
/// another user's) mean building them every time, leaving what is there untouched.
std::unique_ptr<ReadingTables> LoadReadingTables(const QString& cacheFolder);

/// The user's cache folder for Lirobel (~/.cache/lirobel), or an empty string when the system gives none.
QString UserCacheFolder();

} // namespace lirobel::pinyin
