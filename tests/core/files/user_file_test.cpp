// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/files/user_file.h"
#include "support/hostile_names.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace lirobel::files {
namespace {

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
