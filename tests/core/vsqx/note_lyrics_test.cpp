// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/vsqx/note_lyrics.h"
#include "core/vsqx/put_phonetic_to_vsqx.h"
#include "core/vsqx/put_phonetic_to_vsqx4.h"
#include "support/case_file.h"
#include "support/vsqx_generator.h"

#include <gtest/gtest.h>

namespace lirobel::vsqx {
namespace {

// A master track in 4/4 from the first measure, then 3/4 from the sixth (bar 2 after 4 pre-measures).
QByteArray WithTimeSignatures(QByteArray file, int version) {
    const QByteArray signatures = version == 4
                                      ? "<timeSig><m>0</m><nu>4</nu><de>4</de></timeSig>"
                                        "<timeSig><m>5</m><nu>3</nu><de>4</de></timeSig>"
                                      : "<timeSig><posMes>0</posMes><nume>4</nume><denomi>4</denomi></timeSig>"
                                        "<timeSig><posMes>5</posMes><nume>3</nume><denomi>4</denomi></timeSig>";
    return file.replace("<tempo>", signatures + "<tempo>");
}

class GeneratedSongTest : public testing::TestWithParam<int> {};

TEST_P(GeneratedSongTest, ReadsEveryNoteInPourOrderWithItsPlace) {
    const int version = GetParam();
    const QByteArray file = WithTimeSignatures(
        test::GenerateVsqx({.tracks = 2, .partsPerTrack = 2, .notesPerPart = 6, .version = version}), version);
    const SongLyrics song = ReadVsqxLyrics(file);
    ASSERT_TRUE(song.problem.isEmpty());
    ASSERT_EQ(song.notes.size(), 24);
    // The pour counts the same notes.
    const PhoneticRewrite pour = version == 4 ? PutPhoneticToVSQX4(file, u"") : PutPhoneticToVSQX(file, u"");
    EXPECT_EQ(pour.notesFound, song.notes.size());
    for (int k = 0; k < 24; ++k)
        EXPECT_EQ(song.notes[k].lyric, test::NoteLyric(k));
    // Places run by track, part and note; bar 1 of 4/4 holds four beats, bar 2 is in 3/4.
    QStringList places;
    for (const int k : {0, 3, 4, 11, 23})
        places.append(PlaceText(song.notes[k].place) + QStringLiteral(" at %1").arg(song.notes[k].place.tick));
    EXPECT_EQ(places.join(u','), u"1.1.1 1:1 at 7680,1.1.4 1:4 at 9120,1.1.5 2:1 at 9600,1.2.6 2:2 at 10080,"
                                 u"2.2.6 2:2 at 10080");
    // Without a time signature, the place is the tick.
    EXPECT_EQ(PlaceText(ReadVsqxLyrics(test::GenerateVsqx({.version = version})).notes.value(2).place),
              QStringLiteral("1.1.3 tick 8640"));
}

INSTANTIATE_TEST_SUITE_P(Versions, GeneratedSongTest, testing::Values(3, 4));

// A row of lyric_cases.tsv, whose head says what each field holds, and the version.
class LyricTextTest : public testing::TestWithParam<std::tuple<QByteArrayList, int>> {};

TEST_P(LyricTextTest, ResolvesCdataAndReferences) {
    const auto& [row, version] = GetParam();
    const QByteArray tag = version == 4 ? "y" : "lyric";
    QByteArray file = test::GenerateVsqx({.version = version});
    const QByteArray first = "<" + tag + "><![CDATA[" + test::NoteLyric(0).toUtf8() + "]]></" + tag + ">";
    ASSERT_TRUE(file.contains(first));
    file.replace(file.indexOf(first), first.size(), "<" + tag + ">" + row[1] + "</" + tag + ">");
    const SongLyrics song = ReadVsqxLyrics(file);
    ASSERT_EQ(song.notes.size(), 3);
    EXPECT_EQ(song.notes[0].lyric, QString::fromUtf8(row[2]));
    EXPECT_EQ(song.notes[0].held, row[3] == "1");
    EXPECT_EQ(song.notes[1].lyric, test::NoteLyric(1));
}

INSTANTIATE_TEST_SUITE_P(Contents, LyricTextTest,
                         testing::Combine(testing::ValuesIn(test::ReadCaseFile(LIROBEL_TEST_DATA "/lyric_cases.tsv")),
                                          testing::Values(3, 4)));

} // namespace
} // namespace lirobel::vsqx
