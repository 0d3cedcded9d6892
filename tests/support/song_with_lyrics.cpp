// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/song_with_lyrics.h"

#include "support/vpr_generator.h"
#include "support/vsqx_generator.h"

namespace lirobel::test {

QByteArray SongWithLyrics(SongFormat format, const QStringList& lyrics) {
    const int count = static_cast<int>(lyrics.size());
    if (format == SongFormat::Vpr5 || format == SongFormat::Vpr6) {
        const VprLayout layout = format == SongFormat::Vpr5 ? VprLayout::Version5 : VprLayout::Version6;
        std::vector<VprNote> notes = GenerateVprNotes(layout, count);
        for (int k = 0; k < count; ++k)
            notes[static_cast<size_t>(k)].lyric = lyrics[k].toUtf8();
        return GenerateVpr(layout, GenerateSequence(layout, notes));
    }
    const int version = format == SongFormat::Vsqx4 ? 4 : 3;
    QByteArray song = GenerateVsqx({.notesPerPart = count, .version = version});
    const QByteArray open = version == 4 ? "<y><![CDATA[" : "<lyric><![CDATA[";
    qsizetype at = 0;
    for (const QString& lyric : lyrics) {
        at = song.indexOf(open, at) + open.size();
        const qsizetype end = song.indexOf("]]>", at);
        song.replace(at, end - at, lyric.toUtf8());
    }
    return song;
}

} // namespace lirobel::test
