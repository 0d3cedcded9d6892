// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/vsqx/byte_scan_p.h"
#include "core/vsqx/scan_text_p.h"

#include <algorithm>
#include <cstring>

namespace lirobel::vsqx {

ScanText::ScanText(QByteArrayView original, qsizetype joinedBytes)
    : m_joinedBytes(joinedBytes), m_segmentsSize(original.size()) {
    if (!original.isEmpty())
        m_segments.push_back({original, {}});
}

bool ScanText::HasAt(qsizetype offset, QByteArrayView tag) const {
    if (offset < 0 || offset + tag.size() > Size())
        return false;
    qsizetype matched = 0;
    for (size_t index = 0; matched < tag.size(); ++index) {
        const QByteArrayView part = Part(index);
        if (offset >= part.size()) {
            offset -= part.size();
            continue;
        }
        const qsizetype length = std::min(tag.size() - matched, part.size() - offset);
        if (part.sliced(offset, length) != tag.sliced(matched, length))
            return false;
        matched += length;
        offset = 0;
    }
    return true;
}

qsizetype ScanText::IndexOf(QByteArrayView tag, qsizetype from, qsizetype lastStart) const {
    lastStart = std::min(lastStart, Size() - tag.size());
    from = std::max<qsizetype>(from, 0);
    qsizetype base = 0;
    for (size_t index = 0; index < PartCount() && base <= lastStart; ++index) {
        const QByteArrayView part = Part(index);
        const qsizetype end = base + part.size();
        if (from < end) {
            // Tags that lie within the part, then those that begin in it and end in the parts after it.
            const qsizetype first = std::max(from, base);
            const qsizetype lastWithin = std::min(lastStart, end - tag.size());
            if (first <= lastWithin) {
                const char* const start = part.data() + (first - base);
                if (const char* found =
                        bytescan::Find(start, start + (lastWithin - first + tag.size()), tag.data(), tag.size()))
                    return first + (found - start);
            }
            for (qsizetype start = std::max(first, end - tag.size() + 1); start < end && start <= lastStart; ++start) {
                if (HasAt(start, tag))
                    return start;
            }
        }
        base = end;
    }
    return -1;
}

qsizetype ScanText::IndexOfAny(std::initializer_list<QByteArrayView> tags) const {
    // The second bytes of the tags, each once: a fixed number of them lets the compiler keep them in
    // registers through the hot loop.
    std::array<char, 4> seconds{};
    size_t count = 0;
    for (const QByteArrayView tag : tags) {
        if (std::find(seconds.begin(), seconds.begin() + count, tag[1]) == seconds.begin() + count) {
            Q_ASSERT(count < seconds.size());
            seconds[count++] = tag[1];
        }
    }
    switch (count) {
    case 1:
        return IndexOfAnyAmong<1>(tags, seconds);
    case 2:
        return IndexOfAnyAmong<2>(tags, seconds);
    case 3:
        return IndexOfAnyAmong<3>(tags, seconds);
    default:
        return IndexOfAnyAmong<4>(tags, seconds);
    }
}

template <size_t kSeconds>
qsizetype ScanText::IndexOfAnyAmong(std::initializer_list<QByteArrayView> tags,
                                    const std::array<char, 4>& secondBytes) const {
    std::array<char, kSeconds> seconds;
    std::copy_n(secondBytes.begin(), kSeconds, seconds.begin());
    qsizetype base = 0;
    const auto isTagAt = [&](const char* at, const char* begin, const char* end) {
        for (const QByteArrayView tag : tags) {
            if (end - at >= tag.size() ? at[1] == tag[1] && std::memcmp(at, tag.data(), tag.size()) == 0
                                       : HasAt(base + (at - begin), tag))
                return true;
        }
        return false;
    };
    for (size_t index = 0; index < PartCount(); ++index) {
        // The hot loop of a rewrite: most of a file is original bytes, and '<' is one byte in about fifteen.
        // A block at a time, only a '<' followed by the second byte of a tag is looked at.
        const QByteArrayView part = Part(index);
        const char* const begin = part.data();
        const char* const end = begin + part.size();
        const char* at = begin;
        for (; end - at > bytescan::kBlock; at += bytescan::kBlock) {
            const bytescan::Block next = bytescan::Load(at + 1);
            bytescan::Marks marks = 0;
            for (const char second : seconds)
                marks |= bytescan::Equal(next, second);
            for (marks &= bytescan::Equal(bytescan::Load(at), '<'); marks; marks &= marks - 1) {
                const char* const candidate = at + bytescan::First(marks);
                if (isTagAt(candidate, begin, end))
                    return base + (candidate - begin);
            }
        }
        for (; at < end && (at = static_cast<const char*>(std::memchr(at, '<', end - at))); ++at) {
            if (isTagAt(at, begin, end))
                return base + (at - begin);
        }
        base += part.size();
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

void ScanText::TakeFromSegments(qsizetype count, QByteArray* out) {
    m_segmentsSize -= count;
    while (count > 0) {
        Segment& front = m_segments.front();
        const qsizetype length = std::min(count, front.bytes.size());
        if (out)
            out->append(front.bytes.first(length));
        count -= length;
        if (length == front.bytes.size())
            m_segments.pop_front();
        else
            front.bytes = front.bytes.sliced(length);
    }
}

size_t ScanText::CutSegmentsAt(qsizetype offset) {
    size_t index = 0;
    for (; offset > 0; ++index) {
        Segment& segment = m_segments[index];
        if (offset < segment.bytes.size()) {
            Segment tail{segment.bytes.sliced(offset), segment.owner};
            segment.bytes = segment.bytes.first(offset);
            m_segments.insert(m_segments.begin() + static_cast<qsizetype>(index) + 1, std::move(tail));
            return index + 1;
        }
        offset -= segment.bytes.size();
    }
    return index;
}

void ScanText::MoveTo(QByteArray& out, qsizetype count) {
    const qsizetype fromPending = std::min(count, PendingSize());
    out.append(Pending().first(fromPending));
    TakeFromPending(fromPending);
    TakeFromSegments(count - fromPending, &out);
}

void ScanText::Drop(qsizetype count) {
    const qsizetype fromPending = std::min(count, PendingSize());
    TakeFromPending(fromPending);
    TakeFromSegments(count - fromPending, nullptr);
}

void ScanText::Prepend(QByteArrayView bytes) {
    if (bytes.isEmpty())
        return;
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
    if (to - from == bytes.size() && HasAt(from, bytes))
        return; // a marked item that finds the opening value another one already set
    const qsizetype pendingSize = PendingSize();
    if (from < pendingSize) {
        if (to > pendingSize) {
            TakeFromSegments(to - pendingSize, nullptr);
            to = pendingSize;
        }
        m_pending.replace(m_head + from, to - from, bytes);
        return;
    }
    if (to - pendingSize <= m_joinedBytes) {
        // Near, as every note's opening value is in the editor's files: the bytes up to the stretch join the
        // pending ones, which costs less than cutting the segments, and only once.
        TakeFromSegments(from - pendingSize, &m_pending);
        m_pending.append(bytes);
        TakeFromSegments(to - from, nullptr);
        return;
    }
    // Far: the segments are cut around the stretch, and the new bytes become a segment of their own.
    const auto first = static_cast<qsizetype>(CutSegmentsAt(from - pendingSize));
    const auto last = static_cast<qsizetype>(CutSegmentsAt(to - pendingSize));
    m_segments.erase(m_segments.begin() + first, m_segments.begin() + last);
    m_segmentsSize -= to - from;
    if (!bytes.isEmpty()) {
        Segment edit{{}, bytes.toByteArray()};
        edit.bytes = edit.owner;
        m_segments.insert(m_segments.begin() + first, std::move(edit));
        m_segmentsSize += bytes.size();
    }
}

} // namespace lirobel::vsqx
