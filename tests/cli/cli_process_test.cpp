// SPDX-License-Identifier: GPL-3.0-or-later
// The real executable, end to end: standard streams as shells hand them over (closed, a folder, a full
// disk, open the wrong way), and file names that are not UTF-8.
#include "cli_test_support.h"
#include "support/case_file.h"

#include <QByteArrayList>
#include <QTemporaryDir>
#include <algorithm>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>
#include <utility>
#include <vector>

namespace lirobel::cli {
namespace {

QByteArray ReadToEnd(int fd) {
    QByteArray bytes;
    char chunk[4096];
    for (ssize_t n; (n = read(fd, chunk, sizeof chunk)) > 0;)
        bytes.append(chunk, n);
    close(fd);
    return bytes;
}

// Runs the CLI in folder, with arguments as raw bytes (QProcess would re-encode them), and each standard
// stream as its letter in cli_process_cases.tsv says. Leading NAME=VALUE arguments are set in its
// environment instead, as a shell sets them. The input goes into stdin's pipe before the child starts, so
// it must fit a pipe's buffer.
CliRun RunChild(const QByteArray& folder, QByteArrayList arguments, const QByteArray& input, const QByteArray& how) {
    QByteArrayList assignments;
    while (!arguments.isEmpty() && arguments.front().contains('='))
        assignments.append(arguments.takeFirst());
    std::vector<char*> environment;
    for (QByteArray& assignment : assignments)
        environment.push_back(assignment.data());
    for (char** variable = environ; *variable; ++variable) {
        const QByteArrayView name(*variable, std::strchr(*variable, '=') + 1 - *variable);
        if (std::none_of(assignments.cbegin(), assignments.cend(),
                         [&](const QByteArray& a) { return a.startsWith(name); }))
            environment.push_back(*variable);
    }
    environment.push_back(nullptr);
    int pipes[3][2];
    for (auto& ends : pipes)
        EXPECT_EQ(pipe2(ends, O_CLOEXEC), 0);
    EXPECT_EQ(write(pipes[0][1], input.constData(), input.size()), input.size());
    close(pipes[0][1]);
    for (int fd = 1; fd < 3; ++fd) {
        if (how[fd] == 'b') // nobody reads it any more
            close(std::exchange(pipes[fd][0], -1));
    }
    arguments.prepend(LIROBEL_CLI_PATH);
    std::vector<char*> argv;
    for (QByteArray& argument : arguments)
        argv.push_back(argument.data());
    argv.push_back(nullptr);
    const pid_t child = fork();
    if (child == 0) { // only calls that are safe after a fork, up to the exec
        // Each stream is opened before any is closed, so that none takes the number of another.
        int opened[3];
        for (int fd = 0; fd < 3; ++fd) {
            opened[fd] = how[fd] == 'd'   ? open("/", O_RDONLY | O_CLOEXEC)
                         : how[fd] == 'f' ? open("/dev/full", O_WRONLY | O_CLOEXEC)
                         : how[fd] == 'w' ? open("/dev/null", (fd == 0 ? O_WRONLY : O_RDONLY) | O_CLOEXEC)
                                          : pipes[fd][fd == 0 ? 0 : 1];
        }
        for (int fd = 0; fd < 3; ++fd) {
            if (how[fd] == 'c')
                close(fd);
            else if (dup2(opened[fd], fd) != fd)
                _exit(127);
        }
        // SIGPIPE as a shell hands it over, even after QProcess made this process ignore it.
        signal(SIGPIPE, SIG_DFL);
        if (chdir(folder.constData()) == 0)
            execve(argv[0], argv.data(), environment.data());
        _exit(127);
    }
    for (int fd = 0; fd < 3; ++fd)
        close(pipes[fd][fd == 0 ? 0 : 1]);
    CliRun run{-1, {}, {}}; // -1 when the child did not exit normally
    // stderr stays small in every test, so reading stdout first cannot block the child.
    if (pipes[1][0] >= 0)
        run.out = ReadToEnd(pipes[1][0]);
    if (pipes[2][0] >= 0)
        run.err = ReadToEnd(pipes[2][0]);
    int status = 0;
    if (child > 0 && waitpid(child, &status, 0) == child && WIFEXITED(status))
        run.exitCode = WEXITSTATUS(status);
    return run;
}

// The folder each run starts in. "\xb8\xe8" is 歌 in GBK; "\xef\xbf\xbd" is U+FFFD, which Qt puts in
// place of bytes it cannot decode, so "\xff.vsqx" must not reach it.
const std::pair<QByteArray, QByteArray> kFiles[] = {
    {"song.vsqx", kSong},   {"\xff.vsqx", kSong},     {"\xef\xbf\xbd.vsqx", kSong}, {"\xb8\xe8.vsqx", kSong},
    {"\xff.txt", "你好\n"}, {"\xb8\xe8.txt", "你好"}, {"\xff.ini", "wa\r\no\r\n"},  {"--singer", "你"},
    {"song.vpr", kProject}, {"libzip.so.4", {}},
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
    QTemporaryDir temporary;
    const NativeFolder native{temporary.path().toUtf8() + '/'};
    const QByteArray& folder = native.path;
    for (const auto& [name, bytes] : kFiles)
        test::WriteNativeFile(folder + name, bytes);
    const CliRun run = RunChild(folder, row.sliced(7), row[6], row[1]);
    EXPECT_EQ(run.exitCode, row[2].toInt());
    EXPECT_EQ(run.out, row[3]);
    const bool lacks = row[4].startsWith('!');
    EXPECT_TRUE(row[4].isEmpty() ? run.err.isEmpty() : run.err.contains(row[4].sliced(lacks)) != lacks)
        << run.err.toStdString();
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
