// SPDX-License-Identifier: GPL-3.0-or-later
// What another user (or root's borrowed environment) can leave at the name of a file the program keeps
// per user, and a record of it that shows whether the program touched it.
#pragma once

#include <QByteArray>
#include <QByteArrayList>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace lirobel::test {

/// A user that is not the one running the tests: root can give it files.
inline constexpr uid_t kOtherUser = 65534;

struct HostileName {
    const char* name;
    bool needsRoot;
    /// Puts the thing in place of `path`, whose folder `folder` is empty; `victim` is a file of bystander
    /// bytes elsewhere (absent for a dangling link) that a link may name.
    void (*prepare)(const QString& folder, const QString& path, const QString& victim);
};

inline QByteArray Native(const QString& path) {
    return QFile::encodeName(path);
}

inline const HostileName kHostileNames[] = {
    {"LinkToAFile", false,
     [](const QString&, const QString& path, const QString& victim) {
         ASSERT_EQ(::symlink(Native(victim).constData(), Native(path).constData()), 0);
     }},
    {"DanglingLink", false,
     [](const QString&, const QString& path, const QString& victim) {
         ASSERT_TRUE(QFile::remove(victim));
         ASSERT_EQ(::symlink(Native(victim).constData(), Native(path).constData()), 0);
     }},
    {"Pipe", false,
     [](const QString&, const QString& path, const QString&) {
         ASSERT_EQ(::mkfifo(Native(path).constData(), 0600), 0);
     }},
    {"LinkedFolder", false,
     [](const QString& folder, const QString&, const QString& victim) {
         // The folder itself is a link to the victim's folder, where a file of the same name waits.
         ASSERT_TRUE(QDir(folder).removeRecursively());
         ASSERT_EQ(::symlink(Native(QFileInfo(victim).path()).constData(), Native(folder).constData()), 0);
     }},
    {"OtherUsersFile", true,
     [](const QString&, const QString& path, const QString& victim) {
         ASSERT_TRUE(QFile::copy(victim, path));
         ASSERT_EQ(::chown(Native(path).constData(), kOtherUser, kOtherUser), 0);
     }},
    {"OtherUsersFolder", true,
     [](const QString& folder, const QString&, const QString&) {
         ASSERT_EQ(::chown(Native(folder).constData(), kOtherUser, kOtherUser), 0);
     }},
};

/// What lies at a name, without following a link (its inode, mode, owner and time of change), and the
/// bytes of a regular file there; empty when nothing does.
inline QByteArray NameState(const QString& path) {
    struct stat status {};
    if (::lstat(Native(path).constData(), &status) != 0)
        return {};
    QFile file(path);
    const bool regular = S_ISREG(status.st_mode) && file.open(QIODevice::ReadOnly);
    return QByteArrayList{QByteArray::number(status.st_ino),          QByteArray::number(status.st_mode),
                          QByteArray::number(status.st_uid),          QByteArray::number(status.st_mtim.tv_sec),
                          QByteArray::number(status.st_mtim.tv_nsec), regular ? file.readAll() : "-"}
        .join(' ');
}

/// A fixture's frame for one hostile name: a folder holding the name, a victim file elsewhere, and the
/// state of both before the code under test runs. Code that waits on a pipe ends the test by an alarm.
class HostileNameTest : public testing::TestWithParam<HostileName> {
protected:
    void SetUp() override {
        if (GetParam().needsRoot && ::geteuid() != 0)
            GTEST_SKIP() << "only root can give a file to another user";
        ASSERT_TRUE(QDir(m_root.path()).mkpath(QStringLiteral("Lirobel")) &&
                    QDir(m_root.path()).mkpath(QStringLiteral("victims")));
        QFile victim(m_victim);
        ASSERT_TRUE(victim.open(QIODevice::WriteOnly) && victim.write("precious\n") == 9);
        victim.close();
        GetParam().prepare(m_folder, m_path, m_victim);
        m_before = {NameState(m_path), NameState(m_victim)};
        ::alarm(20);
    }
    void TearDown() override { ::alarm(0); }

    /// Expects the name and the victim as they were, and no other file beside the victim.
    void ExpectUntouched() const {
        EXPECT_EQ(NameState(m_path), m_before.first) << "the name was changed";
        EXPECT_EQ(NameState(m_victim), m_before.second) << "the victim was changed";
        EXPECT_LE(QDir(QFileInfo(m_victim).path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries).size(), 1);
    }

    QTemporaryDir m_root;
    // The preferences' names, so that a test can point the configuration folder at m_root.
    QString m_folder = m_root.filePath(QStringLiteral("Lirobel"));
    QString m_victim = m_root.filePath(QStringLiteral("victims/lirobel.conf"));
    QString m_path = m_folder + QStringLiteral("/lirobel.conf");
    std::pair<QByteArray, QByteArray> m_before;
};

} // namespace lirobel::test
