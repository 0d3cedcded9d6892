// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/files/replace_file.h"

#include <QStringList>
#include <atomic>
#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <grp.h>
#include <pthread.h>
#include <pwd.h>
#include <unistd.h>
#include <utility>

namespace lirobel::files {

namespace {

constexpr int kEndingSignals[] = {SIGINT, SIGTERM, SIGHUP};
constexpr mode_t kPermissionBits = 0777;

// The temporary file being written, for a signal handler to remove: it may neither allocate nor lock, so
// the name lives in a fixed buffer, claimed by one replacement at a time and published by a lock-free flag
// once it is complete.
char g_unfinished[PATH_MAX];
std::atomic<bool> g_unfinishedSet{false};
std::atomic<bool> g_unfinishedTaken{false};
static_assert(std::atomic<bool>::is_always_lock_free);

sigset_t EndingSignals() {
    sigset_t set;
    sigemptyset(&set);
    for (const int number : kEndingSignals)
        sigaddset(&set, number);
    return set;
}

// Holds the ending signals back in this thread between the creation of the temporary file and the moment
// the handlers learn of it.
class EndingSignalsHeld {
public:
    EndingSignalsHeld() {
        const sigset_t set = EndingSignals();
        pthread_sigmask(SIG_BLOCK, &set, &m_previous);
    }
    ~EndingSignalsHeld() { pthread_sigmask(SIG_SETMASK, &m_previous, nullptr); }
    EndingSignalsHeld(const EndingSignalsHeld&) = delete;
    EndingSignalsHeld& operator=(const EndingSignalsHeld&) = delete;

private:
    sigset_t m_previous;
};

void RemoveUnfinishedFileAndEnd(int number) {
    if (g_unfinishedSet.load())
        ::unlink(g_unfinished);
    struct sigaction byDefault {};
    byDefault.sa_handler = SIG_DFL;
    sigemptyset(&byDefault.sa_mask);
    ::sigaction(number, &byDefault, nullptr);
    // Held back until the handler returns, then the default action ends the process.
    ::raise(number);
}

// "name:group (uid:gid)", with the numbers alone where the system knows no names.
QString OwnerText(uid_t owner, gid_t group) {
    QByteArray buffer(16 * 1024, Qt::Uninitialized);
    passwd user{};
    passwd* userFound = nullptr;
    ::getpwuid_r(owner, &user, buffer.data(), static_cast<size_t>(buffer.size()), &userFound);
    const QString ids = QStringLiteral("%1:%2").arg(owner).arg(group);
    if (!userFound)
        return ids;
    const QString userName = QString::fromLocal8Bit(userFound->pw_name);
    struct group groupEntry {};
    struct group* groupFound = nullptr;
    ::getgrgid_r(group, &groupEntry, buffer.data(), static_cast<size_t>(buffer.size()), &groupFound);
    if (!groupFound)
        return ids;
    return QStringLiteral("%1:%2 (%3)").arg(userName, QString::fromLocal8Bit(groupFound->gr_name), ids);
}

QString PermissionText(mode_t mode) {
    return QStringLiteral("%1").arg(mode & kPermissionBits, 4, 8, QLatin1Char('0'));
}

} // namespace

QString SystemErrorText(int error) {
    return QString::fromLocal8Bit(std::strerror(error));
}

FileReplacement::FileReplacement(QByteArray target, const struct stat& original, WriteFunction write)
    : m_target(std::move(target)), m_original(original), m_write(write ? std::move(write) : WriteFunction(::write)) {}

FileReplacement::~FileReplacement() {
    Discard();
}

bool FileReplacement::Open() {
    QByteArray name = m_target + ".XXXXXX";
    if (name.size() >= qsizetype(sizeof g_unfinished))
        return Fail(QStringLiteral("cannot create a file beside it: %1").arg(SystemErrorText(ENAMETOOLONG)));
    const EndingSignalsHeld held;
    m_file = ::mkostemp(name.data(), O_CLOEXEC);
    if (m_file < 0)
        return Fail(QStringLiteral("cannot create a file beside it: %1").arg(SystemErrorText(errno)));
    m_temporary = name;
    if (!g_unfinishedTaken.exchange(true)) {
        std::memcpy(g_unfinished, name.constData(), static_cast<size_t>(name.size()) + 1);
        g_unfinishedSet.store(true);
        m_guarded = true;
    }
    return true;
}

bool FileReplacement::Write(QByteArrayView bytes) {
    if (m_file < 0)
        return Fail(QStringLiteral("the new file is not open"));
    const char* data = bytes.data();
    qsizetype left = bytes.size();
    bool partly = false;
    while (left > 0) {
        const ssize_t taken = m_write(m_file, data, static_cast<size_t>(left));
        if (taken > 0) {
            data += taken;
            left -= taken;
            partly = true;
        } else if (taken == 0 || errno != EINTR) {
            // A short write sets no error: the next one, which fails or takes nothing, may tell why.
            const QString why = taken < 0 ? SystemErrorText(errno) : QStringLiteral("is it full?");
            return Fail(partly || taken == 0 ? QStringLiteral("the disk took only part of it (%1)").arg(why) : why);
        }
    }
    return true;
}

void FileReplacement::TakeOverOwnerAndPermissions() {
    struct stat now {};
    ::fstat(m_file, &now);
    // Only a privileged process may give a file away; one that may not can still keep the group where it
    // belongs to it. Unchanged values are not set at all: some filesystems refuse even those.
    if ((now.st_uid != m_original.st_uid || now.st_gid != m_original.st_gid) &&
        ::fchown(m_file, m_original.st_uid, m_original.st_gid) != 0 && now.st_gid != m_original.st_gid)
        ::fchown(m_file, static_cast<uid_t>(-1), m_original.st_gid);
    ::fstat(m_file, &now);
    if ((now.st_mode & kPermissionBits) != (m_original.st_mode & kPermissionBits))
        ::fchmod(m_file, m_original.st_mode & kPermissionBits);
    ::fstat(m_file, &now);
    QStringList lost;
    if (now.st_uid != m_original.st_uid || now.st_gid != m_original.st_gid)
        lost << QStringLiteral("now belongs to %1, not %2 as before")
                    .arg(OwnerText(now.st_uid, now.st_gid), OwnerText(m_original.st_uid, m_original.st_gid));
    if ((now.st_mode & kPermissionBits) != (m_original.st_mode & kPermissionBits))
        lost << QStringLiteral("now has the permissions %1, not %2 as before")
                    .arg(PermissionText(now.st_mode), PermissionText(m_original.st_mode));
    m_warning = lost.join(QStringLiteral(" and "));
}

bool FileReplacement::Commit() {
    if (m_file < 0)
        return Fail(QStringLiteral("the new file is not open"));
    TakeOverOwnerAndPermissions();
    // A filesystem that cannot flush is no failure; one that fails to is.
    if (::fsync(m_file) != 0 && errno != EINVAL && errno != ENOTSUP)
        return Fail(QStringLiteral("cannot flush it to disk: %1").arg(SystemErrorText(errno)));
    // Some network filesystems report a failed write only here. EINTR still closes the file on Linux.
    if (::close(std::exchange(m_file, -1)) != 0 && errno != EINTR)
        return Fail(SystemErrorText(errno));
    if (::rename(m_temporary.constData(), m_target.constData()) != 0)
        return Fail(QStringLiteral("cannot put the new file in its place: %1").arg(SystemErrorText(errno)));
    // A signal from here on finds no file of that name to remove.
    m_temporary.clear();
    Discard();
    return true;
}

bool FileReplacement::Fail(QString cause) {
    m_error = std::move(cause);
    Discard();
    return false;
}

void FileReplacement::Discard() {
    if (m_file >= 0)
        ::close(std::exchange(m_file, -1));
    if (!m_temporary.isEmpty())
        ::unlink(std::exchange(m_temporary, {}).constData());
    // Only now: a signal before this removes a file that is already gone, which does no harm.
    if (std::exchange(m_guarded, false)) {
        g_unfinishedSet.store(false);
        g_unfinishedTaken.store(false);
    }
}

void RemoveUnfinishedFilesOnSignals() {
    struct sigaction removing {};
    removing.sa_handler = RemoveUnfinishedFileAndEnd;
    // One handler at a time: a second signal waits for the first to end the process.
    removing.sa_mask = EndingSignals();
    for (const int number : kEndingSignals) {
        struct sigaction previous {};
        if (::sigaction(number, nullptr, &previous) == 0 && previous.sa_handler != SIG_IGN)
            ::sigaction(number, &removing, nullptr);
    }
}

} // namespace lirobel::files
