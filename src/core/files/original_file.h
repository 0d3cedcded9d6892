// SPDX-License-Identifier: GPL-3.0-or-later
// A file read in order to be replaced. Its folder is opened first and held: the file is read through it,
// and the new file is created and renamed through it too, so that a folder swapped for a link midway
// cannot send the new file anywhere else.
#pragma once

#include "core/files/file_identity.h"

#include <QByteArray>
#include <QString>
#include <sys/stat.h>

namespace lirobel::files {

class OriginalFile {
public:
    OriginalFile() = default;
    ~OriginalFile();
    OriginalFile(const OriginalFile&) = delete;
    OriginalFile& operator=(const OriginalFile&) = delete;

    /// Opens the file named by `native`, its exact bytes, links followed: resolves the name to that of the
    /// file itself, opens the folder that holds it, and then the file through the folder, unless it is not
    /// a regular file (a FIFO or a device is never opened; Status() tells what it is). False, with errno
    /// set, when a step fails: ENOENT when the name leads to nothing.
    bool Open(const QByteArray& native);
    /// The file's status as opened.
    const struct stat& Status() const { return m_status; }
    /// Reads the whole regular file into bytes; empty when it did, otherwise why not, in English. A file
    /// that ends before the size it had when opened is a failure, not a shorter song.
    QString ReadAll(QByteArray& bytes) const;

    /// Why a new file could not be created in the folder and renamed over this one, as errno (0 when it
    /// could), acting as `identity` lets on behalf of the file's owner: no write or search permission on
    /// the folder, a read-only file system, a sticky folder of which neither the folder nor the file
    /// belongs to whoever acts. Creates nothing.
    int FolderRefusal(const FileIdentity& identity) const;
    /// Whether the process may make the file writable for its owner, as the pour promises: it is, or the
    /// calling thread acts in the file system as its owner or as root.
    bool MayBeMadeWritable() const;
    /// Why the file can no longer be replaced as it was read, in English: its folder is no longer at its
    /// path, or the name there no longer is the file that was read, with the same size, modification and
    /// change times (another program saved it). Empty when it can.
    QString ChangeCause() const;

    /// The open folder, and the file's name in it.
    int Folder() const { return m_folder; }
    const QByteArray& Name() const { return m_name; }

private:
    QByteArray m_folderPath;
    QByteArray m_name;
    int m_folder = -1;
    int m_file = -1;
    struct stat m_folderStatus {};
    struct stat m_status {};
};

} // namespace lirobel::files
