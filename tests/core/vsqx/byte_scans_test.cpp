// SPDX-License-Identifier: GPL-3.0-or-later
// The scans over a file's bytes: its lines, the sections that may hide tags, the markup.
#include "core/vsqx/file_lines.h"
#include "core/vsqx/hidden_tags_p.h"
#include "core/vsqx/vsqx_recognition.h"
#include "core/vsqx/xml_markup_p.h"
#include "support/case_file.h"
#include "support/vsqx_generator.h"

#include <QRandomGenerator>
#include <gtest/gtest.h>

namespace lirobel::vsqx {
namespace {

// A row of file_lines_cases.tsv: file, lines, the file joined.
TEST(FileLines, EndAtCrLfOrALoneCrButNeverAtALoneLf) {
    for (const QByteArrayList& row : test::ReadCaseFile(LIROBEL_TEST_DATA "/file_lines_cases.tsv")) {
        EXPECT_EQ(CountFileLines(row[0]), row[1].toInt()) << row[0].toStdString();
        EXPECT_EQ(CountFileLines(row[0], 2), std::min(row[1].toInt(), 2)) << row[0].toStdString();
        QByteArray joined = row[0];
        EXPECT_EQ(JoinFileLines(joined), row[1].toInt());
        EXPECT_EQ(joined, row[2]);
    }
}

// The files that rows of recognition_cases.tsv name.
QMap<QByteArray, QByteArray> RecognitionFiles() {
    const QByteArray editor = test::GenerateVsqx({});
    const qsizetype header = editor.indexOf(kVendorLine) + kVendorLine.size();
    return {{"EDITOR", editor},
            {"LONE_CRS", QByteArray(editor).replace("\r\n", "\r")},
            {"HEADER", editor.first(header)},
            {"REST", editor.sliced(header)},
            {"VENDOR", kVendorLine.toByteArray()},
            {"ONE_LINE", test::GenerateVsqx({1, 1, 3, test::LineEnds::None})},
            {"SPACES255", QByteArray(255, ' ')},
            {"LF_ONLY", test::GenerateVsqx({1, 1, 3, test::LineEnds::Lf})},
            {"VERSION4", test::GenerateVsqx({.version = 4})},
            {"ROOT4", "<vsq4 xmlns=\"x\"><note/></vsq4>"}};
}

TEST(Recognition, FindsTheVendorLineWhereTheEditorPutsItAndTheVersion4Root) {
    for (const QByteArrayList& row :
         test::ReadCaseFile(LIROBEL_TEST_DATA "/recognition_cases.tsv", RecognitionFiles())) {
        const bool yes = row[1] == "vsqx" ? IsVsqxFile(row[2], CountFileLines(row[2])) : HasVersion4Root(row[2]);
        EXPECT_EQ(yes, row[3] == "1") << row[0].toStdString();
    }
}

// Line ends by their definition: a CR ends a line, an LF right after it belongs to it.
QByteArray JoinedByteByByte(const QByteArray& file, qsizetype& lines) {
    QByteArray joined;
    lines = 0;
    for (qsizetype at = 0; at < file.size(); ++at) {
        if (file[at] != '\r') {
            joined += file[at];
            continue;
        }
        ++lines;
        if (at + 1 < file.size() && file[at + 1] == '\n')
            ++at;
    }
    if (!file.isEmpty() && !file.endsWith('\r') && !file.endsWith("\r\n"))
        ++lines;
    return joined;
}

TEST(BlockScan, JoinsAndCountsLinesAsByteByByte) {
    // Lines of every length around the block sizes, with lone CRs and LFs among them.
    QRandomGenerator random(25);
    static constexpr char kBytes[] = {'a', 'b', '\r', '\n', '<'};
    for (int round = 0; round < 400; ++round) {
        QByteArray file;
        const int size = random.bounded(120);
        for (int at = 0; at < size; ++at)
            file += random.bounded(6) == 0 ? kBytes[random.bounded(5)] : 'x';
        if (round % 3 == 0)
            file += QByteArray(random.bounded(40), 'y') + "\r\n";
        qsizetype lines = 0;
        const QByteArray expected = JoinedByteByByte(file, lines);
        EXPECT_EQ(CountFileLines(file), lines) << file.toStdString();
        QByteArray joined = file;
        EXPECT_EQ(JoinFileLines(joined), lines) << file.toStdString();
        EXPECT_EQ(joined, expected) << file.toStdString();
    }
}

TEST(BlockScan, FindsAHiddenTagWhereverItsSectionBegins) {
    const QByteArrayView tags[] = {"<lyric>"};
    const QByteArray sections[] = {"<!--<lyric>-->", "<![CDATA[<lyric>]]>", "<?x <lyric>?>", "<!DOCTYPE a [<lyric>]>"};
    for (const QByteArray& section : sections) {
        for (int offset = 0; offset < 40; ++offset) {
            // Harmless sections and lone '!' and '?' before it, which the scan must pass over.
            const QByteArray text = QByteArray(offset, '!').replace(offset / 2, 0, "<!-- a -->?") + section + "<b>";
            EXPECT_FALSE(HiddenTagCause(text, tags).isEmpty()) << text.toStdString();
            EXPECT_TRUE(HiddenTagCause(QByteArray(text).replace("<lyric>", "<lyrics"), tags).isEmpty())
                << text.toStdString();
        }
    }
}

TEST(BlockScan, StopsAtTheMarkupThatAWalkOverAllWouldFind) {
    static const QByteArray kPieces[] = {
        "<note>", "</note>", "<nStyle>",        "</nStyle>",       "<v id=\"opening\">", "</v>", "<y>",
        "<t>",    "</t>",    "<!-- <note> -->", "<![CDATA[<p>]]>", "<?x <n>?>",          "< ",   "<<",
        "</>",    "text",    "\r\n\t"};
    QRandomGenerator random(4);
    for (int round = 0; round < 300; ++round) {
        QByteArray text;
        for (int piece = random.bounded(30); piece > 0; --piece)
            text += kPieces[random.bounded(static_cast<int>(std::size(kPieces)))];
        for (qsizetype from = 0; from <= text.size(); ++from) {
            Markup walked = NextMarkup(text, from);
            while (!IsAmong(walked, text, "nv", "n"))
                walked = NextMarkup(text, walked.next);
            const Markup found = NextMarkupAmong(text, from, "nv", "n");
            ASSERT_EQ(found.kind, walked.kind) << text.toStdString() << " from " << from;
            EXPECT_EQ(found.start, walked.start) << text.toStdString() << " from " << from;
        }
    }
}

} // namespace
} // namespace lirobel::vsqx
