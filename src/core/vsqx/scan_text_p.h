// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <array>
#include <deque>
#include <initializer_list>

namespace lirobel::vsqx {

/// The part of a working text that a rewrite has not scanned yet: bytes that its edits produced at the scan
/// position (pending), followed by segments, which are stretches of the untouched rest of the original and,
/// between them, the bytes of edits made further on. Edits only ever touch what lies at or after the scan
/// position, so the scanned part can leave for the output for good while the original is read without
/// copying, also where an edit lies far ahead. Offsets are counted from the scan position.
class ScanText {
public:
    /// An edit that ends at most joinedBytes past the pending bytes copies the bytes before it to them
    /// rather than cutting the segments (a test may choose how far).
    explicit ScanText(QByteArrayView original, qsizetype joinedBytes = 4096);

    qsizetype Size() const { return PendingSize() + m_segmentsSize; }
    /// Whether the bytes at offset are tag; false where fewer bytes are left.
    bool HasAt(qsizetype offset, QByteArrayView tag) const;
    /// The smallest offset in [from, lastStart] at which tag lies, or -1. Costs what lies between from and
    /// the offset found (or lastStart), whatever lies before from.
    qsizetype IndexOf(QByteArrayView tag, qsizetype from, qsizetype lastStart) const;
    /// The smallest offset at which any of the tags lies, or -1. Every tag begins with '<' and has two bytes
    /// at least; the tags have four second bytes at most between them.
    qsizetype IndexOfAny(std::initializer_list<QByteArrayView> tags) const;

    /// Moves the first count bytes to the end of out.
    void MoveTo(QByteArray& out, qsizetype count);
    void Drop(qsizetype count);
    void Prepend(QByteArrayView bytes);
    /// Replaces the bytes in [from, to) by bytes; a to past the end stands for the end. Beyond the pending
    /// bytes this copies at most joinedBytes bytes and bytes, however far from the scan it lies, and bytes
    /// equal to those already there change nothing at all.
    void Replace(qsizetype from, qsizetype to, QByteArrayView bytes);

private:
    template <size_t kSeconds>
    qsizetype IndexOfAnyAmong(std::initializer_list<QByteArrayView> tags, const std::array<char, 4>& seconds) const;

    struct Segment {
        QByteArrayView bytes;
        QByteArray owner; ///< holds bytes when an edit made them; null for a stretch of the original
    };

    qsizetype PendingSize() const { return m_pending.size() - m_head; }
    QByteArrayView Pending() const { return QByteArrayView(m_pending).sliced(m_head); }
    void TakeFromPending(qsizetype count);
    /// Removes the first count bytes of the segments, appending them to out unless it is null.
    void TakeFromSegments(qsizetype count, QByteArray* out);
    /// Cuts the segments so that one begins at offset (counted from the first segment's start, at most
    /// their size); returns its index, or the number of segments for their end.
    size_t CutSegmentsAt(qsizetype offset);

    /// The text is the parts in order: part 0 is the pending bytes, part k > 0 the segment k - 1.
    size_t PartCount() const { return m_segments.size() + 1; }
    QByteArrayView Part(size_t index) const { return index == 0 ? Pending() : m_segments[index - 1].bytes; }

    qsizetype m_joinedBytes;
    QByteArray m_pending; ///< edited bytes from m_head on; room before m_head makes a prepend cheap
    qsizetype m_head = 0;
    std::deque<Segment> m_segments; ///< none is empty
    qsizetype m_segmentsSize = 0;
};

} // namespace lirobel::vsqx
