// SPDX-License-Identifier: GPL-3.0-or-later
// Whose name a file is created in. Root that replaces another user's file creates the new one as that
// user, so that it can put a file nowhere that user could not, whatever a link on the way points to.
#pragma once

#include <sys/types.h>

namespace lirobel::files {

/// The file-system identity of the calling thread, which a test may replace: only root can change it.
class FileIdentity {
public:
    virtual ~FileIdentity() = default;
    /// When the calling thread acts as root and the owner is someone else, makes the calling thread act in the
    /// file system as that user and group (setfsgid, setfsuid), which also drops root's right to pass
    /// permission checks; true when it now does. False, changing nothing, when the thread does not act as root, the
    /// owner is root, or the change is not allowed.
    virtual bool Assume(uid_t user, gid_t group) const;
    /// Gives the calling thread back the process's own identity after Assume returned true.
    virtual void Resume() const;
};

/// The user as whom the calling thread acts in the file system: the effective user unless changed.
uid_t FileSystemUser();

/// The identity of the running process, as the system changes it.
const FileIdentity& SystemFileIdentity();

/// For as long as it lives, the calling thread acts in the file system as the owner given, where
/// FileIdentity::Assume lets it.
class ActingAs {
public:
    ActingAs(const FileIdentity& identity, uid_t user, gid_t group)
        : m_identity(identity), m_asOwner(identity.Assume(user, group)) {}
    ~ActingAs();
    ActingAs(const ActingAs&) = delete;
    ActingAs& operator=(const ActingAs&) = delete;

    /// Whether the thread acts as the owner, rather than as the process.
    bool AsOwner() const { return m_asOwner; }

private:
    const FileIdentity& m_identity;
    bool m_asOwner;
};

} // namespace lirobel::files
