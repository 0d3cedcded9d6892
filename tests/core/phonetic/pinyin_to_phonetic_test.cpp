// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/phonetic/pinyin_to_phonetic.h"
#include "core/pinyin/pinyin_table.h"
#include "support/case_file.h"

#include <gtest/gtest.h>

namespace lirobel::phonetic {
namespace {

// A row of pinyin_to_phonetic_cases.tsv: pinyin, phonetic; the singer plays no part.
class PinYinToPhoneticTest : public testing::TestWithParam<QByteArrayList> {};

TEST_P(PinYinToPhoneticTest, ConvertsEverySyllableThatACommaEnds) {
    for (const char16_t* singer : {u"Hatsune Miku", u"", u"Someone Else"})
        EXPECT_EQ(PinYinToPhonetic(QString::fromUtf8(GetParam()[0]), QStringView(singer)),
                  QString::fromUtf8(GetParam()[1]));
}

INSTANTIATE_TEST_SUITE_P(PinYinTexts, PinYinToPhoneticTest,
                         testing::ValuesIn(test::ReadCaseFile(LIROBEL_TEST_DATA "/pinyin_to_phonetic_cases.tsv")));

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
