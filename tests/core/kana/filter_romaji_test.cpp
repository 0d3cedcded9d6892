// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/kana/filter_romaji.h"

#include <gtest/gtest.h>

namespace lirobel::kana {
namespace {

struct FilterCase {
    const char16_t* text;
    const char16_t* romaji;

    friend void PrintTo(const FilterCase& row, std::ostream* os) { *os << QString::fromUtf16(row.text).toStdString(); }
};

class FilterRomajiTest : public testing::TestWithParam<FilterCase> {};

TEST_P(FilterRomajiTest, PicksOutTheSyllables) {
    const RomajiConversion conversion = FilterRomaji(QStringView(GetParam().text), {});
    ASSERT_TRUE(conversion.succeeded) << conversion.failure.toStdString();
    EXPECT_EQ(conversion.romaji, QString::fromUtf16(GetParam().romaji));
}

// One group per row of the scan table, in its order.
INSTANTIATE_TEST_SUITE_P(ScanTable, FilterRomajiTest,
                         testing::Values(
                             // "/": an English span, otherwise nothing
                             FilterCase{u"/*Happy*/ birthday", u"HAPPY bi da"}, FilterCase{u"a/**/i", u"a  i"},
                             FilterCase{u"/**/", u""}, FilterCase{u"/**/a", u" a"}, FilterCase{u"a/**/", u"a "},
                             FilterCase{u"/*a\r\nb*/", u"A\r\nB"}, FilterCase{u"/*/ka*/", u"/KA"},
                             FilterCase{u"a / * */ i", u"a i"},
                             // k, m, r, g, b, p: doubled, + vowel, + y + a/u/e/o
                             FilterCase{u"kka mme rro ggu bbi ppo", u"- ka - me - ro - gu - bi - po"},
                             FilterCase{u"kyamyurye gyobya pyu kyi", u"kya myu rye gyo bya pyu i"},
                             FilterCase{u"kk", u"-"}, FilterCase{u"kx", u""},
                             // h: doubled, a/i/e/o ("hu" is no syllable), + y
                             FilterCase{u"hha hi he ho hu hya hyi", u"- ha hi he ho u hya i"},
                             // n: + vowel, + y + a/u/e/o, + y otherwise nothing, alone otherwise
                             FilterCase{u"konnichiwa", u"ko n ni chi wa"}, FilterCase{u"nyanyo nyk n", u"nya nyo n"},
                             FilterCase{u"nn", u"n n"},
                             // s: doubled, + vowel, + h + vowel
                             FilterCase{u"zasshi su shu sha sh", u"za - shi su shu sha"},
                             // t: doubled or before c, + vowel, + s + u
                             FilterCase{u"kitto matcha tsu tsa ti", u"ki - to ma - cha tsu sa ti"},
                             // z, d: doubled, + u (the rule setting), + a/i/e/o
                             FilterCase{u"zzu ddu zi di de zo", u"- zu - zu zi di de zo"},
                             // c: doubled, + h + vowel
                             FilterCase{u"cchi cha ca", u"- chi cha a"},
                             // y: doubled, + a/u/e/o
                             FilterCase{u"yya yu ye yo yi", u"- ya yu ye yo i"},
                             // w: doubled, + o (the rule setting), + a/i/e
                             FilterCase{u"wwa wo wi we wu", u"- wa o wi we u"},
                             // j, f: doubled, + vowel
                             FilterCase{u"jja ju ffu fe", u"- ja ju - fu fe"},
                             // vowels alone; l, q, v, x, digits, kana, kanji and punctuation leave nothing
                             FilterCase{u"aiueo", u"a i u e o"}, FilterCase{u"la qi vu xe", u"a i u e"},
                             FilterCase{u"桜 sakura さくら -1-", u"sa ku ra"},
                             // lower-casing comes first
                             FilterCase{u"Kimi no Na wa", u"ki mi no na wa"}, FilterCase{u"SAKURA", u"sa ku ra"},
                             FilterCase{u"", u""}));

TEST(FilterRomaji, TakesTheRuleSettingsAsTheyStand) {
    const auto romaji = [](const char16_t* text, const settings::Settings& settings) {
        return FilterRomaji(QStringView(text), settings).romaji;
    };
    EXPECT_EQ(romaji(u"wo zu du", {}), u"o zu zu");
    EXPECT_EQ(romaji(u"wo zu du", {{}, QStringLiteral("wo"), QStringLiteral("du"), {}}), u"wo du du");
    // Like the kana converter, a value the rule dialog never writes is the token as it stands.
    EXPECT_EQ(romaji(u"wo zu a", {{}, QStringLiteral("WO "), QString(), {}}), u"WO   a");
    EXPECT_EQ(romaji(u"ha wa", {QStringLiteral("wa"), {}, {}, {}}), u"ha wa"); // HaReading plays no part
}

TEST(FilterRomaji, BoundsEnglishSpans) {
    const QString longest = QStringLiteral("/*") + QString(kLongestEnglishSpan, u'x') + QStringLiteral("*/a");
    const RomajiConversion fits = FilterRomaji(longest, {});
    ASSERT_TRUE(fits.succeeded);
    EXPECT_EQ(fits.romaji, QString(kLongestEnglishSpan, u'X') + QStringLiteral(" a"));

    const QString tooLong = QStringLiteral("/*") + QString(kLongestEnglishSpan + 1, u'x') + QStringLiteral("*/");
    for (const QString& text : {tooLong, QStringLiteral("/*abc"), QStringLiteral("ka /*"), QStringLiteral("/*/")}) {
        const RomajiConversion conversion = FilterRomaji(text, {});
        EXPECT_FALSE(conversion.succeeded) << text.left(20).toStdString();
        EXPECT_TRUE(conversion.romaji.isEmpty());
    }
}

} // namespace
} // namespace lirobel::kana
