// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/files/file_identity.h"

#include <cerrno>
#include <sys/fsuid.h>
#include <unistd.h>

namespace lirobel::files {

namespace {

// setfsuid and setfsgid report no failure; asked to change to an id that is never valid, they only tell
// the current one.
constexpr auto kQuery = static_cast<uid_t>(-1);

gid_t FileSystemGroup() {
    return static_cast<gid_t>(::setfsgid(static_cast<gid_t>(kQuery)));
}

} // namespace

uid_t FileSystemUser() {
    return static_cast<uid_t>(::setfsuid(kQuery));
}

bool FileIdentity::Assume(uid_t user, gid_t group) const {
    if (FileSystemUser() != 0 || user == 0)
        return false;
    // The group first: a thread that no longer acts as root may not change it. Both calls act on this
    // thread alone, unlike setuid, which changes every thread.
    ::setfsgid(group);
    if (FileSystemGroup() != group)
        return false;
    ::setfsuid(user);
    if (FileSystemUser() != user) {
        ::setfsgid(::getegid());
        return false;
    }
    return true;
}

void FileIdentity::Resume() const {
    ::setfsuid(::geteuid());
    ::setfsgid(::getegid());
}

const FileIdentity& SystemFileIdentity() {
    static const FileIdentity identity;
    return identity;
}

ActingAs::~ActingAs() {
    if (m_asOwner) {
        // What failed while acting as the owner is what the caller is about to report.
        const int error = errno;
        m_identity.Resume();
        errno = error;
    }
}

} // namespace lirobel::files
