// SPDX-License-Identifier: GPL-3.0-or-later
// .vpr projects in the layouts of the editors of versions 5 and 6, built byte by byte, for tests and
// benchmarks; and a reader of the raw records of a ZIP archive, to compare archives with.
#pragma once

#include <QByteArray>
#include <optional>
#include <vector>

namespace lirobel::test {

enum class VprLayout {
    /// "Project\sequence.json" first, then two audio files; every entry deflated as stored blocks; every
    /// note with "exp", "singingSkill" and "vibrato"; one track without parts; an audio track.
    Version5,
    /// "Project/sequence.json" stored, a "Project/Audio/" folder entry and an audio file; notes with "langID"
    /// and "aiExp", some without "exp"; an audio track and an AI singing track (type 2).
    Version6,
};

/// What a pour reads or writes of a note; the rest of the note follows from its place.
struct VprNote {
    QByteArray lyric;   ///< as JSON string content
    QByteArray phoneme; ///< as JSON string content
    bool isProtected = false;
    std::optional<int> opening; ///< exp.opening; a note without it has no "exp" at all
    bool phonemePositions = false;
};

/// `count` notes as an editor of the layout writes them: every fourth one held ("-"); in version 5 all with
/// opening 127; in version 6 every other one without "exp" and every third one with "phonemePositions".
std::vector<VprNote> GenerateVprNotes(VprLayout layout, int count);

/// The compact sequence JSON holding the notes in order, split evenly over `singingParts` parts (version 5:
/// of the first track; version 6: of the first track and the AI track, in turn).
QByteArray GenerateSequence(VprLayout layout, const std::vector<VprNote>& notes, int singingParts = 2);

/// The project archive holding the sequence, with the layout's other entries.
QByteArray GenerateVpr(VprLayout layout, const QByteArray& sequence);
/// The project archive of `count` notes as GenerateVprNotes makes them, in two parts.
QByteArray GenerateVpr(VprLayout layout, int count);

/// One entry of a ZIP archive to make.
struct ZipEntry {
    QByteArray name;
    QByteArray content;
    int method = 8;          ///< 0 stored, 8 deflated as stored blocks
    bool compressed = false; ///< deflated really, at the best level, as an archiver packs it
};

/// A ZIP archive of the entries in order: no data descriptors, extra fields or comments. A name that ends
/// with "/" makes a folder entry.
QByteArray MakeZip(const std::vector<ZipEntry>& entries);

/// An entry as the archive holds it: its local header and data, as they lie in the file.
struct ZipRecord {
    QByteArray name;
    int method = 0;
    QByteArray record;  ///< the local header with name, and the compressed data
    QByteArray content; ///< the data uncompressed
};

/// The records of the archive in file order, read by walking the local headers from the start.
std::vector<ZipRecord> ZipRecords(const QByteArray& archive);

} // namespace lirobel::test
