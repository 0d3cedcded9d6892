// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/standard_streams.h"

#include <QFile>
#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace lirobel::cli {

UnusableStream::UnusableStream(const QString& why) {
    open(QIODevice::ReadWrite | QIODevice::Unbuffered);
    setErrorString(why);
}

StandardStreams::StandardStreams() {
    for (int fd = STDIN_FILENO; fd <= STDERR_FILENO; ++fd) {
        const bool reads = fd == STDIN_FILENO;
        const int flags = fcntl(fd, F_GETFL);
        QString why;
        if (flags < 0 && errno == EBADF) {
            why = QStringLiteral("it is closed");
            const int held = ::open("/dev/null", O_RDWR);
            m_guarded = m_guarded && held >= 0 && (held == fd || dup2(held, fd) == fd);
            if (held >= 0 && held != fd)
                close(held);
        } else if ((flags & O_ACCMODE) == (reads ? O_WRONLY : O_RDONLY)) {
            why = reads ? QStringLiteral("it is open for writing only") : QStringLiteral("it is open for reading only");
        } else {
            auto file = std::make_unique<QFile>();
            // Output unbuffered, so that a failing write (a full disk, a closed pipe) is seen by the
            // command that made it.
            if (file->open(fd, reads ? QIODevice::ReadOnly : QIODevice::WriteOnly | QIODevice::Unbuffered)) {
                m_devices[fd] = std::move(file);
                continue;
            }
            why = file->errorString();
        }
        m_devices[fd] = std::make_unique<UnusableStream>(why);
    }
}

} // namespace lirobel::cli
