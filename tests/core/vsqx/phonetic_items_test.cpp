// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/vsqx/phonetic_items.h"

#include <gtest/gtest.h>

namespace lirobel::vsqx {
namespace {

TEST(GetPhoneticItem, ReturnsOnlyItemsThatABarEnds) {
    struct Row {
        const char16_t* phonetic;
        int n;
        const char16_t* item;
    };
    const Row rows[] = {
        {u"J i|h a o|", 1, u"J i"},   {u"J i|h a o|", 2, u"h a o"},
        {u"J i|h a o|", 3, u""},      {u"J i|h a o", 2, u""},
        {u"|J i|", 1, u""},           {u"|J i|", 2, u"J i"},
        {u"a||b|", 2, u""},           {u"a||b|", 3, u"b"},
        {u"o[-OPE]|", 1, u"o[-OPE]"}, {u"", 1, u""},
        {u"你 好|", 1, u"你 好"},
    };
    for (const Row& row : rows)
        EXPECT_EQ(GetPhoneticItem(row.phonetic, row.n), QStringView(row.item)) << row.n;
}

TEST(UnwritableItemCause, NamesTheFirstItemReadThatXmlCannotHold) {
    struct Row {
        QString phonetic;
        const char* cause; // a part of it; "" when every item can be written
    };
    const Row rows[] = {
        {QStringLiteral("J i|\t\r\n|\u00a0\ufffd|\U0001F3B5|]]|]>|"), ""},
        {QStringLiteral("J i|a]]>|"), "item 2 holds \"]]>\""},
        {QStringLiteral("J i[-OPE]]]>|"), "item 1 holds \"]]>\""},
        {QStringLiteral("\u0000|"), "item 1 holds U+0000"},
        {QStringLiteral("a|b\uffff|"), "item 2 holds U+FFFF"},
        {QStringLiteral("a|b") + QChar(0xD800) + u'|', "item 2 holds U+D800, half of a surrogate pair"},
        {QStringLiteral("a|") + QChar(0xDC00) + QChar(0xD800) + u'|', "item 2 holds U+DC00"},
        // The items after the first empty one, and a last one without its "|", are never read.
        {QStringLiteral("a||]]>|\u0001|"), ""},
        {QStringLiteral("a|]]>"), ""},
    };
    for (const Row& row : rows) {
        const QString cause = UnwritableItemCause(row.phonetic);
        EXPECT_EQ(cause.isEmpty(), !*row.cause) << cause.toStdString();
        EXPECT_TRUE(cause.contains(QLatin1StringView(row.cause))) << cause.toStdString();
    }
}

} // namespace
} // namespace lirobel::vsqx
