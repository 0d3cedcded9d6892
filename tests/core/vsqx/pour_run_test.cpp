// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/vsqx/file_lines.h"
#include "core/vsqx/phonetic_items.h"
#include "core/vsqx/pour_run.h"
#include "core/vsqx/pour_texts.h"
#include "core/vsqx/put_phonetic_to_vsqx4.h"
#include "support/test_files.h"
#include "support/vsqx_generator.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cerrno>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <tuple>

namespace lirobel::vsqx {
namespace {

using Kind = PourOutcome::Kind;

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

// What the writer window shows, and the file as the rewrite makes it in memory, though it goes out in pieces.
TEST(PourPhoneticIntoFile, ReportsProgressAsTheWriterWindowShowsIt) {
    for (const int version : {3, 4}) {
        QTemporaryDir folder;
        const QString path = folder.filePath(QStringLiteral("song.vsqx"));
        const QByteArray file = test::GenerateVsqx({1, 1, 1000, test::LineEnds::CrLf, version});
        WriteFile(path, file);
        const double lines = static_cast<double>(CountFileLines(file));
        RecordingProgress progress;
        const QString phonetic = test::GeneratePhonetic(1000);
        ASSERT_EQ(PourPhoneticIntoFile(path, phonetic, progress).kind, Kind::Completed);
        EXPECT_EQ(progress.events,
                  (QStringList{QStringLiteral("start"), QStringLiteral("maximum %1").arg(2 * lines),
                               kReadingState.toString(), kProcessingState.toString(), kExportingState.toString()}));
        EXPECT_EQ(progress.values.front(), 0);
        EXPECT_TRUE(std::is_sorted(progress.values.begin(), progress.values.end()));
        EXPECT_EQ(progress.values.back(), 2 * lines);
        EXPECT_GE(progress.yields, 1); // 100 KB or more scanned, in 64 KiB steps
        QByteArray joined = file;
        JoinFileLines(joined);
        EXPECT_EQ(ReadFile(path), version == 4 ? PutPhoneticToVSQX4(file, phonetic).text
                                               : PutPhoneticToVSQX(joined, phonetic).text + "\r\n");
    }
}

using Counts = std::tuple<int, int, int, int, int>;

Counts CountsOf(const PourOutcome& outcome) {
    return {outcome.notesWritten, outcome.itemsLeft, outcome.notesLeft, outcome.notesFound, outcome.heldSkipped};
}

// Poured with nine items, the generated file must be as the editor would have it had they been typed in
// by hand (poured4.vsqx): every other byte kept, and a note that a comment holds passed over.
TEST(PourPhoneticIntoFile, WritesTheNotesOfAVersion4FileAndKeepsEveryOtherByte) {
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("song.vsqx"));
    const QByteArray part = "<name><![CDATA[Part 1]]></name>";
    WriteFile(
        path,
        test::GenerateVsqx({2, 2, 3, test::LineEnds::CrLf, 4}).replace(part, part + "<!-- <note><p>x</p></note> -->"));
    const QString phonetic = test::GeneratePhonetic(8) + QStringLiteral("你 好|");
    PourProgress quiet;
    const PourOutcome outcome = PourPhoneticIntoFile(path, phonetic, quiet);
    ASSERT_EQ(outcome.kind, Kind::Completed) << outcome.cause.toStdString();
    EXPECT_EQ(CountsOf(outcome), Counts(9, 0, 3, 12, 0));
    const QByteArray rewritten = ReadFile(path);
    EXPECT_EQ(rewritten, ReadFile(QStringLiteral(LIROBEL_TEST_DATA "/poured4.vsqx")));
    // Written again, the file stays as it is.
    EXPECT_EQ(PourPhoneticIntoFile(path, phonetic, quiet).kind, Kind::Completed);
    EXPECT_EQ(ReadFile(path), rewritten);
    EXPECT_EQ(test::Entries(folder.path()), QStringList{QStringLiteral("song.vsqx")});
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
    LinkToAReadOnlyFile,
};
enum class Disk { Whole, TakesHalfEachTime, Full };

struct FailureCase {
    const char* name;
    Target target;
    QByteArray content;
    QString phonetic;
    Kind kind;
    const char* cause;  // a part of it
    bool shows = false; // whether the run has begun to show its progress
    Disk disk = Disk::Whole;

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
        test::SetModificationTime(file, 1'600'000'000);
        break;
    case Target::LinkToAReadOnlyFile: // that file is judged before anything else, and keeps its mode
        WriteFile(loop, "setting=1\n");
        ASSERT_TRUE(QFile::setPermissions(loop, QFile::ReadOwner | QFile::ReadGroup) && QFile::link(loop, file));
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
    const QStringList before = test::Entries(folder.path());
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
    // Nothing shows before the file has passed the vendor test and the items have been judged.
    EXPECT_EQ(!progress.events.isEmpty(), row.shows);
    if (row.target == Target::File) {
        EXPECT_EQ(ReadFile(file), row.content);
        EXPECT_EQ(QFileInfo(file).lastModified().toSecsSinceEpoch(), 1'600'000'000);
    } else if (row.target == Target::FileOf2GiB) {
        EXPECT_EQ(QFileInfo(file).size(), qint64{1} << 31);
    } else if (row.target == Target::LinkToAReadOnlyFile) {
        EXPECT_EQ(QFile::permissions(loop) & 0x7077, QFile::ReadOwner | QFile::ReadGroup);
    }
    EXPECT_EQ(test::Entries(folder.path()), before);
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

// The generated file of the version, with `from` replaced by `to`.
QByteArray Song(int version, const QByteArray& from = {}, const QByteArray& to = {}) {
    QByteArray song = test::GenerateVsqx({1, 1, 3, test::LineEnds::CrLf, version});
    return from.isEmpty() ? song : song.replace(from, to);
}

const QByteArray kPart = "<partName><![CDATA[Part 1]]></partName>";

using enum Target;
using enum Kind;

const FailureCase kFailures[] = {
    {"twoLines", File, "a\r\nb", kOneItem, NotVsqx, ""},
    {"emptyFile", File, "", kOneItem, NotVsqx, ""},
    {"missingFile", MissingFile, "", kOneItem, NotFound, ""},
    {"linkToMissingFile", LinkToMissingFile, "", kOneItem, NotFound, ""},
    {"emptyPath", EmptyPath, "", kOneItem, NotFound, ""},
    {"missingFolder", MissingFolder, "", kOneItem, Failed, "does not exist"},
    {"linkIntoMissingFolder", LinkIntoMissingFolder, "", kOneItem, Failed,
     "none/song.vsqx', whose folder does not exist"},
    {"linkLoop", LinkLoop, "", kOneItem, Failed, "symbolic links"},
    {"folder", Folder, "", kOneItem, Failed, "is a folder"},
    {"fileOf2GiB", FileOf2GiB, "", kOneItem, Failed, "2 GiB or larger"},
    {"linkToAReadOnlyFile", LinkToAReadOnlyFile, "", kOneItem, NotVsqx, ""},
    {"rewriteFails", File, WithoutOpeningAttributes(), QStringLiteral("J i[-OPE]|"), Failed, "", true},
    {"diskTakesHalf", File, test::GenerateVsqx({}), kOneItem, Failed, "the disk took only part of it", true,
     Disk::TakesHalfEachTime},
    {"diskFull", File, test::GenerateVsqx({}), kOneItem, Failed, "No space left on device", true, Disk::Full},
    {"lateRewriteFailure", File, WithTheLastPhonemesUnclosed(), test::GeneratePhonetic(1000), Failed, "", true},
    // Items and markup that would break the song, and runs without any item.
    {"cdataEndInAnItem", File, Song(3), QStringLiteral("J i|a]]>b|"), Failed, "item 2 holds \"]]>\""},
    {"controlCharacterInAnItem", File, Song(4), QStringLiteral("J i|h a o|a\u0001|"), Failed, "item 3 holds U+0001"},
    {"itemHoldingATag", File, Song(3), QStringLiteral("x<lyric>y|b|c|"), Failed, "item 1 holds \"<\""},
    {"tagInAComment", File, Song(3, kPart, kPart + "<!-- <lyric> -->"), kOneItem, Failed, "a comment holds \"<lyric>\"",
     true},
    {"tagInAName", File, Song(3, kPart, "<partName><![CDATA[my <lyric> song]]></partName>"), kOneItem, Failed,
     "a CDATA section holds \"<lyric>\"", true},
    {"tagInAnInstruction", File, Song(3, kPart, kPart + "<?note <phnms>?>"), kOneItem, Failed,
     "a processing instruction holds \"<phnms>\"", true},
    {"noInput", File, Song(3), QString(), Failed, "there is no item"},
    {"noBar", File, Song(4), QStringLiteral("J i"), Failed, "there is no item"},
    {"emptyFirstItem", File, Song(3), QStringLiteral("|J i|"), Failed, "there is no item"},
};

INSTANTIATE_TEST_SUITE_P(Runs, PourFailureTest, testing::ValuesIn(kFailures),
                         [](const testing::TestParamInfo<FailureCase>& row) { return std::string(row.param.name); });

} // namespace
} // namespace lirobel::vsqx
