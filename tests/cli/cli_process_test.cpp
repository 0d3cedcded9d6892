// SPDX-License-Identifier: GPL-3.0-or-later
// The real executable, end to end: standard streams as shells hand them over (closed, a folder, a full
// disk, open the wrong way), and file names that are not UTF-8.
#include "cli_test_support.h"
#include "support/case_file.h"

#include <QByteArrayList>
#include <QTemporaryDir>
#include <array>
#include <csignal>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
#include <utility>
#include <vector>

namespace lirobel::cli {
namespace {

// In the order of the letters that stand for them in cli_process_cases.tsv.
enum class Stream {
    Pipe,     ///< stdin gives the input; stdout and stderr are captured
    Closed,   ///< as `<&-` or `>&-`
    Folder,   ///< stdin reads "/"
    Full,     ///< /dev/full, where every write fails for want of space
    Broken,   ///< a pipe that nobody reads any more
    WrongWay, ///< /dev/null opened write-only for stdin, read-only for stdout and stderr
};

QByteArray ReadToEnd(int fd) {
    QByteArray bytes;
    char chunk[4096];
    for (ssize_t n; (n = read(fd, chunk, sizeof chunk)) > 0;)
        bytes.append(chunk, n);
    close(fd);
    return bytes;
}

// Runs the CLI in folder, with arguments as raw bytes (QProcess would re-encode them). The input goes
// into stdin's pipe before the child starts, so it must fit a pipe's buffer.
CliRun RunChild(const QByteArray& folder, QByteArrayList arguments, const QByteArray& input,
                const std::array<Stream, 3>& streams) {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addchdir_np(&actions, folder.constData());
    int pipes[3][2] = {{-1, -1}, {-1, -1}, {-1, -1}};
    for (int fd = 0; fd < 3; ++fd) {
        switch (streams[fd]) {
        case Stream::Pipe:
            EXPECT_EQ(pipe2(pipes[fd], O_CLOEXEC), 0);
            posix_spawn_file_actions_adddup2(&actions, pipes[fd][fd == 0 ? 0 : 1], fd);
            break;
        case Stream::Closed:
            posix_spawn_file_actions_addclose(&actions, fd);
            break;
        case Stream::Folder:
            posix_spawn_file_actions_addopen(&actions, fd, "/", O_RDONLY, 0);
            break;
        case Stream::Broken:
            EXPECT_EQ(pipe2(pipes[fd], O_CLOEXEC), 0);
            posix_spawn_file_actions_adddup2(&actions, pipes[fd][1], fd);
            close(pipes[fd][0]);
            pipes[fd][0] = -1;
            break;
        case Stream::Full:
            posix_spawn_file_actions_addopen(&actions, fd, "/dev/full", O_WRONLY, 0);
            break;
        case Stream::WrongWay:
            posix_spawn_file_actions_addopen(&actions, fd, "/dev/null", fd == 0 ? O_WRONLY : O_RDONLY, 0);
            break;
        }
    }
    if (pipes[0][1] >= 0) {
        EXPECT_EQ(write(pipes[0][1], input.constData(), input.size()), input.size());
        close(pipes[0][1]);
    }
    arguments.prepend(LIROBEL_CLI_PATH);
    std::vector<char*> argv;
    for (QByteArray& argument : arguments)
        argv.push_back(argument.data());
    argv.push_back(nullptr);
    // SIGPIPE as a shell hands it over, even after QProcess made this process ignore it.
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    sigset_t defaults;
    sigemptyset(&defaults);
    sigaddset(&defaults, SIGPIPE);
    posix_spawnattr_setsigdefault(&attributes, &defaults);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGDEF);
    pid_t child = -1;
    const int spawned = posix_spawn(&child, argv[0], &actions, &attributes, argv.data(), environ);
    posix_spawnattr_destroy(&attributes);
    posix_spawn_file_actions_destroy(&actions);
    for (int fd = 0; fd < 3; ++fd) {
        if (const int childEnd = pipes[fd][fd == 0 ? 0 : 1]; childEnd >= 0)
            close(childEnd);
    }
    CliRun run{-1, {}, {}}; // -1 when the child did not exit normally
    // stderr stays small in every test, so reading stdout first cannot block the child.
    if (pipes[1][0] >= 0)
        run.out = ReadToEnd(pipes[1][0]);
    if (pipes[2][0] >= 0)
        run.err = ReadToEnd(pipes[2][0]);
    int status = 0;
    if (spawned == 0 && waitpid(child, &status, 0) == child && WIFEXITED(status))
        run.exitCode = WEXITSTATUS(status);
    return run;
}

// The folder each run starts in. "\xb8\xe8" is 歌 in GBK; "\xef\xbf\xbd" is U+FFFD, which Qt puts in
// place of bytes it cannot decode, so "\xff.vsqx" must not reach it.
const std::pair<QByteArray, QByteArray> kFiles[] = {
    {"song.vsqx", kSong},   {"\xff.vsqx", kSong},     {"\xef\xbf\xbd.vsqx", kSong}, {"\xb8\xe8.vsqx", kSong},
    {"\xff.txt", "你好\n"}, {"\xb8\xe8.txt", "你好"}, {"\xff.ini", "wa\r\no\r\n"},
};

// QTemporaryDir cannot remove names that are not UTF-8: they go first.
struct NativeFolder {
    QByteArray path;
    ~NativeFolder() {
        for (const QByteArray& name : test::NativeEntries(path))
            unlink(path + name);
    }
};

// A row of cli_process_cases.tsv, whose head says what each field holds.
class ChildTest : public testing::TestWithParam<QByteArrayList> {};

TEST_P(ChildTest, FollowsTheContract) {
    const QByteArrayList& row = GetParam();
    std::array<Stream, 3> streams{};
    for (size_t fd = 0; fd < 3; ++fd)
        streams[fd] = static_cast<Stream>(QByteArrayView("pcdfbw").indexOf(row[1][fd]));
    QTemporaryDir temporary;
    const NativeFolder native{temporary.path().toUtf8() + '/'};
    const QByteArray& folder = native.path;
    for (const auto& [name, bytes] : kFiles)
        test::WriteNativeFile(folder + name, bytes);
    const CliRun run = RunChild(folder, row.sliced(7), row[6], streams);
    EXPECT_EQ(run.exitCode, row[2].toInt());
    EXPECT_EQ(run.out, row[3]);
    EXPECT_TRUE(row[4].isEmpty() ? run.err.isEmpty() : run.err.contains(row[4])) << run.err.toStdString();
    EXPECT_FALSE(run.err.contains("\xef\xbf\xbd")) << "a name shown with U+FFFD";
    for (const auto& [name, bytes] : kFiles) {
        if (name == row[5])
            EXPECT_TRUE(test::ReadNativeFile(folder + name).contains("lock=\"1\"")) << name.toHex().toStdString();
        else
            EXPECT_EQ(test::ReadNativeFile(folder + name), bytes) << name.toHex().toStdString();
    }
    EXPECT_EQ(test::NativeEntries(folder).size(), std::size(kFiles)) << "a file left beside the others";
}

INSTANTIATE_TEST_SUITE_P(Runs, ChildTest,
                         testing::ValuesIn(test::ReadCaseFile(LIROBEL_TEST_DATA "/cli_process_cases.tsv")),
                         [](const testing::TestParamInfo<QByteArrayList>& row) { return row.param[0].toStdString(); });

} // namespace
} // namespace lirobel::cli
