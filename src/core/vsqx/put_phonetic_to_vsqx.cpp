// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/vsqx/put_phonetic_to_vsqx.h"

#include "core/vsqx/hidden_tags_p.h"
#include "core/vsqx/phonetic_items.h"
#include "core/vsqx/pour_progress.h"
#include "core/vsqx/rewrite_note_p.h"
#include "core/vsqx/rewrite_output_p.h"
#include "core/vsqx/rewrite_tally_p.h"
#include "core/vsqx/scan_text_p.h"

#include <algorithm>
#include <deque>
#include <utility>

namespace lirobel::vsqx {

namespace {

constexpr QByteArrayView kLyricTag = "<lyric>";
constexpr QByteArrayView kLyricEnd = "</lyric>";
constexpr QByteArrayView kPhonemesTag = "<phnms>";
constexpr QByteArrayView kPhonemesTagWithAttributes = "<phnms ";
constexpr QByteArrayView kPhonemesEnd = "</phnms>";
constexpr QByteArrayView kOpeningTag = "<attr id=\"opening\">";
constexpr QByteArrayView kAttributeEnd = "</attr>";
// What follows "<phnms" in a written element, up to the item.
constexpr QByteArrayView kLockedPhonemesStart = " lock=\"1\"><![CDATA[";

// The counters are 16 bits wide: a closing tag must begin at most this far after its opening tag's
// first byte, which leaves the content 32759 bytes.
constexpr qsizetype kLastClosingOffset = 32766;
constexpr int kMostNotes = 32766;

constexpr qsizetype kPieceBytes = RewriteOutput::kPieceBytes;

// One rewrite: what has been scanned collects in m_out, which goes to the write hook piece by piece.
//
// A marked item sets the first opening attribute at or after its phoneme tag. When notes have none of their
// own, that attribute can lie far on and be the same one for many items: the opening tags found ahead of
// the scan are kept (m_openings), with how far the text has been searched for them (m_openingsKnown), so
// that no byte is searched twice. Both count bytes back from the end of m_rest, which the edits at the
// scan position (and the scan moving on) leave where they are; only the edit of an opening value moves
// what lies before it.
class Rewriter : RewriteTally {
public:
    Rewriter(QByteArrayView text, QStringView phonetic, const RewriteHooks& hooks, const RewriteOptions& options)
        : RewriteTally(phonetic, options), m_rest(text), m_openingsKnown(text.size()), m_items(phonetic),
          m_hooks(hooks), m_options(options),
          // Room for what the edits usually add, so that the output is seldom moved.
          m_out(hooks, text.size() + text.size() / 8 + phonetic.size() * 3 + 64) {}

    PhoneticRewrite Run() {
        m_item = m_items.Next();
        qsizetype nextYield = kYieldBytes;
        while (m_rest.Size() > 0) {
            if (m_hooks.yield && Scanned() >= nextYield) {
                m_hooks.yield();
                nextYield = Scanned() + kYieldBytes;
            }
            // A note to leave as it is passes as the notes after the last item do.
            if (m_noteItems)
                m_item = NextNoteItem();
            if (m_item.isEmpty()) {
                // The rewrite is over; the phoneme elements left are only counted, for the user to see
                // whether the lyrics and the notes matched.
                const qsizetype tagStart =
                    m_options.skipHeld ? m_rest.IndexOfAny({kLyricTag, kPhonemesTag, kPhonemesTagWithAttributes})
                                       : m_rest.IndexOfAny({kPhonemesTag, kPhonemesTagWithAttributes});
                if (tagStart < 0)
                    break;
                if (m_options.skipHeld && m_rest.HasAt(tagStart, kLyricTag)) {
                    const qsizetype end = CountedLyricEnd(tagStart);
                    m_heldNext = end >= 0 && LyricIsHeld(tagStart + kLyricTag.size(), end);
                } else {
                    ++(std::exchange(m_heldNext, false) ? m_heldSkipped : m_notesLeft);
                }
                if (!Emit(tagStart + 1))
                    return Failure();
                continue;
            }
            // Up to the next tag the scan changes nothing.
            const qsizetype tagStart = m_rest.IndexOfAny({kLyricTag, kPhonemesTag, kPhonemesTagWithAttributes});
            if (tagStart < 0)
                break;
            if (!Emit(tagStart) || !(m_rest.HasAt(0, kLyricTag) ? EditLyric()
                                     : m_heldNext               ? PassHeldPhonemes()
                                                                : EditPhonemes()))
                return Failure();
        }
        if (!Emit(m_rest.Size()) || !Deliver(true))
            return Failure();
        return Done(m_out.TakeText());
    }

private:
    qsizetype Scanned() const { return m_out.Size(); }

