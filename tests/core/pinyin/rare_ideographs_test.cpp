// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/pinyin/chinese_words_to_pinyin.h"
#include "core/pinyin/unihan_readings.h"

#include <gtest/gtest.h>

namespace lirobel::pinyin {
namespace {

QString Read(char32_t c) {
    return ChineseWordsToPinYin(QStringView(QChar::fromUcs4(c)).toString());
}

struct RareCase {
    const char16_t* text;
    const char16_t* pinyin;

    friend void PrintTo(const RareCase& row, std::ostream* os) { *os << QString::fromUtf16(row.text).toStdString(); }
};

class RareIdeographsTest : public testing::TestWithParam<RareCase> {};

TEST_P(RareIdeographsTest, ReadsThem) {
    ASSERT_EQ(WordReadingProblem(), QString());
    EXPECT_EQ(ChineseWordsToPinYin(QString::fromUtf16(GetParam().text)), QString::fromUtf16(GetParam().pinyin));
}

INSTANTIATE_TEST_SUITE_P(Planes, RareIdeographsTest,
                         testing::Values(RareCase{u"\uF902", u"che,"}, // 車, the compatibility form of 車
                                         RareCase{u"音\uF914快\uF914", u"yin,yue,kuai,le,"}, // 樂 in its words
                                         RareCase{u"\U0002F800", u"li,"}, // 丽 of the supplement's compatibility forms
                                         RareCase{u"𠀀", u"he,"}, RareCase{u"你𠀀好", u"ni,he,hao,"},
                                         RareCase{u"𰻞𰻞面", u"biang,biang,mian,"},
                                         RareCase{u"䅫掠", u"lue,lue,"}, // Unihan's lüè as the database writes it
                                         RareCase{u"\xD840你\xDC00",
                                                  u"ni,"})); // halves of a pair alone are no characters

TEST(RareIdeographs, CompatibilityFormsReadAsTheCharactersTheyStandFor) {
    for (const auto& [first, last] : {std::pair{0xF900u, 0xFAFFu}, std::pair{0x2F800u, 0x2FA1Fu}}) {
        for (char32_t c = first; c <= last; ++c) {
            if (QChar::decompositionTag(c) == QChar::Canonical) {
                EXPECT_EQ(Read(c), ChineseWordsToPinYin(QChar::decomposition(c)))
                    << std::hex << static_cast<std::uint32_t>(c);
            }
        }
    }
}

// Beyond the basic plane, the ideographs that Unihan reads in Mandarin, or through a variant or a Cantonese
// syllable as in the basic plane; a change of the reader or of Unihan shows here.
TEST(RareIdeographs, ReadsTheSupplementaryPlanesAsUnihanDoes) {
    QString ideographs;
    for (char32_t c = 0x20000; c <= UnihanReadings::kLastIdeograph; ++c) {
        ideographs += QStringView(QChar::fromUcs4(c));
        ideographs += u'\n';
    }
    EXPECT_EQ(ChineseWordsToPinYin(ideographs).count(u','), 19353);
}

TEST(Toneless, WritesLueAndNueWithU) {
    EXPECT_EQ(Toneless(u"lüè"), u"lue");
    EXPECT_EQ(Toneless(u"nüè"), u"nue");
    EXPECT_EQ(Toneless(u"lǜ"), u"lv");
    EXPECT_EQ(Toneless(u"xué"), u"xue");
}

} // namespace
} // namespace lirobel::pinyin
