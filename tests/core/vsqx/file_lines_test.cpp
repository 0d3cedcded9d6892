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

} // namespace
} // namespace lirobel::vsqx
