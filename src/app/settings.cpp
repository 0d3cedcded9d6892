// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/settings.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <array>

namespace lirobel::app {

QByteArray SettingsFileBytes(const Settings& settings) {
    QByteArray bytes;
    for (const QString* value : {&settings.HaReading, &settings.WoReading, &settings.ZuReading, &settings.LastFolder})
        bytes += value->toUtf8() + "\r\n";
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
        *field = QString::fromUtf8(bytes.sliced(start, end - start));
        start = end + 1;
        if (lineEnd == '\r' && start < bytes.size() && bytes[start] == '\n')
            ++start;
    }
    return settings;
}

SettingsFileResult ReadSettings(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {{}, QStringLiteral("cannot read the settings file '%1': %2").arg(path, file.errorString())};
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return {{}, QStringLiteral("cannot read the settings file '%1': %2").arg(path, file.errorString())};
    return {ParseSettings(bytes), {}};
}

SettingsFileResult LoadSettings(const QString& path) {
    if (QFileInfo(path).isFile())
        return ReadSettings(path);
    return {{}, SaveSettings(path, Settings())};
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

} // namespace lirobel::app
