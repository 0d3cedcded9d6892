// SPDX-License-Identifier: GPL-3.0-or-later
// Files for tests to read and write, and a disk that fills up on demand.
#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>
#include <csignal>
#include <sys/resource.h>

namespace lirobel::test {

/// Writes a file for the code under test to read; returns its path.
inline QString WriteFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write the test file %s", qPrintable(path));
    return path;
}

/// The file's bytes, or a marker that no file holds when it cannot be read.
inline QByteArray ReadFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
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
