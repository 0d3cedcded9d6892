// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli_test_support.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

namespace lirobel::cli {
namespace {

struct CliCase {
    const char* name;
    QStringList arguments;
    QByteArray input;
    int exitCode;
    QByteArray out;          // exact standard output
    const char* errContains; // "" when stderr must be empty

    friend void PrintTo(const CliCase& row, std::ostream* os) { *os << row.name; }
};

class RunCliTest : public testing::TestWithParam<CliCase> {};

TEST_P(RunCliTest, FollowsTheContract) {
    const CliCase& row = GetParam();
    const CliRun run = RunInProcess(row.arguments, row.input);
    EXPECT_EQ(run.exitCode, row.exitCode);
    EXPECT_EQ(run.out, row.out);
    if (*row.errContains)
        EXPECT_TRUE(run.err.contains(row.errContains)) << run.err.toStdString();
    else
        EXPECT_EQ(run.err, QByteArray());
}

const QByteArray kUsage = "usage: lirobel-cli";

INSTANTIATE_TEST_SUITE_P(
    Invocations, RunCliTest,
    testing::Values(
        CliCase{"pinyin", {"pinyin"}, "你好", 0, "ni,hao,\n", ""},
        CliCase{"pinyinStdinDash", {"pinyin", "-"}, "你好\n", 0, "ni,hao,\n", ""},
        CliCase{"pinyinWords", {"pinyin", "--words"}, "長大了", 0, "zhang,da,le,\n", ""},
        CliCase{"pinyinWordsTakesNoValue", {"pinyin", "--words=yes"}, "", 2, "", kUsage},
        CliCase{"pinyinNothingChinese", {"pinyin"}, "abc", 0, "\n", ""},
        CliCase{"phonetic", {"phonetic"}, "ni,hao", 0, "J i|h a o|\n", ""},
        CliCase{"phoneticKeepsItsComma", {"phonetic"}, "ni,hao,\r\n", 0, "J i|h a o|\n", ""},
        CliCase{"phoneticEmpty", {"phonetic"}, "", 0, "\n", ""},
        CliCase{"phoneticEmptyLine", {"phonetic"}, "\n", 0, "\n", ""},
        CliCase{"phoneticSinger", {"phonetic", "--singer", "Anyone"}, "ni", 0, "J i|\n", ""},
        CliCase{"phoneticSingerEquals", {"phonetic", "--singer=Anyone"}, "ni", 0, "J i|\n", ""},
        // Only one trailing line break goes; the one before it stays inside the last syllable.
        CliCase{"phoneticTwoLineBreaks", {"phonetic"}, "ni,hao\n\n", 0, "J i|\n", ""},
        CliCase{"phoneticLoneCrStays", {"phonetic"}, "ni,hao\r", 0, "J i|\n", ""},
        CliCase{"invalidUtf8", {"pinyin"}, "\xe4\xbd", 1, "", "UTF-8"},
        CliCase{"encodedSurrogate", {"pinyin"}, "\xed\xa0\x80", 1, "", "UTF-8"},
        CliCase{"version", {"--version"}, "", 0, "lirobel-cli " LIROBEL_TEST_VERSION "\n", ""},
        CliCase{"noCommand", {}, "", 2, "", kUsage}, CliCase{"unknownCommand", {"translate"}, "", 2, "", kUsage},
        CliCase{"optionNotTaken", {"pinyin", "--zu", "du"}, "", 2, "", kUsage},
        CliCase{"singleDashOption", {"pinyin", "-x"}, "", 2, "", kUsage},
        CliCase{"optionWithoutValue", {"phonetic", "--singer"}, "", 2, "", kUsage},
        CliCase{"tooManyOperands", {"pinyin", "a", "b"}, "", 2, "", kUsage},
        CliCase{"missingFile", {"pinyin", "/nonexistent/lyrics.txt"}, "", 1, "", "/nonexistent/lyrics.txt"},
        CliCase{"folderAsFile", {"pinyin", "/"}, "", 1, "", "folder"},
        // An empty name names no file: it is neither standard input nor left for Qt to refuse.
        CliCase{"emptyFile", {"pinyin", ""}, "你好", 1, "", "cannot read ''"},
        CliCase{"emptySettingsPath", {"kana", "--settings="}, "", 2, "", kUsage},
        CliCase{"reading", {"reading"}, "君の名を呼んだ\n", 0, "きみのなをよんだ\n", ""},
        CliCase{"readingUnread", {"reading"}, "彁の字", 0, "彁のじ\n", "left as written: 1"},
        CliCase{"kanaThroughReading", {"kana", "--kanji", "--wo", "wo"}, "君を呼んだ", 0, "ki mi wo yo n da\n", ""},
        CliCase{"emptySettingsPathApart", {"romaji", "--settings", ""}, "", 2, "", kUsage}),
    [](const testing::TestParamInfo<CliCase>& row) { return std::string(row.param.name); });

TEST(RunCli, HelpListsEveryCommand) {
    const CliRun run = RunInProcess({"--help"});
    for (const char* command : {"kana", "--kanji", "reading", "romaji", "pinyin", "phonetic", "pour", "--version"})
        EXPECT_TRUE(run.out.contains(command)) << command;
}

TEST(RunCli, KanaThroughReadingIsReadingPipedIntoKana) {
    const QByteArray lyrics = "運命(さだめ)の人に逢いたくて\n三日月の夜、ドイツ語で歌う 彁\n";
    const CliRun reading = RunInProcess({"reading"}, lyrics);
    const CliRun piped = RunInProcess({"kana", "--wo", "wo"}, reading.out);
    const CliRun direct = RunInProcess({"kana", "--kanji", "--wo", "wo"}, lyrics);
    EXPECT_EQ(direct.exitCode, 0);
    EXPECT_EQ(direct.out, piped.out);
    EXPECT_EQ(direct.err, reading.err);
}

TEST(RunCli, ReadingWithoutDictionaryFails) {
    const QTemporaryDir emptyFolder;
    qputenv("LIROBEL_JAPANESE_DICTIONARY", emptyFolder.path().toLocal8Bit());
    const CliRun reading = RunInProcess({"reading"}, "君");
    const CliRun kana = RunInProcess({"kana", "--kanji"}, "君");
    qunsetenv("LIROBEL_JAPANESE_DICTIONARY");
    for (const CliRun& run : {reading, kana}) {
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_EQ(run.out, "");
        EXPECT_TRUE(run.err.contains("the Japanese dictionary is not installed: ")) << run.err.toStdString();
    }
}

TEST(RunCli, ReadsFileWithOptionsAfterIt) {
    QTemporaryDir folder;
    const QString lyrics = WriteFile(folder.filePath("lyrics.txt"), "ni,hao\r\n");
    const CliRun run = RunInProcess({"phonetic", lyrics, "--singer", "x"}, "ignored");
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.out, "J i|h a o|\n");
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
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), stored);
}

TEST(RunCli, DoubleDashEndsOptions) {
    QTemporaryDir folder;
    WriteFile(folder.filePath("--singer"), "你");
    const QString previous = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(folder.path()));
    const CliRun run = RunInProcess({"pinyin", "--", "--singer"});
    QDir::setCurrent(previous);
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.out, "ni,\n");
}

} // namespace
} // namespace lirobel::cli
