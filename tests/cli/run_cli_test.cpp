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
    for (const QByteArray& argument : row.sliced(5))
        arguments << QString::fromUtf8(argument);
    const CliRun run = RunInProcess(arguments, row[4]);
    EXPECT_EQ(run.exitCode, row[1].toInt());
    EXPECT_EQ(run.out, row[2]);
    EXPECT_TRUE(row[3].isEmpty() ? run.err.isEmpty() : run.err.contains(row[3])) << run.err.toStdString();
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

TEST(RunCli, TakesRulesFromTheWindowsSettingsFileUnlessOverridden) {
    QTemporaryDir programFolder;
    const QByteArray stored = "wa\r\nwo\r\ndu\r\n/home/me/\r\n";
    const QString path = WriteFile(programFolder.filePath("Settings.ini"), stored);
    EXPECT_EQ(RunInProcess({"kana"}, "はをづ", programFolder.path()).out, "wa wo du\n");
    EXPECT_EQ(RunInProcess({"romaji"}, "wo du", programFolder.path()).out, "wo du\n");
    EXPECT_EQ(RunInProcess({"kana", "--ha=ha"}, "はをづ", programFolder.path()).out, "ha wo du\n");
    // --settings reads another file instead; values from a file are used as they stand.
    QTemporaryDir other;
    const QString odd = WriteFile(other.filePath("odd.ini"), "Ha\nWO \n");
    EXPECT_EQ(RunInProcess({"kana", "--settings", odd}, "はをづ", programFolder.path()).out, "Ha WO  zu\n");
    // Without any file the defaults apply, and the CLI creates none.
    EXPECT_EQ(RunInProcess({"kana"}, "はをづ").out, "ha o zu\n");
    EXPECT_FALSE(QFile::exists(QDir(EmptyProgramFolder()).filePath("Settings.ini")));
    EXPECT_EQ(test::ReadFile(path), stored);
}

} // namespace
} // namespace lirobel::cli
