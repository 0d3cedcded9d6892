// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/vsqx/put_phonetic_to_vsqx.h"
#include "core/vsqx/put_phonetic_to_vsqx4.h"

#include <gtest/gtest.h>
#include <optional>
#include <tuple>

namespace lirobel::vsqx {
namespace {

// Notes written, items left, notes left, notes found, held notes skipped.
using Counts = std::tuple<int, int, int, int, int>;

struct Case {
    const char* name;
    int version;
    QByteArray text;
    const char* phonetic;
    bool skipHeld;
    std::optional<QByteArray> rewritten; // nothing when the rewrite must fail
    Counts counts;

    friend void PrintTo(const Case& row, std::ostream* os) { *os << row.name; }
};

class BothVersionsTest : public testing::TestWithParam<Case> {};

TEST_P(BothVersionsTest, WritesAndCountsTheNotes) {
    const Case& row = GetParam();
    const QString phonetic = QString::fromUtf8(row.phonetic);
    const PhoneticRewrite rewrite = row.version == 4 ? PutPhoneticToVSQX4(row.text, phonetic, {}, {row.skipHeld})
                                                     : PutPhoneticToVSQX(row.text, phonetic, {}, {row.skipHeld});
    ASSERT_EQ(rewrite.ok, row.rewritten.has_value()) << rewrite.failure.toStdString();
    if (!rewrite.ok)
        return;
    EXPECT_EQ(rewrite.text, *row.rewritten);
    EXPECT_EQ(
        Counts(rewrite.notesWritten, rewrite.itemsLeft, rewrite.notesLeft, rewrite.notesFound, rewrite.heldSkipped),
        row.counts);
    EXPECT_EQ(rewrite.notesFound, rewrite.notesWritten + rewrite.heldSkipped + rewrite.notesLeft);
}

// A note of each version as the editor writes it, and the same note with "J i" written into it.
QByteArray Note3(const char* lyric = "<![CDATA[あ]]>") {
    return QByteArray("<lyric>") + lyric + "</lyric><phnms>a</phnms><attr id=\"opening\">64</attr>";
}
const QByteArray kWritten3 = "<lyric><![CDATA[a]]></lyric><phnms lock=\"1\"><![CDATA[J i]]></phnms>"
                             "<attr id=\"opening\">64</attr>";

QByteArray Note4(const char* lyric = "<![CDATA[あ]]>", const char* opening = "127") {
    return QByteArray("<note>\r\n<v>64</v><y>") + lyric + "</y><p><![CDATA[a]]></p>\n<nStyle><v id=\"accent\">50</v>" +
           (*opening ? QByteArray("<v id=\"opening\">") + opening + "</v>" : QByteArray()) + "</nStyle></note>\r\n";
}
QByteArray Written4(const char* opening = "127", const char* item = "J i") {
    return QByteArray("<note>\r\n<v>64</v><y><![CDATA[a]]></y><p lock=\"1\"><![CDATA[") + item +
           "]]></p>\n<nStyle><v id=\"accent\">50</v>" +
           (*opening ? QByteArray("<v id=\"opening\">") + opening + "</v>" : QByteArray()) + "</nStyle></note>\r\n";
}

const QByteArray kHeld3 = Note3("-");
const QByteArray kHeld4 = Note4("<![CDATA[-]]>");

INSTANTIATE_TEST_SUITE_P(
    Notes, BothVersionsTest,
    testing::Values(
        Case{"moreNotes3", 3, Note3() + Note3(), "J i|", false, kWritten3 + Note3(), {1, 0, 1, 2, 0}},
        Case{"moreItems3", 3, Note3(), "J i|b|c|", false, kWritten3, {1, 2, 0, 1, 0}},
        Case{"asMany3", 3, Note3() + Note3(), "J i|J i|", false, kWritten3 + kWritten3, {2, 0, 0, 2, 0}},
        Case{"heldOff3", 3, Note3() + kHeld3, "J i|J i|", false, kWritten3 + kWritten3, {2, 0, 0, 2, 0}},
        Case{"heldOn3",
             3,
             kHeld3 + Note3() + kHeld3 + Note3() + Note3(),
             "J i|",
             true,
             kHeld3 + kWritten3 + kHeld3 + Note3() + Note3(),
             {1, 0, 2, 5, 2}},
        Case{"heldCdataOn3",
             3,
             Note3("<![CDATA[-]]>") + Note3(),
             "J i|J i|",
             true,
             Note3("<![CDATA[-]]>") + kWritten3,
             {1, 1, 0, 2, 1}},
        Case{"moreNotes4", 4, Note4() + Note4(), "J i|", false, Written4() + Note4(), {1, 0, 1, 2, 0}},
        Case{"moreItems4", 4, Note4(), "J i|b|c|", false, Written4(), {1, 2, 0, 1, 0}},
        Case{"asMany4",
             4,
             "<vsq4>" + Note4() + Note4() + "</vsq4>",
             "J i|J i|",
             false,
             "<vsq4>" + Written4() + Written4() + "</vsq4>",
             {2, 0, 0, 2, 0}},
        Case{"heldOff4", 4, kHeld4 + Note4(), "J i|J i|", false, Written4() + Written4(), {2, 0, 0, 2, 0}},
        Case{"heldOn4",
             4,
             Note4("-") + Note4() + kHeld4 + Note4(),
             "J i|J i[-OPE]|",
             true,
             Note4("-") + Written4() + kHeld4 + Written4("0"),
             {2, 0, 0, 4, 2}},
        Case{"heldAfterTheItems4",
             4,
             Note4() + kHeld4 + Note4(),
             "J i|",
             true,
             Written4() + kHeld4 + Note4(),
             {1, 0, 1, 3, 1}},
        Case{"noItems4", 4, Note4() + Note4(), "", false, Note4() + Note4(), {0, 0, 2, 2, 0}},
        // The marker closes the note's own opening, never another's; the velocity is no opening.
        Case{"markerWithoutOpening4",
             4,
             Note4("x", "") + Note4(),
             "J i[-OPE]|J i|",
             false,
             Written4("") + Written4(),
             {2, 0, 0, 2, 0}},
        Case{"openingOutsideTheStyle4",
             4,
             "<note><v id=\"opening\">5</v><p>a</p></note>",
             "o[-OPE]|",
             false,
             "<note><v id=\"opening\">5</v><p lock=\"1\"><![CDATA[o]]></p></note>",
             {1, 0, 0, 1, 0}},
        Case{"anyPhonemesElement4",
             4,
             "<note><p lock=\"0\" x='>'>b<i/>c</p><y/></note>",
             "你|",
             false,
             "<note><p lock=\"1\"><![CDATA[你]]></p><y><![CDATA[a]]></y></note>",
             {1, 0, 0, 1, 0}},
        Case{"emptyElements4",
             4,
             "<note><y /><p/><nStyle><v id='opening'/></nStyle></note>",
             "o[-OPE]|",
             false,
             "<note><y ><![CDATA[a]]></y><p lock=\"1\"><![CDATA[o]]></p><nStyle><v id='opening'>0</v></nStyle></note>",
             {1, 0, 0, 1, 0}},
        Case{"tagsInCdataAndComments4",
             4,
             "<!-- <note> --><note><y><![CDATA[</y></note>]]></y><p>a</p></note>",
             "o|",
             false,
             "<!-- <note> --><note><y><![CDATA[a]]></y><p lock=\"1\"><![CDATA[o]]></p></note>",
             {1, 0, 0, 1, 0}},
        Case{"noteUnclosed4", 4, Note4() + "<note><p>a</p>", "o|", false, std::nullopt, {}},
        Case{"noteInANote4", 4, "<note><p>a</p>" + Note4(), "o|", false, std::nullopt, {}},
        Case{"lyricUnclosed4", 4, "<note><y>a<p>a</p></note>", "o|", false, std::nullopt, {}},
        Case{"phonemesUnclosed4", 4, "<note><p>a</note>", "", false, std::nullopt, {}},
        Case{"noPhonemesForAnItem4", 4, "<note><y>a</y></note>", "o|", false, std::nullopt, {}},
        Case{"noPhonemesAfterTheItems4",
             4,
             "<note><y>a</y></note>",
             "",
             false,
             "<note><y>a</y></note>",
             {0, 0, 1, 1, 0}}),
    [](const testing::TestParamInfo<Case>& row) { return std::string(row.param.name); });

} // namespace
} // namespace lirobel::vsqx
