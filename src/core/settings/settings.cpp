// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/settings/settings.h"

#include "core/files/native_path.h"
#include "core/files/user_file.h"

#include <QFile>
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

// The first kMostSettingsBytes of the open file.
std::optional<QByteArray> ReadHead(QFile& file, const QString& path, QString& problem) {
    QByteArray bytes = file.read(kMostSettingsBytes);
    if (file.error() != QFileDevice::NoError) {
        problem = CannotRead(path, file.errorString());
        return std::nullopt;
    }
    return bytes;
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
    return ReadHead(file, path, problem);
}

// The settings the bytes hold, and a problem when one of the three romaji lines is not UTF-8 text.
SettingsFileResult SettingsOfHead(const QByteArray& bytes, const QString& path) {
    SettingsFileResult read{ParseSettings(bytes), {}};
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
    return bytes ? SettingsOfHead(*bytes, path) : SettingsFileResult{{}, problem};
}

SettingsFileResult LoadSettings(const QString& path) {
    if (files::CheckUserFile(path).state == files::UserFileState::Missing)
        return {{}, SaveSettings(path, Settings())};
    QFile file;
    if (const QString cause = files::OpenUserFile(path, file); !cause.isEmpty())
        return {{}, CannotRead(path, cause)};
    QString problem;
    const std::optional<QByteArray> bytes = ReadHead(file, path, problem);
    return bytes ? SettingsOfHead(*bytes, path) : SettingsFileResult{{}, problem};
}

QString SaveSettings(const QString& path, const Settings& settings) {
    if (const QString cause = files::WriteUserFile(path, {SettingsFileBytes(settings)}); !cause.isEmpty())
        return QStringLiteral("cannot write the settings file '%1': %2").arg(path, cause);
    return {};
}

} // namespace lirobel::settings
