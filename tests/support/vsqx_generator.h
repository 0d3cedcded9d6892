// SPDX-License-Identifier: GPL-3.0-or-later
// VSQX files in the editor's layout, and phonetic strings to pour into them, for tests and benchmarks.
#pragma once

#include <QByteArray>
#include <QString>

namespace lirobel::test {

enum class LineEnds {
    CrLf, ///< as the editor writes them: the vendor line is the fifth line, after a tab
    Lf,   ///< one line for the pour-in, with the vendor line 4 bytes too far on
    None, ///< one line with the vendor line at characters 256 to 302, as a rewritten file
};

struct VsqxShape {
    int tracks = 1;
    int partsPerTrack = 1;
    int notesPerPart = 3;
    LineEnds lineEnds = LineEnds::CrLf;
    int version = 3; ///< 3, or 4 for the fourth version's root "vsq4" and its short tags
};

/// A sequence file: XML declaration, root element with its namespaces, vendor line, voice table, mixer,
/// master track, then the tracks with their parts. Note k (from 0, across all parts) sings the kana
/// NoteLyric(k) with phonemes of its kana, and its note style holds <attr id="opening">127</attr>, or
/// in the fourth version <y>, <p> and <v id="opening">127</v>.
QByteArray GenerateVsqx(const VsqxShape& shape);

QString NoteLyric(int note);

/// A phonetic string of the given number of items, every third one with the OPE marker.
QString GeneratePhonetic(int items);

} // namespace lirobel::test
