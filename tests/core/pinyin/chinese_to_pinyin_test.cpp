// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/pinyin/character_code.h"
#include "core/pinyin/chinese_to_pinyin.h"
#include "core/pinyin/pinyin_table.h"

#include <gtest/gtest.h>
#include <vector>

namespace lirobel::pinyin {
namespace {

struct ConversionCase {
    const char16_t* text;
    std::vector<int> codes; // code page 936 code of every code unit
    const char16_t* pinyin;

    friend void PrintTo(const ConversionCase& row, std::ostream* os) {
        *os << QString::fromUtf16(row.text).toStdString();
    }
};

class ChineseToPinYinTest : public testing::TestWithParam<ConversionCase> {};

TEST_P(ChineseToPinYinTest, GivesCodesAndPinYin) {
    const ConversionCase& row = GetParam();
    const QString text = QString::fromUtf16(row.text);
    ASSERT_EQ(text.size(), static_cast<qsizetype>(row.codes.size()));
    for (qsizetype i = 0; i < text.size(); ++i)
        EXPECT_EQ(CharacterCode(text[i].unicode()), row.codes[i]) << "character " << i;
    EXPECT_EQ(ChineseToPinYin(text), QString::fromUtf16(row.pinyin));
}

INSTANTIATE_TEST_SUITE_P(
    Lyrics, ChineseToPinYinTest,
    testing::Values(ConversionCase{u"你好", {-15133, -17725}, u"ni,hao,"},
                    ConversionCase{u"中文 歌词", {-10544, -12604, 32, -18200, -19254}, u"zhong,wen,ge,ci,"},
                    ConversionCase{u"啊", {-20319}, u"a,"},   // first level-1 code
                    ConversionCase{u"座", {-10247}, u"zuo,"}, // last level-1 code
                    ConversionCase{u"亍", {-10079}, u""},     // first level-2 character
                    ConversionCase{u"，。〇", {-23636, -24157, -22122}, u""},
                    ConversionCase{u"AZ az09 \r\n\t", {65, 90, 32, 97, 122, 48, 57, 32, 13, 10, 9}, u""},
                    ConversionCase{u"乐行长重", {-16170, -12080, -19548, -10536}, u"le,xing,chang,zhong,"},
                    ConversionCase{u"女绿略虐", {-14930, -15668, -15660, -14928}, u"nv,lv,lue,nue,"},
                    ConversionCase{u"盄", {-20160}, u"bao,"}, // GBK extension between the codes of bao and bei
                    ConversionCase{u"盃", {-20320}, u""},     // GBK extension just below the range
                    ConversionCase{u"你\r\n好\n", {-15133, 13, 10, -17725, 10}, u"ni,hao,"},
                    ConversionCase{u"", {}, u""}));

TEST(CharacterCode, GivesQuestionMarkCodeForWhatCodePage936Lacks) {
    ASSERT_TRUE(CharacterCodesAvailable());
    for (const char16_t unit : {char16_t{0x0E01} /* Thai */, char16_t{0xAC00} /* Hangul */,
                                char16_t{0xD83D} /* lone surrogates */, char16_t{0xDE00}, char16_t{0xFFFF}})
        EXPECT_EQ(CharacterCode(unit), 63) << std::hex << static_cast<int>(unit);
    EXPECT_EQ(ChineseToPinYin(QStringView(u"\U0001F600")), QString()); // a character outside the BMP
}

TEST(CodeToPinYin, TakesTheRunTheCodeLiesIn) {
    EXPECT_EQ(CodeToPinYin(kFirstLevel1Code - 1), QString());
    EXPECT_EQ(CodeToPinYin(kLastLevel1Code + 1), QString());
    EXPECT_EQ(CodeToPinYin(0), QString());
    EXPECT_EQ(CodeToPinYin(63), QString());
    EXPECT_EQ(CodeToPinYin(kLastLevel1Code), u"zuo,");
    const auto table = PinYinTable();
    for (std::size_t i = 0; i < table.size(); ++i) {
        const QString own = QString::fromLatin1(table[i].syllable) + u',';
        EXPECT_EQ(CodeToPinYin(table[i].code), own);
        if (i + 1 < table.size()) {
            EXPECT_EQ(CodeToPinYin(table[i + 1].code - 1), own) << "last code of the run of " << table[i].syllable;
        }
    }
}

} // namespace
} // namespace lirobel::pinyin
