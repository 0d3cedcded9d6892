// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/files/replace_file.h"

#include <QStringList>
#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <grp.h>
#include <pwd.h>
#include <sys/random.h>
#include <unistd.h>
#include <utility>

namespace lirobel::files {

namespace {

constexpr mode_t kPermissionBits = 0777;
constexpr qsizetype kSuffixSize = 6;
// Names that happen to be taken are tried again, up to this many times.
constexpr int kNameAttempts = 100;

QByteArray RandomSuffix() {
    static constexpr char kCharacters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    unsigned char random[kSuffixSize];
    if (::getrandom(random, sizeof random, GRND_NONBLOCK) != static_cast<ssize_t>(sizeof random)) {
        // Unpredictable enough where the system has no randomness yet: the name is created exclusively.
        timespec now{};
        ::clock_gettime(CLOCK_MONOTONIC, &now);
        auto seed = static_cast<unsigned long long>(now.tv_nsec) ^ static_cast<unsigned long long>(::getpid()) << 20;
        for (unsigned char& byte : random)
            byte = static_cast<unsigned char>((seed = seed * 6364136223846793005ULL + 1) >> 56);
    }
    QByteArray suffix(kSuffixSize, Qt::Uninitialized);
    for (qsizetype at = 0; at < kSuffixSize; ++at)
        suffix[at] = kCharacters[random[at] % (sizeof kCharacters - 1)];
    return suffix;
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

QByteArray TemporaryName(const QByteArray& name, long nameLimit, QByteArrayView suffix) {
    const qsizetype room = std::max<qsizetype>(static_cast<qsizetype>(nameLimit) - 1 - suffix.size(), 1);
    return name.first(std::min(name.size(), room)) + '.' + suffix.toByteArray();
}

FileReplacement::FileReplacement(const OriginalFile& original, WriteFunction write, const FileIdentity* identity)
    : m_original(original), m_write(write ? std::move(write) : WriteFunction(::write)),
      m_identity(identity ? *identity : SystemFileIdentity()),
      m_mode((original.Status().st_mode & kPermissionBits) | S_IWUSR) {}

FileReplacement::~FileReplacement() {
    Discard();
}

bool FileReplacement::Open() {
    if (QString cause = m_original.ChangeCause(); !cause.isEmpty())
        return Fail(std::move(cause));
    const int folder = m_original.Folder();
    const long limit = ::fpathconf(folder, _PC_NAME_MAX);
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        const QByteArray name = TemporaryName(m_original.Name(), limit > 0 ? limit : NAME_MAX, RandomSuffix());
        const EndingSignalsHeld held;
        int file = -1;
        {
            // Created as the owner, the file can only be where the owner may put one.
            const ActingAs owner(m_identity, m_original.Status().st_uid, m_original.Status().st_gid);
            file = ::openat(folder, name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
        }
        if (file < 0 && errno == EEXIST)
            continue;
        if (file < 0)
            return Fail(QStringLiteral("cannot create a file beside it: %1").arg(SystemErrorText(errno)));
        m_file = file;
        m_temporary = name;
        m_guarded = GuardUnfinishedFile(folder, name, file);
        return true;
    }
    return Fail(QStringLiteral("cannot create a file beside it: %1").arg(SystemErrorText(EEXIST)));
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
            m_written += taken;
            StartWriteBack();
        } else if (taken == 0 || errno != EINTR) {
            // A short write sets no error: the next one, which fails or takes nothing, may tell why.
            const QString why = taken < 0 ? SystemErrorText(errno) : QStringLiteral("is it full?");
            return Fail(partly || taken == 0 ? QStringLiteral("the disk took only part of it (%1)").arg(why) : why);
        }
    }
    return true;
}

void FileReplacement::StartWriteBack() {
    // The disk starts on what it has been given while the rest is made, so that the flush of Commit finds
    // little left to do. Only a hint: a filesystem that cannot take it still gets its flush.
    constexpr off_t kWriteBackBytes = 1 << 20;
    if (m_written - m_writeBackStarted < kWriteBackBytes)
        return;
    ::sync_file_range(m_file, m_writeBackStarted, m_written - m_writeBackStarted, SYNC_FILE_RANGE_WRITE);
    m_writeBackStarted = m_written;
}

void FileReplacement::TakeOverOwnerAndPermissions() {
    const struct stat& original = m_original.Status();
    struct stat now {};
    ::fstat(m_file, &now);
    // Only a privileged process may give a file away; one that may not can still keep the group where it
    // belongs to it. Unchanged values are not set at all: some filesystems refuse even those.
    if ((now.st_uid != original.st_uid || now.st_gid != original.st_gid) &&
        ::fchown(m_file, original.st_uid, original.st_gid) != 0 && now.st_gid != original.st_gid)
        ::fchown(m_file, static_cast<uid_t>(-1), original.st_gid);
    ::fstat(m_file, &now);
    if ((now.st_mode & kPermissionBits) != m_mode)
        ::fchmod(m_file, m_mode);
    ::fstat(m_file, &now);
    QStringList lost;
    if (now.st_uid != original.st_uid || now.st_gid != original.st_gid)
        lost << QStringLiteral("now belongs to %1, not %2 as before")
                    .arg(OwnerText(now.st_uid, now.st_gid), OwnerText(original.st_uid, original.st_gid));
    if ((now.st_mode & kPermissionBits) != m_mode)
        lost << QStringLiteral("now has the permissions %1, not %2 as before")
                    .arg(PermissionText(now.st_mode), PermissionText(m_mode));
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
    // As late as can be: a save by another program while the new file was written must not be lost.
    if (QString cause = m_original.ChangeCause(); !cause.isEmpty())
        return Fail(std::move(cause));
    const int folder = m_original.Folder();
    if (::renameat(folder, m_temporary.constData(), folder, m_original.Name().constData()) != 0)
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
        ::unlinkat(m_original.Folder(), std::exchange(m_temporary, {}).constData(), 0);
    // Only now: a signal before this removes a file that is already gone, which does no harm.
    if (std::exchange(m_guarded, false))
        UnguardUnfinishedFile();
}

} // namespace lirobel::files
