// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/vsqx/items_from_lyrics.h"
#include "support/case_file.h"

#include <gtest/gtest.h>

namespace lirobel::vsqx {
namespace {

// A row of items_from_lyrics_cases.tsv, whose head says what each field holds.
class ItemsFromLyricsTest : public testing::TestWithParam<QByteArrayList> {};

TEST_P(ItemsFromLyricsTest, GivesEachNoteItsItemOrWhyNot) {
    const QByteArrayList& row = GetParam();
    QList<NoteLyric> notes;
    int part = 1;
    for (const QByteArray& lyric : row[2].split(',')) {
        if (lyric == "|") {
            ++part;
            continue;
        }
        notes.append({{1, part, static_cast<int>(notes.size()) + 1, 0, {}}, QString::fromUtf8(lyric), lyric == "-"});
    }
    const SongItems song = ItemsFromLyrics(notes, row[1] == "1");
    ASSERT_TRUE(song.problem.isEmpty()) << song.problem.toStdString();
    QStringList got;
    for (const NoteItem& note : song.notes)
        got.append(NoteItemText(note));
    EXPECT_EQ(got.join(u','), QString::fromUtf8(row[3]));
    const NoteItemCounts& counts = song.counts;
    EXPECT_EQ(QStringLiteral("%1 %2 %3 %4 %5")
                  .arg(counts.items)
                  .arg(counts.held)
                  .arg(counts.notHanzi)
                  .arg(counts.noReading)
                  .arg(counts.noPhonetic)
                  .toUtf8(),
              row[4]);
}

INSTANTIATE_TEST_SUITE_P(Songs, ItemsFromLyricsTest,
                         testing::ValuesIn(test::ReadCaseFile(LIROBEL_TEST_DATA "/items_from_lyrics_cases.tsv")),
                         [](const testing::TestParamInfo<QByteArrayList>& row) { return row.param[0].toStdString(); });

} // namespace
} // namespace lirobel::vsqx
