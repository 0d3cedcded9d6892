// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/vsqx/file_lines.h"
#include "core/vsqx/phonetic_items.h"
#include "core/vsqx/pour_run.h"
#include "core/vsqx/pour_texts.h"
#include "support/test_files.h"
#include "support/vsqx_generator.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cerrno>
#include <gtest/gtest.h>
#include <linux/capability.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <thread>
#include <tuple>

namespace lirobel::vsqx {
namespace {

using Kind = PourOutcome::Kind;

constexpr QFile::Permissions kModeBits = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadGroup |
                                         QFile::WriteGroup | QFile::ExeGroup | QFile::ReadOther | QFile::WriteOther |
                                         QFile::ExeOther;

class RecordingProgress : public PourProgress {
public:
    void Start() override { events << QStringLiteral("start"); }
    void SetMaximum(double maximum) override { events << QStringLiteral("maximum %1").arg(maximum); }
    void SetValue(double value) override { values.push_back(value); }
    void SetState(QStringView state) override { events << state.toString(); }
    void Yield() override { ++yields; }

    QStringList events;
    std::vector<double> values;
    int yields = 0;
};

using test::ReadFile;
using test::WriteFile;

QStringList Entries(const QTemporaryDir& folder) {
    return QDir(folder.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
}

TEST(PourPhoneticIntoFile, ReportsProgressAsTheWriterWindowShowsIt) {
    for (const int version : {3, 4}) {
        QTemporaryDir folder;
        const QString path = folder.filePath(QStringLiteral("song.vsqx"));
        const QByteArray file = test::GenerateVsqx({1, 1, 300, test::LineEnds::CrLf, version});
        WriteFile(path, file);
        const double lines = static_cast<double>(CountFileLines(file));
        RecordingProgress progress;
        ASSERT_EQ(PourPhoneticIntoFile(path, test::GeneratePhonetic(300), progress).kind, Kind::Completed);
        EXPECT_EQ(progress.events,
                  (QStringList{QStringLiteral("start"), QStringLiteral("maximum %1").arg(2 * lines),
                               kReadingState.toString(), kProcessingState.toString(), kExportingState.toString()}));
        ASSERT_GE(progress.values.size(), 4u);
        EXPECT_EQ(progress.values.front(), 0);
        EXPECT_TRUE(std::is_sorted(progress.values.begin(), progress.values.end()));
        const std::vector<double> last(progress.values.end() - 3, progress.values.end());
        EXPECT_EQ(last, (std::vector<double>{lines, 1.6 * lines, 2 * lines}));
        EXPECT_GE(progress.yields, 1); // 100 KB or more scanned, in 64 KiB steps
    }
}

// The generated file with the first items written the editor's way, made by replacing text note by note.
QByteArray WrittenByHand(const QByteArray& file, const QString& phonetic, int items) {
    const QByteArray noteStart = "\t\t\t<note>";
    QByteArray result = file.first(file.indexOf(noteStart));
    qsizetype at = result.size();
    for (int k = 0; at < file.size(); ++k) {
        const qsizetype next = file.indexOf(noteStart, at + 1);
        QByteArray note = file.sliced(at, (next < 0 ? file.size() : next) - at);
        at += note.size();
        if (k >= items) {
            result += note;
            continue;
        }
        QString item = GetPhoneticItem(phonetic, k + 1).toString();
        if (item.endsWith(u"[-OPE]")) {
            item.chop(6);
            note.replace("<v id=\"opening\">127</v>", "<v id=\"opening\">0</v>");
        }
        note.replace("<y><![CDATA[" + test::NoteLyric(k).toUtf8() + "]]></y>", "<y><![CDATA[a]]></y>");
        note.replace("<p><![CDATA[" + test::NotePhonemes(k).toUtf8() + "]]></p>",
                     "<p lock=\"1\"><![CDATA[" + item.toUtf8() + "]]></p>");
        result += note;
    }
    return result;
}

TEST(PourPhoneticIntoFile, WritesTheNotesOfAVersion4FileAndKeepsEveryOtherByte) {
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("song.vsqx"));
    const QByteArray original = test::GenerateVsqx({2, 2, 3, test::LineEnds::CrLf, 4});
    const QString phonetic = test::GeneratePhonetic(8) + QStringLiteral("你 好|");
    WriteFile(path, original);
    PourProgress quiet;
    const PourOutcome outcome = PourPhoneticIntoFile(path, phonetic, quiet);
    ASSERT_EQ(outcome.kind, Kind::Completed) << outcome.cause.toStdString();
    EXPECT_EQ(outcome.notesWritten, 9);
    EXPECT_EQ(outcome.notesLeft, 3);
    EXPECT_EQ(outcome.notesFound, 12);
    const QByteArray rewritten = ReadFile(path);
    EXPECT_EQ(rewritten, WrittenByHand(original, phonetic, 9));
    // Nothing changed before the first note nor from the tenth on, which took no item.
    qsizetype tenth = -1;
    for (int k = 0; k < 10; ++k)
        tenth = original.indexOf("\t\t\t<note>", tenth + 1);
    const qsizetype head = original.indexOf("<note>");
    EXPECT_EQ(rewritten.first(head), original.first(head));
    EXPECT_EQ(rewritten.last(original.size() - tenth), original.sliced(tenth));

    // Written again, the file stays as it is.
    EXPECT_EQ(PourPhoneticIntoFile(path, phonetic, quiet).kind, Kind::Completed);
    EXPECT_EQ(ReadFile(path), rewritten);
    EXPECT_EQ(Entries(folder), QStringList{QStringLiteral("song.vsqx")});
}

using FileState = std::tuple<QByteArray, QFile::Permissions, QDateTime>;

FileState StateOf(const QString& path) {
    const QFileInfo info(path);
    return {ReadFile(path), info.permissions(), info.lastModified()};
}

using Counts = std::tuple<int, int, int, int, int>;

Counts CountsOf(const PourOutcome& outcome) {
    return {outcome.notesWritten, outcome.itemsLeft, outcome.notesLeft, outcome.notesFound, outcome.heldSkipped};
}

// A dry run, and a run with an item that would break the file, leave a read-only file of long ago as it was;
// the dry run counts as the real run after it does.
TEST(PourPhoneticIntoFile, DryRunsAndUnwritableItemsTouchNothing) {
    struct Row {
        int version;
        QString phonetic;
        bool dryRun;
        const char* cause; // a part of it; "" when the run is to complete
    };
    const Row rows[] = {
        {3, test::GeneratePhonetic(6), true, ""},
        {4, test::GeneratePhonetic(6), true, ""},
        {3, QStringLiteral("J i|a]]>b|"), false, "item 2 holds \"]]>\""},
        {4, QStringLiteral("J i|h a o|a\u0001|"), false, "item 3 holds U+0001"},
    };
    for (const Row& row : rows) {
        QTemporaryDir folder;
        const QString path = folder.filePath(QStringLiteral("song.vsqx"));
        // Ten notes, of which the two that sang "あ" are held now.
        WriteFile(path, test::GenerateVsqx({1, 2, 5, test::LineEnds::CrLf, row.version}).replace("あ", "-"));
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadWrite) &&
                    file.setFileTime(QDateTime(QDate(2020, 1, 2), QTime(3, 4, 5)), QFileDevice::FileModificationTime));
        file.close();
        ASSERT_TRUE(QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadGroup));
        const FileState before = StateOf(path);
        PourOptions options;
        options.skipHeld = true;
        options.dryRun = row.dryRun;
        RecordingProgress progress;
        const PourOutcome outcome = PourPhoneticIntoFile(path, row.phonetic, progress, options);
        EXPECT_EQ(outcome.kind, *row.cause ? Kind::Failed : Kind::Completed) << outcome.cause.toStdString();
        EXPECT_TRUE(outcome.cause.contains(QLatin1StringView(row.cause))) << outcome.cause.toStdString();
        EXPECT_EQ(StateOf(path), before) << row.version;
        EXPECT_EQ(Entries(folder), QStringList{QStringLiteral("song.vsqx")});
        // The bad items are found before anything shows.
        EXPECT_EQ(progress.events.size(), *row.cause ? 0 : 5);
        if (row.dryRun) {
            EXPECT_EQ(CountsOf(outcome), Counts(6, 0, 2, 10, 2));
            options.dryRun = false;
            EXPECT_EQ(CountsOf(PourPhoneticIntoFile(path, row.phonetic, progress, options)), CountsOf(outcome));
            EXPECT_NE(ReadFile(path), std::get<0>(before));
        }
    }
}

