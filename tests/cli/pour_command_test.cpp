// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli_test_support.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <gtest/gtest.h>

namespace lirobel::cli {
namespace {

enum class Target { File, MissingFile, Folder };

struct PourCase {
    const char* name;
    Target target;
    QByteArray file;
    QByteArray input;
    bool inputFromFile;
    int exitCode;
    QByteArray out;
    const char* err;       // what stderr holds; "" when it must be empty
    const char* rewritten; // what the rewritten file holds; nullptr when it must stay as it was
    QStringList options = {};

    friend void PrintTo(const PourCase& row, std::ostream* os) { *os << row.name; }
};

class PourCommandTest : public testing::TestWithParam<PourCase> {};

TEST_P(PourCommandTest, FollowsTheContract) {
    const PourCase& row = GetParam();
    QTemporaryDir folder;
    const QString song = folder.filePath(QStringLiteral("song.vsqx"));
    if (row.target == Target::File)
        WriteFile(song, row.file);
    const QString paths[] = {song, folder.filePath(QStringLiteral("other.vsqx")), folder.path()};
    QStringList arguments = QStringList{QStringLiteral("pour"), paths[static_cast<int>(row.target)]} + row.options;
    if (row.inputFromFile)
        arguments << WriteFile(folder.filePath(QStringLiteral("phonetic.txt")), row.input);

    const CliRun run = RunInProcess(arguments, row.inputFromFile ? QByteArray() : row.input);
    EXPECT_EQ(run.exitCode, row.exitCode);
    EXPECT_EQ(run.out, row.out);
    EXPECT_TRUE(*row.err ? run.err.contains(row.err) : run.err.isEmpty()) << run.err.toStdString();
    if (row.target != Target::File)
        return;
    const QByteArray after = test::ReadFile(song);
    if (row.rewritten)
        EXPECT_TRUE(after.endsWith("</vsq3>\r\n") && !after.chopped(2).contains('\r') && after.contains(row.rewritten));
    else
        EXPECT_EQ(after, row.file);
}

constexpr char kDone[] = "VOCALOID音标灌入完成！ ";
constexpr char kUnexpected[] = "发生意外错误！";

INSTANTIATE_TEST_SUITE_P(
    Invocations, PourCommandTest,
    testing::Values(PourCase{"fromStdin", Target::File, kSong, "J i|h a o|\n", false, 0, QByteArray(kDone) + "2\n", "",
                             "<lyric><![CDATA[a]]></lyric><phnms lock=\"1\"><![CDATA[h a o]]></phnms>"},
                    PourCase{"fromFile", Target::File, kSong, "J i|\r\n", true, 0, QByteArray(kDone) + "1\n",
                             "还有 1 个音符没有写入音标",
                             "<phnms lock=\"1\"><![CDATA[J i]]></phnms></note><note><lyric><![CDATA[好]]>"},
                    PourCase{"emptyPhonetic", Target::File, kSong, "", false, 1, "", "there is no item", nullptr},
                    PourCase{"dryRun",
                             Target::File,
                             kSong,
                             "J i|h a o|x|",
                             false,
                             0,
                             "notes 2, items 3, written 2, held 0\n",
                             "还有 1 个音标没有对应的音符",
                             nullptr,
                             {QStringLiteral("--dry-run")}},
                    PourCase{"skipHeld",
                             Target::File,
                             QByteArray(kSong).replace("好", "-"),
                             "J i|h a o|",
                             false,
                             0,
                             QByteArray(kDone) + "1\n",
                             "还有 1 个音标没有对应的音符",
                             "<lyric><![CDATA[-]]></lyric><phnms><![CDATA[h a o]]>",
                             {QStringLiteral("--skip-held")}},
                    PourCase{"switchWithValue",
                             Target::File,
                             kSong,
                             "J i|",
                             false,
                             2,
                             "",
                             "takes no value",
                             nullptr,
                             {QStringLiteral("--dry-run=yes")}},
                    PourCase{"notVsqx", Target::File, "a\r\nb", "J i|", false, 3, "", "这不是一个VSQX文件！", nullptr},
                    PourCase{"missingFile", Target::MissingFile, "", "J i|", false, 4, "",
                             "没有找到VSQX文件，请确认文件路径是否正确！", nullptr},
                    PourCase{"folder", Target::Folder, "", "J i|", false, 1, "", kUnexpected, nullptr},
                    PourCase{"invalidUtf8", Target::File, kSong, "\xe4\xbd", false, 1, "", "UTF-8", nullptr}),
    [](const testing::TestParamInfo<PourCase>& row) { return std::string(row.param.name); });

TEST(PourCommand, RewritesThroughTheRealExecutable) {
    QTemporaryDir folder;
    const QString song = WriteFile(folder.filePath(QStringLiteral("song.vsqx")), kSong);
    QProcess process;
    process.start(QStringLiteral(LIROBEL_CLI_PATH), {QStringLiteral("pour"), song, QStringLiteral("-")});
    process.write("J i|h a o|\n");
    process.closeWriteChannel();
    ASSERT_TRUE(process.waitForFinished(30000));
    EXPECT_EQ(process.exitCode(), 0);
    EXPECT_EQ(process.readAllStandardOutput(), QByteArray(kDone) + "2\n");
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("song.vsqx")});
}

} // namespace
} // namespace lirobel::cli
