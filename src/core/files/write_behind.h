// SPDX-License-Identifier: GPL-3.0-or-later
// Writing a new file on a thread of its own: the kernel's copy of each piece, and the start of its way to
// the disk, run beside the work that makes the next piece instead of after it.
#pragma once

#include "core/files/replace_file.h"

#include <QByteArray>
#include <QByteArrayView>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>
#include <vector>

namespace lirobel::files {

/// Hands the bytes written to it on to a FileReplacement, open, in pieces written on another thread, in
/// their order. The replacement is touched by that thread alone until Finish has returned. Where no thread
/// can be started, each piece is written as it fills, by the caller.
class WriteBehind {
public:
    /// The size of a piece handed on, and how many may wait: what this holds at most, beyond the caller.
    static constexpr qsizetype kPieceBytes = 256 * 1024;
    static constexpr size_t kWaitingPieces = 2;

    explicit WriteBehind(FileReplacement& file);
    /// Finishes, when Finish was not called.
    ~WriteBehind();
    WriteBehind(const WriteBehind&) = delete;
    WriteBehind& operator=(const WriteBehind&) = delete;

    /// Copies the bytes, to be written. False once a write has failed: what comes after it is dropped.
    bool Write(QByteArrayView bytes);
    /// Writes what is left and waits for every write; false when one failed, with the cause in the
    /// replacement's ErrorString.
    bool Finish();

private:
    void HandOn(); // the piece being filled, to the queue
    void Run();

    FileReplacement& m_file;
    QByteArray m_filling;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::deque<QByteArray> m_waiting; ///< pieces to write, in order
    std::vector<QByteArray> m_spare;  ///< written pieces, whose room serves again
    bool m_failed = false;
    bool m_ending = false;   ///< the thread is to stop once nothing waits
    bool m_finished = false; ///< Finish has run
    std::thread m_thread;    ///< not joinable where no thread could be started
};

} // namespace lirobel::files
