// SPDX-License-Identifier: GPL-3.0-or-later
// Replacing a file whole: the new content goes to a temporary file beside it, which takes the old one's
// place by a rename only once complete. Both go through the folder the old file was read from
// (OriginalFile). Names are the system's bytes throughout, never Qt's decoding.
#pragma once

#include "core/files/file_identity.h"
#include "core/files/original_file.h"
#include "core/files/unfinished_file.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <functional>
#include <sys/types.h>

namespace lirobel::files {

/// Writes into a file as ::write does: how many of the bytes it took, or -1 with errno set.
using WriteFunction = std::function<ssize_t(int file, const void* bytes, size_t size)>;

/// A new content for a regular file, written beside it and renamed over it on Commit. Every failure, and
/// destruction before Commit, removes the temporary file and leaves the original as it was. The rename
/// replaces the name: other hard links to the original, its extended attributes and its ACL stay with the
/// old content.
class FileReplacement {
public:
    /// Prepares to replace `original`, open and read, which must outlive this. The new file is to take its
    /// owner, group and permission bits, with its owner's write permission added. Writes go through `write`,
    /// or ::write when it is unset; files are created with the file-system identity `identity` gives
    /// (SystemFileIdentity() when null): as the original's owner where the process is root.
    explicit FileReplacement(const OriginalFile& original, WriteFunction write = {},
                             const FileIdentity* identity = nullptr);
    /// Removes the temporary file unless Commit succeeded.
    ~FileReplacement();
    FileReplacement(const FileReplacement&) = delete;
    FileReplacement& operator=(const FileReplacement&) = delete;

    /// Creates the temporary file in the original's folder: its name followed by "." and six random
    /// characters, the name cut short where that would pass the folder's limit. False when it cannot, or
    /// when the original has changed (OriginalFile::ChangeCause), with the cause in ErrorString.
    bool Open();
    /// Appends all the bytes to the temporary file; false when it does not take them all.
    bool Write(QByteArrayView bytes);
    /// Gives the new file the original's owner, group and permission bits (and the owner's write
    /// permission) as far as the process may, flushes it to disk and, unless the original has changed
    /// meanwhile, renames it over the original. False when any step but the first fails.
    bool Commit();

    /// Why the last step failed, in English.
    QString ErrorString() const { return m_error; }
    /// After Commit, what the new file could not take over from the original ("now belongs to ..., not
    /// ... as before"), in English; empty when it kept owner, group and permission bits.
    QString Warning() const { return m_warning; }

private:
    bool Fail(QString cause);
    void Discard();
    void TakeOverOwnerAndPermissions();
    /// Asks the kernel to begin writing to disk what was written since the last time, once that is a good
    /// deal.
    void StartWriteBack();

    const OriginalFile& m_original;
    WriteFunction m_write;
    const FileIdentity& m_identity;
    mode_t m_mode;          ///< the permission bits the new file is to have
    QByteArray m_temporary; ///< the temporary file's name in the folder while it exists
    bool m_guarded = false; ///< whether the signal handlers know the temporary file
    int m_file = -1;
    off_t m_written = 0;          ///< the bytes the temporary file has taken
    off_t m_writeBackStarted = 0; ///< how many of them the disk was asked to begin writing
    QString m_error;
    QString m_warning;
};

/// The name of a temporary file beside the file `name` in a folder whose names may have up to nameLimit
/// bytes: the name, cut short where needed, followed by "." and the suffix of six characters.
QByteArray TemporaryName(const QByteArray& name, long nameLimit, QByteArrayView suffix);

/// The system's description of an errno value.
QString SystemErrorText(int error);

} // namespace lirobel::files
