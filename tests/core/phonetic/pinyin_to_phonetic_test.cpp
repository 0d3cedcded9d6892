// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/phonetic/pinyin_to_phonetic.h"
#include "core/pinyin/pinyin_table.h"

#include <gtest/gtest.h>

namespace lirobel::phonetic {
namespace {

struct ConversionCase {
    const char16_t* pinyin;
    const char16_t* phonetic;

    friend void PrintTo(const ConversionCase& row, std::ostream* os) {
        *os << QString::fromUtf16(row.pinyin).toStdString();
    }
};

class PinYinToPhoneticTest : public testing::TestWithParam<ConversionCase> {};

TEST_P(PinYinToPhoneticTest, ConvertsEverySyllableThatACommaEnds) {
    const ConversionCase& row = GetParam();
    for (const char16_t* singer : {u"Hatsune Miku", u"", u"Someone Else"})
        EXPECT_EQ(PinYinToPhonetic(QStringView(row.pinyin), QStringView(singer)), QString::fromUtf16(row.phonetic));
}

INSTANTIATE_TEST_SUITE_P(
    PinYinTexts, PinYinToPhoneticTest,
    testing::Values(ConversionCase{u"", u""}, ConversionCase{u"ni,hao,", u"J i|h a o|"},
                    ConversionCase{u"ni,hao", u"J i|"}, ConversionCase{u",ni,,hao,,", u"J i|h a o|"},
                    ConversionCase{u"Ni,hao,", u"h a o|"}, ConversionCase{u"ni, hao,", u"J i|"},
                    ConversionCase{u"ni,\r\nhao,", u"J i|"}, ConversionCase{u"ni,xyz,hao,", u"J i|h a o|"},
                    ConversionCase{u"nv,lv,lü,", u"n M j|4 M j|"}, ConversionCase{u"e,er,", u"o[-OPE]|o[-OPE]|"},
                    ConversionCase{u"din,", u"d' i n|"},
                    ConversionCase{u"bian,ceng,", u"b' i j e n[-OPE]|ts o N\\[-OPE]|"}, ConversionCase{u",", u""}));

TEST(PinYinToPhonetic, ConvertsEverySyllableOfThePinYinTable) {
    QString pinyin;
    for (const pinyin::PinYinEntry& entry : pinyin::PinYinTable())
        pinyin += QString::fromLatin1(entry.syllable) + u',';
    EXPECT_EQ(PinYinToPhonetic(pinyin).count(u'|'), 396);
}

TEST(WithFinalComma, AppendsACommaOnlyWhereNoneEndsTheText) {
    EXPECT_EQ(WithFinalComma(QStringLiteral("ni,hao")), u"ni,hao,");
    EXPECT_EQ(WithFinalComma(QStringLiteral("ni,hao,")), u"ni,hao,");
    EXPECT_EQ(WithFinalComma(QStringLiteral(",")), u",");
    EXPECT_EQ(WithFinalComma(QString()), u",");
}

} // namespace
} // namespace lirobel::phonetic
