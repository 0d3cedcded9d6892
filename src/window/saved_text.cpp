// SPDX-License-Identifier: GPL-3.0-or-later
#include "window/saved_text.h"

#include "core/files/native_path.h"
#include "core/files/replace_file.h"

#include <QDir>
#include <QStandardPaths>
#include <QTemporaryFile>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace lirobel::window {

namespace {

QString TextFile(const QString& folder, const QString& pane) {
    return folder + u'/' + pane + QStringLiteral(".txt");
}

} // namespace

QString SavedTextFolder() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + QStringLiteral("/Lirobel/panes");
}

QString SaveText(const QString& folder, const QString& pane, const QString& text) {
    const QByteArray target = files::NativeFromPath(TextFile(folder, pane));
    if (text.isEmpty()) {
        if (::unlink(target.constData()) != 0 && errno != ENOENT)
            return QStringLiteral("Cannot remove %1: %2").arg(TextFile(folder, pane), files::SystemErrorText(errno));
        return {};
    }
    if (!QDir().mkpath(folder))
        return QStringLiteral("Cannot make the folder %1").arg(folder);
    // Made anew with O_EXCL and renamed over the name: whatever stands at the name is replaced, never
    // written through.
    QTemporaryFile file(folder + u'/' + pane + QStringLiteral(".XXXXXX"));
    const QByteArray bytes = text.toUtf8();
    if (!file.open() || file.write(bytes) != bytes.size() || !file.flush() || ::fsync(file.handle()) != 0)
        return QStringLiteral("Cannot write %1: %2").arg(file.fileName(), file.errorString());
    if (::rename(files::NativeFromPath(file.fileName()).constData(), target.constData()) != 0)
        return QStringLiteral("Cannot rename %1: %2").arg(file.fileName(), files::SystemErrorText(errno));
    file.setAutoRemove(false);
    return {};
}

QString SavedText(const QString& folder, const QString& pane) {
    const int file = ::open(files::NativeFromPath(TextFile(folder, pane)).constData(),
                            O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (file < 0)
        return {};
    struct stat status {};
    QByteArray bytes;
    if (::fstat(file, &status) == 0 && S_ISREG(status.st_mode) && status.st_uid == ::geteuid()) {
        bytes.resize(status.st_size);
        qsizetype read = 0;
        while (read < bytes.size()) {
            const ssize_t got = ::read(file, bytes.data() + read, static_cast<size_t>(bytes.size() - read));
            if (got <= 0)
                break;
            read += got;
        }
        bytes.truncate(read);
    }
    ::close(file);
    return QString::fromUtf8(bytes);
}

} // namespace lirobel::window
