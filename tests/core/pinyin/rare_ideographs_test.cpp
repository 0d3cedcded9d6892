// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/pinyin/chinese_words_to_pinyin.h"
#include "core/pinyin/unihan_readings.h"

#include <gtest/gtest.h>

namespace lirobel::pinyin {
namespace {

QString Read(char32_t c) {
    return ChineseWordsToPinYin(QStringView(QChar::fromUcs4(c)).toString());
}

TEST(RareIdeographs, HalvesOfAPairAloneAreNoCharacters) {
    EXPECT_EQ(ChineseWordsToPinYin(QString::fromUtf16(u"\xD840你\xDC00")), u"ni,");
}

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
