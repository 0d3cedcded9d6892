// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/phonetic/pinyin_to_phonetic.h"
#include "core/pinyin/chinese_words_to_pinyin.h"
#include "core/vpr/pour_song.h"
#include "core/vpr/project_lyrics.h"
#include "support/song_with_lyrics.h"
#include "support/test_files.h"

#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace lirobel::vpr {
namespace {

using test::SongFormat;

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
    ASSERT_EQ(outcome.kind, vsqx::PourOutcome::Kind::Completed) << outcome.cause.toStdString();
    EXPECT_EQ(outcome.notesWritten, 5);
    const QString phonetic = phonetic::PinYinToPhonetic(pinyin::ChineseWordsToPinYin(lyrics.join(QString())));
    ASSERT_EQ(Pour(counted, phonetic, {}).kind, vsqx::PourOutcome::Kind::Completed);
    EXPECT_EQ(test::ReadFile(fromNotes), test::ReadFile(counted));
}

// Notes of every other kind stay as they are and are counted; a dry run with its list writes nothing.
TEST_P(PourFromNotesTest, LeavesAndCountsTheNotesWithoutAnItem) {
    const QStringList lyrics = QStringLiteral("你 - la 琪 好 你好").split(u' ');
    QTemporaryDir folder;
    const QString path =
        test::WriteFile(folder.filePath(QStringLiteral("song")), test::SongWithLyrics(GetParam(), lyrics));
    const QByteArray before = test::ReadFile(path);
    const QDateTime modified = QFileInfo(path).lastModified();

    vsqx::PourOptions options;
    options.fromNotes = options.dryRun = options.list = true;
    const vsqx::PourOutcome preview = Pour(path, {}, options);
    ASSERT_EQ(preview.kind, vsqx::PourOutcome::Kind::Completed) << preview.cause.toStdString();
    EXPECT_EQ(test::ReadFile(path), before);
    EXPECT_EQ(QFileInfo(path).lastModified(), modified);
    QStringList items;
    for (const vsqx::PlannedNote& note : preview.plan)
        items.append(note.item + (note.odd ? QStringLiteral("!") : QString()));
    EXPECT_EQ(items.join(u'|'), u"J i|(held)|(not one hanzi)|(no reading)!|h a o|(not one hanzi)");

    options.dryRun = options.list = false;
    const vsqx::PourOutcome outcome = Pour(path, {}, options);
    ASSERT_EQ(outcome.kind, vsqx::PourOutcome::Kind::Completed) << outcome.cause.toStdString();
    EXPECT_EQ(outcome.notesWritten, 2);
    EXPECT_EQ(outcome.kept.held, 1);
    EXPECT_EQ(outcome.kept.notHanzi, 2);
    EXPECT_EQ(outcome.kept.noReading, 1);
    EXPECT_EQ(Lyrics(test::ReadFile(path)).join(u' '), u"a - la 琪 a 你好");
}

INSTANTIATE_TEST_SUITE_P(Formats, PourFromNotesTest,
                         testing::Values(SongFormat::Vsqx3, SongFormat::Vsqx4, SongFormat::Vpr5, SongFormat::Vpr6));

TEST(JsonStringText, ResolvesEscapes) {
    EXPECT_EQ(JsonStringText(R"("a\"b\\c\/d\u4F60\uD840\uDC00\n")"), QString::fromUtf16(u"a\"b\\c/d你𠀀\n"));
    EXPECT_EQ(JsonStringText(R"("好")"), QStringLiteral("好"));
}

} // namespace
} // namespace lirobel::vpr
