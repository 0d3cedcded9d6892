// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/phonetic/phonetic_table.h"
#include "core/phonetic/pinyin_to_phonetic.h"
#include "core/pinyin/chinese_to_pinyin.h"
#include "core/pinyin/chinese_words_to_pinyin.h"
#include "support/case_file.h"

#include <QSet>
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

// Every ideograph that either reader knows, in every plane, gives exactly one phonetic item per syllable;
// the character reader writes every syllable of its table. How many the word reader reads pins what it
// takes from Unihan, in the supplementary planes too: a change of the reader or of Unihan shows here.
TEST(ReadersAndPhoneticTable, GiveOneItemPerSyllable) {
    ASSERT_EQ(pinyin::WordReadingProblem(), QString());
    QString ideographs;
    for (const auto& [first, last] : {std::pair{0x3400u, 0x4DBFu}, std::pair{0x4E00u, 0x9FFFu},
                                      std::pair{0xF900u, 0xFAFFu}, std::pair{0x20000u, 0x3FFFFu}}) {
        for (char32_t c = first; c <= last; ++c) {
            ideographs += QStringView(QChar::fromUcs4(c));
            ideographs += u'\n'; // one character at a time, as a line of its own
        }
    }
    const QString byWords = pinyin::ChineseWordsToPinYin(ideographs);
    EXPECT_EQ(byWords.count(u','), 47324);
    for (const QString& pinyin : {byWords, pinyin::ChineseToPinYin(ideographs)}) {
        QSet<QString> unconverted;
        for (const QString& syllable : pinyin.split(u',', Qt::SkipEmptyParts)) {
            if (!LookUpPhonetic(syllable))
                unconverted.insert(syllable);
        }
        EXPECT_TRUE(unconverted.isEmpty()) << QStringList(unconverted.values()).join(u' ').toStdString();
        EXPECT_EQ(PinYinToPhonetic(pinyin).count(u'|'), pinyin.count(u','));
    }
    const QString sung = QStringLiteral("剖欸谁得嗯呣𠀀車䅫");
    const QString pinyin = pinyin::ChineseWordsToPinYin(sung);
    EXPECT_EQ(pinyin.count(u','), 9) << pinyin.toStdString();
    EXPECT_EQ(PinYinToPhonetic(pinyin).count(u'|'), 9) << pinyin.toStdString();
}

TEST(WithFinalComma, AppendsACommaOnlyWhereNoneEndsTheText) {
    EXPECT_EQ(WithFinalComma(QStringLiteral("ni,hao")), u"ni,hao,");
    EXPECT_EQ(WithFinalComma(QStringLiteral("ni,hao,")), u"ni,hao,");
    EXPECT_EQ(WithFinalComma(QString()), u",");
}

} // namespace
} // namespace lirobel::phonetic
