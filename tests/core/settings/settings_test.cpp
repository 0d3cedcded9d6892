// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/settings/preferences.h"
#include "core/settings/settings.h"
#include "support/case_file.h"
#include "support/hostile_names.h"
#include "support/test_files.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QScopeGuard>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace lirobel::settings {
namespace {

const QByteArray kDefaultBytes = "ha\r\no\r\nzu\r\nC:\\\r\n";

using test::ReadFile;
using test::WriteFile;

Settings Values(const char* ha, const char* wo, const char* zu, const char* folder) {
    return {QString::fromUtf8(ha), QString::fromUtf8(wo), QString::fromUtf8(zu), QString::fromUtf8(folder)};
}

// A row of settings_file_cases.tsv, whose head says what each field holds.
class ParseSettingsTest : public testing::TestWithParam<QByteArrayList> {};

TEST_P(ParseSettingsTest, ReadsAndWritesLinesByPosition) {
    const QByteArrayList& row = GetParam();
    EXPECT_EQ(ParseSettings(row[1]), Values(row[2], row[3], row[4], row[5]));
    EXPECT_EQ(SettingsFileBytes(Values(row[2], row[3], row[4], row[5])) == row[1], row.value(6) == "1");
}

INSTANTIATE_TEST_SUITE_P(Files, ParseSettingsTest,
                         testing::ValuesIn(test::ReadCaseFile(LIROBEL_TEST_DATA "/settings_file_cases.tsv")),
                         [](const testing::TestParamInfo<QByteArrayList>& row) { return row.param[0].toStdString(); });

class SettingsFileTest : public testing::Test {
protected:
    QTemporaryDir m_folder;
    QString m_path = m_folder.filePath(QStringLiteral("Settings.ini"));
};

// Both readers give the defaults and a problem where no regular file can be read, and read only the head
// of one: a pipe would block them, a device or a huge file flood them. Bytes that are not UTF-8 are kept
// (a folder named in GBK is a folder) but make a rule line a problem. Nothing read is changed.
TEST_F(SettingsFileTest, ReadsOnlyTheHeadOfARegularFileAndKeepsItsBytes) {
    const QString huge = m_folder.filePath(QStringLiteral("huge.ini"));
    const QString folder = m_folder.filePath(QStringLiteral("folder.ini"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(m_path).constData(), 0600), 0);
    ASSERT_TRUE(QDir().mkdir(folder));
    WriteFile(huge, "wa\r\nwo\r\ndu\r\n/x/\r\n");
    ASSERT_TRUE(QFile::resize(huge, qint64(1) << 40)); // sparse: no disk is used
    const struct {
        QString path;
        QByteArray read;     // the file's bytes as the settings read give them back
        const char* problem; // a part of it, or null for none
    } rows[] = {
        {m_path, kDefaultBytes, ""},
        {QStringLiteral("/dev/zero"), kDefaultBytes, ""},
        {folder, kDefaultBytes, ""},
        {QStringLiteral("/proc/self/mem"), kDefaultBytes, ""}, // a file that even root cannot read from its start
        {huge, "wa\r\nwo\r\ndu\r\n/x/\r\n", nullptr},
        {m_folder.filePath(QStringLiteral("gbk")), "ha\r\no\r\nzu\r\n/home/\xb8\xe8\xc7\xfa/\r\n", nullptr},
        {m_folder.filePath(QStringLiteral("line1")), "\xff\r\no\r\nzu\r\n/\r\n", "line 1 "},
        {m_folder.filePath(QStringLiteral("line3")), "ha\r\no\r\nz\xe4\r\n/\r\n", "line 3 "},
    };
    ::alarm(20);
    for (const auto& row : rows) {
        if (!QFileInfo::exists(row.path)) // a file of its own that holds what it gives back
            WriteFile(row.path, row.read);
        for (const SettingsFileResult& read : {ReadSettings(row.path), LoadSettings(row.path)}) {
            EXPECT_EQ(SettingsFileBytes(read.settings), row.read) << row.path.toStdString();
            EXPECT_TRUE(row.problem ? read.problem.contains(QLatin1StringView(row.problem)) && !read.problem.isEmpty()
                                    : read.problem.isEmpty())
                << read.problem.toStdString();
        }
    }
    ::alarm(0);
    EXPECT_TRUE(QFileInfo(folder).isDir());
    EXPECT_FALSE(QFileInfo(m_path).isFile());
}

TEST_F(SettingsFileTest, FailedSaveLeavesTheOldFileWhole) {
    const QByteArray stored("wa\r\nwo\r\ndu\r\n/home/me/\r\n");
    WriteFile(m_path, stored);
    const QString problem = [this] {
        const test::FileSizeLimit fullDisk(8);
        return SaveSettings(m_path, Values("ha", "o", "zu", "/a/much/longer/folder/than/eight/bytes/"));
    }();
    EXPECT_NE(problem, QString());
    EXPECT_EQ(ReadFile(m_path), stored);
    EXPECT_EQ(QDir(m_folder.path()).entryList(QDir::Files), QStringList{QStringLiteral("Settings.ini")});
}

// Until the guard given ends, the user's configuration folder is the given one (QStandardPaths' test mode,
// which other tests of this program turn on, would ignore it; each of them turns it on again).
auto ConfigurationFolder(const QString& folder) {
    QStandardPaths::setTestModeEnabled(false);
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(folder));
    return qScopeGuard([] { qunsetenv("XDG_CONFIG_HOME"); });
}

class SettingsAtHostileName : public test::HostileNameTest {};

TEST_P(SettingsAtHostileName, GivesTheDefaultsAndIsLeftAlone) {
    const SettingsFileResult loaded = LoadSettings(m_path);
    EXPECT_EQ(loaded.settings, Settings());
    EXPECT_NE(loaded.problem, QString());
    Settings changed;
    changed.HaReading = QStringLiteral("wa");
    EXPECT_NE(SaveSettings(m_path, changed), QString());
    ExpectUntouched();
}

TEST_P(SettingsAtHostileName, AsPreferencesGivesTheDefaultsAndIsLeftAlone) {
    const auto configuration = ConfigurationFolder(m_root.path());
    ASSERT_EQ(PreferencesPath(), m_path);
    for (const bool byDefault : {false, true})
        EXPECT_EQ(ReadPreference(kSkipHeldNotesPreference, byDefault), byDefault);
    WritePreference(kSkipHeldNotesPreference, true);
    ExpectUntouched();
}

INSTANTIATE_TEST_SUITE_P(Settings, SettingsAtHostileName, testing::ValuesIn(test::kHostileNames),
                         [](const auto& row) { return std::string(row.param.name); });

TEST(Preferences, AreKeptInTheUsersOwnFile) {
    QTemporaryDir home;
    const auto configuration = ConfigurationFolder(home.path());
    EXPECT_FALSE(ReadPreference(kReadByWordsPreference, false));
    WritePreference(kReadByWordsPreference, true);
    EXPECT_TRUE(ReadPreference(kReadByWordsPreference, false));
    EXPECT_TRUE(QFileInfo(home.filePath(QStringLiteral("Lirobel/lirobel.conf"))).isFile());
}

} // namespace
} // namespace lirobel::settings
