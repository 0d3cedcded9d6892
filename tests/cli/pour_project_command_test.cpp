// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli_test_support.h"
#include "support/vpr_generator.h"

#include <gtest/gtest.h>

namespace lirobel::cli {
namespace {

using test::VprLayout;

TEST(PourCommand, TakesVprProjects) {
    const QByteArray project =
        test::GenerateVpr(VprLayout::Version6,
                          test::GenerateSequence(VprLayout::Version6, test::GenerateVprNotes(VprLayout::Version6, 4)));
    const QByteArray sequence = R"({"tracks":[]})";
    const struct {
        QByteArray file;
        QStringList options;
        int exitCode;
        QByteArray out;
        const char* err;
        bool changed;
    } rows[] = {
        {project, {}, 0, "VOCALOID音标灌入完成！ 2\n", "还有 2 个音符没有写入音标", true},
        {project,
         {QStringLiteral("--dry-run"), QStringLiteral("--skip-held")},
         0,
         "notes 4, items 2, written 2, held 1\n",
         "还有 1 个音符没有写入音标",
         false},
        {test::MakeZip({{"Project/song.json", sequence}}), {}, 3, "", "这不是一个VSQX文件！", false},
        {test::MakeZip({{"Project\\sequence.json", sequence}, {"Project/sequence.json", sequence}}),
         {},
         1,
         "",
         "发生意外错误！ the archive holds both",
         false},
    };
    for (const auto& row : rows) {
        QTemporaryDir folder;
        const QString song = WriteFile(folder.filePath(QStringLiteral("song.vpr")), row.file);
        const CliRun run = RunInProcess(QStringList{QStringLiteral("pour"), song} + row.options, "J i|h a o|");
        EXPECT_EQ(run.exitCode, row.exitCode) << run.err.toStdString();
        EXPECT_EQ(run.out, row.out);
        EXPECT_TRUE(run.err.contains(row.err)) << run.err.toStdString();
        EXPECT_EQ(test::ReadFile(song) != row.file, row.changed);
    }
}

} // namespace
} // namespace lirobel::cli
