// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/phonetic/pinyin_to_phonetic.h"
#include "core/pinyin/chinese_words_to_pinyin.h"
#include "core/vpr/pour_song.h"
#include "core/vpr/project_lyrics.h"
#include "support/song_with_lyrics.h"
#include "support/test_files.h"
#include "support/vpr_generator.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtEndian>
#include <gtest/gtest.h>

namespace lirobel::vpr {
namespace {

using Kind = vsqx::PourOutcome::Kind;
using test::SongFormat;
using test::VprLayout;
using test::VprNote;

QStringList Lyrics(const QByteArray& song) {
    const std::optional<vsqx::SongLyrics> read = ReadProjectLyrics(song);
    const vsqx::SongLyrics lyrics = read ? *read : vsqx::ReadVsqxLyrics(song);
    QStringList texts;
    for (const vsqx::NoteLyric& note : lyrics.notes)
        texts.append(note.lyric);
    return texts;
}

vsqx::PourOutcome Pour(const QString& path, QStringView phonetic, vsqx::PourOptions options) {
    vsqx::PourProgress quiet;
    return PourPhoneticIntoSong(path, phonetic, quiet, options);
}

class PourFromNotesTest : public testing::TestWithParam<SongFormat> {};

// With a hanzi on every note, the items made from the notes are the items of the pasted lyrics.
TEST_P(PourFromNotesTest, EqualsTheCountedPourOfTheSameLyrics) {
    const QStringList lyrics = QStringLiteral("你 好 长 大 了").split(u' ');
    QTemporaryDir folder;
    const QString fromNotes =
        test::WriteFile(folder.filePath(QStringLiteral("a")), test::SongWithLyrics(GetParam(), lyrics));
    const QString counted =
        test::WriteFile(folder.filePath(QStringLiteral("b")), test::SongWithLyrics(GetParam(), lyrics));
    ASSERT_EQ(Lyrics(test::ReadFile(fromNotes)), lyrics);

    vsqx::PourOptions options;
    options.fromNotes = options.byWords = true;
    const vsqx::PourOutcome outcome = Pour(fromNotes, {}, options);
    ASSERT_EQ(outcome.kind, Kind::Completed) << outcome.cause.toStdString();
    EXPECT_EQ(outcome.notesWritten, 5);
    const QString phonetic = phonetic::PinYinToPhonetic(pinyin::ChineseWordsToPinYin(lyrics.join(QString())));
    ASSERT_EQ(Pour(counted, phonetic, {}).kind, Kind::Completed);
    EXPECT_EQ(test::ReadFile(fromNotes), test::ReadFile(counted));
}

// Notes of every other kind stay as they are and are counted, and so listed by a dry run.
TEST_P(PourFromNotesTest, LeavesAndCountsTheNotesWithoutAnItem) {
    const QStringList lyrics = QStringLiteral("你 - la 琪 好 你好").split(u' ');
    QTemporaryDir folder;
    const QString path =
        test::WriteFile(folder.filePath(QStringLiteral("song")), test::SongWithLyrics(GetParam(), lyrics));

    vsqx::PourOptions options;
    options.fromNotes = options.dryRun = options.list = true;
    const vsqx::PourOutcome preview = Pour(path, {}, options);
    ASSERT_EQ(preview.kind, Kind::Completed) << preview.cause.toStdString();
    QStringList items;
    for (const vsqx::PlannedNote& note : preview.plan)
        items.append(note.item + (note.odd ? QStringLiteral("!") : QString()));
    EXPECT_EQ(items.join(u'|'), u"J i|(held)|(not one hanzi)|(no reading)!|h a o|(not one hanzi)");

    options.dryRun = options.list = false;
    const vsqx::PourOutcome outcome = Pour(path, {}, options);
    ASSERT_EQ(outcome.kind, Kind::Completed) << outcome.cause.toStdString();
    EXPECT_EQ(outcome.notesWritten, 2);
    EXPECT_EQ(outcome.kept.held, 1);
    EXPECT_EQ(outcome.kept.notHanzi, 2);
    EXPECT_EQ(outcome.kept.noReading, 1);
    EXPECT_EQ(Lyrics(test::ReadFile(path)).join(u' '), u"a - la 琪 a 你好");

    // A song in which no note takes an item is refused, as a phonetic string without items is.
    const QByteArray kana = test::SongWithLyrics(GetParam(), QStringLiteral("か -").split(u' '));
    test::WriteFile(path, kana);
    EXPECT_EQ(Pour(path, {}, options).kind, Kind::Failed);
    EXPECT_EQ(test::ReadFile(path), kana);
}

INSTANTIATE_TEST_SUITE_P(Formats, PourFromNotesTest,
                         testing::Values(SongFormat::Vsqx3, SongFormat::Vsqx4, SongFormat::Vpr5, SongFormat::Vpr6));

TEST(JsonStringText, ResolvesEscapes) {
    EXPECT_EQ(JsonStringText(R"("a\"b\\c\/d\u4F60\uD840\uDC00\n")"), QString::fromUtf16(u"a\"b\\c/d你𠀀\n"));
    EXPECT_EQ(JsonStringText(R"("好")"), QStringLiteral("好"));
}

constexpr const char16_t* kItems[] = {u"J i", u"p\\ M", u"h a o[-OPE]", u"k a", u"ts o N\\", u"4 M j[-OPE]"};

QString Items(int count) {
    QString items;
    for (int at = 0; at < count; ++at)
        items += QString::fromUtf16(kItems[at % 6]) + u'|';
    return items;
}

// The notes as the pour is to leave them.
std::vector<VprNote> Poured(std::vector<VprNote> notes, int items, bool skipHeld) {
    int item = 0;
    for (VprNote& note : notes) {
        if ((skipHeld && note.lyric == "-") || item == items)
            continue;
        QByteArray phoneme = QString::fromUtf16(kItems[item++ % 6]).toUtf8().replace("\\", "\\\\");
        if (phoneme.endsWith("[-OPE]")) {
            phoneme.chop(6);
            note.opening = 0;
        }
        note = {"a", phoneme, true, note.opening, note.phonemePositions && phoneme == note.phoneme};
    }
    return notes;
}

struct LayoutCase {
    VprLayout layout;
    bool skipHeld;
    int items;
    int notes = 14;
    bool repacked = false; ///< every entry deflated at the best level by an archiver, not as the editor writes

