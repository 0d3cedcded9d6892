// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/vsqx/file_lines.h"
#include "core/vsqx/vsqx_recognition.h"
#include "support/case_file.h"
#include "support/vsqx_generator.h"

#include <gtest/gtest.h>

namespace lirobel::vsqx {
namespace {

// A row of file_lines_cases.tsv: file, lines, the file joined.
TEST(FileLines, EndAtCrLfOrALoneCrButNeverAtALoneLf) {
    for (const QByteArrayList& row : test::ReadCaseFile(LIROBEL_TEST_DATA "/file_lines_cases.tsv")) {
        EXPECT_EQ(CountFileLines(row[0]), row[1].toInt()) << row[0].toStdString();
        QByteArray joined = row[0];
        EXPECT_EQ(JoinFileLines(joined), row[1].toInt());
        EXPECT_EQ(joined, row[2]);
    }
}

TEST(IsVsqxFile, RecognisesTheVendorLineWhereTheEditorPutsIt) {
    const QByteArray editor = test::GenerateVsqx({});
    const QByteArray oneLine = test::GenerateVsqx({1, 1, 3, test::LineEnds::None});
    const QByteArray header = editor.first(editor.indexOf("</vender>") + 9);
    QByteArray otherCase = editor;
    otherCase.replace("Yamaha", "yamaha");
    QByteArray crOnly = editor;
    crOnly.replace("\r\n", "\r");
    struct Row {
        const char* name;
        QByteArray file;
        bool vsqx;
    };
    const Row rows[] = {
        {"editor", editor, true},
        {"editorWithLoneCrs", crOnly, true},
        {"otherCase", otherCase, false},
        {"spaceAfterVendorLine", QByteArray(editor).insert(header.size(), ' '), false},
        {"onlyTheFiveLines", header + "\r\n", true},
        {"fifthLineIsTheVendorLine", "1\r\n2\r\n3\r\n4\r\n" + kVendorLine.toByteArray(), true},
        {"fourLines", "1\r\n2\r\n3\r\n" + kVendorLine.toByteArray(), false},
        {"twoLines", "a\r\nb", false},
        {"empty", "", false},
        {"oneLine", oneLine, true},
        {"oneLineWithItsLineEnd", oneLine + "\r\n", true},
        {"oneLineShifted", " " + oneLine, false},
        {"oneLineEndingWithTheVendorLine", QByteArray(255, ' ') + kVendorLine.toByteArray(), true},
        {"oneLineCutShort", QByteArray(255, ' ') + kVendorLine.chopped(1).toByteArray(), false},
        {"editorWithLfOnly", test::GenerateVsqx({1, 1, 3, test::LineEnds::Lf}), false},
    };
    for (const Row& row : rows)
        EXPECT_EQ(IsVsqxFile(row.file, CountFileLines(row.file)), row.vsqx) << row.name;
}

TEST(HasVersion4Root, JudgesTheFirstElement) {
    const QByteArray version4 = test::GenerateVsqx({1, 1, 3, test::LineEnds::CrLf, 4});
    const QByteArray root = "<vsq4 xmlns=\"x\"><note/></vsq4>";
    struct Row {
        const char* name;
        QByteArray file;
        bool version4;
    };
    const Row rows[] = {
        {"generated", version4, true},
        {"version3", test::GenerateVsqx({}), false},
        {"afterCommentsAndInstructions", "\xef\xbb\xbf<?xml version=\"1.0\"?>\r\n<!-- <vsq3> --><?x <a>?>" + root,
         true},
        {"afterADocumentType", "<!DOCTYPE vsq4 [<!ENTITY a \"b\">]>" + root, true},
        {"onlyInAComment", "<!-- <vsq4> --><vsq3>" + root + "</vsq3>", false},
        {"longerName", "<vsq4x/>", false},
        {"noElement", "<?xml version=\"1.0\"?>", false},
    };
    for (const Row& row : rows)
        EXPECT_EQ(HasVersion4Root(row.file), row.version4) << row.name;
}

} // namespace
} // namespace lirobel::vsqx
