// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/kana/kanji_to_kana.h"
#include "support/case_file.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace lirobel::kana {
namespace {

// A row of kanji_to_kana_cases.tsv: name, lyrics, reading, kanji left unread.
class KanjiToKanaTest : public testing::TestWithParam<QByteArrayList> {};

TEST_P(KanjiToKanaTest, ReadsTheKanjiAndKeepsTheRest) {
    const QByteArrayList& row = GetParam();
    const KanaReading result = KanjiToKana(QString::fromUtf8(row[1]));
    ASSERT_TRUE(result.succeeded) << result.failure.toStdString();
    EXPECT_EQ(result.text, QString::fromUtf8(row[2]));
    EXPECT_EQ(result.unreadKanji, row[3].toInt());
}

INSTANTIATE_TEST_SUITE_P(Lyrics, KanjiToKanaTest,
                         testing::ValuesIn(test::ReadCaseFile(LIROBEL_TEST_DATA "/kanji_to_kana_cases.tsv")),
                         [](const testing::TestParamInfo<QByteArrayList>& row) { return row.param[0].toStdString(); });

// MeCab refuses a sentence of a few megabytes: a long line is read in stretches, cut where no word is.
TEST(KanjiContext, ReadsLinesLongerThanMeCabTakes) {
    for (const auto& [lyrics, reading] :
         {std::pair{u"君の名を呼んだ、", u"きみのなをよんだ、"}, std::pair{u"君の名を呼んだ", u"きみのなをよんだ"},
          std::pair{u"山", u"やま"}}) {
        const KanaReading result = KanjiToKana(QString::fromUtf16(lyrics).repeated(300'000));
        ASSERT_TRUE(result.succeeded) << result.failure.toStdString();
        EXPECT_EQ(result.unreadKanji, 0);
        EXPECT_EQ(result.text.size(), QString::fromUtf16(reading).size() * 300'000);
        EXPECT_TRUE(result.text.startsWith(QString::fromUtf16(reading).repeated(3)));
    }
}

// Without a usable dictionary, reading fails with the cause: one that is there but damaged is not "not
// installed", MeCab says what is wrong. Nothing to read needs no dictionary.
TEST(KanjiReader, WithoutAUsableDictionaryFailsWithTheCause) {
    const QTemporaryDir empty;
    const QTemporaryDir damaged;
    const QDir installed(InstalledDictionaryFolder());
    for (const QString& name : installed.entryList(QDir::Files))
        ASSERT_TRUE(QFile::copy(installed.filePath(name), damaged.filePath(name)));
    ASSERT_TRUE(QFile::resize(damaged.filePath(QStringLiteral("sys.dic")), 4096));
    QStringList folders = {empty.path(), damaged.path()};
    if (QFileInfo::exists(QStringLiteral("/var/lib/mecab/dic/ipadic/sys.dic")))
        folders << QStringLiteral("/var/lib/mecab/dic/ipadic"); // EUC-JP
    for (const QString& folder : folders) {
        const KanaReading result = KanjiReader(folder).Read(u"君の名は");
        EXPECT_FALSE(result.succeeded);
        EXPECT_TRUE(result.text.isEmpty());
        EXPECT_TRUE(result.failure.startsWith(
            folder == empty.path() ? QStringLiteral("the Japanese dictionary is not installed: ")
                                   : QStringLiteral("MeCab cannot load the Japanese dictionary in ") + folder))
            << result.failure.toStdString();
    }
    EXPECT_EQ(KanjiReader(empty.path()).Read(u"きみのなは").text, u"きみのなは");
}

} // namespace
} // namespace lirobel::kana
