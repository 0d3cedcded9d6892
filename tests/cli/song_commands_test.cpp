// SPDX-License-Identifier: GPL-3.0-or-later
// `pour` and `lyrics` as invoked: their operands and options, what they print and exit with, and that the
// song is rewritten by a real run only. What a pour writes into a song is pinned by the core's tests.
#include "cli_test_support.h"
#include "support/case_file.h"
#include "support/vpr_generator.h"

#include <QFile>
#include <gtest/gtest.h>

namespace lirobel::cli {
namespace {

// A row of song_command_cases.tsv, whose head says what each field holds.
class SongCommandTest : public testing::TestWithParam<QByteArrayList> {};

TEST_P(SongCommandTest, FollowsTheContract) {
    const QByteArrayList& row = GetParam();
    QTemporaryDir folder;
    const bool project = row[2] == "project";
    const QString song = folder.filePath(project ? QStringLiteral("song.vpr") : QStringLiteral("song.vsqx"));
    const bool written = row[2] == "file" || project;
    if (written)
        WriteFile(song, row[8]);
    QStringList arguments{QString::fromUtf8(row[1]), written ? song
                                                     : row[2] == "missing"
                                                         ? folder.filePath(QStringLiteral("other.vsqx"))
                                                         : folder.path()};
    for (const QByteArray& option : row.sliced(10))
        arguments << QString::fromUtf8(option);
    if (row[3] == "file")
        arguments << WriteFile(folder.filePath(QStringLiteral("phonetic.txt")), row[9]);

    const CliRun run = RunInProcess(arguments, row[3] == "file" ? QByteArray() : row[9]);
    EXPECT_EQ(run.exitCode, row[4].toInt());
    EXPECT_EQ(run.out, row[5]);
    EXPECT_TRUE(row[6].isEmpty() ? run.err.isEmpty() : run.err.contains(row[6])) << run.err.toStdString();
    if (!written)
        return;
    const QByteArray after = test::ReadFile(song);
    const QByteArray content = project ? test::ZipRecords(after).front().content : after;
    EXPECT_TRUE(row[7].isEmpty() ? after == row[8] : content.contains(row[7])) << after.toStdString();
}

INSTANTIATE_TEST_SUITE_P(Invocations, SongCommandTest,
                         testing::ValuesIn(test::ReadCaseFile(LIROBEL_TEST_DATA "/song_command_cases.tsv",
                                                              {{"SONG", kSong},
                                                               {"HELD_SONG", QByteArray(kSong).replace("好", "-")},
                                                               {"PROJECT", kProject}})),
                         [](const testing::TestParamInfo<QByteArrayList>& row) { return row.param[0].toStdString(); });

} // namespace
} // namespace lirobel::cli
