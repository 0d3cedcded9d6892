// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/files/replace_file.h"
#include "support/test_files.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <unistd.h>

namespace lirobel::files {
namespace {

TEST(OriginalFile, FileThatBecomesShorterWhileReadIsAFailure) {
    QTemporaryDir folder;
    const QByteArray path = QFile::encodeName(test::WriteFile(folder.filePath(QStringLiteral("song")), "0123456789"));
    OriginalFile original;
    ASSERT_TRUE(original.Open(path));
    ASSERT_EQ(::truncate(path.constData(), 4), 0);
    QByteArray bytes;
    EXPECT_EQ(original.ReadAll(bytes), QStringLiteral("it became shorter while it was read"));
}

// Acts as the owner whenever asked, as root would, and records it.
class RecordingIdentity : public FileIdentity {
public:
    bool Assume(uid_t user, gid_t group) const override {
        calls += QStringLiteral("assume %1:%2 ").arg(user).arg(group);
        return true;
    }
    void Resume() const override { calls += QStringLiteral("resume "); }
    mutable QString calls;
};

// The folder check and the creation act as the owner, and each gives the thread back.
TEST(FileReplacement, CreatesAsTheOwnerAndResumesAfterwards) {
    QTemporaryDir folder;
    const QString path = test::WriteFile(folder.filePath(QStringLiteral("song")), "old");
    ASSERT_TRUE(QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadGroup));
    OriginalFile original;
    ASSERT_TRUE(original.Open(QFile::encodeName(path)));
    const RecordingIdentity identity;
    EXPECT_EQ(original.FolderRefusal(identity), 0);
    FileReplacement replacement(original, {}, &identity);
    ASSERT_TRUE(replacement.Open() && replacement.Write("new") && replacement.Commit());
    const QString owner = QStringLiteral("assume %1:%2 resume ").arg(::geteuid()).arg(::getegid());
    EXPECT_EQ(identity.calls, owner + owner);
    EXPECT_EQ(test::ReadFile(path), "new");
    EXPECT_EQ(QFile::permissions(path) & 0x7077, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup);
}

} // namespace
} // namespace lirobel::files
