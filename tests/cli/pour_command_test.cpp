// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli_test_support.h"
#include "support/case_file.h"

#include <QFile>
#include <gtest/gtest.h>

namespace lirobel::cli {
namespace {

// A row of pour_command_cases.tsv, whose head says what each field holds.
class PourCommandTest : public testing::TestWithParam<QByteArrayList> {};

TEST_P(PourCommandTest, FollowsTheContract) {
    const QByteArrayList& row = GetParam();
    QTemporaryDir folder;
    const QString song = folder.filePath(QStringLiteral("song.vsqx"));
    if (row[1] == "file")
        WriteFile(song, row[7]);
    QStringList arguments{QStringLiteral("pour"), row[1] == "file"      ? song
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
    if (row[1] != "file")
        return;
    const QByteArray after = test::ReadFile(song);
    if (!row[6].isEmpty())
        EXPECT_TRUE(after.endsWith("</vsq3>\r\n") && !after.chopped(2).contains('\r') && after.contains(row[6]));
    else
        EXPECT_EQ(after, row[7]);
}

INSTANTIATE_TEST_SUITE_P(Invocations, PourCommandTest,
                         testing::ValuesIn(test::ReadCaseFile(LIROBEL_TEST_DATA "/pour_command_cases.tsv",
                                                              {{"SONG", kSong},
                                                               {"HELD_SONG", QByteArray(kSong).replace("好", "-")}})),
                         [](const testing::TestParamInfo<QByteArrayList>& row) { return row.param[0].toStdString(); });

} // namespace
} // namespace lirobel::cli
