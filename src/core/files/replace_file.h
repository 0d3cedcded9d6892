// SPDX-License-Identifier: GPL-3.0-or-later
// Replacing a file whole: the new content goes to a temporary file beside it, which takes the old one's
// place by a rename only once complete. Names are the system's bytes throughout, never Qt's decoding.
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <functional>
#include <sys/stat.h>
#include <sys/types.h>

namespace lirobel::files {

/// Writes into a file as ::write does: how many of the bytes it took, or -1 with errno set.
using WriteFunction = std::function<ssize_t(int file, const void* bytes, size_t size)>;

/// A new content for an existing regular file, written beside it and renamed over it on Commit. Every
/// failure, and destruction before Commit, removes the temporary file and leaves the target as it was.
class FileReplacement {
public:
    /// Prepares to replace the file named `target`, its exact bytes (a symbolic link at that name would be
    /// replaced by a file: resolve it first). The new file is to take the owner, group and permission bits
    /// of `original`, the target's status. Writes go through `write`, or ::write when it is unset.
    FileReplacement(QByteArray target, const struct stat& original, WriteFunction write = {});
    /// Removes the temporary file unless Commit succeeded.
    ~FileReplacement();
    FileReplacement(const FileReplacement&) = delete;
    FileReplacement& operator=(const FileReplacement&) = delete;

    /// Creates the temporary file, the target's name followed by "." and six random characters; false
    /// when it cannot, with the cause in ErrorString.
    bool Open();
    /// Appends all the bytes to the temporary file; false when it does not take them all.
    bool Write(QByteArrayView bytes);
    /// Gives the new file the original's owner, group and permission bits as far as the process may,
    /// flushes it to disk and renames it over the target. False when any step but the first fails.
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

    QByteArray m_target;
    struct stat m_original;
    WriteFunction m_write;
    QByteArray m_temporary; ///< the temporary file's name while it exists
    bool m_guarded = false; ///< whether the signal handlers know the temporary file
    int m_file = -1;
    QString m_error;
    QString m_warning;
};

/// Makes SIGINT, SIGTERM and SIGHUP remove the temporary file of the FileReplacement being written (if
/// any), then end the process as they would have done: the default action is restored and the signal
/// raised again. A signal the process ignores stays ignored (a run under nohup survives SIGHUP). Meant to
/// be called once, early in main(); it guards one replacement at a time, as the pour makes them.
void RemoveUnfinishedFilesOnSignals();

/// The system's description of an errno value.
QString SystemErrorText(int error);

} // namespace lirobel::files
