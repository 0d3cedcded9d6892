// SPDX-License-Identifier: GPL-3.0-or-later
// The real executable, end to end: standard streams, exit codes and the bytes it prints.
#include <QProcess>
#include <gtest/gtest.h>

namespace {

struct ProcessRun {
    int exitCode;
    QByteArray out;
    QByteArray err;
};

ProcessRun RunExecutable(const QStringList& arguments, const QByteArray& input) {
    QProcess process;
    process.start(QStringLiteral(LIROBEL_CLI_PATH), arguments);
    process.write(input);
    process.closeWriteChannel();
    process.waitForFinished(30000);
    return {process.exitCode(), process.readAllStandardOutput(), process.readAllStandardError()};
}

TEST(CliProcess, ConvertsChineseToPhoneticThroughPipes) {
    const ProcessRun pinyin = RunExecutable({QStringLiteral("pinyin")}, "你好");
    EXPECT_EQ(pinyin.exitCode, 0);
    EXPECT_EQ(pinyin.out, "ni,hao,\n");
    EXPECT_EQ(pinyin.err, "");

    const ProcessRun phonetic = RunExecutable({QStringLiteral("phonetic")}, "ni,hao");
    EXPECT_EQ(phonetic.exitCode, 0);
    EXPECT_EQ(phonetic.out, "J i|h a o|\n");
}

TEST(CliProcess, ReportsUsageErrorsWithExitCodeTwo) {
    const ProcessRun run = RunExecutable({QStringLiteral("pinyin"), QStringLiteral("--zu=du")}, "");
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_EQ(run.out, "");
    EXPECT_TRUE(run.err.contains("usage: lirobel-cli pinyin"));
}

} // namespace
