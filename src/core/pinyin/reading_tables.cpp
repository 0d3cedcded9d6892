// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/pinyin/reading_tables.h"

#include "core/pinyin/cache_file.h"
#include "core/pinyin/table_bytes.h"

#include <QStandardPaths>

namespace lirobel::pinyin {

namespace {

// Raise it whenever the tables come out differently from the same files, or are saved differently.
constexpr std::uint32_t kFormatVersion = 5;

} // namespace

QString ReadingTables::Problem() const {
    for (const QString* problem : {&dictionary.Problem(), &rare.Problem(), &simplifier.Problem()}) {
        if (!problem->isEmpty())
            return *problem;
    }
    return {};
}

QByteArray ReadingTables::Saved() const {
    TableWriter writer;
    dictionary.SaveTo(writer);
    rare.SaveTo(writer);
    simplifier.SaveTo(writer);
    return writer.Bytes();
}

std::unique_ptr<ReadingTables> LoadReadingTables(const QString& cacheFolder) {
    const QString path = cacheFolder.isEmpty() ? QString() : cacheFolder + QStringLiteral("/reading-tables");
    // Taken before building: files replaced meanwhile make this cache stale rather than wrongly current.
    const auto& opencc = TraditionalToSimplified::kDataFiles;
    const QByteArray key = CacheKey(kFormatVersion, {WordDictionary::kDatabasePath, UnihanReadings::kReadingsPath,
                                                     UnihanReadings::kVariantsPath, opencc[0], opencc[1], opencc[2]});
    if (const std::optional<QByteArray> saved = path.isEmpty() ? std::nullopt : ReadCacheFile(path, key)) {
        TableReader reader(*saved);
        auto tables = std::make_unique<ReadingTables>(reader);
        if (tables->Problem().isEmpty() && reader.AtEnd())
            return tables;
    }
    auto tables = std::make_unique<ReadingTables>();
    if (!path.isEmpty() && tables->Problem().isEmpty())
        WriteCacheFile(path, key, tables->Saved()); // when it fails, the next process builds them again
    return tables;
}

QString UserCacheFolder() {
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation);
    return folder.isEmpty() ? QString() : folder + QStringLiteral("/lirobel");
}

} // namespace lirobel::pinyin
