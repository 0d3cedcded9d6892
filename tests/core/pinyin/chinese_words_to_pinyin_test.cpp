// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/pinyin/chinese_words_to_pinyin.h"
#include "core/pinyin/unihan_readings.h"
#include "support/case_file.h"
#include "support/test_files.h"

#include <QFile>
#include <QStringList>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace lirobel::pinyin {
namespace {

// A row of word_reading_cases.tsv: lyrics, pinyin.
class ChineseWordsToPinYinTest : public testing::TestWithParam<QByteArrayList> {};

TEST_P(ChineseWordsToPinYinTest, ReadsEachCharacterAsItsWordDoes) {
    ASSERT_EQ(WordReadingProblem(), QString());
    EXPECT_EQ(ChineseWordsToPinYin(QString::fromUtf8(GetParam()[0])), QString::fromUtf8(GetParam()[1]));
}

INSTANTIATE_TEST_SUITE_P(Lyrics, ChineseWordsToPinYinTest,
                         testing::ValuesIn(test::ReadCaseFile(LIROBEL_TEST_DATA "/word_reading_cases.tsv")));

// Every ideograph of the basic block, of extension A and of the compatibility block gives one syllable,
// the database's or Unihan's, except the 85 in unread_ideographs.txt: Unihan gives them no reading of any
// kind (47 have no entry at all, most of them recent additions at the end of the basic block; others only
// a definition, or a variant that is unread itself), nor to what the compatibility ones stand for. A
// change of either list shows here.
TEST(ChineseWordsToPinYin, ReadsEveryIdeographOfTheBasicBlockAndExtensionAThatUnihanReads) {
    const QString expectedUnread =
        QString::fromUtf8(test::ReadFile(QStringLiteral(LIROBEL_UNREAD_IDEOGRAPHS))).remove(u'\n');
    ASSERT_EQ(WordReadingProblem(), QString());
    QString unread;
    for (const auto& [first, last] :
         {std::pair{0x3400, 0x4DBF}, std::pair{0x4E00, 0x9FFF}, std::pair{0xF900, 0xFA6D}, std::pair{0xFA70, 0xFAD9}}) {
        for (int c = first; c <= last; ++c) {
            const QString pinyin = ChineseWordsToPinYin(QString(QChar(c)));
            if (pinyin.isEmpty())
                unread += QChar(c);
            else
                EXPECT_TRUE(pinyin.count(u',') == 1 && pinyin.endsWith(u',')) << pinyin.toStdString();
        }
    }
    EXPECT_EQ(unread.toStdString(), expectedUnread.toStdString());
    EXPECT_EQ(WordReadingProblem(), QString());
}

// A compatibility ideograph reads as the character it stands for; the halves of a surrogate pair alone
// are no characters.
TEST(ChineseWordsToPinYin, ReadsCompatibilityFormsAsTheCharactersTheyStandFor) {
    for (const auto& [first, last] : {std::pair{0xF900u, 0xFAFFu}, std::pair{0x2F800u, 0x2FA1Fu}}) {
        for (char32_t c = first; c <= last; ++c) {
            if (QChar::decompositionTag(c) == QChar::Canonical) {
                EXPECT_EQ(ChineseWordsToPinYin(QStringView(QChar::fromUcs4(c)).toString()),
                          ChineseWordsToPinYin(QChar::decomposition(c)))
                    << std::hex << static_cast<std::uint32_t>(c);
            }
        }
    }
    EXPECT_EQ(ChineseWordsToPinYin(QString::fromUtf16(u"\xD840你\xDC00")), u"ni,");
}

TEST(Toneless, WritesLueAndNueWithU) {
    EXPECT_EQ(Toneless(u"lüè"), u"lue");
    EXPECT_EQ(Toneless(u"nüè"), u"nue");
    EXPECT_EQ(Toneless(u"lǜ"), u"lv");
    EXPECT_EQ(Toneless(u"xué"), u"xue");
}

TEST(UnihanReadings, SaysWhichFileIsMissing) {
    const UnihanReadings readings("/nonexistent/Unihan_Readings.txt.bz2");
    EXPECT_TRUE(readings.Problem().contains(u"/nonexistent/Unihan_Readings.txt.bz2"))
        << readings.Problem().toStdString();
    EXPECT_TRUE(readings.Problem().contains(u"unicode-data"));
    EXPECT_TRUE(readings.Reading(u'一').isEmpty());
}

// Lyric lines written for this measure, with readings settled by hand. The floor sits a little below the
// agreement measured when the reader was built, so that a change for the worse shows.
TEST(ChineseWordsToPinYin, AgreesWithSettledReadingsOfLyrics) {
    qsizetype characters = 0;
    qsizetype right = 0;
    for (const QByteArrayList& row : test::ReadCaseFile(QStringLiteral(LIROBEL_LYRICS_READINGS))) {
        const QStringList settled = QString::fromUtf8(row.value(1)).split(u',', Qt::SkipEmptyParts);
        const QStringList read = ChineseWordsToPinYin(QString::fromUtf8(row[0])).split(u',', Qt::SkipEmptyParts);
        ASSERT_EQ(read.size(), settled.size()) << row[0].toStdString();
        characters += settled.size();
        for (qsizetype i = 0; i < settled.size(); ++i)
            right += read[i] == settled[i];
    }
    EXPECT_GE(characters, 3000);
    EXPECT_GE(static_cast<double>(right) / static_cast<double>(characters), 0.994);
}

} // namespace
} // namespace lirobel::pinyin