    friend void PrintTo(const LayoutCase& row, std::ostream* os) {
        *os << (row.layout == VprLayout::Version5 ? "version 5" : "version 6") << (row.skipHeld ? ", held skipped" : "")
            << (row.repacked ? ", repacked" : "") << ", " << row.items << " items";
    }
};

class ProjectPourTest : public testing::TestWithParam<LayoutCase> {};

// Stored blocks stay stored blocks (over 64 KiB, more than one), and a compressed sequence is compressed
// again, with the flags that the packer gave it.
TEST_P(ProjectPourTest, ChangesTheNotesAndKeepsEveryOtherByte) {
    const LayoutCase& row = GetParam();
    const std::vector<VprNote> notes = test::GenerateVprNotes(row.layout, row.notes);
    QByteArray original = test::GenerateVpr(row.layout, test::GenerateSequence(row.layout, notes));
    if (row.repacked) {
        std::vector<test::ZipEntry> entries;
        for (const test::ZipRecord& record : test::ZipRecords(original))
            entries.push_back({record.name, record.content, 8, true});
        original = test::MakeZip(entries);
    }
    QTemporaryDir folder;
    const QString path = test::WriteFile(folder.filePath(QStringLiteral("song.vpr")), original);
    const QString items = Items(row.items);

    vsqx::PourOptions options;
    options.skipHeld = row.skipHeld;
    options.dryRun = true;
    const vsqx::PourOutcome dry = Pour(path, items, options);
    EXPECT_EQ(test::ReadFile(path), original);
    options.dryRun = false;
    const vsqx::PourOutcome outcome = Pour(path, items, options);
    ASSERT_EQ(outcome.kind, Kind::Completed) << outcome.cause.toStdString();
    const int held = row.skipHeld ? row.notes / 4 : 0;
    const int written = std::min(row.items, row.notes - held);
    const auto counts = [](const vsqx::PourOutcome& run) {
        return std::tuple(run.notesWritten, run.heldSkipped, run.notesFound, run.itemsLeft, run.notesLeft);
    };
    EXPECT_EQ(counts(outcome), std::tuple(written, held, row.notes, row.items - written, row.notes - held - written));
    EXPECT_EQ(counts(dry), counts(outcome));

    const QByteArray poured = test::ReadFile(path);
    const std::vector<test::ZipRecord> before = test::ZipRecords(original);
    const std::vector<test::ZipRecord> after = test::ZipRecords(poured);
    ASSERT_EQ(after.size(), before.size());
    EXPECT_EQ(after[0].name, before[0].name);
    EXPECT_EQ(after[0].method, before[0].method);
    EXPECT_EQ(after[0].record.mid(6, 2), before[0].record.mid(6, 2)); // the general purpose flags
    EXPECT_EQ(qFromLittleEndian<quint32>(after[0].record.constData() + 18) < after[0].content.size() / 2, row.repacked);
    EXPECT_EQ(after[0].content.toStdString(),
              test::GenerateSequence(row.layout, Poured(notes, row.items, row.skipHeld)).toStdString());
    for (size_t at = 1; at < before.size(); ++at)
        EXPECT_EQ(after[at].record, before[at].record) << before[at].name.toStdString();
    EXPECT_EQ(test::Entries(folder.path()), QStringList{QStringLiteral("song.vpr")});

    ASSERT_EQ(Pour(path, items, options).kind, Kind::Completed);
    EXPECT_EQ(test::ReadFile(path), poured);
}

INSTANTIATE_TEST_SUITE_P(Layouts, ProjectPourTest,
                         testing::Values(LayoutCase{VprLayout::Version5, false, 420, 400},
                                         LayoutCase{VprLayout::Version5, true, 9},
                                         LayoutCase{VprLayout::Version5, false, 20, 400, true},
                                         LayoutCase{VprLayout::Version6, false, 14},
                                         LayoutCase{VprLayout::Version6, true, 6}));

QByteArray WithSequence(const QByteArray& sequence) {
    return test::MakeZip({{"Project\\sequence.json", sequence}, {"Project\\Audio\\a.wav", "RIFF"}});
}

QByteArray BadCrc() {
    QByteArray archive = WithSequence(R"({"tracks":[]})");
    archive[archive.indexOf("tracks")] = 'T';
    return archive;
}

struct FailureCase {
    const char* name;
    QByteArray file;
    Kind kind;
    const char* cause;
    const char16_t* items = u"k a|";

