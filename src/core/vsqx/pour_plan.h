// SPDX-License-Identifier: GPL-3.0-or-later
// What a pour would write into each note, for the user to see before anything is written.
#pragma once

#include "core/vsqx/items_from_lyrics.h"
#include "core/vsqx/note_lyrics.h"
#include "core/vsqx/pour_run.h"

#include <QList>
#include <QStringView>

namespace lirobel::vsqx {

/// The notes as a counted pour gives them items: the n-th item of the phonetic string to the n-th note,
/// held notes passed over with skipHeld, as PutPhoneticToVSQX and PutPhoneticToVSQX4 do.
QList<PlannedNote> PlanCountedPour(const QList<NoteLyric>& notes, QStringView phonetic, bool skipHeld);

/// The notes as a pour from their own lyrics gives them items (ItemsFromLyrics).
QList<PlannedNote> PlanPourFromNotes(const QList<NoteLyric>& notes, const SongItems& items);

/// One line a note: place, lyric and item (or why none), tab-separated, and a fourth field "!" on a note
/// where lyrics and items disagree in kind. Every line ends with LF.
QString PlanText(const QList<PlannedNote>& plan);

} // namespace lirobel::vsqx
