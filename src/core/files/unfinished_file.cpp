// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/files/unfinished_file.h"

#include <atomic>
#include <climits>
#include <cstring>
#include <fcntl.h>
#include <pthread.h>
#include <sys/stat.h>
#include <unistd.h>

namespace lirobel::files {

namespace {

// Sent by others or by the kernel's limits and timers, at any moment.
constexpr int kAsynchronousSignals[] = {SIGHUP,  SIGINT,  SIGQUIT,   SIGTERM, SIGPIPE, SIGALRM, SIGUSR1,
                                        SIGUSR2, SIGPOLL, SIGVTALRM, SIGPROF, SIGXCPU, SIGPWR,  SIGSTKFLT};
// Raised by the program's own fault. They cannot be held back: a fault while they are blocked kills at once.
constexpr int kFaultSignals[] = {SIGILL, SIGTRAP, SIGABRT, SIGBUS, SIGFPE, SIGSEGV, SIGSYS};

// The unfinished file, for a handler to remove: it may neither allocate nor lock, so the name lives in a
// fixed buffer, claimed by one file at a time and published by a lock-free flag once it is complete. The
// device and inode make sure that the name still is that file, whatever came in between.
char g_name[NAME_MAX + 1];
int g_folder = -1;
dev_t g_device = 0;
ino_t g_inode = 0;
std::atomic<bool> g_set{false};
std::atomic<bool> g_taken{false};
static_assert(std::atomic<bool>::is_always_lock_free);

sigset_t AsynchronousSignals() {
    sigset_t set;
    sigemptyset(&set);
    for (const int number : kAsynchronousSignals)
        sigaddset(&set, number);
    for (int number = SIGRTMIN; number <= SIGRTMAX; ++number)
        sigaddset(&set, number);
    return set;
}

void RemoveUnfinishedFileAndEnd(int number) {
    if (g_set.load()) {
        struct stat status {};
        if (::fstatat(g_folder, g_name, &status, AT_SYMLINK_NOFOLLOW) == 0 && status.st_dev == g_device &&
            status.st_ino == g_inode)
            ::unlinkat(g_folder, g_name, 0);
    }
    struct sigaction byDefault {};
    byDefault.sa_handler = SIG_DFL;
    sigemptyset(&byDefault.sa_mask);
    ::sigaction(number, &byDefault, nullptr);
    // Held back until the handler returns, then the default action ends the process.
    ::raise(number);
}

void HandleIfByDefault(int number, const struct sigaction& removing) {
    struct sigaction previous {};
    if (::sigaction(number, nullptr, &previous) == 0 && !(previous.sa_flags & SA_SIGINFO) &&
        previous.sa_handler == SIG_DFL)
        ::sigaction(number, &removing, nullptr);
}

} // namespace

EndingSignalsHeld::EndingSignalsHeld() {
    const sigset_t set = AsynchronousSignals();
    pthread_sigmask(SIG_BLOCK, &set, &m_previous);
}

EndingSignalsHeld::~EndingSignalsHeld() {
    pthread_sigmask(SIG_SETMASK, &m_previous, nullptr);
}

bool GuardUnfinishedFile(int folder, const QByteArray& name, int file) {
    struct stat status {};
    if (name.size() >= qsizetype(sizeof g_name) || ::fstat(file, &status) != 0 || g_taken.exchange(true))
        return false;
    std::memcpy(g_name, name.constData(), static_cast<size_t>(name.size()) + 1);
    g_folder = folder;
    g_device = status.st_dev;
    g_inode = status.st_ino;
    g_set.store(true);
    return true;
}

void UnguardUnfinishedFile() {
    g_set.store(false);
    g_taken.store(false);
}

void RemoveUnfinishedFilesOnSignals() {
    struct sigaction removing {};
    removing.sa_handler = RemoveUnfinishedFileAndEnd;
    // One handler at a time: a second signal waits for the first to end the process.
    removing.sa_mask = AsynchronousSignals();
    for (const int number : kAsynchronousSignals)
        HandleIfByDefault(number, removing);
    for (int number = SIGRTMIN; number <= SIGRTMAX; ++number)
        HandleIfByDefault(number, removing);
    for (const int number : kFaultSignals)
        HandleIfByDefault(number, removing);
    struct sigaction ignoring {};
    ignoring.sa_handler = SIG_IGN;
    sigemptyset(&ignoring.sa_mask);
    HandleIfByDefault(SIGXFSZ, ignoring);
}

} // namespace lirobel::files
