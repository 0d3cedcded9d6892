// SPDX-License-Identifier: GPL-3.0-or-later
// A pour attacked: folders swapped and files saved midway, hostile markup and items, runs that could not
// write, signals. Whatever happens, the song is left whole and nothing is written anywhere else.
#include "core/files/unfinished_file.h"
#include "core/vsqx/pour_run.h"
#include "core/vsqx/pour_texts.h"
#include "core/vsqx/put_phonetic_to_vsqx.h"
#include "core/vsqx/put_phonetic_to_vsqx4.h"
#include "core/vsqx/vsqx_recognition.h"
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
#include <sys/fsuid.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>

namespace lirobel::vsqx {
namespace {

using Kind = PourOutcome::Kind;
using test::ReadFile;
using test::WriteFile;

constexpr char kChanged[] = "changed, moved or replaced while it was poured";

// Moves the folder "songs" of the root to "moved", and puts a link to "elsewhere" in its place.
void SwapTheFolder(const QString& root) {
    ASSERT_TRUE(QDir(root).rename(QStringLiteral("songs"), QStringLiteral("moved")));
    ASSERT_TRUE(QFile::link(root + QStringLiteral("/elsewhere"), root + QStringLiteral("/songs")));
}

// Acts once, when the run reaches a state (an empty one: when it starts), as another program would.
class ActingProgress : public PourProgress {
public:
    ActingProgress(QStringView when, std::function<void()> action) : m_when(when), m_action(std::move(action)) {}
    void Start() override {
        if (m_when.isEmpty())
            Act();
    }
    void SetState(QStringView state) override {
        if (state == m_when)
            Act();
    }

private:
    void Act() {
        if (m_action)
            std::exchange(m_action, {})();
    }
    QStringView m_when;
    std::function<void()> m_action;
};

// The song's folder swapped for a link to another (at the start, or later), or the song saved by another
// program (by a rename, by appending, by a write that keeps the size): nothing is written anywhere, a save
// is kept, and the pour fails.
TEST(PourHardening, ChangesByOthersMidwayAreKept) {
    const struct {
        QStringView when;
        void (*change)(const QString& root);
        const char* cause;
    } rows[] = {
        {u"", SwapTheFolder, "folder was moved or replaced"},
        {kProcessingState, SwapTheFolder, "folder was moved or replaced"},
        {kExportingState, SwapTheFolder, "folder was moved or replaced"},
        {kExportingState,
         [](const QString& root) {
             const QByteArray song = QFile::encodeName(WriteFile(root + QStringLiteral("/songs/new"), "saved"));
             ASSERT_EQ(::rename(song.constData(), QFile::encodeName(root + QStringLiteral("/songs/song.vsqx"))), 0);
         },
         kChanged},
        {kProcessingState,
         [](const QString& root) {
             QFile file(root + QStringLiteral("/songs/song.vsqx"));
             ASSERT_TRUE(file.open(QIODevice::Append) && file.write("\r\n") == 2);
         },
         kChanged},
        {kExportingState,
         [](const QString& root) {
             test::SetModificationTime(root + QStringLiteral("/songs/song.vsqx"), 1'700'000'000);
         },
         kChanged},
    };
    for (const auto& row : rows) {
        QTemporaryDir root;
        ASSERT_TRUE(QDir(root.path()).mkdir(QStringLiteral("songs")) &&
                    QDir(root.path()).mkdir(QStringLiteral("elsewhere")));
        const QString path = WriteFile(root.filePath(QStringLiteral("songs/song.vsqx")), test::GenerateVsqx({}));
        test::SetModificationTime(path, 1'600'000'000);
        const QString moved = root.filePath(QStringLiteral("moved"));
        const auto folderNow = [&] {
            return QFileInfo::exists(moved) ? moved : root.filePath(QStringLiteral("songs"));
        };
        QByteArray saved;
        ActingProgress progress(row.when, [&] {
            row.change(root.path());
            saved = ReadFile(folderNow() + QStringLiteral("/song.vsqx"));
        });
        const PourOutcome outcome = PourPhoneticIntoFile(path, u"J i|", progress);
        EXPECT_EQ(outcome.kind, Kind::Failed);
        EXPECT_TRUE(outcome.cause.contains(QLatin1StringView(row.cause))) << outcome.cause.toStdString();
        EXPECT_EQ(ReadFile(folderNow() + QStringLiteral("/song.vsqx")), saved);
        EXPECT_EQ(test::Entries(folderNow()), QStringList{QStringLiteral("song.vsqx")});
        EXPECT_EQ(test::Entries(root.filePath(QStringLiteral("elsewhere"))), QStringList());
    }
}

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

enum class Acting { Root, OtherUser };

struct ForeseenCase {
    const char* name;
    bool rootOnly;
    Acting acting; // who runs the pour: root itself, or a thread that acts as user 4321 (as that user, without root)
    uid_t songOwner;
    mode_t songMode;
    mode_t folderMode;
    QByteArray fileName;
    const char* cause; // a part of it; "" when both runs complete
};

// A dry run fails where the real run would, and leaves the file as it was; the real run fails before it
// writes anything.
TEST(PourHardening, DryRunForeseesWhatTheRunCannotDo) {
    const bool root = ::geteuid() == 0;
    const ForeseenCase rows[] = {
        {"folderNotWritable", false, Acting::OtherUser, 4321, 0644, 0555, "song.vsqx", "Permission denied"},
        {"readOnlyFileOfAnother", true, Acting::OtherUser, 4323, 0444, 0777, "song.vsqx",
         "cannot make '%1' writable: Operation not permitted"},
        // Root writes as the owner, who cannot write into that folder.
        {"rootForAnOwnerWithoutRights", true, Acting::Root, 4321, 0644, 0755, "song.vsqx", "Permission denied"},
        {"longestName", false, Acting::OtherUser, 4321, 0644, 0777, QByteArray(250, 'n') + ".vsqx", ""},
    };
    for (const ForeseenCase& row : rows) {
        if (row.rootOnly && !root) {
            std::cout << "[ SKIPPED  ] " << row.name << ": needs root, to give the song to another user\n";
            continue;
        }
        QTemporaryDir top;
        ASSERT_TRUE(QFile::setPermissions(top.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                                          QFile::ReadOther | QFile::ExeOther));
        const QString folder = top.filePath(QStringLiteral("songs"));
        ASSERT_TRUE(QDir().mkdir(folder));
        const QString path = folder + u'/' + QString::fromLatin1(row.fileName);
        const QByteArray song = test::GenerateVsqx({});
        WriteFile(path, song);
        const QByteArray native = QFile::encodeName(path);
        if (root) {
            ASSERT_EQ(::chown(native.constData(), row.songOwner, row.songOwner), 0);
        }
        ASSERT_EQ(::chmod(native.constData(), row.songMode), 0);
        ASSERT_EQ(::chmod(QFile::encodeName(folder).constData(), row.folderMode), 0);
        const auto restore = qScopeGuard([&] { ::chmod(QFile::encodeName(folder).constData(), 0700); });
        for (const bool dryRun : {true, false}) {
            PourOutcome outcome;
            const auto pour = [&] {
                PourProgress quiet;
                PourOptions options;
                options.dryRun = dryRun;
                outcome = PourPhoneticIntoFile(path, u"J i|", quiet, options);
            };
            if (root && row.acting == Acting::OtherUser) {
                std::thread([&] {
                    ::setfsgid(4321);
                    ::setfsuid(4321);
                    pour();
                }).join();
            } else {
                pour();
            }
            const QString cause = QString::fromUtf8(row.cause).replace(QStringLiteral("%1"), path);
            EXPECT_EQ(outcome.kind, *row.cause ? Kind::Failed : Kind::Completed) << row.name << " " << dryRun;
            EXPECT_TRUE(outcome.cause.contains(cause)) << outcome.cause.toStdString();
            EXPECT_EQ(ReadFile(path) == song, dryRun || *row.cause) << row.name;
            EXPECT_EQ(test::Entries(folder), QStringList{QString::fromLatin1(row.fileName)}) << row.name;
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
