// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/vsqx/put_phonetic_to_vsqx4.h"

#include "core/vsqx/phonetic_items.h"
#include "core/vsqx/pour_progress.h"
#include "core/vsqx/rewrite_note_p.h"
#include "core/vsqx/rewrite_output_p.h"
#include "core/vsqx/rewrite_tally_p.h"
#include "core/vsqx/xml_markup_p.h"

#include <array>

namespace lirobel::vsqx {

namespace {

using Kind = Markup::Kind;

constexpr QByteArrayView kNoteName = "note";
constexpr QByteArrayView kLyricName = "y";
constexpr QByteArrayView kPhonemesName = "p";
constexpr QByteArrayView kStyleName = "nStyle";
constexpr QByteArrayView kValueName = "v";
constexpr QByteArrayView kLockedPhonemesStart = "<p lock=\"1\"><![CDATA[";
constexpr QByteArrayView kPhonemesEnd = "</p>";
// What the walks stop at, by the first bytes of the names: between notes, only a note's start; in a
// note, the starts of the note, its style and the elements it edits, and the ends of the note and style.
// A note's style holds many values, and only a marked item needs its opening value: the others pass them.
constexpr QByteArrayView kBetweenNotes = "n";
constexpr QByteArrayView kNoteStarts = "nypv";
constexpr QByteArrayView kNoteStartsButValues = "nyp";
constexpr QByteArrayView kNoteEnds = "n";
static_assert(kNoteName[0] == 'n' && kStyleName[0] == 'n' && kLyricName[0] == 'y' && kPhonemesName[0] == 'p' &&
              kValueName[0] == 'v');

// An element in a note, by offsets in the file: its start tag is [start, contentStart) and its end tag
// [contentEnd, end). An element without content ("<y/>") has all three at the end of its one tag.
struct Element {
    QByteArrayView name;
    qsizetype start = -1;
    qsizetype contentStart = 0;
    qsizetype contentEnd = 0;
    qsizetype end = 0;

    bool Found() const { return start >= 0; }
    bool HasEndTag() const { return contentEnd < end; }
};

struct Note {
    qsizetype start = 0;
    qsizetype end = 0;
    Element lyric{kLyricName};
    Element phonemes{kPhonemesName};
    Element opening{kValueName};
};

// One rewrite: the file's bytes go to the output as they are but for the edits in the notes, which are
// made once a note has been read whole; m_copied is how far the bytes have gone.
class Rewriter4 : RewriteTally {
public:
    Rewriter4(QByteArrayView file, QStringView phonetic, const RewriteHooks& hooks, const RewriteOptions& options)
        : RewriteTally(phonetic, options), m_file(file), m_items(phonetic), m_hooks(hooks), m_options(options),
          m_out(hooks, file.size() + file.size() / 8 + phonetic.size() * 3 + 64) {}

    PhoneticRewrite Run() {
        m_item = m_items.Next();
        qsizetype nextYield = kYieldBytes;
        for (Markup markup = NextMarkupAmong(m_file, 0, kBetweenNotes, {}); markup.kind != Kind::None;) {
            if (!markup.Is(Kind::StartTag, kNoteName)) {
                markup = NextMarkupAmong(m_file, markup.next, kBetweenNotes, {});
                continue;
            }
            if (m_hooks.yield && markup.start >= nextYield) {
                m_hooks.yield();
                nextYield = markup.start + kYieldBytes;
            }
            Note note;
            if (m_noteItems)
                m_item = NextNoteItem();
            ++m_notesFound;
            if (!ReadNote(markup, note) || !TakeItem(note))
                return Failure();
            markup = NextMarkupAmong(m_file, note.end, kBetweenNotes, {});
        }
        if (!CopyTo(m_file.size()) || !m_out.Deliver(true)) {
            Fail(RewriteOutput::WriteRefused());
            return Failure();
        }
        return Done(m_out.TakeText());
    }

private:
    bool NoteUnclosed(const Note& note) {
        return Fail(QStringLiteral("note %1 (its <note> at byte %2) has no </note>").arg(m_notesFound).arg(note.start));
    }

    bool ElementUnclosed(QByteArrayView name) {
        return Fail(QStringLiteral("<%1> in note %2 is not closed before the note ends")
                        .arg(QString::fromLatin1(name))
                        .arg(m_notesFound));
    }

    // Finds the note's elements and its end. Only the first lyric, phonemes element and opening value
    // count; what lies inside them is passed over.
    bool ReadNote(const Markup& noteTag, Note& note) {
        note.start = noteTag.start;
        const qsizetype tagEnd = TagEnd(m_file, noteTag.next);
        if (tagEnd < 0)
            return NoteUnclosed(note);
        if (IsSelfClosing(m_file, tagEnd)) {
            note.end = tagEnd;
            return true;
        }
        bool inStyle = false;
        const QByteArrayView starts = SplitOpeMarker(m_item).marked ? kNoteStarts : kNoteStartsButValues;
        for (Markup markup = NextMarkupAmong(m_file, tagEnd, starts, kNoteEnds);;) {
            if (markup.kind == Kind::None)
                return NoteUnclosed(note);
            if (markup.Is(Kind::StartTag, kNoteName))
                return Fail(QStringLiteral("note %1 (its <note> at byte %2) holds another <note> at byte %3: notes "
                                           "cannot be nested")
                                .arg(m_notesFound)
                                .arg(note.start)
                                .arg(markup.start));
            if (markup.Is(Kind::EndTag, kNoteName)) {
                note.end = TagEnd(m_file, markup.next);
                return note.end >= 0 || NoteUnclosed(note);
            }
            if (SameName(markup.name, kStyleName))
                inStyle = markup.kind == Kind::StartTag && !IsSelfClosing(m_file, TagEnd(m_file, markup.next));
            Element* wanted = nullptr;
            if (markup.kind == Kind::StartTag) {
                if (SameName(markup.name, kLyricName) && !note.lyric.Found())
                    wanted = &note.lyric;
                else if (SameName(markup.name, kPhonemesName) && !note.phonemes.Found())
                    wanted = &note.phonemes;
                else if (SameName(markup.name, kValueName) && inStyle && !note.opening.Found() && IsOpening(markup))
                    wanted = &note.opening;
            }
            if (!wanted) {
                markup = NextMarkupAmong(m_file, markup.next, starts, kNoteEnds);
                continue;
            }
            if (!ReadElement(markup, *wanted))
                return false;
            markup = NextMarkupAmong(m_file, wanted->end, starts, kNoteEnds);
        }
    }

