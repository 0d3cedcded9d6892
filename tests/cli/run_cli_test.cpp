// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli_test_support.h"
#include "support/case_file.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

namespace lirobel::cli {
namespace {

// A row of run_cli_cases.tsv, whose head says what each field holds.
class RunCliTest : public testing::TestWithParam<QByteArrayList> {};

TEST_P(RunCliTest, FollowsTheContract) {
    const QByteArrayList& row = GetParam();
    QStringList arguments;
    for (const QByteArray& argument : row.sliced(6))
        arguments << QString::fromUtf8(argument);
    const QTemporaryDir withSettings;
    const QString folder = row[5].isEmpty() ? EmptyProgramFolder() : withSettings.path();
    if (!row[5].isEmpty())
        WriteFile(folder + QStringLiteral("/Settings.ini"), row[5]);
    const CliRun run = RunInProcess(arguments, row[4], folder);
    EXPECT_EQ(run.exitCode, row[1].toInt());
    EXPECT_EQ(run.out, row[2]);
    EXPECT_TRUE(row[3].isEmpty() ? run.err.isEmpty() : run.err.contains(row[3])) << run.err.toStdString();
    // The CLI reads the window's settings file and never writes one.
    EXPECT_EQ(test::ReadFile(folder + QStringLiteral("/Settings.ini")), row[5].isEmpty() ? "<unreadable>" : row[5]);
}

INSTANTIATE_TEST_SUITE_P(Invocations, RunCliTest,
                         testing::ValuesIn(test::ReadCaseFile(LIROBEL_TEST_DATA "/run_cli_cases.tsv",
                                                              {{"VERSION", LIROBEL_TEST_VERSION},
                                                               {"NI_300K", QByteArray("ni,").repeated(100000)}})),
                         [](const testing::TestParamInfo<QByteArrayList>& row) { return row.param[0].toStdString(); });

TEST(RunCli, ReadingWithoutDictionaryFails) {
    const QTemporaryDir emptyFolder;
    qputenv("LIROBEL_JAPANESE_DICTIONARY", emptyFolder.path().toLocal8Bit());
    for (const QStringList& arguments : {QStringList{"reading"}, QStringList{"kana", "--kanji"}}) {
        const CliRun run = RunInProcess(arguments, "君");
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_EQ(run.out, "");
        EXPECT_TRUE(run.err.contains("the Japanese dictionary is not installed: ")) << run.err.toStdString();
    }
    qunsetenv("LIROBEL_JAPANESE_DICTIONARY");
}

} // namespace
} // namespace lirobel::cli