enum class Target {
    File,
    MissingFile,
    MissingFolder,
    Folder,
    EmptyPath,
    LinkLoop,
    LinkToMissingFile,
    LinkIntoMissingFolder,
    FileOf2GiB,
};
enum class Disk { Whole, TakesHalfEachTime, Full };

struct FailureCase {
    const char* name;
    Target target;
    QByteArray content;
    QString phonetic;
    Disk disk;
    Kind kind;
    const char* cause; // a part of it

    friend void PrintTo(const FailureCase& row, std::ostream* os) { *os << row.name; }
};

class PourFailureTest : public testing::TestWithParam<FailureCase> {};

TEST_P(PourFailureTest, LeavesTheFileAsItWas) {
    const FailureCase& row = GetParam();
    QTemporaryDir folder;
    const QString file = folder.filePath(QStringLiteral("song.vsqx"));
    const QString elsewhere = folder.filePath(QStringLiteral("none/song.vsqx"));
    const QString loop = folder.filePath(QStringLiteral("loop.vsqx"));
    switch (row.target) {
    case Target::File:
        WriteFile(file, row.content);
        break;
    case Target::LinkLoop:
        ASSERT_TRUE(QFile::link(loop, file) && QFile::link(file, loop));
        break;
    case Target::LinkToMissingFile:
        ASSERT_TRUE(QFile::link(folder.filePath(QStringLiteral("other.vsqx")), file));
        break;
    case Target::LinkIntoMissingFolder:
        ASSERT_TRUE(QFile::link(elsewhere, file));
        break;
    case Target::FileOf2GiB: // sparse: it takes no room on the disk
        WriteFile(file, {});
        ASSERT_EQ(::truncate(QFile::encodeName(file).constData(), off_t{1} << 31), 0);
        break;
    default:
        break;
    }
    const QStringList before = Entries(folder);
    const QString path = row.target == Target::MissingFolder ? elsewhere
                         : row.target == Target::Folder      ? folder.path()
                         : row.target == Target::EmptyPath   ? QString()
                                                             : file;
    PourOptions options;
    if (row.disk == Disk::TakesHalfEachTime)
        options.write = [](int to, const void* bytes, size_t size) { return ::write(to, bytes, size / 2); };
    if (row.disk == Disk::Full)
        options.write = [](int, const void*, size_t) {
            errno = ENOSPC;
            return ssize_t{-1};
        };
    RecordingProgress progress;
    const PourOutcome outcome = PourPhoneticIntoFile(path, row.phonetic, progress, options);
    EXPECT_EQ(outcome.kind, row.kind);
    EXPECT_EQ(outcome.cause.isEmpty(), row.kind != Kind::Failed);
    EXPECT_TRUE(outcome.cause.contains(QLatin1StringView(row.cause))) << outcome.cause.toStdString();
    // Nothing shows before the file has passed the vendor test.
    EXPECT_EQ(progress.events.isEmpty(), row.kind != Kind::Failed || row.target != Target::File);
    if (row.target == Target::File) {
        EXPECT_EQ(ReadFile(file), row.content);
    } else if (row.target == Target::FileOf2GiB) {
        EXPECT_EQ(QFileInfo(file).size(), qint64{1} << 31);
    }
    EXPECT_EQ(Entries(folder), before);
}

