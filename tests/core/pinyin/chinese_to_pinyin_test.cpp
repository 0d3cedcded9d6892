// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/pinyin/character_code.h"
#include "core/pinyin/chinese_to_pinyin.h"
#include "core/pinyin/pinyin_table.h"
#include "support/case_file.h"

#include <gtest/gtest.h>
#include <string>

namespace lirobel::pinyin {
namespace {

// A row of pinyin_cases.tsv, whose head says what each field holds.
class ChineseToPinYinTest : public testing::TestWithParam<QByteArrayList> {};

TEST_P(ChineseToPinYinTest, GivesCodesAndPinYin) {
    const QByteArrayList& row = GetParam();
    const QString text = QString::fromUtf8(row[0]);
    const QByteArrayList codes = row[1].split(' ');
    ASSERT_EQ(text.size(), row[1].isEmpty() ? 0 : codes.size());
    for (qsizetype i = 0; i < text.size(); ++i)
        EXPECT_EQ(CharacterCode(text[i].unicode()), codes[i].toInt()) << "character " << i;
    EXPECT_EQ(ChineseToPinYin(text), QString::fromUtf8(row[2]));
}

INSTANTIATE_TEST_SUITE_P(Lyrics, ChineseToPinYinTest,
                         testing::ValuesIn(test::ReadCaseFile(LIROBEL_TEST_DATA "/pinyin_cases.tsv")));

TEST(CharacterCode, GivesQuestionMarkCodeForWhatCodePage936Lacks) {
    ASSERT_TRUE(CharacterCodesAvailable());
    for (const char16_t unit : {char16_t{0x0E01} /* Thai */, char16_t{0xAC00} /* Hangul */,
                                char16_t{0xD83D} /* lone surrogates */, char16_t{0xDE00}, char16_t{0xFFFF}})
        EXPECT_EQ(CharacterCode(unit), 63) << std::hex << static_cast<int>(unit);
    EXPECT_EQ(ChineseToPinYin(QStringView(u"\U0001F600")), QString()); // a character outside the BMP
}

// FNV-1a over "syllable<tab>code<newline>" of every entry, in order: any change to the listing shows.
TEST(PinYinTable, ListingStaysAsItWas) {
    std::uint64_t hash = 0xcbf29ce484222325;
    for (const PinYinEntry& entry : PinYinTable()) {
        for (const char c : std::string(entry.syllable) + '\t' + std::to_string(entry.code) + '\n')
            hash = (hash ^ static_cast<unsigned char>(c)) * 0x100000001b3;
    }
    EXPECT_EQ(hash, 0x175072679641a8fu);
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
