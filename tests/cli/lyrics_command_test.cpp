// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli_test_support.h"

#include <gtest/gtest.h>

namespace lirobel::cli {
namespace {

// kSong: two notes singing 你 and 好, outside any track or part (0.0).
TEST(LyricsCommand, PrintsAPartALineAndPoursFromThem) {
    QTemporaryDir folder;
    const QString song = WriteFile(folder.filePath(QStringLiteral("song.vsqx")), kSong);
    const QString items = WriteFile(folder.filePath(QStringLiteral("items.txt")), "J i|");
    const struct {
        QStringList arguments;
        int exitCode;
        QByteArray out;
        const char* err;
    } rows[] = {
        {{QStringLiteral("lyrics"), song}, 0, "你好\n", ""},
        {{QStringLiteral("lyrics"), items}, 3, "", "这不是一个VSQX文件！"},
        {{QStringLiteral("pour"), QStringLiteral("--dry-run"), QStringLiteral("--list"), QStringLiteral("--from-notes"),
          song},
         0,
         "0.0.1 tick 0\t你\tJ i\n0.0.2 tick 0\t好\th a o\nnotes 2, items 2, written 2, held 0\n",
         ""},
        {{QStringLiteral("pour"), QStringLiteral("--dry-run"), QStringLiteral("--list"), song, items},
         0,
         "0.0.1 tick 0\t你\tJ i\n0.0.2 tick 0\t好\t(no item left)\t!\nnotes 2, items 1, written 1, held 0\n",
         "还有 1 个音符没有写入音标"},
        {{QStringLiteral("pour"), QStringLiteral("--words"), song, items}, 2, "", "--words goes with --from-notes"},
        {{QStringLiteral("pour"), QStringLiteral("--list"), song, items}, 2, "", "--list goes with --dry-run"},
        {{QStringLiteral("pour"), QStringLiteral("--from-notes"), song, items}, 2, "", "it takes no FILE"},
    };
    for (const auto& row : rows) {
        const CliRun run = RunInProcess(row.arguments);
        EXPECT_EQ(run.exitCode, row.exitCode) << row.arguments.join(u' ').toStdString();
        EXPECT_EQ(run.out, row.out);
        EXPECT_TRUE(run.err.contains(row.err)) << run.err.toStdString();
    }
    EXPECT_EQ(test::ReadFile(song), kSong);
}

} // namespace
} // namespace lirobel::cli