QByteArray WithoutOpeningAttributes() {
    return test::GenerateVsqx({}).replace("\"opening\"", "\"closing\"");
}

// Fails after more than one piece has gone to the temporary file.
QByteArray WithTheLastPhonemesUnclosed() {
    QByteArray file = test::GenerateVsqx({1, 1, 1000});
    return file.replace(file.lastIndexOf("</phnms>"), 8, "</phnm>");
}

const QString kOneItem = QStringLiteral("J i|");

INSTANTIATE_TEST_SUITE_P(
    Runs, PourFailureTest,
    testing::Values(
        FailureCase{"twoLines", Target::File, "a\r\nb", kOneItem, Disk::Whole, Kind::NotVsqx, ""},
        FailureCase{"emptyFile", Target::File, "", kOneItem, Disk::Whole, Kind::NotVsqx, ""},
        FailureCase{"missingFile", Target::MissingFile, "", kOneItem, Disk::Whole, Kind::NotFound, ""},
        FailureCase{"linkToMissingFile", Target::LinkToMissingFile, "", kOneItem, Disk::Whole, Kind::NotFound, ""},
        FailureCase{"emptyPath", Target::EmptyPath, "", kOneItem, Disk::Whole, Kind::NotFound, ""},
        FailureCase{"missingFolder", Target::MissingFolder, "", kOneItem, Disk::Whole, Kind::Failed, "does not exist"},
        FailureCase{"linkIntoMissingFolder", Target::LinkIntoMissingFolder, "", kOneItem, Disk::Whole, Kind::Failed,
                    "none/song.vsqx', whose folder does not exist"},
        FailureCase{"linkLoop", Target::LinkLoop, "", kOneItem, Disk::Whole, Kind::Failed, "symbolic links"},
        FailureCase{"folder", Target::Folder, "", kOneItem, Disk::Whole, Kind::Failed, "is a folder"},
        FailureCase{"fileOf2GiB", Target::FileOf2GiB, "", kOneItem, Disk::Whole, Kind::Failed, "2 GiB or larger"},
        FailureCase{"rewriteFails", Target::File, WithoutOpeningAttributes(), QStringLiteral("J i[-OPE]|"), Disk::Whole,
                    Kind::Failed, ""},
        FailureCase{"diskTakesHalf", Target::File, test::GenerateVsqx({}), kOneItem, Disk::TakesHalfEachTime,
                    Kind::Failed, "the disk took only part of it"},
        FailureCase{"diskFull", Target::File, test::GenerateVsqx({}), kOneItem, Disk::Full, Kind::Failed,
                    "No space left on device"},
        FailureCase{"lateRewriteFailure", Target::File, WithTheLastPhonemesUnclosed(), test::GeneratePhonetic(1000),
                    Disk::Whole, Kind::Failed, ""}),
    [](const testing::TestParamInfo<FailureCase>& row) { return std::string(row.param.name); });

