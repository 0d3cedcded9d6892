// SPDX-License-Identifier: GPL-3.0-or-later
// File names as bytes, replacing a file whole, and the files kept per user.
#include "core/files/native_path.h"
#include "core/files/replace_file.h"
#include "core/files/user_file.h"
#include "support/hostile_names.h"
#include "support/test_files.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace lirobel::files {
namespace {

TEST(NativePath, KeepsEveryByteOfAName) {
    const QByteArray names[] = {
        "song.vsqx",
        "/home/me/\xe6\xad\x8c/\xe4\xbd\xa0\xe5\xa5\xbd.vsqx", // UTF-8
        "\xb8\xe8\xc7\xfa.vsqx",                               // GBK
        "\xff.vsqx",
        "\xc0\xaf overlong",
        "\xed\xa0\x80 surrogate",
        "cut short \xe4\xbd",
        "\xf4\x90\x80\x80 past U+10FFFF",
        "\xef\xbf\xbd the replacement character itself",
    };
    for (const QByteArray& name : names) {
        const QString path = PathFromNative(name);
        EXPECT_EQ(NativeFromPath(path), name) << name.toHex().toStdString();
        EXPECT_EQ(HasRawBytes(path), QString::fromUtf8(name).toUtf8() != name) << name.toHex().toStdString();
    }
    EXPECT_EQ(PathFromNative("\xe4\xbd\xa0.vsqx"), QStringLiteral("你.vsqx"));
    // Two names that Qt would both decode to U+FFFD stay apart.
    EXPECT_NE(PathFromNative("\xff"), PathFromNative("\xfe"));
    EXPECT_NE(PathFromNative("\xff"), PathFromNative("\xef\xbf\xbd"));
}

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

using test::HostileNameTest;

mode_t ModeOf(const QString& path) {
    struct stat status {};
    return ::lstat(QFile::encodeName(path).constData(), &status) == 0 ? status.st_mode & 07777 : 0;
}

TEST_P(HostileNameTest, IsNeitherReadNorWritten) {
    EXPECT_EQ(CheckUserFile(m_path).state, UserFileState::Refused);
    QFile file;
    EXPECT_NE(OpenUserFile(m_path, file), QString());
    EXPECT_FALSE(file.isOpen());
    EXPECT_NE(WriteUserFile(m_path, {"new\n"}), QString());
    ExpectUntouched();
}

INSTANTIATE_TEST_SUITE_P(UserFile, HostileNameTest, testing::ValuesIn(test::kHostileNames),
                         [](const auto& row) { return std::string(row.param.name); });

TEST(UserFile, IsReplacedWholeKeepingItsPermissions) {
    QTemporaryDir root;
    const QString path = root.filePath(QStringLiteral("made/here/kept"));
    EXPECT_EQ(CheckUserFile(path).state, UserFileState::Missing);
    ASSERT_EQ(WriteUserFile(path, {"first ", "second"}), QString());
    EXPECT_EQ(ModeOf(root.filePath(QStringLiteral("made"))), 0700u);
    EXPECT_EQ(CheckUserFile(path).state, UserFileState::Usable);
    ASSERT_EQ(::chmod(QFile::encodeName(path).constData(), 0640), 0);
    ASSERT_EQ(WriteUserFile(path, {"third"}), QString());
    EXPECT_EQ(ModeOf(path), 0640u);
    QFile file;
    ASSERT_EQ(OpenUserFile(path, file), QString());
    EXPECT_EQ(file.readAll(), QByteArray("third"));
    EXPECT_EQ(QDir(QFileInfo(path).path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries),
              QStringList{QStringLiteral("kept")});
}

} // namespace
} // namespace lirobel::files