    friend void PrintTo(const FailureCase& row, std::ostream* os) { *os << row.name; }
};

class ProjectFailureTest : public testing::TestWithParam<FailureCase> {};

TEST_P(ProjectFailureTest, LeavesTheFileAsItWas) {
    const FailureCase& row = GetParam();
    QTemporaryDir folder;
    const QString path = test::WriteFile(folder.filePath(QStringLiteral("song.vpr")), row.file);
    const vsqx::PourOutcome outcome = Pour(path, row.items, {});
    EXPECT_EQ(outcome.kind, row.kind);
    EXPECT_TRUE(outcome.cause.contains(QLatin1StringView(row.cause))) << outcome.cause.toStdString();
    EXPECT_EQ(test::ReadFile(path), row.file);
    EXPECT_EQ(test::Entries(folder.path()), QStringList{QStringLiteral("song.vpr")});
}

const QByteArray kNote = R"({"tracks":[{"parts":[{"notes":[{"lyric":"la","phoneme":"l a"}]}]}]})";

using enum Kind;

const FailureCase kFailures[] = {
    {"notZip", "{\"tracks\":[]}", NotVsqx, ""},
    {"noSequence", test::MakeZip({{"Project/song.json", kNote}}), NotVsqx, ""},
    {"sequenceAsFolder", test::MakeZip({{"Project/sequence.json/", {}, 0}}), NotVsqx, ""},
    {"noTracks", WithSequence(R"({"title":"x"})"), NotVsqx, ""},
    {"bothSpellings", test::MakeZip({{"Project\\sequence.json", kNote}, {"Project/sequence.json", kNote, 0}}), Failed,
     "both"},
    {"badJson", WithSequence(R"({"tracks":[})"), Failed, "is not valid JSON: "},
    {"truncated", test::GenerateVpr(VprLayout::Version5, kNote).chopped(10), Failed, "ZIP archive that cannot be read"},
    {"badCrc", BadCrc(), Failed, "cannot read \"Project\\sequence.json\""},
    {"noteWithoutPhoneme", WithSequence(R"({"tracks":[{"parts":[{"notes":[{}]}]}]})"), Failed, "no phoneme"},
    {"controlCharacter", WithSequence(kNote), Failed, "U+000A", u"k\na|"},
};

INSTANTIATE_TEST_SUITE_P(Files, ProjectFailureTest, testing::ValuesIn(kFailures));

} // namespace
} // namespace lirobel::vpr
