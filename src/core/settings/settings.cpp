// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/settings/settings.h"

#include "core/files/native_path.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <array>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <optional>
#include <sys/stat.h>

namespace lirobel::settings {

namespace {

// Four short lines and a folder: whatever a settings file holds beyond this is not read.
constexpr qint64 kMostSettingsBytes = 8 * 1024;

QString CannotRead(const QString& path, const QString& why) {
    return QStringLiteral("cannot read the settings file '%1': %2").arg(path, why);
}

// The first kMostSettingsBytes of the regular file at path. Anything else there (a pipe, a device, a
// folder) is refused before a byte is read, so that it can neither block nor flood the reader.
std::optional<QByteArray> ReadHead(const QString& path, QString& problem) {
    const int descriptor =
        ::open(files::NativeFromPath(path).constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (descriptor < 0) {
        problem = CannotRead(path, QString::fromLocal8Bit(std::strerror(errno)));
        return std::nullopt;
    }
    QFile file;
    file.open(descriptor, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle);
    struct stat info = {};
    if (::fstat(descriptor, &info) != 0 || !S_ISREG(info.st_mode)) {
        problem = CannotRead(path, QStringLiteral("it is not a regular file"));
        return std::nullopt;
    }
    QByteArray bytes = file.read(kMostSettingsBytes);
    if (file.error() != QFileDevice::NoError) {
        problem = CannotRead(path, file.errorString());
        return std::nullopt;
    }
    return bytes;
}

} // namespace

QByteArray SettingsFileBytes(const Settings& settings) {
    QByteArray bytes;
    for (const QString* value : {&settings.HaReading, &settings.WoReading, &settings.ZuReading, &settings.LastFolder})
        bytes += files::NativeFromPath(*value) + "\r\n";
    return bytes;
}

Settings ParseSettings(QByteArrayView bytes) {
    Settings settings;
    const std::array<QString*, 4> fields = {&settings.HaReading, &settings.WoReading, &settings.ZuReading,
                                            &settings.LastFolder};
    const char lineEnd = bytes.contains('\r') ? '\r' : '\n';
    qsizetype start = 0;
    for (QString* field : fields) {
        if (start >= bytes.size())
            break;
        qsizetype end = bytes.indexOf(lineEnd, start);
        if (end < 0)
            end = bytes.size();
        // Bytes that are not UTF-8 (a folder named on another system) are kept, to be written back.
        *field = files::PathFromNative(bytes.sliced(start, end - start));
        start = end + 1;
        if (lineEnd == '\r' && start < bytes.size() && bytes[start] == '\n')
            ++start;
    }
    return settings;
}

SettingsFileResult ReadSettings(const QString& path) {
    QString problem;
    const std::optional<QByteArray> bytes = ReadHead(path, problem);
    if (!bytes)
        return {{}, problem};
    SettingsFileResult read{ParseSettings(*bytes), {}};
    const std::array<const QString*, 3> rules = {&read.settings.HaReading, &read.settings.WoReading,
                                                 &read.settings.ZuReading};
    for (std::size_t line = 0; line < rules.size(); ++line) {
        if (files::HasRawBytes(*rules[line])) {
            read.problem =
                QStringLiteral("line %1 of the settings file '%2' is not UTF-8 text").arg(line + 1).arg(path);
            break;
        }
    }
    return read;
}

SettingsFileResult LoadSettings(const QString& path) {
    struct stat info = {};
    if (::lstat(files::NativeFromPath(path).constData(), &info) != 0 && errno == ENOENT)
        return {{}, SaveSettings(path, Settings())};
    return ReadSettings(path);
}

QString SaveSettings(const QString& path, const Settings& settings) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QSaveFile file(path);
    // Unbuffered, so that a short write shows in write()'s count: a buffered QSaveFile has been seen to
    // commit a file cut short by a full disk.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return QStringLiteral("cannot write the settings file '%1': %2").arg(path, file.errorString());
    const QByteArray bytes = SettingsFileBytes(settings);
    if (file.write(bytes) != bytes.size() || !file.commit())
        return QStringLiteral("cannot write the settings file '%1': %2").arg(path, file.errorString());
    return {};
}

} // namespace lirobel::settings
