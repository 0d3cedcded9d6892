// SPDX-License-Identifier: GPL-3.0-or-later
// Phonetic items made from the Chinese lyrics that a song's notes already carry, a note at a time.
#pragma once

#include "core/vsqx/note_lyrics.h"

#include <QList>
#include <QString>

namespace lirobel::vsqx {

/// What a note takes when the pour reads its own lyric.
struct NoteItem {
    enum class Kind {
        Item,       ///< the note takes `item`
        Held,       ///< its lyric is "-": it stays as it is
        NotHanzi,   ///< its lyric is not one hanzi (kana, Latin, "a", empty, several characters): it stays
        NoReading,  ///< its hanzi has no reading by the chosen rule: it stays
        NoPhonetic, ///< its reading has no phonetic item: it stays
    };
    Kind kind = Kind::NotHanzi;
    QString syllable; ///< the reading, when there is one
    QString item;     ///< the item without its "|", the marker included, when kind is Item
};

/// How many notes took an item, and how many of each other kind stayed as they were.
struct NoteItemCounts {
    int items = 0;
    int held = 0;
    int notHanzi = 0;
    int noReading = 0;
    int noPhonetic = 0;
};

/// What a song's notes take, a note for a note, and the counts.
struct SongItems {
    QList<NoteItem> notes;
    NoteItemCounts counts;
    QString problem; ///< empty when the items were made
};

/// The items of a whole song at once, a note for a note. A note whose lyric (spaces around it aside) is one
/// hanzi takes the phonetic item of its reading. With byWords the hanzi of each part are read together, in
/// order, by the word reader, so that a word sung over several notes keeps its reading (长大 is zhang da);
/// otherwise each takes the syllable of the fixed GB2312 rule. Fails, with the reader's problem, only when
/// byWords and the word reader cannot work.
SongItems ItemsFromLyrics(const QList<NoteLyric>& notes, bool byWords);

/// The note's hanzi when its lyric is one, as UTF-16 (one or two code units), or an empty string.
QString SingleHanzi(const QString& lyric);

/// Why a note stays as it is, in English ("held", "not one hanzi", "no reading", "no phonetic item for
/// 'shei'"), or the item it takes.
QString NoteItemText(const NoteItem& note);

} // namespace lirobel::vsqx
