// SPDX-License-Identifier: GPL-3.0-or-later
// Files the program keeps for the user who runs it (the settings, the preferences, the reading-table
// cache). Their names lie in folders others may have prepared: a symbolic link, a pipe or another
// user's file at such a name is never read, written through, replaced or waited on.
#pragma once

#include <QByteArrayView>
#include <QFile>
#include <QString>
#include <initializer_list>

namespace lirobel::files {

/// How a per-user file stands, judged without opening it or following a link.
enum class UserFileState {
    Missing, ///< neither the file nor its folder is there
    Usable,  ///< a regular file of the running user's, in a folder of theirs that is no symbolic link
    Refused, ///< anything else: a link, a pipe, a device, a folder, another user's file or folder
};

struct UserFileCheck {
    UserFileState state;
    QString cause; ///< why it is refused, in English; empty otherwise
};

/// Judges the file at path (text as files::PathFromNative makes it) and its folder. Only the folder's last
/// component is held to the rule: the folders above it may be links, as home folders often are.
UserFileCheck CheckUserFile(const QString& path);

/// Opens the file at path for reading, when CheckUserFile finds it usable, without following a link and
/// without waiting: the file opened is the one judged. Returns the cause of failure (a missing file
/// included), or an empty string with `file` open and owning the descriptor.
QString OpenUserFile(const QString& path, QFile& file);

/// Replaces the file at path by the parts, joined, at once: a temporary file is made in the same folder
/// (exclusively, never through a link), written, flushed to disk and renamed over the name, so a reader
/// sees the old file or the new one, whole. A missing folder is made, readable by the user alone. What
/// is at the name stays untouched unless it is the user's own regular file, whose permission bits the
/// new file takes over. Returns the cause of failure, or an empty string.
QString WriteUserFile(const QString& path, std::initializer_list<QByteArrayView> parts);

} // namespace lirobel::files
