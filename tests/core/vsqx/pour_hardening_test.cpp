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

QStringList Entries(const QString& folder) {
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
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

const QStringView kMoments[] = {u"", kProcessingState, kExportingState};

TEST(PourHardening, FolderSwappedForALinkMidwayGetsNothingWrittenAnywhere) {
    for (const QStringView moment : kMoments) {
        QTemporaryDir root;
        const QString songs = root.filePath(QStringLiteral("songs"));
        const QString moved = root.filePath(QStringLiteral("moved"));
        const QString elsewhere = root.filePath(QStringLiteral("elsewhere"));
        ASSERT_TRUE(QDir().mkdir(songs) && QDir().mkdir(elsewhere));
        const QByteArray song = test::GenerateVsqx({});
        WriteFile(songs + QStringLiteral("/song.vsqx"), song);
        ActingProgress progress(moment, [&] {
            ASSERT_TRUE(QDir().rename(songs, moved));
            ASSERT_TRUE(QFile::link(elsewhere, songs));
        });
        const PourOutcome outcome = PourPhoneticIntoFile(songs + QStringLiteral("/song.vsqx"), u"J i|", progress);
        EXPECT_EQ(outcome.kind, Kind::Failed) << moment.toString().toStdString();
        EXPECT_TRUE(outcome.cause.contains(QLatin1StringView("folder was moved or replaced")))
            << outcome.cause.toStdString();
        EXPECT_EQ(Entries(elsewhere), QStringList());
        EXPECT_EQ(Entries(moved), QStringList{QStringLiteral("song.vsqx")});
        EXPECT_EQ(ReadFile(moved + QStringLiteral("/song.vsqx")), song);
    }
}

void SetModificationTime(const QString& path, time_t seconds) {
    const timespec times[2] = {{seconds, 0}, {seconds, 0}};
    ASSERT_EQ(::utimensat(AT_FDCWD, QFile::encodeName(path).constData(), times, 0), 0);
}

// Another program saves the song while it is poured (by a rename, by appending, by a write that keeps
// the size): its save is kept, and the pour fails.
TEST(PourHardening, SaveByAnotherProgramMidwayIsKept) {
    const std::pair<QStringView, std::function<void(const QString&)>> changes[] = {
        {kExportingState,
         [](const QString& path) {
             WriteFile(path + QStringLiteral(".new"), "saved");
             const QByteArray native = QFile::encodeName(path);
             ASSERT_EQ(::rename((native + ".new").constData(), native.constData()), 0);
         }},
        {kProcessingState,
         [](const QString& path) {
             QFile file(path);
             ASSERT_TRUE(file.open(QIODevice::Append) && file.write("\r\n") == 2);
         }},
        {kExportingState, [](const QString& path) { SetModificationTime(path, 1'700'000'000); }},
    };
    for (const auto& [when, change] : changes) {
        QTemporaryDir folder;
        const QString path = WriteFile(folder.filePath(QStringLiteral("song.vsqx")), test::GenerateVsqx({}));
        SetModificationTime(path, 1'600'000'000);
        QByteArray saved;
        ActingProgress progress(when, [&] {
            change(path);
            saved = ReadFile(path);
        });
        const PourOutcome outcome = PourPhoneticIntoFile(path, u"J i|", progress);
        EXPECT_EQ(outcome.kind, Kind::Failed);
        EXPECT_TRUE(outcome.cause.contains(QLatin1StringView("changed, moved or replaced while it was poured")))
            << outcome.cause.toStdString();
        EXPECT_EQ(ReadFile(path), saved);
        EXPECT_EQ(Entries(folder.path()), QStringList{QStringLiteral("song.vsqx")});
    }
}

struct RefusalCase {
    const char* name;
    int version;
    QByteArray from; // replaced in the generated file by `to`
    QByteArray to;
    QString phonetic;
    const char* cause; // a part of it; "" when the run is to complete
};

// Items and markup that would break the song, and runs without any item, fail before anything is written.
TEST(PourHardening, BreakingItemsHiddenTagsAndNoItemAreRefusedBeforeWriting) {
    const QByteArray part = "<partName><![CDATA[Part 1]]></partName>";
    const QByteArray v4Part = "<name><![CDATA[Part 1]]></name>";
    const RefusalCase rows[] = {
        {"itemHoldingATag", 3, {}, {}, QStringLiteral("x<lyric>y|b|c|"), "item 1 holds \"<\""},
        {"tagInAComment", 3, part, part + "<!-- <lyric> -->", QStringLiteral("J i|"), "a comment holds \"<lyric>\""},
        {"tagInAName", 3, part, "<partName><![CDATA[my <lyric> song]]></partName>", QStringLiteral("J i|"),
         "a CDATA section holds \"<lyric>\""},
        {"tagInAnInstruction", 3, part, part + "<?note <phnms>?>", QStringLiteral("J i|"),
         "a processing instruction holds \"<phnms>\""},
        {"noInput", 3, {}, {}, QString(), "there is no item"},
        {"noBar", 4, {}, {}, QStringLiteral("J i"), "there is no item"},
        {"emptyFirstItem", 3, {}, {}, QStringLiteral("|J i|"), "there is no item"},
        // The version-4 writer passes over what markup hides.
        {"tagInAVersion4Comment", 4, v4Part, v4Part + "<!-- <note><p>x</p></note> -->", QStringLiteral("J i|"), ""},
    };
    for (const RefusalCase& row : rows) {
        QTemporaryDir folder;
        QByteArray song = test::GenerateVsqx({1, 1, 3, test::LineEnds::CrLf, row.version});
        if (!row.from.isEmpty())
            song.replace(row.from, row.to);
        const QString path = WriteFile(folder.filePath(QStringLiteral("song.vsqx")), song);
        SetModificationTime(path, 1'600'000'000);
        PourProgress quiet;
        const PourOutcome outcome = PourPhoneticIntoFile(path, row.phonetic, quiet);
        EXPECT_EQ(outcome.kind, *row.cause ? Kind::Failed : Kind::Completed) << row.name;
        EXPECT_TRUE(outcome.cause.contains(QString::fromUtf8(row.cause))) << outcome.cause.toStdString();
        if (*row.cause) {
            EXPECT_EQ(ReadFile(path), song) << row.name;
            EXPECT_EQ(QFileInfo(path).lastModified().toSecsSinceEpoch(), 1'600'000'000) << row.name;
        }
        EXPECT_EQ(Entries(folder.path()), QStringList{QStringLiteral("song.vsqx")}) << row.name;
    }
}

// A link named like a song that leads to another read-only file: that file is judged before anything
// else, and keeps its mode.
TEST(PourHardening, FileThatIsNoVsqxKeepsItsMode) {
    QTemporaryDir folder;
    const QString other = WriteFile(folder.filePath(QStringLiteral("ro.conf")), "setting=1\n");
    ASSERT_TRUE(QFile::setPermissions(other, QFile::ReadOwner | QFile::ReadGroup));
    ASSERT_TRUE(QFile::link(other, folder.filePath(QStringLiteral("song.vsqx"))));
    PourProgress quiet;
    EXPECT_EQ(PourPhoneticIntoFile(folder.filePath(QStringLiteral("song.vsqx")), u"J i|", quiet).kind, Kind::NotVsqx);
    EXPECT_EQ(QFile::permissions(other) & 0x7077, QFile::ReadOwner | QFile::ReadGroup);
}

TEST(PourHardening, FailuresNameNestedNotesAndTheNoteLimit) {
    const PhoneticRewrite nested = PutPhoneticToVSQX4("<vsq4><note><y>a</y><note><p>b</p></note></note></vsq4>", u"x|");
    EXPECT_TRUE(nested.failure.contains(QLatin1StringView("notes cannot be nested"))) << nested.failure.toStdString();
    const PhoneticRewrite tooMany =
        PutPhoneticToVSQX(QByteArray("<phnms>a</phnms>").repeated(32767), QStringLiteral("b|").repeated(32767));
    EXPECT_TRUE(tooMany.failure.contains(QLatin1StringView("cannot go past 32766 notes")))
        << tooMany.failure.toStdString();
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

struct ShapeCase {
    const char* name;
    std::function<void(int repeats)> run;
};

// Malformed markup repeated: sixteen times as much may take about sixteen times as long, far from the 256
// times of a walk that scans the rest of the text at every repeat.
TEST(PourHardening, MalformedMarkupTakesLinearTime) {
    const RewriteOptions skipHeld{true};
    const ShapeCase rows[] = {
        {"unclosedStyleTags",
         [](int n) {
             PutPhoneticToVSQX4("<vsq4><note>" + QByteArray("<nStyle").repeated(n) + "</note></vsq4>", u"a|");
         }},
        {"unclosedValueTags",
         [](int n) {
             PutPhoneticToVSQX4("<vsq4><note><nStyle>" + QByteArray("<v").repeated(n) + "</nStyle></note>", u"a|");
         }},
        {"declarations",
         [](int n) {
             const QByteArray text = QByteArray("<!a>").repeated(n) + "<vsq4><note><p>a</p></note></vsq4>";
             HasVersion4Root(text);
             PutPhoneticToVSQX4(text, u"a|");
             PutPhoneticToVSQX(text, u"a|");
         }},
        {"unclosedLyricsWhenSkippingHeld",
         [&](int n) {
             PutPhoneticToVSQX("<phnms>a</phnms>" + QByteArray("<lyric>").repeated(n), u"a|", {}, skipHeld);
         }},
    };
    constexpr int kSmall = 4000;
    for (const ShapeCase& row : rows) {
        const double small = ThreadSeconds([&] { row.run(kSmall); });
        const double large = ThreadSeconds([&] { row.run(16 * kSmall); });
        EXPECT_LT(large, 64 * std::max(small, 1e-5)) << row.name << ": " << small << " s, then " << large << " s";
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
            EXPECT_EQ(Entries(folder), QStringList{QString::fromLatin1(row.fileName)}) << row.name;
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
        EXPECT_EQ(Entries(folder.path()), QStringList{QStringLiteral("song.vsqx")}) << number;
    }
}

} // namespace
} // namespace lirobel::vsqx
