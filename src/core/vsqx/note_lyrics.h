// SPDX-License-Identifier: GPL-3.0-or-later
// The lyrics that a song's notes carry, read in the order in which a pour gives the notes their items.
#pragma once

#include <QByteArrayView>
#include <QList>
#include <QString>

namespace lirobel::vsqx {

/// Where a note stands in its song.
struct NotePlace {
    int track = 0; ///< from 1, the singing tracks in file order
    int part = 0;  ///< from 1, within the track
    int note = 0;  ///< from 1, within the part
    qint64 tick = 0;
    QString bar; ///< "bar:beat" (bars from 1 after the pre-measures, beats from 1), or empty when the file
                 ///< gives no time signature
};

/// A note's place and its lyric as text, XML references and CDATA sections resolved.
struct NoteLyric {
    NotePlace place;
    QString lyric;
    bool held = false; ///< the lyric is "-": the note holds the one before it
};

/// The notes of a song file and its lyrics, or why they could not be read.
struct SongLyrics {
    QList<NoteLyric> notes;
    QString problem; ///< empty when the notes were read
};

/// The notes of a VSQX file's bytes in pour order, with their lyrics. A file of the fourth version (root
/// "vsq4") has a note for every <note> element, its lyric in the first <y>; any other file has a note for
/// every <phnms> element, its lyric the last <lyric> before it, as the version-3 pour counts them. Comments,
/// CDATA sections and processing instructions are passed over whole. A note's tick is its part's start plus
/// its own; bar and beat come from the master track's resolution, pre-measures and time signatures.
SongLyrics ReadVsqxLyrics(QByteArrayView fileBytes);

/// "track.part.note" and, when known, " bar:beat" after it, or the tick: "1.2.7 5:3", "1.1.1 tick 7680".
QString PlaceText(const NotePlace& place);

} // namespace lirobel::vsqx
