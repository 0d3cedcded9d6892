// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/kana/kanji_to_kana.h"
#include "support/case_file.h"

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

TEST(KanjiReader, WithoutDictionaryFailsWithTheCause) {
    const QTemporaryDir emptyFolder;
    const KanjiReader reader(emptyFolder.path());
    const KanaReading result = reader.Read(u"君の名は");
    EXPECT_FALSE(result.succeeded);
    EXPECT_TRUE(result.text.isEmpty());
    EXPECT_TRUE(result.failure.startsWith(u"the Japanese dictionary is not installed: "))
        << result.failure.toStdString();
    EXPECT_TRUE(result.failure.contains(u"dicrc")) << result.failure.toStdString();
    // Nothing to read needs no dictionary.
    EXPECT_EQ(reader.Read(u"きみのなは").text, u"きみのなは");
}

} // namespace
} // namespace lirobel::kana
