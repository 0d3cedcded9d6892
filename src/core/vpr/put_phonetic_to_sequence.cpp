// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/vpr/put_phonetic_to_sequence.h"

#include "core/vsqx/phonetic_items.h"
#include "core/vsqx/rewrite_note_p.h"
#include "core/vsqx/rewrite_tally_p.h"

#include <QByteArray>
#include <algorithm>
#include <array>

namespace lirobel::vpr {

namespace {

using vsqx::PhoneticRewrite;

constexpr QByteArrayView kWrittenLyric = "\"a\"";
constexpr QByteArrayView kHeldLyric = "\"-\"";
constexpr QByteArrayView kProtected = "true";
constexpr QByteArrayView kAddedProtection = ",\"isProtected\":true";
constexpr QByteArrayView kClosedOpening = "0";
constexpr QByteArrayView kAddedExp = ",\"exp\":{\"opening\":0}";
constexpr QByteArrayView kExpWithClosedOpening = "{\"opening\":0}";
constexpr QByteArrayView kFirstClosedOpening = "\"opening\":0,";
constexpr QByteArrayView kOnlyClosedOpening = "\"opening\":0";

QByteArray JsonString(QStringView text) {
    const QByteArray utf8 = text.toUtf8();
    QByteArray quoted;
    quoted.reserve(utf8.size() + 2);
    quoted.append('"');
    for (const char c : utf8) {
        if (c == '"' || c == '\\')
            quoted.append('\\');
        quoted.append(c);
    }
    return quoted.append('"');
}

// A replacement of the text's bytes [start, end) (an insertion where they are equal).
struct Edit {
    qsizetype start = 0;
    qsizetype end = 0;
    QByteArrayView text;
};

class SequenceRewriter : vsqx::RewriteTally {
public:
    SequenceRewriter(QByteArrayView json, const SequenceScan& scan, QStringView phonetic,
                     const vsqx::RewriteOptions& options)
        : RewriteTally(phonetic, options), m_json(json), m_scan(scan), m_phonetic(phonetic), m_items(phonetic),
          m_options(options) {}

    PhoneticRewrite Run() {
        if (QString cause = UnwritableJsonItemCause(m_phonetic); !cause.isEmpty()) {
            Fail(std::move(cause));
            return Failure();
        }
        m_out.reserve(m_json.size() + m_json.size() / 8 + m_phonetic.size() * 3 + 64);
        m_item = m_items.Next();
        int number = 0;
        for (const NoteSpans& note : m_scan.notes)
            if (!TakeItem(note, ++number))
                return Failure();
        m_out.append(m_json.sliced(m_copied));
        return Done(std::move(m_out));
    }

private:
    QByteArrayView Text(Span span) const { return m_json.sliced(span.start, span.end - span.start); }

    bool TakeItem(const NoteSpans& note, int number) {
        if (m_noteItems)
            m_item = NextNoteItem();
        if (m_options.skipHeld && note.lyric.Found() && Text(note.lyric) == kHeldLyric) {
            ++m_heldSkipped;
            return true;
        }
        if (m_item.isEmpty()) {
            ++m_notesLeft;
            return true;
        }
        if (!note.phoneme.Found())
            return Fail(QStringLiteral("note %1 has no phoneme to take item %2").arg(number).arg(m_notesWritten + 1));
        const vsqx::MarkedItem item = vsqx::SplitOpeMarker(m_item);
        const QByteArray phoneme = JsonString(item.phonemes);
        // The edits go out in text order; an insertion goes before a removal that starts where it is.
        std::array<Edit, 5> edits;
        size_t count = 0;
        const auto add = [&](Edit edit) {
            size_t at = count++;
            for (; at > 0 && (edits[at - 1].start > edit.start ||
                              (edits[at - 1].start == edit.start && edits[at - 1].end > edit.end));
                 --at)
                edits[at] = edits[at - 1];
            edits[at] = edit;
        };
        if (note.lyric.Found())
            add({note.lyric.start, note.lyric.end, kWrittenLyric});
        add({note.phoneme.start, note.phoneme.end, phoneme});
        add(note.isProtected.Found() ? Edit{note.isProtected.start, note.isProtected.end, kProtected}
                                     : Edit{note.phoneme.end, note.phoneme.end, kAddedProtection});
        if (item.marked)
            add(ClosedOpening(note));
        if (note.phonemePositions.Found() && Text(note.phoneme) != phoneme)
            add({note.phonemePositions.start, note.phonemePositions.end, {}});
        for (size_t at = 0; at < count; ++at) {
            m_out.append(m_json.sliced(m_copied, edits[at].start - m_copied)).append(edits[at].text);
            m_copied = edits[at].end;
        }
        ++m_notesWritten;
        m_item = m_items.Next();
        return true;
    }

    static Edit ClosedOpening(const NoteSpans& note) {
        if (note.opening.Found())
            return {note.opening.start, note.opening.end, kClosedOpening};
        if (note.expInside >= 0)
            return {note.expInside, note.expInside, note.expEmpty ? kOnlyClosedOpening : kFirstClosedOpening};
        if (note.exp.Found())
            return {note.exp.start, note.exp.end, kExpWithClosedOpening};
        const qsizetype at = note.velocity.Found() ? note.velocity.end : note.lastValueEnd;
        return {at, at, kAddedExp};
    }

    QByteArrayView m_json;
    const SequenceScan& m_scan;
    QStringView m_phonetic;
    vsqx::PhoneticItems m_items;
    QStringView m_item; ///< the item for the next note
    const vsqx::RewriteOptions& m_options;
    QByteArray m_out;
    qsizetype m_copied = 0;
};

} // namespace

QString UnwritableJsonItemCause(QStringView phonetic) {
    vsqx::PhoneticItems items(phonetic);
    int number = 1;
    for (QStringView item = items.Next(); !item.isEmpty(); item = items.Next(), ++number) {
        const auto control = std::find_if(item.begin(), item.end(), [](QChar c) { return c.unicode() < 0x20; });
        if (control != item.end())
            return QStringLiteral("item %1 holds U+%2, a control character")
                .arg(number)
                .arg(QString::number(control->unicode(), 16).toUpper().rightJustified(4, u'0'));
    }
    return {};
}

vsqx::PhoneticRewrite PutPhoneticToSequence(QByteArrayView json, const SequenceScan& scan, QStringView phonetic,
                                            const vsqx::RewriteOptions& options) {
    return SequenceRewriter(json, scan, phonetic, options).Run();
}

} // namespace lirobel::vpr
