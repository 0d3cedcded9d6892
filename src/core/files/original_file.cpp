// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/files/original_file.h"

#include "core/files/replace_file.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <memory>
#include <sys/mman.h>
#include <unistd.h>

namespace lirobel::files {

namespace {

// Only a path is needed of the folder: the right to list it is not.
constexpr int kFolderFlags = O_PATH | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC;

bool SameFile(const struct stat& one, const struct stat& other) {
    return one.st_dev == other.st_dev && one.st_ino == other.st_ino;
}

bool SameTime(const timespec& one, const timespec& other) {
    return one.tv_sec == other.tv_sec && one.tv_nsec == other.tv_nsec;
}

// A song file is read whole, and its first touch of every page is a fault: large pages take a few hundred
// times fewer, where the system offers them. Only a hint; a system without them reads as before.
void AskForLargePages(QByteArray& bytes) {
#ifdef MADV_HUGEPAGE
    constexpr quintptr kLargePage = 2 * 1024 * 1024;
    const auto start = reinterpret_cast<quintptr>(bytes.data());
    const quintptr first = (start + kLargePage - 1) & ~(kLargePage - 1);
    const quintptr last = (start + static_cast<quintptr>(bytes.size())) & ~(kLargePage - 1);
    if (first < last)
        ::madvise(reinterpret_cast<void*>(first), last - first, MADV_HUGEPAGE);
#else
    Q_UNUSED(bytes);
#endif
}

} // namespace

OriginalFile::~OriginalFile() {
    if (m_file >= 0)
        ::close(m_file);
    if (m_folder >= 0)
        ::close(m_folder);
}

bool OriginalFile::Open(const QByteArray& native) {
    const std::unique_ptr<char, decltype(&std::free)> real(::realpath(native.constData(), nullptr), &std::free);
    if (!real)
        return false;
    const QByteArray path(real.get());
    const qsizetype slash = path.lastIndexOf('/');
    m_folderPath = slash == 0 ? QByteArray("/") : path.first(slash);
    m_name = path.sliced(slash + 1);
    if (m_name.isEmpty())
        m_name = "."; // the root folder
    m_folder = ::open(m_folderPath.constData(), kFolderFlags);
    if (m_folder < 0 || ::fstat(m_folder, &m_folderStatus) != 0 ||
        ::fstatat(m_folder, m_name.constData(), &m_status, AT_SYMLINK_NOFOLLOW) != 0)
        return false;
    if (!S_ISREG(m_status.st_mode))
        return true;
    // Not blocking, and never through a link, should the file have been swapped since it was looked at.
    m_file = ::openat(m_folder, m_name.constData(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK | O_NOFOLLOW);
    struct stat opened {};
    if (m_file < 0 || ::fstat(m_file, &opened) != 0)
        return false;
    if (!SameFile(opened, m_status)) {
        errno = ESTALE;
        return false;
    }
    m_status = opened;
    return true;
}

QString OriginalFile::ReadAll(QByteArray& bytes) const {
    // The exact size, left as the kernel gives it: a resize would reserve room to grow as well.
    bytes = QByteArray(static_cast<qsizetype>(m_status.st_size), Qt::Uninitialized);
    AskForLargePages(bytes);
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t got = ::read(m_file, bytes.data() + done, static_cast<size_t>(bytes.size() - done));
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return SystemErrorText(errno);
        if (got == 0)
            return QStringLiteral("it became shorter while it was read");
        done += got;
    }
    return {};
}

int OriginalFile::FolderRefusal(const FileIdentity& identity) const {
    const ActingAs owner(identity, m_status.st_uid, m_status.st_gid);
    if (::faccessat(m_folder, ".", W_OK | X_OK, AT_EACCESS) != 0)
        return errno;
    // In a sticky folder, only the owner of the folder or of the file may replace the file.
    const uid_t acting = FileSystemUser();
    if ((m_folderStatus.st_mode & S_ISVTX) && acting != 0 && acting != m_folderStatus.st_uid &&
        acting != m_status.st_uid)
        return EPERM;
    return 0;
}

bool OriginalFile::MayBeMadeWritable() const {
    const uid_t acting = FileSystemUser();
    return (m_status.st_mode & S_IWUSR) || acting == 0 || acting == m_status.st_uid;
}

QString OriginalFile::ChangeCause() const {
    struct stat now {};
    const int folder = ::open(m_folderPath.constData(), kFolderFlags);
    const bool folderInPlace = folder >= 0 && ::fstat(folder, &now) == 0 && SameFile(now, m_folderStatus);
    if (folder >= 0)
        ::close(folder);
    if (!folderInPlace)
        return QStringLiteral("its folder was moved or replaced while it was poured");
    if (::fstatat(m_folder, m_name.constData(), &now, AT_SYMLINK_NOFOLLOW) != 0 || !SameFile(now, m_status) ||
        now.st_size != m_status.st_size || !SameTime(now.st_mtim, m_status.st_mtim) ||
        !SameTime(now.st_ctim, m_status.st_ctim))
        return QStringLiteral("it was changed, moved or replaced while it was poured (did another program save "
                              "it?), and is left as it is now");
    return {};
}

} // namespace lirobel::files