    bool IsOpening(const Markup& tag) const { return HasAttribute(m_file, tag.next, "id", "opening"); }

    bool ReadElement(const Markup& tag, Element& element) {
        const qsizetype tagEnd = TagEnd(m_file, tag.next);
        if (tagEnd < 0)
            return ElementUnclosed(element.name);
        element.start = tag.start;
        element.contentStart = tagEnd;
        if (IsSelfClosing(m_file, tagEnd)) {
            element.contentEnd = element.end = tagEnd;
            return true;
        }
        for (Markup markup = NextMarkup(m_file, tagEnd); markup.kind != Kind::None;
             markup = NextMarkup(m_file, markup.next)) {
            if (SameName(markup.name, kNoteName))
                break;
            if (markup.Is(Kind::EndTag, element.name)) {
                element.contentEnd = markup.start;
                element.end = TagEnd(m_file, markup.next);
                return element.end >= 0 || ElementUnclosed(element.name);
            }
        }
        return ElementUnclosed(element.name);
    }

    bool TakeItem(const Note& note) {
        const Element& lyric = note.lyric;
        if (m_options.skipHeld && lyric.Found() &&
            IsHeldLyric(m_file.sliced(lyric.contentStart, lyric.contentEnd - lyric.contentStart))) {
            ++m_heldSkipped;
            return true;
        }
        if (m_item.isEmpty()) {
            ++m_notesLeft;
            return true;
        }
        if (!note.phonemes.Found())
            return Fail(
                QStringLiteral("note %1 has no <p> element to take item %2").arg(m_notesFound).arg(m_notesWritten + 1));
        const MarkedItem item = SplitOpeMarker(m_item);
        // The edits go out in the order of their elements, which a note may have in any order.
        std::array<const Element*, 3> edits{};
        size_t count = 0;
        for (const Element* element : {&note.lyric, &note.phonemes, item.marked ? &note.opening : nullptr}) {
            if (!element || !element->Found())
                continue;
            size_t at = count++;
            for (; at > 0 && edits[at - 1]->start > element->start; --at)
                edits[at] = edits[at - 1];
            edits[at] = element;
        }
        for (size_t at = 0; at < count; ++at) {
            const Element* edit = edits[at];
            const bool done = edit == &note.phonemes
                                  ? WritePhonemes(note.phonemes, item.phonemes)
                                  : WriteContent(*edit, edit == &lyric ? kWrittenLyric : kClosedOpening);
            if (!done)
                return Fail(RewriteOutput::WriteRefused());
        }
        ++m_notesWritten;
        m_item = m_items.Next();
        return true;
    }

    bool CopyTo(qsizetype offset) {
        const bool taken = m_out.Append(m_file.sliced(m_copied, offset - m_copied));
        m_copied = offset;
        return taken;
    }

    bool WriteContent(const Element& element, QByteArrayView content) {
        if (element.HasEndTag()) {
            const bool taken = CopyTo(element.contentStart) && m_out.Append(content);
            m_copied = element.contentEnd;
            return taken;
        }
        // "<name .../>" opens before its "/>" and gets an end tag.
        QByteArray& out = m_out.Buffer();
        if (!CopyTo(element.end - 2))
            return false;
        out.append('>').append(content).append("</").append(element.name).append('>');
        m_copied = element.end;
        return m_out.Deliver(false);
    }

    bool WritePhonemes(const Element& phonemes, QStringView item) {
        if (!CopyTo(phonemes.start))
            return false;
        QByteArray& out = m_out.Buffer();
        out.append(kLockedPhonemesStart);
        AppendItem(out, item);
        out.append(kPhonemesContentEnd).append(kPhonemesEnd);
        m_copied = phonemes.end;
        return m_out.Deliver(false);
    }

    QByteArrayView m_file;
    PhoneticItems m_items;
    QStringView m_item; ///< the item for the next note
    const RewriteHooks& m_hooks;
    const RewriteOptions& m_options;
    RewriteOutput m_out;
    qsizetype m_copied = 0;
    int m_notesFound = 0; ///< the <note> elements met so far, which name a note in a failure
};

} // namespace

PhoneticRewrite PutPhoneticToVSQX4(QByteArrayView fileBytes, QStringView phonetic, const RewriteHooks& hooks,
                                   const RewriteOptions& options) {
    return Rewriter4(fileBytes, phonetic, hooks, options).Run();
}

} // namespace lirobel::vsqx
