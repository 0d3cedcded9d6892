// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/vsqx/phonetic_items.h"
#include "core/vsqx/put_phonetic_to_vsqx.h"
#include "core/vsqx/put_phonetic_to_vsqx4.h"
#include "support/case_file.h"

#include <gtest/gtest.h>

namespace lirobel::vsqx {
namespace {

// Contents too long for the case file: a closing tag must begin within 32759 bytes of content, and the 32767th
// note is one too many.
const QMap<QByteArray, QByteArray> kLongContents{
    {"X32759", QByteArray(32759, 'x')},
    {"X32760", QByteArray(32760, 'x')},
    {"NOTES32766", QByteArray("<phnms>a</phnms>").repeated(32766)},
    {"WRITTEN32766", QByteArray("<phnms lock=\"1\"><![CDATA[b]]></phnms>").repeated(32766)},
    {"ITEMS32768", QByteArray("b|").repeated(32768)},
};

// A row of rewrite_cases.tsv, whose head says what each field holds.
class RewriteCaseTest : public testing::TestWithParam<QByteArrayList> {};

TEST_P(RewriteCaseTest, WritesAndCountsTheNotes) {
    const QByteArrayList& row = GetParam();
    const RewriteOptions options{row[2] == "1"};
    const QString phonetic = QString::fromUtf8(row[4]);
    const PhoneticRewrite rewrite = row[1] == "4" ? PutPhoneticToVSQX4(row[5], phonetic, {}, options)
                                                  : PutPhoneticToVSQX(row[5], phonetic, {}, options);
    ASSERT_EQ(rewrite.ok, row[3] != "fails") << rewrite.failure.toStdString();
    if (!rewrite.ok) {
        EXPECT_TRUE(rewrite.failure.contains(QString::fromUtf8(row.value(6)))) << rewrite.failure.toStdString();
        return;
    }
    EXPECT_EQ(rewrite.text, row.value(6));
    const QString counts = QStringLiteral("%1 %2 %3 %4 %5")
                               .arg(rewrite.notesWritten)
                               .arg(rewrite.itemsLeft)
                               .arg(rewrite.notesLeft)
                               .arg(rewrite.notesFound)
                               .arg(rewrite.heldSkipped);
    EXPECT_EQ(counts.toLatin1(), row[3]);
    EXPECT_EQ(rewrite.notesFound, rewrite.notesWritten + rewrite.heldSkipped + rewrite.notesLeft);
}

INSTANTIATE_TEST_SUITE_P(Notes, RewriteCaseTest,
                         testing::ValuesIn(test::ReadCaseFile(LIROBEL_TEST_DATA "/rewrite_cases.tsv", kLongContents)),
                         [](const testing::TestParamInfo<QByteArrayList>& row) { return row.param[0].toStdString(); });

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
