// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/command.h"
#include "cli/text_io.h"
#include "core/vpr/project_lyrics.h"
#include "core/vsqx/file_lines.h"
#include "core/vsqx/note_lyrics.h"
#include "core/vsqx/pour_texts.h"
#include "core/vsqx/vsqx_recognition.h"

namespace lirobel::cli {

int RunLyrics(const Invocation& invocation, CliContext& context) {
    const std::optional<QByteArray> bytes = ReadInputBytes(invocation.Input(0), context);
    if (!bytes)
        return kExitFailure;
    const std::optional<vsqx::SongLyrics> read =
        vsqx::IsVsqxFile(*bytes, vsqx::CountFileLines(*bytes, vsqx::kLinesJudged)) ? vsqx::ReadVsqxLyrics(*bytes)
                                                                                   : vpr::ReadProjectLyrics(*bytes);
    if (!read)
        return Fail(context, vsqx::kNotVsqxText, kExitNotVsqx);
    if (!read->problem.isEmpty())
        return Fail(context, read->problem);
    const vsqx::SongLyrics& song = *read;
    // A part a line, its notes' lyrics run together, as lyrics are written: the readers take it as it is.
    QString text;
    for (qsizetype k = 0; k < song.notes.size(); ++k) {
        const vsqx::NotePlace& place = song.notes[k].place;
        if (k > 0 && (place.track != song.notes[k - 1].place.track || place.part != song.notes[k - 1].place.part))
            text += u'\n';
        text += song.notes[k].lyric;
    }
    return WriteResult(text, context);
}

} // namespace lirobel::cli
