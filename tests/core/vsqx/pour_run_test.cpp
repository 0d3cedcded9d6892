// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/vsqx/file_lines.h"
#include "core/vsqx/pour_run.h"
#include "core/vsqx/pour_texts.h"
#include "core/vsqx/put_phonetic_to_vsqx4.h"
#include "support/case_file.h"
#include "support/test_files.h"
#include "support/vsqx_generator.h"

#include <QCryptographicHash>
#include <QDir>
#include <QTemporaryDir>
#include <cerrno>
#include <functional>
#include <gtest/gtest.h>
#include <map>
#include <tuple>

namespace lirobel::vsqx {
namespace {

using Kind = PourOutcome::Kind;
using test::ReadFile;
using test::WriteFile;

// Records what the writer window would show; acts once, as another program would, when the run reaches
// the state `when` (the null state: when it starts).
class RecordingProgress : public PourProgress {
public:
    bool Shown() const override { return true; }
    void Start() override {
        events << QStringLiteral("start");
        Reached({});
    }
    void SetMaximum(double maximum) override { events << QStringLiteral("maximum %1").arg(maximum); }
    void SetValue(double value) override { values.push_back(value); }
    void SetState(QStringView state) override {
        events << state.toString();
        Reached(state);
    }
    void Yield() override { ++yields; }

