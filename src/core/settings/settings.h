// SPDX-License-Identifier: GPL-3.0-or-later
// The settings record and its file "Settings.ini": four lines, each ended by CR LF, read by position.
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

namespace lirobel::settings {

/// The user's settings, one record per process. Values are kept exactly as read: a value other than
/// the ones the rule dialog offers is used as it stands and written back unchanged.
struct Settings {
    QString HaReading = QStringLiteral("ha");    ///< romaji of は/ハ: "ha" or "wa"
    QString WoReading = QStringLiteral("o");     ///< romaji of を/ヲ and of "wo": "o" or "wo"
    QString ZuReading = QStringLiteral("zu");    ///< romaji of づ/ヅ and of "zu"/"du": "zu" or "du"
    QString LastFolder = QStringLiteral("C:\\"); ///< where the VSQX file dialog starts

    bool operator==(const Settings&) const = default;
};

/// The file's bytes: the four values in UTF-8 (bytes kept by PathFromNative go back as they were), each
/// followed by CR LF, nothing else. The defaults give the 16 bytes "ha\r\no\r\nzu\r\nC:\\\r\n".
QByteArray SettingsFileBytes(const Settings& settings);

/// The settings a file's bytes hold. Lines end at CR, and an LF directly after a CR belongs to that line
/// end; a file without any CR (written by hand with an editor that ends lines with LF alone) is read with
/// LF as its line end instead. A last line without an end counts. Lines after the fourth are ignored;
/// fields the file has no line for keep their defaults. Bytes that are not UTF-8 are kept as
/// PathFromNative keeps them.
Settings ParseSettings(QByteArrayView bytes);

/// What reading or writing a settings file gave: the settings, and the problem met, if any.
struct SettingsFileResult {
    Settings settings;
    QString problem; ///< empty when all went well
};

/// The window's start-up read: the settings of the file at path, read as ReadSettings reads them. When
/// nothing is there, the file is created with the default bytes first. Only the user's own regular file in
/// a folder of theirs is read (files::OpenUserFile): a symbolic link, a pipe or another user's file gives
/// the defaults and is left as it is, as does a file that cannot be created. problem says what went wrong.
SettingsFileResult LoadSettings(const QString& path);

/// A read that never creates or changes anything (the CLI's): the settings of the regular file at path,
/// of which only the first 8 KiB are read. Anything else there (a pipe, a device, a folder) is refused
/// without reading from it. Gives the defaults and a problem when the file cannot be read; gives the
/// settings and a problem when one of the three romaji lines is not UTF-8 text.
SettingsFileResult ReadSettings(const QString& path);

/// Writes the settings to path as files::WriteUserFile writes: through a temporary file in the same folder
/// that replaces the file only once complete, so a failure (a full disk, a folder that cannot be written)
/// leaves the old file whole, and never over or through anything but the user's own regular file.
/// Returns the problem, or an empty string on success.
QString SaveSettings(const QString& path, const Settings& settings);

} // namespace lirobel::settings
