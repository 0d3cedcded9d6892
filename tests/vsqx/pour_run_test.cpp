// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/test_files.h"
#include "vsqx/file_lines.h"
#include "vsqx/pour_run.h"
#include "vsqx/pour_texts.h"
#include "vsqx/put_phonetic_to_vsqx.h"
#include "vsqx_generator.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

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

TEST(PourPhoneticIntoFile, RewritesTheFileAsOneLineEndedByCrLf) {
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("song.vsqx"));
    QByteArray joined = test::GenerateVsqx({});
    WriteFile(path, joined);
    JoinFileLines(joined);
    RecordingProgress progress;
    const PourOutcome outcome = PourPhoneticIntoFile(path, u"J i|h a o[-OPE]|", progress);
    ASSERT_EQ(outcome.kind, Kind::Completed) << outcome.cause.toStdString();
    EXPECT_EQ(outcome.notesWritten, 2);
    EXPECT_EQ(outcome.notesLeft, 1);
    EXPECT_EQ(outcome.itemsLeft, 0);
    const QByteArray rewritten = ReadFile(path);
    EXPECT_EQ(rewritten, PutPhoneticToVSQX(joined, u"J i|h a o[-OPE]|").text + "\r\n");
    EXPECT_EQ(rewritten.count("<lyric><![CDATA[a]]></lyric>"), 2);
    EXPECT_EQ(rewritten.count("<attr id=\"opening\">0</attr>"), 1);
    EXPECT_EQ(Entries(folder), QStringList{QStringLiteral("song.vsqx")});

    // The rewritten file passes the one-line rule; an empty phonetic string still rewrites it.
    EXPECT_EQ(PourPhoneticIntoFile(path, u"", progress).kind, Kind::Completed);
    EXPECT_EQ(ReadFile(path), rewritten);
}

TEST(PourPhoneticIntoFile, ReportsProgressAsTheWriterWindowShowsIt) {
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("song.vsqx"));
    const QByteArray file = test::GenerateVsqx({1, 1, 300});
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
    EXPECT_GE(progress.yields, 4); // about 200 KB read and scanned, in 64 KiB steps
}

enum class Target { File, MissingFile, MissingFolder, Folder, EmptyPath };

struct FailureCase {
    const char* name;
    Target target;
    QByteArray content;
    QString phonetic;
    bool failingWrite;
    Kind kind;

    friend void PrintTo(const FailureCase& row, std::ostream* os) { *os << row.name; }
};

class PourFailureTest : public testing::TestWithParam<FailureCase> {};

TEST_P(PourFailureTest, LeavesTheFileAsItWas) {
    const FailureCase& row = GetParam();
    QTemporaryDir folder;
    const QString file = folder.filePath(QStringLiteral("song.vsqx"));
    if (row.target == Target::File)
        WriteFile(file, row.content);
    const QString paths[] = {file, file, folder.filePath(QStringLiteral("none/song.vsqx")), folder.path(), {}};
    PourOptions options;
    if (row.failingWrite)
        options.write = [](QIODevice& device, QByteArrayView bytes) {
            device.write(bytes.data(), bytes.size() / 2);
            return false;
        };
    RecordingProgress progress;
    const PourOutcome outcome =
        PourPhoneticIntoFile(paths[static_cast<int>(row.target)], row.phonetic, progress, options);
    EXPECT_EQ(outcome.kind, row.kind);
    EXPECT_EQ(outcome.cause.isEmpty(), row.kind != Kind::Failed);
    // Nothing shows before the file has passed the vendor test.
    EXPECT_EQ(progress.events.isEmpty(), row.kind != Kind::Failed || row.target != Target::File);
    if (row.target == Target::File) {
        EXPECT_EQ(ReadFile(file), row.content);
        EXPECT_EQ(Entries(folder), QStringList{QStringLiteral("song.vsqx")});
    } else {
        EXPECT_TRUE(Entries(folder).isEmpty());
    }
}

QByteArray WithoutOpeningAttributes() {
    return test::GenerateVsqx({}).replace("\"opening\"", "\"closing\"");
}

// Fails after more than one piece has gone to the temporary file.
QByteArray WithTheLastPhonemesUnclosed() {
    QByteArray file = test::GenerateVsqx({1, 1, 1000});
    return file.replace(file.lastIndexOf("</phnms>"), 8, "</phnm>");
}

INSTANTIATE_TEST_SUITE_P(
    Runs, PourFailureTest,
    testing::Values(FailureCase{"twoLines", Target::File, "a\r\nb", QStringLiteral("J i|"), false, Kind::NotVsqx},
                    FailureCase{"emptyFile", Target::File, "", QStringLiteral("J i|"), false, Kind::NotVsqx},
                    FailureCase{"missingFile", Target::MissingFile, "", QStringLiteral("J i|"), false, Kind::NotFound},
                    FailureCase{"emptyPath", Target::EmptyPath, "", QStringLiteral("J i|"), false, Kind::NotFound},
                    FailureCase{"missingFolder", Target::MissingFolder, "", QStringLiteral("J i|"), false,
                                Kind::Failed},
                    FailureCase{"folder", Target::Folder, "", QStringLiteral("J i|"), false, Kind::Failed},
                    FailureCase{"rewriteFails", Target::File, WithoutOpeningAttributes(), QStringLiteral("J i[-OPE]|"),
                                false, Kind::Failed},
                    FailureCase{"writeFailsMidway", Target::File, test::GenerateVsqx({}), QStringLiteral("J i|"), true,
                                Kind::Failed},
                    FailureCase{"lateRewriteFailure", Target::File, WithTheLastPhonemesUnclosed(),
                                test::GeneratePhonetic(1000), false, Kind::Failed}),
    [](const testing::TestParamInfo<FailureCase>& row) { return std::string(row.param.name); });

TEST(PourPhoneticIntoFile, FullDiskLeavesTheFileWhole) {
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("song.vsqx"));
    const QByteArray original = test::GenerateVsqx({1, 1, 1000});
    QByteArray joined = original;
    JoinFileLines(joined);
    const QString phonetic = test::GeneratePhonetic(1000);
    const qsizetype rewrittenSize = PutPhoneticToVSQX(joined, phonetic).text.size() + 2;
    // The disk fills up midway, and one byte short of the end, where a buffered write would hide it.
    for (const qsizetype room : {rewrittenSize / 2, rewrittenSize - 1}) {
        WriteFile(path, original);
        PourOutcome outcome;
        {
            const test::FileSizeLimit fullDisk(static_cast<rlim_t>(room));
            PourProgress quiet;
            outcome = PourPhoneticIntoFile(path, phonetic, quiet);
        }
        EXPECT_EQ(outcome.kind, Kind::Failed) << room;
        EXPECT_EQ(ReadFile(path), original) << room;
        EXPECT_EQ(Entries(folder), QStringList{QStringLiteral("song.vsqx")});
    }
}

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

} // namespace
} // namespace lirobel::vsqx
