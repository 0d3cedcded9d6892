// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/files/user_file.h"

#include "core/files/native_path.h"

#include <QRandomGenerator>
#include <cerrno>
#include <fcntl.h>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace lirobel::files {

namespace {

QString ErrorText(int error) {
    return qt_error_string(error);
}

// A descriptor closed on every way out.
class Descriptor {
public:
    explicit Descriptor(int descriptor = -1) : m_descriptor(descriptor) {}
    ~Descriptor() {
        if (m_descriptor >= 0)
            ::close(m_descriptor);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;

    int Get() const { return m_descriptor; }
    int Release() { return std::exchange(m_descriptor, -1); }
    void Reset(int descriptor) {
        if (m_descriptor >= 0)
            ::close(m_descriptor);
        m_descriptor = descriptor;
    }

private:
    int m_descriptor;
};

struct SplitPath {
    QByteArray folder;
    QByteArray name;
};

SplitPath Split(const QString& path) {
    const QByteArray native = NativeFromPath(path);
    const qsizetype slash = native.lastIndexOf('/');
    if (slash < 0)
        return {QByteArrayLiteral("."), native};
    return {slash == 0 ? QByteArrayLiteral("/") : native.left(slash), native.mid(slash + 1)};
}

bool OwnedByUser(const struct stat& status) {
    return status.st_uid == ::geteuid();
}

// Why the status of the thing at a file's name makes it no file of the user's; empty when it is one.
QString RefusalOfFile(const struct stat& status) {
    if (S_ISLNK(status.st_mode))
        return QStringLiteral("it is a symbolic link");
    if (!S_ISREG(status.st_mode))
        return QStringLiteral("it is not a regular file");
    if (!OwnedByUser(status))
        return QStringLiteral("it belongs to another user");
    return {};
}

// The folder opened as a descriptor, when it is a folder of the user's and not a link; the cause on
// failure, and whether the folder is missing.
QString OpenFolder(const QByteArray& folder, Descriptor& descriptor, bool* missing = nullptr) {
    const int opened = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (opened < 0) {
        const int error = errno;
        if (missing)
            *missing = error == ENOENT;
        if (error == ELOOP || error == ENOTDIR)
            return QStringLiteral("its folder is a symbolic link or no folder");
        return QStringLiteral("its folder cannot be opened: ") + ErrorText(error);
    }
    Descriptor own(opened);
    struct stat status {};
    if (::fstat(opened, &status) != 0)
        return QStringLiteral("its folder cannot be examined: ") + ErrorText(errno);
    if (!OwnedByUser(status))
        return QStringLiteral("its folder belongs to another user");
    descriptor.Reset(own.Release());
    return {};
}

// Makes the folder and those above it that are missing, each readable by the user alone.
void MakeFolders(const QByteArray& folder) {
    if (::mkdir(folder.constData(), 0700) == 0 || errno != ENOENT)
        return;
    const qsizetype slash = folder.lastIndexOf('/');
    if (slash <= 0)
        return;
    MakeFolders(folder.left(slash));
    ::mkdir(folder.constData(), 0700);
}

bool WriteAll(int file, QByteArrayView bytes) {
    const char* at = bytes.data();
    for (qsizetype left = bytes.size(); left > 0;) {
        const ssize_t written = ::write(file, at, static_cast<size_t>(left));
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        at += written;
        left -= written;
    }
    return true;
}

QByteArray TemporaryName(const QByteArray& name) {
    static constexpr char kLetters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    QByteArray temporary = name + '.';
    for (int i = 0; i < 6; ++i)
        temporary += kLetters[QRandomGenerator::global()->bounded(static_cast<int>(sizeof kLetters) - 1)];
    return temporary;
}

} // namespace

UserFileCheck CheckUserFile(const QString& path) {
    const SplitPath split = Split(path);
    if (split.name.isEmpty())
        return {UserFileState::Refused, QStringLiteral("the name ends in a folder")};
    Descriptor folder;
    bool missing = false;
    if (const QString cause = OpenFolder(split.folder, folder, &missing); !cause.isEmpty())
        return {missing ? UserFileState::Missing : UserFileState::Refused, cause};
    struct stat status {};
    if (::fstatat(folder.Get(), split.name.constData(), &status, AT_SYMLINK_NOFOLLOW) != 0) {
        const int error = errno;
        return {error == ENOENT ? UserFileState::Missing : UserFileState::Refused, ErrorText(error)};
    }
    if (const QString cause = RefusalOfFile(status); !cause.isEmpty())
        return {UserFileState::Refused, cause};
    return {UserFileState::Usable, {}};
}

QString OpenUserFile(const QString& path, QFile& file) {
    const SplitPath split = Split(path);
    Descriptor folder;
    if (const QString cause = OpenFolder(split.folder, folder); !cause.isEmpty())
        return cause;
    struct stat named {};
    if (::fstatat(folder.Get(), split.name.constData(), &named, AT_SYMLINK_NOFOLLOW) != 0)
        return ErrorText(errno);
    // Judged before opening: opening a device or a pipe can block or act by itself.
    if (const QString cause = RefusalOfFile(named); !cause.isEmpty())
        return cause;
    Descriptor opened(
        ::openat(folder.Get(), split.name.constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (opened.Get() < 0)
        return ErrorText(errno);
    struct stat status {};
    if (::fstat(opened.Get(), &status) != 0)
        return ErrorText(errno);
    if (status.st_dev != named.st_dev || status.st_ino != named.st_ino)
        return QStringLiteral("it was replaced while being opened");
    if (!file.open(opened.Get(), QIODevice::ReadOnly, QFileDevice::AutoCloseHandle))
        return file.errorString();
    opened.Release();
    return {};
}

QString WriteUserFile(const QString& path, std::initializer_list<QByteArrayView> parts) {
    const SplitPath split = Split(path);
    if (split.name.isEmpty())
        return QStringLiteral("the name ends in a folder");
    MakeFolders(split.folder);
    Descriptor folder;
    if (const QString cause = OpenFolder(split.folder, folder); !cause.isEmpty())
        return cause;
    const char* name = split.name.constData();
    // A new file gets what the user's umask allows, as any program of theirs would make it; a replaced
    // one keeps its permission bits, given to the new file once written.
    std::optional<mode_t> kept;
    struct stat status {};
    if (::fstatat(folder.Get(), name, &status, AT_SYMLINK_NOFOLLOW) == 0) {
        if (const QString cause = RefusalOfFile(status); !cause.isEmpty())
            return cause + QStringLiteral(", so it is left as it is");
        kept = status.st_mode & 07777;
    } else if (errno != ENOENT) {
        return ErrorText(errno);
    }
    QByteArray temporary;
    Descriptor file;
    for (int attempt = 0; attempt < 100 && file.Get() < 0; ++attempt) {
        temporary = TemporaryName(split.name);
        file.Reset(::openat(folder.Get(), temporary.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC,
                            kept ? 0600 : 0666));
        if (file.Get() < 0 && errno != EEXIST)
            return QStringLiteral("cannot make a temporary file beside it: ") + ErrorText(errno);
    }
    if (file.Get() < 0)
        return QStringLiteral("cannot make a temporary file beside it: ") + ErrorText(EEXIST);
    const auto discard = [&](const QString& cause) {
        ::unlinkat(folder.Get(), temporary.constData(), 0);
        return cause;
    };
    for (const QByteArrayView part : parts) {
        if (!WriteAll(file.Get(), part))
            return discard(QStringLiteral("cannot write: ") + ErrorText(errno));
    }
    if ((kept && ::fchmod(file.Get(), *kept) != 0) || ::fsync(file.Get()) != 0 || ::close(file.Release()) != 0)
        return discard(QStringLiteral("cannot write: ") + ErrorText(errno));
    // Looked at again just before: what another program put there meanwhile is not replaced either.
    if (::fstatat(folder.Get(), name, &status, AT_SYMLINK_NOFOLLOW) == 0) {
        if (const QString cause = RefusalOfFile(status); !cause.isEmpty())
            return discard(cause + QStringLiteral(", so it is left as it is"));
    }
    if (::renameat(folder.Get(), temporary.constData(), folder.Get(), name) != 0)
        return discard(QStringLiteral("cannot replace it: ") + ErrorText(errno));
    return {};
}

} // namespace lirobel::files