    bool Deliver(bool all) { return m_out.Deliver(all) || Fail(RewriteOutput::WriteRefused()); }

    // Moves count scanned bytes to the output, in pieces, so that the output stays small.
    bool Emit(qsizetype count) {
        while (count > 0) {
            const qsizetype piece = std::min(count, kPieceBytes);
            m_rest.MoveTo(m_out.Buffer(), piece);
            count -= piece;
            if (!Deliver(false))
                return false;
        }
        return true;
    }

    bool MissingClosingTag(QByteArrayView tag) {
        return Fail(QStringLiteral("\"%1\" is missing or more than 32759 bytes after its opening tag (note %2)")
                        .arg(QString::fromLatin1(tag))
                        .arg(m_notesWritten + 1));
    }

    // Where the "</lyric>" of the lyric tag at offset begins, or -1.
    qsizetype LyricEnd(qsizetype offset) const {
        return m_rest.IndexOf(kLyricEnd, offset + kLyricTag.size(), offset + kLastClosingOffset);
    }

    // LyricEnd once the items are written: nothing is edited any more, so the "</lyric>" found stays where
    // it is, counted back from the end, and serves every lyric tag before it. No byte is searched twice,
    // however many unclosed lyric tags a text holds.
    qsizetype CountedLyricEnd(qsizetype offset) {
        const qsizetype from = offset + kLyricTag.size();
        if (m_nextLyricEnd == kNoneLeft)
            return -1;
        qsizetype found = m_nextLyricEnd < 0 ? -1 : m_rest.Size() - m_nextLyricEnd;
        if (found < from) {
            found = m_rest.IndexOf(kLyricEnd, from, m_rest.Size());
            m_nextLyricEnd = found < 0 ? kNoneLeft : m_rest.Size() - found;
            if (found < 0)
                return -1;
        }
        return found <= offset + kLastClosingOffset ? found : -1;
    }

    bool LyricIsHeld(qsizetype contentStart, qsizetype contentEnd) const {
        return std::any_of(kHeldLyrics.begin(), kHeldLyrics.end(), [&](QByteArrayView held) {
            return contentEnd - contentStart == held.size() && m_rest.HasAt(contentStart, held);
        });
    }

    bool EditLyric() {
        const qsizetype end = LyricEnd(0);
        if (end < 0)
            return MissingClosingTag(kLyricEnd);
        if (m_options.skipHeld) {
            m_heldNext = LyricIsHeld(kLyricTag.size(), end);
            if (m_heldNext)
                return Emit(end);
        }
        m_rest.MoveTo(m_out.Buffer(), kLyricTag.size());
        m_rest.Drop(end - kLyricTag.size());
        // The new content holds no tag, so the scan can pass over it at once.
        m_out.Buffer().append(kWrittenLyric);
        return true;
    }

    // A held note's phoneme element is passed over as the elements after the last item are.
    bool PassHeldPhonemes() {
        m_heldNext = false;
        ++m_heldSkipped;
        return Emit(1);
    }

    bool EditPhonemes() {
        const auto [item, marked] = SplitOpeMarker(m_item);
        const qsizetype end = m_rest.IndexOf(kPhonemesEnd, kPhonemesTag.size(), kLastClosingOffset);
        if (end < 0)
            return MissingClosingTag(kPhonemesEnd);
        if (marked) {
            const qsizetype opening = FirstOpening();
            const qsizetype valueStart = opening + kOpeningTag.size();
            const qsizetype valueEnd = opening < 0 ? -1 : m_rest.IndexOf(kAttributeEnd, valueStart, m_rest.Size());
            if (valueEnd < 0)
                return Fail(QStringLiteral("note %1 is marked [-OPE] but no <attr id=\"opening\">...</attr> "
                                           "follows its phoneme tag")
                                .arg(m_notesWritten + 1));
            SetOpeningValue(opening, valueStart, valueEnd);
        }
        // The end was found before the opening value changed, and it is used as found. In any file where
        // that value lies after the element, as the editor writes them, nothing has moved.
        const qsizetype resume = std::min(end, m_rest.Size());
        m_rest.MoveTo(m_out.Buffer(), kPhonemesTag.size() - 1);
        m_rest.Drop(resume - (kPhonemesTag.size() - 1));
        m_out.Buffer().append(kLockedPhonemesStart);
        m_content.resize(0);
        AppendItem(m_content, item);
        PrependItem(m_content.append(kPhonemesContentEnd));
        if (++m_notesWritten > kMostNotes)
            return Fail(QStringLiteral("the note counter cannot go past 32766 notes"));
        m_item = m_items.Next();
        return true;
    }

