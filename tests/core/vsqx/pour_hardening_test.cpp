// SPDX-License-Identifier: GPL-3.0-or-later
// A pour attacked: folders swapped and files saved midway, hostile markup and items, runs that could not
// write, signals. Whatever happens, the song is left whole and nothing is written anywhere else.
#include "core/files/unfinished_file.h"
#include "core/vsqx/pour_run.h"
#include "core/vsqx/put_phonetic_to_vsqx.h"
#include "core/vsqx/put_phonetic_to_vsqx4.h"
#include "core/vsqx/vsqx_recognition.h"
#include "support/case_file.h"
#include "support/test_files.h"
#include "support/vsqx_generator.h"

#include <QDir>
#include <QFileInfo>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <csignal>
#include <ctime>
#include <functional>
#include <gtest/gtest.h>
#include <iostream>
#include <linux/capability.h>
#include <sys/fsuid.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <thread>
#include <tuple>

namespace lirobel::vsqx {
namespace {

using Kind = PourOutcome::Kind;
using test::ReadFile;
using test::WriteFile;

double ThreadSeconds(const std::function<void()>& work) {
    double fastest = 1e9;
    for (int round = 0; round < 3; ++round) {
        timespec start{};
        timespec end{};
        ::clock_gettime(CLOCK_THREAD_CPUTIME_ID, &start);
        work();
        ::clock_gettime(CLOCK_THREAD_CPUTIME_ID, &end);
        fastest = std::min(fastest, static_cast<double>(end.tv_sec - start.tv_sec) +
                                        static_cast<double>(end.tv_nsec - start.tv_nsec) * 1e-9);
    }
    return fastest;
}

// Malformed markup repeated: sixteen times as much may take about sixteen times as long, far from the 256
// times of a walk that scans the rest of the text at every repeat. Each text goes to every scan.
TEST(PourHardening, MalformedMarkupTakesLinearTime) {
    const QByteArray rows[][3] = {
        // before, the markup repeated, after
        {"<vsq4><note>", "<nStyle", "</note></vsq4>"},
        {"<vsq4><note><nStyle>", "<v", "</nStyle></note>"},
        {"", "<!a>", "<vsq4><note><p>a</p></note></vsq4>"},
        {"<phnms>a</phnms>", "<lyric>", ""},
    };
    constexpr int kSmall = 4000;
    for (const auto& [before, repeated, after] : rows) {
        const auto run = [&](int repeats) {
            const QByteArray text = before + repeated.repeated(repeats) + after;
            HasVersion4Root(text);
            PutPhoneticToVSQX4(text, u"a|");
            PutPhoneticToVSQX(text, u"a|");
            PutPhoneticToVSQX(text, u"a|", {}, RewriteOptions{true});
        };
        const double small = ThreadSeconds([&] { run(kSmall); });
        const double large = ThreadSeconds([&] { run(16 * kSmall); });
        EXPECT_LT(large, 64 * std::max(small, 1e-5)) << repeated.toStdString() << ": " << small << " s, then " << large;
    }
}

// Root that may not give files away, as an unprivileged user may not: in this thread alone.
bool GiveUpChownInThisThread() {
    __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct capabilities[2]{};
    if (::syscall(SYS_capget, &header, capabilities) != 0)
        return false;
    capabilities[0].effective &= ~(1u << CAP_CHOWN | 1u << CAP_SETUID);
    return ::syscall(SYS_capset, &header, capabilities) == 0;
}

// The song's bytes, permission bits and modification time.
std::tuple<QByteArray, QFile::Permissions, QDateTime> StateOf(const QString& path) {
    return {ReadFile(path), QFileInfo(path).permissions(), QFileInfo(path).lastModified()};
}

// A dry run counts as the real run and fails where it would, and leaves the file as it was; the real run fails
// before it writes anything. A run that completes keeps the link, the permission bits (making the file
// writable for its owner) and the owner, for whom root writes, or says whose the file now is.
TEST(PourHardening, DryRunForeseesWhatTheRunCannotDo) {
    const bool root = ::geteuid() == 0;
    for (const QByteArrayList& row :
         test::ReadCaseFile(LIROBEL_TEST_DATA "/foreseen_cases.tsv", {{"LONGEST", QByteArray(250, 'n') + ".vsqx"}})) {
        const std::string name = row[0].toStdString();
        if (row[1] == "1" && !root) {
            std::cout << "[ SKIPPED  ] " << name << ": needs root, to give the song to another user\n";
            continue;
        }
        const QByteArray& acting = row[2];
        const auto songMode = static_cast<mode_t>(row[4].toUInt(nullptr, 8));
        const QString fileName = QString::fromLatin1(row[6]);
        const bool fails = !row[8].isEmpty();
        const bool throughALink = row[10] == "1";
        QTemporaryDir top;
        ASSERT_TRUE(QFile::setPermissions(top.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                                          QFile::ReadOther | QFile::ExeOther));
        const QString folder = top.filePath(QStringLiteral("songs"));
        ASSERT_TRUE(QDir().mkdir(folder));
        const QString file = folder + u'/' + fileName;
        // Ten notes, of which the two that sang "あ" are held now.
        const QByteArray song = test::GenerateVsqx({1, 2, 5, test::LineEnds::CrLf, row[7].toInt()}).replace("あ", "-");
        WriteFile(file, song);
        test::SetModificationTime(file, 1'600'000'000);
        const QString path = throughALink ? top.filePath(QStringLiteral("link.vsqx")) : file;
        ASSERT_TRUE(!throughALink || QFile::link(file, path));
        const QByteArray native = QFile::encodeName(file);
        const uid_t owner = root ? row[3].toUInt() : ::geteuid();
        const gid_t group = root ? row[3].toUInt() : ::getegid();
        ASSERT_EQ(::chown(native.constData(), owner, group), 0);
        ASSERT_EQ(::chmod(native.constData(), songMode), 0);
        ASSERT_EQ(::chmod(QFile::encodeName(folder).constData(), static_cast<mode_t>(row[5].toUInt(nullptr, 8))), 0);
        const auto restore = qScopeGuard([&] { ::chmod(QFile::encodeName(folder).constData(), 0700); });
        const auto before = StateOf(file);
        PourOutcome dry;
        for (const bool dryRun : {true, false}) {
            PourOutcome outcome;
            std::thread([&] {
                if (root && acting == "otherUser") {
                    ::setfsgid(4321);
                    ::setfsuid(4321);
                }
                if (acting != "rootWithoutChown" || GiveUpChownInThisThread()) {
                    PourProgress quiet;
                    PourOptions options;
                    options.dryRun = dryRun;
                    options.skipHeld = true;
                    outcome = PourPhoneticIntoFile(path, test::GeneratePhonetic(6), quiet, options);
                }
            }).join();
            const QString cause = QString::fromUtf8(row[8]).replace(QStringLiteral("%1"), path);
            EXPECT_EQ(outcome.kind, fails ? Kind::Failed : Kind::Completed) << name << " " << dryRun;
            EXPECT_TRUE(outcome.cause.contains(cause)) << outcome.cause.toStdString();
            EXPECT_EQ(test::Entries(folder), QStringList{fileName}) << name;
            if (dryRun || fails) {
                EXPECT_EQ(StateOf(file), before) << name << " " << dryRun;
                dry = outcome;
                continue;
            }
            const auto counts = [](const PourOutcome& run) {
                return std::tuple(run.notesWritten, run.itemsLeft, run.notesLeft, run.notesFound, run.heldSkipped);
            };
            EXPECT_EQ(counts(outcome), counts(dry)) << name;
            EXPECT_EQ(counts(outcome), std::tuple(6, 0, 2, 10, 2)) << name;
            EXPECT_NE(ReadFile(file), song) << name;
            EXPECT_EQ(QFileInfo(path).isSymLink(), throughALink);
            struct stat status {};
            ASSERT_EQ(::stat(native.constData(), &status), 0);
            EXPECT_EQ(status.st_mode & 07777, songMode | S_IWUSR) << name;
            const bool kept = row[9].isEmpty();
            EXPECT_EQ(std::pair(status.st_uid, status.st_gid), kept ? std::pair(owner, group) : std::pair(0u, 0u));
            EXPECT_EQ(outcome.warning.isEmpty(), kept) << name;
            EXPECT_TRUE(outcome.warning.contains(QString::fromUtf8(row[9]))) << outcome.warning.toStdString();
        }
    }
}

// Every signal that would end a run (Ctrl+C, a shutdown, ...) leaves the song as it was and nothing beside
// it; SIGXFSZ, and a signal that the program ignores, do not end it. Each run is a child process, sent the
// signal at its first write.
TEST(PourHardening, EndingSignalsLeaveNothingBehind) {
    const QByteArray song = test::GenerateVsqx({});
    const rlimit noCore{0, 0}; // SIGQUIT and SIGABRT would dump one
    const std::pair<int, bool> kSignals[] = {
        // and whether the run completes
        {SIGTERM, false},      {SIGINT, false},  {SIGHUP, false},    {SIGQUIT, false}, {SIGALRM, false},
        {SIGUSR1, false},      {SIGUSR2, false}, {SIGVTALRM, false}, {SIGPIPE, false}, {SIGABRT, false},
        {SIGRTMIN + 2, false}, {SIGXFSZ, true},  {SIGHUP, true},
    };
    for (const auto& [number, completes] : kSignals) {
        QTemporaryDir folder;
        const QString path = WriteFile(folder.filePath(QStringLiteral("song.vsqx")), song);
        const pid_t child = ::fork();
        if (child == 0) {
            ::setrlimit(RLIMIT_CORE, &noCore);
            if (completes && number != SIGXFSZ) // as a program started with "nohup" would
                std::signal(number, SIG_IGN);
            files::RemoveUnfinishedFilesOnSignals();
            PourOptions options;
            options.write = [number](int file, const void* bytes, size_t size) {
                std::raise(number);
                return ::write(file, bytes, size);
            };
            PourProgress quiet;
            ::_exit(PourPhoneticIntoFile(path, u"J i|", quiet, options).kind == Kind::Completed ? 0 : 1);
        }
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        if (completes) {
            EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << number << ": " << status;
            EXPECT_NE(ReadFile(path), song) << number;
        } else {
            EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == number) << number << ": " << status;
            EXPECT_EQ(ReadFile(path), song) << number;
        }
        EXPECT_EQ(test::Entries(folder.path()), QStringList{QStringLiteral("song.vsqx")}) << number;
    }
}

} // namespace
} // namespace lirobel::vsqx
