// SPDX-License-Identifier: GPL-3.0-or-later
// A temporary file that a signal ending the process must not leave behind.
#pragma once

#include <QByteArray>
#include <csignal>

namespace lirobel::files {

/// Makes every signal whose default action ends the process and that can be caught (SIGINT, SIGTERM,
/// SIGHUP, SIGQUIT, SIGPIPE, SIGALRM, SIGUSR1, SIGUSR2, the real-time signals, the profiling timers, the
/// CPU limit, and the faults such as SIGSEGV and SIGABRT) remove the guarded unfinished file (if any), then
/// end the process as it would have: the default action is restored and the signal raised again. A signal
/// the process ignores or handles itself is left as it is (a run under nohup survives SIGHUP). SIGXFSZ is
/// ignored unless handled, so that a write past the file size limit fails with EFBIG, as on a full disk,
/// and the run fails and cleans up. Meant to be called once, early in main().
void RemoveUnfinishedFilesOnSignals();

/// While it lives, the signals that may end the process at any moment wait in the calling thread: between
/// the creation of a file and its guard, which must not be cut apart.
class EndingSignalsHeld {
public:
    EndingSignalsHeld();
    ~EndingSignalsHeld();
    EndingSignalsHeld(const EndingSignalsHeld&) = delete;
    EndingSignalsHeld& operator=(const EndingSignalsHeld&) = delete;

private:
    sigset_t m_previous;
};

/// Tells the signal handlers of the unfinished file named `name` in the open folder `folder`, itself open
/// as `file`: they remove it only while that name is still that file. One file is guarded at a time;
/// false when another is, or the name is too long to keep.
bool GuardUnfinishedFile(int folder, const QByteArray& name, int file);

/// Forgets the guarded file, once it is removed or renamed.
void UnguardUnfinishedFile();

} // namespace lirobel::files
