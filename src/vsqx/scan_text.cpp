// SPDX-License-Identifier: GPL-3.0-or-later
#include "vsqx/scan_text_p.h"

#include <algorithm>
#include <cstring>

namespace lirobel::vsqx {

bool ScanText::HasAt(qsizetype offset, QByteArrayView tag) const {
    const qsizetype pendingSize = PendingSize();
    if (offset + tag.size() > Size())
        return false;
    if (offset >= pendingSize)
        return m_original.sliced(offset - pendingSize).startsWith(tag);
    const qsizetype inPending = std::min(tag.size(), pendingSize - offset);
    return Pending().sliced(offset, inPending) == tag.first(inPending) && m_original.startsWith(tag.sliced(inPending));
}

qsizetype ScanText::IndexOf(QByteArrayView tag, qsizetype from, qsizetype lastStart) const {
    lastStart = std::min(lastStart, Size() - tag.size());
    if (from > lastStart)
        return -1;
    const qsizetype pendingSize = PendingSize();
    if (from < pendingSize) {
        const qsizetype found = Pending().first(std::min(pendingSize, lastStart + tag.size())).indexOf(tag, from);
        if (found >= 0)
            return found;
        // A tag may begin among the edited bytes and end in the original.
        for (qsizetype start = std::max(from, pendingSize - tag.size() + 1); start < pendingSize; ++start) {
            if (start > lastStart)
                return -1;
            if (HasAt(start, tag))
                return start;
        }
    }
    const qsizetype first = std::max(from, pendingSize) - pendingSize;
    const qsizetype last = lastStart - pendingSize;
    if (first > last)
        return -1;
    const qsizetype found = m_original.sliced(first, last - first + tag.size()).indexOf(tag);
    return found < 0 ? -1 : pendingSize + first + found;
}

qsizetype ScanText::IndexOfAny(std::initializer_list<QByteArrayView> tags) const {
    const QByteArrayView pending = Pending();
    for (qsizetype at = pending.indexOf('<'); at >= 0; at = pending.indexOf('<', at + 1)) {
        for (const QByteArrayView tag : tags) {
            if (HasAt(at, tag))
                return at;
        }
    }
    if (m_original.isEmpty())
        return -1;
    // The hot loop of a rewrite: most of a file is original bytes, and '<' is one byte in about fifteen.
    const char* const begin = m_original.data();
    const char* const end = begin + m_original.size();
    for (const char* at = begin; (at = static_cast<const char*>(std::memchr(at, '<', end - at))); ++at) {
        for (const QByteArrayView tag : tags) {
            if (end - at >= tag.size() && at[1] == tag[1] && std::memcmp(at, tag.data(), tag.size()) == 0)
                return pending.size() + (at - begin);
        }
    }
    return -1;
}

void ScanText::TakeFromPending(qsizetype count) {
    m_head += count;
    if (m_head == m_pending.size()) {
        m_pending.resize(0);
        m_head = 0;
    }
}

void ScanText::MoveTo(QByteArray& out, qsizetype count) {
    const qsizetype fromPending = std::min(count, PendingSize());
    out.append(Pending().first(fromPending));
    TakeFromPending(fromPending);
    out.append(m_original.first(count - fromPending));
    m_original = m_original.sliced(count - fromPending);
}

void ScanText::Drop(qsizetype count) {
    const qsizetype fromPending = std::min(count, PendingSize());
    TakeFromPending(fromPending);
    m_original = m_original.sliced(count - fromPending);
}

void ScanText::Prepend(QByteArrayView bytes) {
    if (PendingSize() == 0) {
        // The usual case, and the buffer of the last edit serves again.
        m_pending.resize(0);
        m_pending.append(bytes);
        m_head = 0;
        return;
    }
    if (m_head >= bytes.size()) {
        m_head -= bytes.size();
        std::memcpy(m_pending.data() + m_head, bytes.data(), static_cast<size_t>(bytes.size()));
        return;
    }
    // Room for as many bytes as are pending keeps a run of prepends linear in what they add.
    const qsizetype room = PendingSize();
    QByteArray rebuilt;
    rebuilt.reserve(room + bytes.size() + PendingSize());
    rebuilt.resize(room);
    rebuilt.append(bytes).append(Pending());
    m_pending.swap(rebuilt);
    m_head = room;
}

void ScanText::Replace(qsizetype from, qsizetype to, QByteArrayView bytes) {
    to = std::min(to, Size());
    const qsizetype pendingSize = PendingSize();
    if (from >= pendingSize) {
        // The usual case: the stretch up to the edit becomes pending, the original after it stays where it is.
        m_pending.append(m_original.first(from - pendingSize)).append(bytes);
        m_original = m_original.sliced(to - pendingSize);
        return;
    }
    if (to > pendingSize) {
        m_pending.append(m_original.first(to - pendingSize));
        m_original = m_original.sliced(to - pendingSize);
    }
    m_pending.replace(m_head + from, to - from, bytes);
}

} // namespace lirobel::vsqx
