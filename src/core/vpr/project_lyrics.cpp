// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/vpr/project_lyrics.h"

#include "core/vpr/project_archive.h"
#include "core/vpr/rewrite_project.h"
#include "core/vpr/sequence_json.h"

#include <algorithm>

namespace lirobel::vpr {

namespace {

qint64 Number(QByteArrayView json, Span span) {
    return span.Found() ? json.sliced(span.start, span.end - span.start).toLongLong() : 0;
}

} // namespace

QString JsonStringText(QByteArrayView quoted) {
    if (quoted.size() < 2)
        return {};
    const QByteArrayView inside = quoted.sliced(1, quoted.size() - 2);
    if (!inside.contains('\\'))
        return QString::fromUtf8(inside);
    QString text;
    qsizetype plain = 0; // where the bytes not yet taken begin
    for (qsizetype at = inside.indexOf('\\'); at >= 0; at = inside.indexOf('\\', plain)) {
        text += QString::fromUtf8(inside.sliced(plain, at - plain));
        const char escape = at + 1 < inside.size() ? inside[at + 1] : '\\';
        plain = at + 2;
        switch (escape) {
        case 'b':
            text += u'\b';
            break;
        case 'f':
            text += u'\f';
            break;
        case 'n':
            text += u'\n';
            break;
        case 'r':
            text += u'\r';
            break;
        case 't':
            text += u'\t';
            break;
        case 'u': {
            bool ok = false;
            const ushort unit = inside.sliced(at + 2, std::min<qsizetype>(4, inside.size() - at - 2)).toUShort(&ok, 16);
            text += ok ? QChar(unit) : QChar(QChar::ReplacementCharacter);
            plain = std::min(at + 6, inside.size());
            break;
        }
        default: // '"', '\\' and '/' stand for themselves
            text += QLatin1Char(escape);
        }
    }
    return text + QString::fromUtf8(inside.sliced(std::min(plain, inside.size())));
}

std::optional<vsqx::SongLyrics> ReadProjectLyrics(QByteArrayView file) {
    ProjectArchive archive(file);
    QByteArray json;
    SequenceScan scan;
    const std::optional<QString> problem = OpenSequence(archive, json, scan);
    if (!problem)
        return std::nullopt;
    vsqx::SongLyrics song;
    song.problem = *problem;
    if (!problem->isEmpty())
        return song;
    song.notes.reserve(static_cast<qsizetype>(scan.notes.size()));
    int previousTrack = 0;
    int previousPart = 0;
    int note = 0;
    for (const NoteSpans& spans : scan.notes) {
        if (spans.track != previousTrack || spans.part != previousPart)
            note = 0, previousTrack = spans.track, previousPart = spans.part;
        vsqx::NoteLyric lyric;
        lyric.place = {spans.track, spans.part, ++note, Number(json, spans.partPos) + Number(json, spans.pos), {}};
        if (spans.lyric.Found())
            lyric.lyric = JsonStringText(json.sliced(spans.lyric.start, spans.lyric.end - spans.lyric.start));
        lyric.held = lyric.lyric == u"-";
        song.notes.append(std::move(lyric));
    }
    return song;
}

} // namespace lirobel::vpr
