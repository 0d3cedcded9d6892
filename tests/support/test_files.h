// SPDX-License-Identifier: GPL-3.0-or-later
// Files for tests to read and write, and a disk that fills up on demand.
#pragma once

#include <QByteArray>
#include <QByteArrayList>
#include <QDir>
#include <QFile>
#include <QString>
#include <algorithm>
#include <csignal>
#include <dirent.h>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace lirobel::test {

/// Writes a file for the code under test to read; returns its path.
inline QString WriteFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write the test file %s", qPrintable(path));
    return path;
}

/// Dates the file's last change, and its last reading, to the given second.
inline void SetModificationTime(const QString& path, time_t seconds) {
    const timespec times[2] = {{seconds, 0}, {seconds, 0}};
    if (::utimensat(AT_FDCWD, QFile::encodeName(path).constData(), times, 0) != 0)
        qFatal("cannot date the test file %s", qPrintable(path));
}

/// The file's bytes, or a marker that no file holds when it cannot be read.
inline QByteArray ReadFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

/// Writes a file named by exact bytes, which need not be UTF-8, as WriteFile does.
inline void WriteNativeFile(const QByteArray& name, const QByteArray& bytes) {
    QFile file;
    const int handle = ::open(name.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (handle < 0 || !file.open(handle, QIODevice::WriteOnly, QFile::AutoCloseHandle) ||
        file.write(bytes) != bytes.size())
        qFatal("cannot write the test file %s", name.constData());
}

/// The bytes of a file named by exact bytes, as ReadFile gives them.
inline QByteArray ReadNativeFile(const QByteArray& name) {
    QFile file;
    const int handle = ::open(name.constData(), O_RDONLY | O_CLOEXEC);
    return handle >= 0 && file.open(handle, QIODevice::ReadOnly, QFile::AutoCloseHandle) ? file.readAll()
                                                                                         : QByteArray("<unreadable>");
}

/// The names in a folder, hidden ones too, without "." and "..".
inline QStringList Entries(const QString& folder) {
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
}

/// The names in a folder as the system holds them, sorted, without "." and "..".
inline QByteArrayList NativeEntries(const QByteArray& folder) {
    QByteArrayList names;
    if (DIR* entries = ::opendir(folder.constData())) {
        while (const dirent* entry = ::readdir(entries)) {
            const QByteArray name(entry->d_name);
            if (name != "." && name != "..")
                names << name;
        }
        ::closedir(entries);
    }
    std::sort(names.begin(), names.end());
    return names;
}

/// While it lives, no file of this process may grow beyond the given size: writes past it fail as on a
/// full disk, even for root, which permission tricks cannot make fail.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) : m_previousHandler(std::signal(SIGXFSZ, SIG_IGN)) {
        getrlimit(RLIMIT_FSIZE, &m_previous);
        rlimit limit = m_previous;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &m_previous);
        std::signal(SIGXFSZ, m_previousHandler);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit m_previous{};
    void (*m_previousHandler)(int);
};

} // namespace lirobel::test
