// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/files/write_behind.h"

#include <algorithm>
#include <system_error>
#include <utility>

namespace lirobel::files {

WriteBehind::WriteBehind(FileReplacement& file) : m_file(file) {
    m_filling.reserve(kPieceBytes);
    // Where no thread can be had (a process at its limit of them), the pieces are written in turn instead.
    try {
        m_thread = std::thread([this] { Run(); });
    } catch (const std::system_error&) {
    }
}

WriteBehind::~WriteBehind() {
    Finish();
}

bool WriteBehind::Write(QByteArrayView bytes) {
    while (!bytes.isEmpty()) {
        const qsizetype length = std::min(bytes.size(), kPieceBytes - m_filling.size());
        m_filling.append(bytes.first(length));
        bytes = bytes.sliced(length);
        if (m_filling.size() == kPieceBytes)
            HandOn();
    }
    const std::lock_guard lock(m_mutex);
    return !m_failed;
}

void WriteBehind::HandOn() {
    if (!m_thread.joinable()) {
        m_failed = m_failed || !m_file.Write(m_filling);
        m_filling.resize(0);
        return;
    }
    std::unique_lock lock(m_mutex);
    m_changed.wait(lock, [this] { return m_waiting.size() < kWaitingPieces || m_failed; });
    if (!m_failed) {
        m_waiting.push_back(std::move(m_filling));
        m_changed.notify_all();
    }
    if (m_spare.empty()) {
        m_filling = QByteArray();
        m_filling.reserve(kPieceBytes);
    } else {
        m_filling = std::move(m_spare.back());
        m_spare.pop_back();
    }
    m_filling.resize(0);
}

bool WriteBehind::Finish() {
    if (std::exchange(m_finished, true))
        return !m_failed;
    if (!m_filling.isEmpty())
        HandOn();
    if (!m_thread.joinable())
        return !m_failed;
    {
        const std::lock_guard lock(m_mutex);
        m_ending = true;
    }
    m_changed.notify_all();
    m_thread.join();
    return !m_failed;
}

void WriteBehind::Run() {
    std::unique_lock lock(m_mutex);
    for (;;) {
        m_changed.wait(lock, [this] { return !m_waiting.empty() || m_ending; });
        if (m_waiting.empty())
            return;
        QByteArray piece = std::move(m_waiting.front());
        m_waiting.pop_front();
        lock.unlock();
        const bool written = m_failed || m_file.Write(piece);
        lock.lock();
        m_failed = !written;
        if (m_failed)
            m_waiting.clear();
        piece.resize(0);
        m_spare.push_back(std::move(piece));
        m_changed.notify_all();
    }
}

} // namespace lirobel::files
