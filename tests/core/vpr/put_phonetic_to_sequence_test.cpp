// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/vpr/put_phonetic_to_sequence.h"
#include "core/vpr/sequence_json.h"
#include "support/case_file.h"

#include <gtest/gtest.h>

namespace lirobel::vpr {
namespace {

// A row of sequence_cases.tsv, whose head says what each field holds.
class SequenceCaseTest : public testing::TestWithParam<QByteArrayList> {};

TEST_P(SequenceCaseTest, EditsOnlyWhatThePourIsAbout) {
    const QByteArrayList& row = GetParam();
    const SequenceScan scan = ScanSequence(row[4]);
    ASSERT_TRUE(scan.valid) << scan.failure.toStdString();
    const vsqx::PhoneticRewrite rewrite =
        PutPhoneticToSequence(row[4], scan, QString::fromUtf8(row[3]), {row[1] == "1"});
    ASSERT_EQ(rewrite.ok, row[2] != "fails") << rewrite.failure.toStdString();
    if (!rewrite.ok) {
        EXPECT_EQ(rewrite.failure.toUtf8(), row[5]);
        return;
    }
    EXPECT_EQ(rewrite.text, row[5]);
    EXPECT_EQ(QString::asprintf("%d %d %d %d %d", rewrite.notesWritten, rewrite.itemsLeft, rewrite.notesLeft,
                                rewrite.notesFound, rewrite.heldSkipped),
              QString::fromLatin1(row[2]));
    EXPECT_EQ(rewrite.notesFound, rewrite.notesWritten + rewrite.heldSkipped + rewrite.notesLeft);
}

INSTANTIATE_TEST_SUITE_P(Sequences, SequenceCaseTest,
                         testing::ValuesIn(test::ReadCaseFile(LIROBEL_TEST_DATA "/sequence_cases.tsv")),
                         [](const testing::TestParamInfo<QByteArrayList>& row) { return row.param[0].toStdString(); });

// A row of sequence_scan_cases.tsv: name, valid, holds tracks, text; and nestings deeper than the scan goes.
TEST(ScanSequence, TakesJsonAndNothingElse) {
    std::vector<QByteArrayList> rows = test::ReadCaseFile(LIROBEL_TEST_DATA "/sequence_scan_cases.tsv");
    rows.push_back({"tooDeep", "0", "0", QByteArray(200000, '[')});
    rows.push_back({"deepButClosed", "1", "0", QByteArray(100000, '[') + QByteArray(100000, ']')});
    for (const QByteArrayList& row : rows) {
        const SequenceScan scan = ScanSequence(row[3]);
        EXPECT_EQ(scan.valid, row[1] == "1") << row[0].toStdString();
        EXPECT_EQ(scan.hasTracks, row[2] == "1") << row[0].toStdString();
        EXPECT_EQ(scan.failure.isEmpty(), scan.valid) << row[0].toStdString();
    }
}

} // namespace
} // namespace lirobel::vpr
