// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/kana/kanji_to_kana.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace lirobel::kana {
namespace {

struct ReadingCase {
    const char* name;
    const char16_t* lyrics;
    const char16_t* reading;
    qsizetype unreadKanji;

    friend void PrintTo(const ReadingCase& row, std::ostream* os) { *os << row.name; }
};

class KanjiToKanaTest : public testing::TestWithParam<ReadingCase> {};

TEST_P(KanjiToKanaTest, ReadsTheKanjiAndKeepsTheRest) {
    const ReadingCase& row = GetParam();
    const KanaReading result = KanjiToKana(QString::fromUtf16(row.lyrics));
    ASSERT_TRUE(result.succeeded) << result.failure.toStdString();
    EXPECT_EQ(result.text, QString::fromUtf16(row.reading));
    EXPECT_EQ(result.unreadKanji, row.unreadKanji);
}

INSTANTIATE_TEST_SUITE_P(
    Lyrics, KanjiToKanaTest,
    testing::Values(ReadingCase{"words", u"君の名前を呼んだ", u"きみのなまえをよんだ", 0},
                    ReadingCase{"okurigana", u"空を見上げて歩こう", u"そらをみあげてあるこう", 0},
                    ReadingCase{"adjectives", u"優しい光が眩しくて", u"やさしいひかりがまぶしくて", 0},
                    // The user's は stays は: the rule settings of the kana converter decide it.
                    ReadingCase{"particles", u"私は花が好き", u"わたしははながすき", 0},
                    ReadingCase{"digitsAndLatin", u"3人でLove songを歌う", u"3にんでLove songをうたう", 0},
                    ReadingCase{"katakanaInAWord", u"ドイツ語の歌", u"ドイツごのうた", 0},
                    ReadingCase{"bracketed", u"運命(さだめ)を信じて", u"さだめをしんじて", 0},
                    ReadingCase{"fullWidthBrackets", u"未来（あした）へ", u"あしたへ", 0},
                    ReadingCase{"bracketNotAReading", u"夢(ゆめ?)", u"ゆめ(ゆめ?)", 0},
                    ReadingCase{"linesAndSpaces", u"春の風\r\n夏の　空\n\n月 と 星\n",
                                u"はるのかぜ\r\nなつの　そら\n\nつき と ほし\n", 0},
                    ReadingCase{"unknownKanji", u"彁の字", u"彁のじ", 1}, ReadingCase{"empty", u"", u"", 0},
                    ReadingCase{"noKanji", u"きみとコーヒー、ABC 123！\r\n\t", u"きみとコーヒー、ABC 123！\r\n\t", 0}),
    [](const testing::TestParamInfo<ReadingCase>& row) { return std::string(row.param.name); });

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
