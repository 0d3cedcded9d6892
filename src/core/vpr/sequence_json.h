// SPDX-License-Identifier: GPL-3.0-or-later
// Where the notes of a .vpr project's sequence lie in its JSON text, found without parsing it into a model,
// so that a pour can edit their values in place and leave every other byte as it was.
#pragma once

#include <QByteArrayView>
#include <QString>
#include <vector>

namespace lirobel::vpr {

/// A piece of the text by byte offsets, [start, end); start is -1 when the text has no such piece.
struct Span {
    qsizetype start = -1;
    qsizetype end = -1;

    bool Found() const { return start >= 0; }
};

/// The values of one note that a pour reads or edits, each a value's span (a string's quotes included).
struct NoteSpans {
    Span lyric;
    Span phoneme;
    Span isProtected;
    Span velocity;
    Span exp;
    Span opening;               ///< exp.opening, when exp is an object that holds it
    qsizetype expInside = -1;   ///< just after the "{" of exp, when exp is an object
    bool expEmpty = false;      ///< whether that object has no member
    Span phonemePositions;      ///< the whole member with one comma beside it: what removing it takes out
    qsizetype lastValueEnd = 0; ///< the end of the note's last member's value (its "{" + 1 when it has none)
    Span pos;                   ///< the note's start within its part
    int track = 0;              ///< from 1, the track's place in "tracks"
    int part = 0;               ///< from 1, the part's place in its track's "parts"
    Span partPos;               ///< the part's start, when the part has one
};

/// What ScanSequence found.
struct SequenceScan {
    bool valid = false;     ///< whether the text is JSON (RFC 8259), a byte-order mark before it allowed
    QString failure;        ///< why it is not, in English with the byte offset, when not valid
    bool hasTracks = false; ///< whether it is an object with a "tracks" array
    /// The notes of the singing tracks (any "type" but 1), in order: tracks, their "parts", their "notes".
    /// Elements that are not of the expected kind (a part that is not an object, say) hold no notes.
    std::vector<NoteSpans> notes;
};

/// Checks the whole text and finds the notes of its tracks. When a key occurs twice in an object, the first
/// counts.
SequenceScan ScanSequence(QByteArrayView json);

} // namespace lirobel::vpr