    QStringList events;
    std::vector<double> values;
    int yields = 0;
    QStringView when;
    std::function<void()> action;

private:
    void Reached(QStringView state) {
        if (action && state == when)
            std::exchange(action, {})();
    }
};

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

// The names in a folder, each with its file's permission bits, modification time and a checksum of its
// bytes (of its size, for a large file).
QStringList Snapshot(const QString& folder) {
    QStringList names;
    const auto filter = QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot;
    for (const QFileInfo& entry : QDir(folder).entryInfoList(filter, QDir::Name)) {
        const QByteArray bytes = entry.size() < 1 << 20 ? ReadFile(entry.filePath()) : QByteArray::number(entry.size());
        names << QStringList{entry.fileName(), QString::number(entry.permissions().toInt()),
                             QString::number(entry.lastModified().toMSecsSinceEpoch()),
                             QString::fromLatin1(QCryptographicHash::hash(bytes, QCryptographicHash::Sha1).toHex())}
                     .join(u' ');
    }
    return names;
}

// Moves the folder "songs" of the root to "moved", and puts a link to "elsewhere" in its place.
void SwapTheFolder(const QString& root) {
    ASSERT_TRUE(QDir(root).rename(QStringLiteral("songs"), QStringLiteral("moved")));
    ASSERT_TRUE(QFile::link(root + QStringLiteral("/elsewhere"), root + QStringLiteral("/songs")));
}

// The songs that rows of pour_failure_cases.tsv name.
QMap<QByteArray, QByteArray> CaseSongs() {
    const QByteArray song = test::GenerateVsqx({});
    const QByteArray part = "<partName><![CDATA[Part 1]]></partName>";
    QByteArray unclosed = test::GenerateVsqx({1, 1, 1000});
    unclosed.replace(unclosed.lastIndexOf("</phnms>"), 8, "</phnm>");
    return {{"SONG3", song},
            {"SONG4", test::GenerateVsqx({.version = 4})},
            {"PART", part},
            {"BEFORE_PART", song.first(song.indexOf(part))},
            {"AFTER_PART", song.sliced(song.indexOf(part) + part.size())},
            {"NO_OPENING", QByteArray(song).replace("\"opening\"", "\"closing\"")},
            {"LAST_PHONEMES_UNCLOSED", unclosed},
            {"ITEMS1000", test::GeneratePhonetic(1000).toUtf8()}};
}

// A row of pour_failure_cases.tsv, whose head says what each field holds.
class PourFailureTest : public testing::TestWithParam<QByteArrayList> {};

TEST_P(PourFailureTest, LeavesTheSongAsItWas) {
    const QByteArrayList& row = GetParam();
    const QByteArray& target = row[1];
    QTemporaryDir root;
    ASSERT_TRUE(QDir(root.path()).mkdir(QStringLiteral("songs")) &&
                QDir(root.path()).mkdir(QStringLiteral("elsewhere")));
    const QString folder = root.filePath(QStringLiteral("songs"));
    const QString file = folder + QStringLiteral("/song.vsqx");
    const QString inMissingFolder = folder + QStringLiteral("/none/song.vsqx");
    const QString loop = folder + QStringLiteral("/loop.vsqx");
    if (target == "file" || target == "fileOf2GiB") {
        WriteFile(file, row[2]);
        test::SetModificationTime(file, 1'600'000'000);
    }
    if (target == "fileOf2GiB") { // sparse: it takes no room on the disk
        ASSERT_EQ(::truncate(QFile::encodeName(file).constData(), off_t{1} << 31), 0);
    }
    if (target == "linkToAReadOnlyFile") { // that file is judged before anything else, and keeps its mode
        WriteFile(loop, "setting=1\n");
        ASSERT_TRUE(QFile::setPermissions(loop, QFile::ReadOwner | QFile::ReadGroup));
    }
    if (target.startsWith("link")) {
        ASSERT_TRUE(QFile::link(target == "linkToMissingFile"       ? folder + QStringLiteral("/other.vsqx")
                                : target == "linkIntoMissingFolder" ? inMissingFolder
                                                                    : loop,
                                file));
    }
    ASSERT_TRUE(target != "linkLoop" || QFile::link(file, loop));
    const QString path = target == "missingFolder" ? inMissingFolder
                         : target == "folder"      ? folder
                         : target == "emptyPath"   ? QString()
                                                   : file;
    const QString moved = root.filePath(QStringLiteral("moved"));
    const auto folderNow = [&] { return QFileInfo::exists(moved) ? moved : folder; };
    QStringList before = Snapshot(folder);
    const std::map<QByteArray, std::function<void()>> changes{
        {"swapFolder", [&] { SwapTheFolder(root.path()); }},
        {"saveByRename",
         [&] {
             const QByteArray saved = QFile::encodeName(WriteFile(folder + QStringLiteral("/new"), "saved"));
             ASSERT_EQ(::rename(saved.constData(), QFile::encodeName(file).constData()), 0);
         }},
        {"append",
         [&] {
             QFile song(file);
             ASSERT_TRUE(song.open(QIODevice::Append) && song.write("\r\n") == 2);
         }},
        {"touch", [&] { test::SetModificationTime(file, 1'700'000'000); }},
    };
    RecordingProgress progress;
    if (const auto change = changes.find(row.value(7)); change != changes.end()) {
        progress.when = row[8] == "processing" ? kProcessingState : row[8] == "exporting" ? kExportingState : u"";
        progress.action = [&, change] {
            change->second();
            before = Snapshot(folderNow()).mid(0, 1); // the song, which the unfinished file follows by name
        };
    }
    PourOptions options;
    if (row.value(7) == "diskTakesHalf")
        options.write = [](int to, const void* bytes, size_t size) { return ::write(to, bytes, size / 2); };
    if (row.value(7) == "diskFull")
        options.write = [](int, const void*, size_t) {
            errno = ENOSPC;
            return ssize_t{-1};
        };
    const PourOutcome outcome = PourPhoneticIntoFile(path, QString::fromUtf8(row[3]), progress, options);
    const char* const kinds[] = {"Completed", "NotVsqx", "NotFound", "Failed"};
    EXPECT_EQ(QByteArray(kinds[static_cast<int>(outcome.kind)]), row[4]);
    EXPECT_EQ(outcome.cause.isEmpty(), row[4] != "Failed");
    EXPECT_TRUE(outcome.cause.contains(QString::fromUtf8(row[5]))) << outcome.cause.toStdString();
    // Nothing shows before the file has passed the vendor test and the items have been judged.
    EXPECT_EQ(!progress.events.isEmpty(), row[6] == "1");
    EXPECT_EQ(Snapshot(folderNow()), before);
    EXPECT_EQ(test::Entries(root.filePath(QStringLiteral("elsewhere"))), QStringList());
}

INSTANTIATE_TEST_SUITE_P(Runs, PourFailureTest,
                         testing::ValuesIn(test::ReadCaseFile(LIROBEL_TEST_DATA "/pour_failure_cases.tsv",
                                                              CaseSongs())),
                         [](const testing::TestParamInfo<QByteArrayList>& row) { return row.param[0].toStdString(); });

} // namespace
} // namespace lirobel::vsqx