TEST(PourPhoneticIntoFile, KeepsTheLinkAndThePermissionsButMakesTheFileWritable) {
    QTemporaryDir folder;
    const QString target = folder.filePath(QStringLiteral("song.vsqx"));
    const QString link = folder.filePath(QStringLiteral("link.vsqx"));
    WriteFile(target, test::GenerateVsqx({}));
    ASSERT_TRUE(QFile::setPermissions(target, QFile::ReadOwner | QFile::ReadGroup | QFile::ExeOther));
    ASSERT_TRUE(QFile::link(target, link));
    PourProgress quiet;
    EXPECT_EQ(PourPhoneticIntoFile(link, u"J i|", quiet).kind, Kind::Completed);
    EXPECT_TRUE(QFileInfo(link).isSymLink());
    EXPECT_TRUE(ReadFile(target).contains("<phnms lock=\"1\"><![CDATA[J i]]></phnms>"));
    EXPECT_EQ(QFileInfo(target).permissions() & kModeBits,
              QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ExeOther);
    EXPECT_EQ(Entries(folder), (QStringList{QStringLiteral("link.vsqx"), QStringLiteral("song.vsqx")}));
}

// Root that may neither give files away nor create them as another user, as an unprivileged user may
// not: in this thread alone.
bool GiveUpChownInThisThread() {
    __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct capabilities[2]{};
    if (::syscall(SYS_capget, &header, capabilities) != 0)
        return false;
    capabilities[0].effective &= ~(1u << CAP_CHOWN | 1u << CAP_SETUID);
    return ::syscall(SYS_capset, &header, capabilities) == 0;
}

struct OwnerCase {
    const char* name;
    bool mayChown;
    uid_t owner; // afterwards
    gid_t group;
    const char* warning; // a part of it; "" when there must be none

    friend void PrintTo(const OwnerCase& row, std::ostream* os) { *os << row.name; }
};

class PourOwnerTest : public testing::TestWithParam<OwnerCase> {};

TEST_P(PourOwnerTest, KeepsTheOwnerOrSaysItCouldNot) {
    if (::geteuid() != 0)
        GTEST_SKIP() << "needs root, to give the file to another user";
    const OwnerCase& row = GetParam();
    QTemporaryDir folder;
    const QByteArray path =
        QFile::encodeName(WriteFile(folder.filePath(QStringLiteral("song.vsqx")), test::GenerateVsqx({})));
    ASSERT_EQ(::chown(path.constData(), 4321, 4322), 0);
    ASSERT_EQ(::chmod(path.constData(), 0640), 0);
    // Root writes as the owner, who must be able to write in the folder.
    ASSERT_EQ(::chown(QFile::encodeName(folder.path()).constData(), 4321, 4322), 0);
    PourOutcome outcome;
    std::thread([&] {
        if (row.mayChown || GiveUpChownInThisThread()) {
            PourProgress quiet;
            outcome = PourPhoneticIntoFile(QFile::decodeName(path), kOneItem, quiet);
        }
    }).join();
    ASSERT_EQ(outcome.kind, Kind::Completed) << outcome.cause.toStdString();
    struct stat status {};
    ASSERT_EQ(::stat(path.constData(), &status), 0);
    EXPECT_EQ(status.st_uid, row.owner);
    EXPECT_EQ(status.st_gid, row.group);
    EXPECT_EQ(status.st_mode & 07777, 0640u);
    EXPECT_EQ(outcome.warning.isEmpty(), !*row.warning);
    EXPECT_TRUE(outcome.warning.contains(QLatin1StringView(row.warning))) << outcome.warning.toStdString();
}

INSTANTIATE_TEST_SUITE_P(Owners, PourOwnerTest,
                         testing::Values(OwnerCase{"kept", true, 4321, 4322, ""},
                                         OwnerCase{"lost", false, 0, 0, "4321:4322"}),
                         [](const testing::TestParamInfo<OwnerCase>& row) { return std::string(row.param.name); });

} // namespace
} // namespace lirobel::vsqx
