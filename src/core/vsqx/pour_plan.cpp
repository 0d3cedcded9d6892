// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/vsqx/pour_plan.h"

#include "core/vsqx/phonetic_items.h"

#include <algorithm>

namespace lirobel::vsqx {

namespace {

// A lyric in Latin letters, other than the "a" that new notes and poured ones carry: an item landing there
// most likely belongs to another note.
bool IsLatinLyric(const QString& lyric) {
    if (lyric.isEmpty() || lyric == u"a")
        return false;
    return std::all_of(lyric.begin(), lyric.end(),
                       [](QChar c) { return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z'); });
}

PlannedNote Planned(const NoteLyric& note) {
    PlannedNote planned;
    planned.place = note.place;
    planned.lyric = note.lyric;
    return planned;
}

} // namespace

QList<PlannedNote> PlanCountedPour(const QList<NoteLyric>& notes, QStringView phonetic, bool skipHeld) {
    QList<PlannedNote> plan;
    plan.reserve(notes.size());
    PhoneticItems items(phonetic);
    QStringView item = items.Next();
    for (const NoteLyric& note : notes) {
        PlannedNote planned = Planned(note);
        if (skipHeld && note.held) {
            planned.item = QStringLiteral("(held)");
        } else if (item.isEmpty()) {
            planned.item = QStringLiteral("(no item left)");
            planned.odd = !SingleHanzi(note.lyric).isEmpty();
        } else {
            planned.takesItem = true;
            planned.item = item.toString();
            planned.odd = note.held || IsLatinLyric(note.lyric);
            item = items.Next();
        }
        plan.append(std::move(planned));
    }
    return plan;
}

QList<PlannedNote> PlanPourFromNotes(const QList<NoteLyric>& notes, const SongItems& items) {
    QList<PlannedNote> plan;
    plan.reserve(notes.size());
    for (qsizetype k = 0; k < notes.size(); ++k) {
        PlannedNote planned = Planned(notes[k]);
        const NoteItem& item = items.notes[k];
        planned.takesItem = item.kind == NoteItem::Kind::Item;
        planned.item = NoteItemText(item);
        planned.odd = item.kind == NoteItem::Kind::NoReading || item.kind == NoteItem::Kind::NoPhonetic;
        plan.append(std::move(planned));
    }
    return plan;
}

QString PlanText(const QList<PlannedNote>& plan) {
    QString text;
    for (const PlannedNote& note : plan) {
        text += PlaceText(note.place) + u'\t' + note.lyric + u'\t' + note.item;
        text += note.odd ? QStringLiteral("\t!\n") : QStringLiteral("\n");
    }
    return text;
}

} // namespace lirobel::vsqx
