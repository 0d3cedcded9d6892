// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/kana/filter_romaji.h"

#include <gtest/gtest.h>

namespace lirobel::kana {
namespace {

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
