// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/vsqx/phonetic_items.h"
#include "support/case_file.h"

#include <gtest/gtest.h>

namespace lirobel::vsqx {
namespace {

// A row of phonetic_item_cases.tsv: phonetic string, item number, item.
TEST(GetPhoneticItem, ReturnsOnlyItemsThatABarEnds) {
    for (const QByteArrayList& row : test::ReadCaseFile(LIROBEL_TEST_DATA "/phonetic_item_cases.tsv"))
        EXPECT_EQ(GetPhoneticItem(QString::fromUtf8(row[0]), row[1].toInt()), QString::fromUtf8(row[2]))
            << row[0].toStdString();
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
