// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/pinyin/cache_file.h"
#include "core/pinyin/reading_tables.h"
#include "support/hostile_names.h"

#include <gtest/gtest.h>

namespace lirobel::pinyin {
namespace {

class CacheAtHostileName : public test::HostileNameTest {};

TEST_P(CacheAtHostileName, IsNoCacheAndIsLeftAlone) {
    EXPECT_EQ(ReadCacheFile(m_path, "key"), std::nullopt);
    EXPECT_FALSE(WriteCacheFile(m_path, "key", "tables"));
    ExpectUntouched();
}

INSTANTIATE_TEST_SUITE_P(CacheFile, CacheAtHostileName, testing::ValuesIn(test::kHostileNames),
                         [](const auto& row) { return std::string(row.param.name); });

// A pipe where the cache should be once made reading by words wait forever.
TEST(ReadingTablesCache, IsBuiltInMemoryPastAPipe) {
    QTemporaryDir folder;
    const QString pipe = folder.filePath(QStringLiteral("reading-tables"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    ::alarm(60);
    const std::unique_ptr<ReadingTables> tables = LoadReadingTables(folder.path());
    ::alarm(0);
    EXPECT_EQ(tables->Problem(), QString());
    EXPECT_FALSE(QFileInfo(pipe).isFile());
}

} // namespace
} // namespace lirobel::pinyin