    // Forgets the opening tags that the scan has passed or entered.
    void ForgetPassedOpenings() {
        while (!m_openings.empty() && m_openings.front() > m_rest.Size())
            m_openings.pop_front();
        m_openingsKnown = std::min(m_openingsKnown, m_rest.Size());
    }

    // The offset of the first opening tag at or after the scan position, or -1.
    qsizetype FirstOpening() {
        ForgetPassedOpenings();
        if (m_openings.empty()) {
            const qsizetype found = m_rest.IndexOf(kOpeningTag, m_rest.Size() - m_openingsKnown, m_rest.Size());
            if (found < 0)
                return -1; // the rewrite fails
            m_openings.push_back(m_rest.Size() - found);
            m_openingsKnown = m_rest.Size() - (found + 1);
        }
        return m_rest.Size() - m_openings.front();
    }

    // Sets to "0" the value [valueStart, valueEnd) of the first opening tag, at offset opening.
    void SetOpeningValue(qsizetype opening, qsizetype valueStart, qsizetype valueEnd) {
        const qsizetype sizeBefore = m_rest.Size();
        const qsizetype knownBefore = sizeBefore - m_openingsKnown;
        m_rest.Replace(valueStart, valueEnd, kClosedOpening);
        const qsizetype shift = m_rest.Size() - sizeBefore;
        // Opening tags within the old value are gone; those after it keep their distance from the end. An
        // opening tag cannot contain a "0", so the new value adds none.
        m_openings.pop_front();
        while (!m_openings.empty() && sizeBefore - m_openings.front() < valueEnd)
            m_openings.pop_front();
        m_openings.push_front(m_rest.Size() - opening);
        const qsizetype known = knownBefore <= valueStart ? knownBefore
                                : knownBefore <= valueEnd ? valueStart + 1
                                                          : knownBefore + shift;
        m_openingsKnown = m_rest.Size() - known;
    }

    // Puts the bytes of an item before the scan position. When opening tags ahead are known, those among
    // the new bytes (and running on past them) are added, so that what is known still starts at the scan.
    void PrependItem(QByteArrayView bytes) {
        ForgetPassedOpenings();
        const bool tracking = m_openingsKnown < m_rest.Size();
        m_rest.Prepend(bytes);
        if (!tracking) {
            m_openingsKnown = m_rest.Size();
            return;
        }
        if (!bytes.contains('<'))
            return;
        const qsizetype lastStart = bytes.size() - 1;
        std::deque<qsizetype> found;
        for (qsizetype at = m_rest.IndexOf(kOpeningTag, 0, lastStart); at >= 0;
             at = m_rest.IndexOf(kOpeningTag, at + 1, lastStart))
            found.push_back(m_rest.Size() - at);
        m_openings.insert(m_openings.begin(), found.begin(), found.end());
    }

    ScanText m_rest;
    std::deque<qsizetype> m_openings; ///< the opening tags before m_openingsKnown, nearest first
    qsizetype m_openingsKnown;        ///< where the search for opening tags stopped; all before it are listed
    PhoneticItems m_items;
    QStringView m_item; ///< the item for the next phoneme element
    const RewriteHooks& m_hooks;
    const RewriteOptions& m_options;
    RewriteOutput m_out;
    QByteArray m_content;    ///< the content of the phonemes element being written, kept for the next one
    bool m_heldNext = false; ///< whether the last lyric met was held, with RewriteOptions::skipHeld
    static constexpr qsizetype kUnknown = -1;
    static constexpr qsizetype kNoneLeft = -2;
    /// The next "</lyric>" known once the items are written, counted back from the end; or kUnknown, or
    /// kNoneLeft when the text holds none after the scan.
    qsizetype m_nextLyricEnd = kUnknown;
};

} // namespace

PhoneticRewrite PutPhoneticToVSQX(QByteArrayView text, QStringView phonetic, const RewriteHooks& hooks,
                                  const RewriteOptions& options) {
    // The scan takes these tags for elements wherever they are; where markup hides one, it would break the
    // file, so it refuses before writing anything.
    const QByteArrayView scanned[] = {kLyricTag,    kLyricEnd,   kPhonemesTag, kPhonemesTagWithAttributes,
                                      kPhonemesEnd, kOpeningTag, kAttributeEnd};
    if (QString cause = HiddenTagCause(text, scanned); !cause.isEmpty())
        return {false, {}, 0, std::move(cause)};
    return Rewriter(text, phonetic, hooks, options).Run();
}

} // namespace lirobel::vsqx
