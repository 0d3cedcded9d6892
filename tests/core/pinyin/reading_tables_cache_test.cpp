// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/pinyin/cache_file.h"
#include "core/pinyin/reading_tables.h"
#include "support/hostile_names.h"
#include "support/test_files.h"

#include <QFile>
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>

namespace lirobel::pinyin {
namespace {

const QByteArray kKey = "key";
const QByteArray kContents = QByteArray("tables ").repeated(100);

using test::ReadFile;
using test::WriteFile;

// Damaged in any way, or read under another key, a cache file is not trusted; nor is a file made where
// none can be.
TEST(CacheFile, IsNotTrustedDamagedOrUnderAnotherKey) {
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("cache"));
    ASSERT_TRUE(WriteCacheFile(path, kKey, kContents));
    ASSERT_EQ(ReadCacheFile(path, kKey), kContents);
    const QByteArray file = ReadFile(path);
    const qsizetype size = file.size();
    const struct {
        const char* name;
        qsizetype at; // the bytes from there, as many as `length`, are replaced by `bytes`
        qsizetype length;
        QByteArray bytes;
        QByteArray key = kKey;
    } rows[] = {
        {"truncated", size - 1, 1, ""},
        {"lengthened", size, 0, QByteArray(1, '\0')},
        {"byteChanged", 200, 1, "T"},
        {"empty", 0, size, ""},
        {"foreign", 0, size, "[General]\nkey=value\n"},
        // the header's contents size, just before the checksum
        {"sizeOverstated", size - kContents.size() - 16, 8, "\xff\xff\xff\xff\xff\xff\xff\x7f"},
        {"anotherKey", 0, 0, "", "another key"},
    };
    for (const auto& row : rows) {
        WriteFile(path, QByteArray(file).replace(row.at, row.length, row.bytes));
        EXPECT_EQ(ReadCacheFile(path, row.key), std::nullopt) << row.name;
    }
    EXPECT_FALSE(WriteCacheFile(path + QStringLiteral("/inside a file"), kKey, kContents));
}

// The cache only changes how long the tables take to load: whatever state it is found in, the tables are
// those built from the packages' files, and a usable folder holds a current cache afterwards. A pipe in
// its place once made reading by words wait forever.
TEST(ReadingTablesCache, GivesTheTablesBuiltFromTheFiles) {
    const ReadingTables built;
    ASSERT_EQ(built.Problem(), QString());
    const QByteArray expected = built.Saved();
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("reading-tables"));
    const struct {
        const char* state;
        std::function<void()> prepare;
        QString folder;
        bool cached = true;
    } rows[] = {
        {"none yet", [] {}, folder.path()},
        {"current", [] {}, folder.path()},
        {"truncated", [&] { WriteFile(path, ReadFile(path).left(100000)); }, folder.path()},
        {"folder inside a file", [] {}, path + QStringLiteral("/cache")},
        {"pipe", [&] { ASSERT_TRUE(QFile::remove(path) && ::mkfifo(QFile::encodeName(path).constData(), 0600) == 0); },
         folder.path(), false},
    };
    for (const auto& row : rows) {
        row.prepare();
        ::alarm(60);
        const std::unique_ptr<ReadingTables> loaded = LoadReadingTables(row.folder);
        EXPECT_EQ(loaded->Problem(), QString()) << row.state;
        ::alarm(0);
        EXPECT_TRUE(loaded->Saved() == expected) << row.state;
        EXPECT_EQ(QFileInfo(path).isFile() && ReadFile(path).size() > expected.size(), row.cached) << row.state;
    }
}

class CacheAtHostileName : public test::HostileNameTest {};

TEST_P(CacheAtHostileName, IsNoCacheAndIsLeftAlone) {
    EXPECT_EQ(ReadCacheFile(m_path, "key"), std::nullopt);
    EXPECT_FALSE(WriteCacheFile(m_path, "key", "tables"));
    ExpectUntouched();
}

INSTANTIATE_TEST_SUITE_P(CacheFile, CacheAtHostileName, testing::ValuesIn(test::kHostileNames),
                         [](const auto& row) { return std::string(row.param.name); });

} // namespace
} // namespace lirobel::pinyin
