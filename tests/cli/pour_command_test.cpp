// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli_test_support.h"
#include "support/case_file.h"
#include "support/vpr_generator.h"

#include <QFile>
#include <gtest/gtest.h>

namespace lirobel::cli {
namespace {

const QByteArray kNoTracks = R"({"tracks":[]})";

QByteArray Project() {
    using test::VprLayout;
    return test::GenerateVpr(
        VprLayout::Version6,
        test::GenerateSequence(VprLayout::Version6, test::GenerateVprNotes(VprLayout::Version6, 4)));
}

// A row of pour_command_cases.tsv, whose head says what each field holds.
class PourCommandTest : public testing::TestWithParam<QByteArrayList> {};

TEST_P(PourCommandTest, FollowsTheContract) {
    const QByteArrayList& row = GetParam();
    QTemporaryDir folder;
    const bool project = row[1] == "project";
    const QString song = folder.filePath(project ? QStringLiteral("song.vpr") : QStringLiteral("song.vsqx"));
    const bool written = row[1] == "file" || project;
    if (written)
        WriteFile(song, row[7]);
    QStringList arguments{QStringLiteral("pour"), written               ? song
                                                  : row[1] == "missing" ? folder.filePath(QStringLiteral("other.vsqx"))
                                                                        : folder.path()};
    for (const QByteArray& option : row.sliced(9))
        arguments << QString::fromUtf8(option);
    if (row[2] == "file")
        arguments << WriteFile(folder.filePath(QStringLiteral("phonetic.txt")), row[8]);

    const CliRun run = RunInProcess(arguments, row[2] == "file" ? QByteArray() : row[8]);
    EXPECT_EQ(run.exitCode, row[3].toInt());
    EXPECT_EQ(run.out, row[4]);
    EXPECT_TRUE(row[5].isEmpty() ? run.err.isEmpty() : run.err.contains(row[5])) << run.err.toStdString();
    if (!written)
        return;
    const QByteArray after = test::ReadFile(song);
    if (!row[6].isEmpty() && project)
        EXPECT_TRUE(test::ZipRecords(after).front().content.contains(row[6]));
    else if (!row[6].isEmpty())
        EXPECT_TRUE(after.endsWith("</vsq3>\r\n") && !after.chopped(2).contains('\r') && after.contains(row[6]));
    else
        EXPECT_EQ(after, row[7]);
}

INSTANTIATE_TEST_SUITE_P(
    Invocations, PourCommandTest,
    testing::ValuesIn(test::ReadCaseFile(LIROBEL_TEST_DATA "/pour_command_cases.tsv",
                                         {{"SONG", kSong},
                                          {"HELD_SONG", QByteArray(kSong).replace("好", "-")},
                                          {"PROJECT", Project()},
                                          {"NO_SEQUENCE", test::MakeZip({{"Project/song.json", kNoTracks}})},
                                          {"TWO_SEQUENCES", test::MakeZip({{"Project\\sequence.json", kNoTracks},
                                                                           {"Project/sequence.json", kNoTracks}})}})),
    [](const testing::TestParamInfo<QByteArrayList>& row) { return row.param[0].toStdString(); });

} // namespace
} // namespace lirobel::cli
