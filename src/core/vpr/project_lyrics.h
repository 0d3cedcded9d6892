// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/vsqx/note_lyrics.h"

#include <QByteArrayView>
#include <QString>
#include <optional>

namespace lirobel::vpr {

/// The notes of a .vpr project in pour order (the notes PutPhoneticToSequence writes), with their lyrics
/// and places; the tick is the part's "pos" plus the note's, and no bar is given. Nothing when the file is
/// not a project; SongLyrics::problem says why a project cannot be read.
std::optional<vsqx::SongLyrics> ReadProjectLyrics(QByteArrayView file);

/// The text of a JSON string, its quotes included; escapes resolved, "\u" surrogate pairs joined.
QString JsonStringText(QByteArrayView quoted);

} // namespace lirobel::vpr
