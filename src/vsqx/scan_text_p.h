// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <initializer_list>

namespace lirobel::vsqx {

/// The part of a working text that a rewrite has not scanned yet: bytes that its edits produced, followed
/// by the untouched rest of the original. Edits only ever touch what lies at or after the scan position,
/// so the scanned part can leave for the output for good while the original is read without copying.
/// Offsets are counted from the scan position.
class ScanText {
public:
    explicit ScanText(QByteArrayView original) : m_original(original) {}

    qsizetype Size() const { return PendingSize() + m_original.size(); }
    /// Whether the bytes at offset are tag; false where fewer bytes are left.
    bool HasAt(qsizetype offset, QByteArrayView tag) const;
    /// The smallest offset in [from, lastStart] at which tag lies, or -1.
    qsizetype IndexOf(QByteArrayView tag, qsizetype from, qsizetype lastStart) const;
    /// The smallest offset at which any of the tags lies, or -1. Every tag begins with '<'.
    qsizetype IndexOfAny(std::initializer_list<QByteArrayView> tags) const;

    /// Moves the first count bytes to the end of out.
    void MoveTo(QByteArray& out, qsizetype count);
    void Drop(qsizetype count);
    void Prepend(QByteArrayView bytes);
    /// Replaces the bytes in [from, to) by bytes; a to past the end stands for the end.
    void Replace(qsizetype from, qsizetype to, QByteArrayView bytes);

private:
    qsizetype PendingSize() const { return m_pending.size() - m_head; }
    QByteArrayView Pending() const { return QByteArrayView(m_pending).sliced(m_head); }
    void TakeFromPending(qsizetype count);

    QByteArray m_pending; ///< edited bytes from m_head on; room before m_head makes a prepend cheap
    qsizetype m_head = 0;
    QByteArrayView m_original;
};

} // namespace lirobel::vsqx
