// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/vsqx/items_from_lyrics.h"

#include <gtest/gtest.h>

namespace lirobel::vsqx {
namespace {

using Kind = NoteItem::Kind;

// Notes of one part (or of two, after a "|" in the list), with the lyrics given.
QList<NoteLyric> Notes(std::initializer_list<const char16_t*> lyrics) {
    QList<NoteLyric> notes;
    int part = 1;
    for (const char16_t* lyric : lyrics) {
        if (QStringView(lyric) == u"|") {
            ++part;
            continue;
        }
        NoteLyric note;
        note.place = {1, part, static_cast<int>(notes.size()) + 1, 0, {}};
        note.lyric = QString::fromUtf16(lyric);
        note.held = note.lyric == u"-";
        notes.append(note);
    }
    return notes;
}

struct Case {
    const char* name;
    bool byWords;
    std::initializer_list<const char16_t*> lyrics;
    QStringList expected; // the item, or the reason a note stays, a note for a note

    friend void PrintTo(const Case& row, std::ostream* os) { *os << row.name; }
};

class ItemsFromLyricsTest : public testing::TestWithParam<Case> {};

TEST_P(ItemsFromLyricsTest, GivesEachNoteItsItemOrWhyNot) {
    const Case& row = GetParam();
    const SongItems song = ItemsFromLyrics(Notes(row.lyrics), row.byWords);
    ASSERT_TRUE(song.problem.isEmpty()) << song.problem.toStdString();
    QStringList got;
    for (const NoteItem& note : song.notes)
        got.append(NoteItemText(note));
    EXPECT_EQ(got, row.expected);
}

const Case kCases[] = {
    {"FixedRule",
     false,
     {u"你", u" 好 ", u"-", u"a", u"你好", u"", u"か"},
     {"J i", "h a o", "(held)", "(not one hanzi)", "(not one hanzi)", "(not one hanzi)", "(not one hanzi)"}},
    // 长 alone reads chang; the word 长大 reads zhang, also across a held note.
    {"FixedRuleReadsAlone", false, {u"长", u"大"}, {"tS a N", "d a"}},
    {"WordsAcrossNotes", true, {u"长", u"-", u"大"}, {"dZ a a N", "(held)", "d a"}},
    // Parts are read apart: a word does not reach from one part into the next.
    {"WordsStayInTheirPart", true, {u"长", u"|", u"大"}, {"tS a N", "d a"}},
    {"TraditionalByWords", true, {u"還", u"有"}, {"h a e", "j o w"}},
    {"RareOnlyByWords", false, {u"琪"}, {"(no reading)"}},
};

INSTANTIATE_TEST_SUITE_P(Songs, ItemsFromLyricsTest, testing::ValuesIn(kCases),
                         [](const auto& row) { return std::string(row.param.name); });

TEST(ItemsFromLyricsTest, CountsEachKind) {
    const SongItems song = ItemsFromLyrics(Notes({u"你", u"-", u"a", u"琪", u"好"}), false);
    EXPECT_EQ(song.counts.items, 2);
    EXPECT_EQ(song.counts.held, 1);
    EXPECT_EQ(song.counts.notHanzi, 1);
    EXPECT_EQ(song.counts.noReading, 1);
    EXPECT_EQ(song.counts.noPhonetic, 0);
}

} // namespace
} // namespace lirobel::vsqx
