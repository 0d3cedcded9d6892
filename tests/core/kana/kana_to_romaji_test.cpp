// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/kana/filter_romaji.h"
#include "core/kana/kana_table.h"
#include "core/kana/kana_to_romaji.h"
#include "support/case_file.h"

#include <gtest/gtest.h>

namespace lirobel::kana {
namespace {

QString Latin1(std::string_view text) {
    return QString::fromLatin1(text);
}

// Katakana sit 0x60 above their hiragana; a slip in either column of the tables breaks this, as does a
// kana that a script does not convert.
constexpr char16_t kKatakanaOffset = 0x60;

TEST(KanaToRomaji, GivesEveryKanaOfTheTablesItsTokenInBothScripts) {
    const settings::Settings rules{QStringLiteral("HA"), QStringLiteral("WO"), QStringLiteral("ZU"), {}};
    int singles = 0;
    for (const SingleKana& kana : SingleKanaTable()) {
        ++singles;
        const QString expected = kana.rule == RuleToken::Ha   ? rules.HaReading
                                 : kana.rule == RuleToken::Wo ? rules.WoReading
                                 : kana.rule == RuleToken::Zu ? rules.ZuReading
                                                              : Latin1(kana.token);
        EXPECT_EQ(kana.token.empty(), kana.rule != RuleToken::None);
        EXPECT_EQ(kana.katakana - kana.hiragana, kana.hiragana == u'ー' ? 0 : kKatakanaOffset)
            << expected.toStdString();
        for (const char16_t c : {kana.hiragana, kana.katakana})
            EXPECT_EQ(KanaToRomaji(QStringView(&c, 1), rules).romaji, expected) << expected.toStdString();
    }
    EXPECT_EQ(singles, 73); // 70 of the syllable rows, ん, っ and ー
    int partners = 0;
    for (const SmallKana& small : SmallKanaTable()) {
        EXPECT_EQ(small.katakana - small.hiragana, kKatakanaOffset);
        for (const Partner& partner : small.partners) {
            ++partners;
            EXPECT_EQ(partner.katakana - partner.hiragana, kKatakanaOffset) << partner.token;
            // Every pairing of scripts merges: きゃ, キャ, きャ and キゃ.
            for (const char16_t before : {partner.hiragana, partner.katakana}) {
                for (const char16_t after : {small.hiragana, small.katakana}) {
                    const char16_t pair[] = {u'あ', before, after};
                    EXPECT_EQ(KanaToRomaji(QStringView(pair, 3), rules).romaji,
                              QStringLiteral("a ") + Latin1(partner.token));
                }
            }
        }
    }
    EXPECT_EQ(partners, 2 + 3 + 4 + 2 + 11 + 11 + 11);
}

// A row of romaji_cases.tsv: lyrics through the kana converter or the romaji filter, and what they give;
// a failure that names what follows a "!".
class RomajiCaseTest : public testing::TestWithParam<QByteArrayList> {};

TEST_P(RomajiCaseTest, ConvertsLyrics) {
    const QByteArrayList& row = GetParam();
    const QString text = QString::fromUtf8(row[1]);
    settings::Settings rules;
    if (row.size() > 3)
        rules = {QString::fromUtf8(row[3]), QString::fromUtf8(row[4]), QString::fromUtf8(row[5]), {}};
    const RomajiConversion conversion = row[0] == "kana" ? KanaToRomaji(text, rules) : FilterRomaji(text, rules);
    const bool fails = row[2].startsWith('!');
    ASSERT_EQ(conversion.succeeded, !fails) << conversion.failure.toStdString();
    EXPECT_EQ(conversion.romaji, fails ? QString() : QString::fromUtf8(row[2]));
    EXPECT_TRUE(!fails || conversion.failure.contains(QString::fromUtf8(row[2].sliced(1))))
        << conversion.failure.toStdString();
}

INSTANTIATE_TEST_SUITE_P(Lyrics, RomajiCaseTest,
                         testing::ValuesIn(test::ReadCaseFile(LIROBEL_TEST_DATA "/romaji_cases.tsv",
                                                              {{"LONGEST_SPAN", QByteArray(kLongestEnglishSpan, 'x')},
                                                               {"LONGEST_SPAN_X",
                                                                QByteArray(kLongestEnglishSpan, 'X')}})));

} // namespace
} // namespace lirobel::kana
