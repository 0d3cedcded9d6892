// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/kana/filter_romaji.h"

#include <gtest/gtest.h>

namespace lirobel::kana {
namespace {

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
