// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/settings/settings.h"
#include "support/case_file.h"
#include "support/test_files.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace lirobel::settings {
namespace {

const QByteArray kDefaultBytes("\x68\x61\x0D\x0A\x6F\x0D\x0A\x7A\x75\x0D\x0A\x43\x3A\x5C\x0D\x0A", 16);

using test::ReadFile;
using test::WriteFile;

Settings Values(const char* ha, const char* wo, const char* zu, const char* folder) {
    return {QString::fromUtf8(ha), QString::fromUtf8(wo), QString::fromUtf8(zu), QString::fromUtf8(folder)};
}

// A row of settings_file_cases.tsv: name, the file's bytes, the values it holds.
class ParseSettingsTest : public testing::TestWithParam<QByteArrayList> {};

TEST_P(ParseSettingsTest, ReadsLinesByPosition) {
    const QByteArrayList& row = GetParam();
    EXPECT_EQ(ParseSettings(row[1]), Values(row[2], row[3], row[4], row[5]));
}

INSTANTIATE_TEST_SUITE_P(Files, ParseSettingsTest,
                         testing::ValuesIn(test::ReadCaseFile(LIROBEL_TEST_DATA "/settings_file_cases.tsv")),
                         [](const testing::TestParamInfo<QByteArrayList>& row) { return row.param[0].toStdString(); });

TEST(SettingsFileBytes, WritesFourLinesEndedByCrLf) {
    EXPECT_EQ(SettingsFileBytes(Settings()), kDefaultBytes);
    const Settings chosen = Values("wa", " wo ", "", "/home/me/歌/");
    EXPECT_EQ(SettingsFileBytes(chosen), QByteArray("wa\r\n wo \r\n\r\n/home/me/歌/\r\n"));
    EXPECT_EQ(ParseSettings(SettingsFileBytes(chosen)), chosen);
}

class SettingsFileTest : public testing::Test {
protected:
    QTemporaryDir m_folder;
    QString m_path = m_folder.filePath(QStringLiteral("Settings.ini"));
};

TEST_F(SettingsFileTest, UnreadableFileGivesDefaultsAndStaysAsItWas) {
    // /proc/self/mem is a normal file that even root cannot read from its start.
    if (!QFileInfo(QStringLiteral("/proc/self/mem")).isFile())
        GTEST_SKIP() << "no /proc here";
    const SettingsFileResult loaded = LoadSettings(QStringLiteral("/proc/self/mem"));
    EXPECT_NE(loaded.problem, QString());
    EXPECT_EQ(loaded.settings, Settings());

    // A folder in the file's place is no file: loading must neither fail hard nor replace it.
    ASSERT_TRUE(QDir(m_folder.path()).mkdir(QStringLiteral("Settings.ini")));
    const SettingsFileResult blocked = LoadSettings(m_path);
    EXPECT_NE(blocked.problem, QString());
    EXPECT_EQ(blocked.settings, Settings());
    EXPECT_TRUE(QFileInfo(m_path).isDir());
}

TEST_F(SettingsFileTest, ReadsOnlyTheHeadOfARegularFile) {
    // A pipe would block the reader and a device or a huge file would flood it.
    ASSERT_EQ(::mkfifo(QFile::encodeName(m_path).constData(), 0600), 0);
    const QString huge = m_folder.filePath(QStringLiteral("huge.ini"));
    WriteFile(huge, "wa\r\nwo\r\ndu\r\n/x/\r\n");
    ASSERT_TRUE(QFile::resize(huge, qint64(1) << 40)); // sparse: no disk is used
    const struct {
        QString path;
        Settings settings;
        bool refused;
    } rows[] = {
        {m_path, {}, true}, {QStringLiteral("/dev/zero"), {}, true}, {huge, Values("wa", "wo", "du", "/x/"), false}};
    for (const auto& row : rows) {
        const SettingsFileResult read = ReadSettings(row.path);
        EXPECT_EQ(read.settings, row.settings) << row.path.toStdString();
        EXPECT_EQ(read.problem.contains(u"not a regular file"), row.refused) << read.problem.toStdString();
    }
    EXPECT_NE(LoadSettings(m_path).problem, QString());
    EXPECT_FALSE(QFileInfo(m_path).isFile()); // the pipe is left where it was
}

TEST_F(SettingsFileTest, KeepsBytesThatAreNotUtf8) {
    const struct {
        QByteArray file;
        const char* problem; // a part of it, or "" for none
    } rows[] = {
        {"ha\r\no\r\nzu\r\n/home/\xb8\xe8\xc7\xfa/\r\n", ""}, // a folder named in GBK is a folder
        {"\xff\r\no\r\nzu\r\n/\r\n", "line 1 "},
        {"ha\r\no\r\nz\xe4\r\n/\r\n", "line 3 "},
    };
    for (const auto& row : rows) {
        WriteFile(m_path, row.file);
        const SettingsFileResult read = ReadSettings(m_path);
        EXPECT_TRUE(QByteArrayView(row.problem).isEmpty() ? read.problem.isEmpty()
                                                          : read.problem.contains(QLatin1StringView(row.problem)))
            << read.problem.toStdString();
        EXPECT_EQ(SettingsFileBytes(read.settings), row.file);
    }
}

TEST_F(SettingsFileTest, FailedSaveLeavesTheOldFileWhole) {
    const QByteArray stored("wa\r\nwo\r\ndu\r\n/home/me/\r\n");
    WriteFile(m_path, stored);
    QString problem;
    {
        const test::FileSizeLimit fullDisk(8);
        problem = SaveSettings(m_path, Values("ha", "o", "zu", "/a/much/longer/folder/than/eight/bytes/"));
    }
    EXPECT_NE(problem, QString());
    EXPECT_EQ(ReadFile(m_path), stored);
    EXPECT_EQ(QDir(m_folder.path()).entryList(QDir::Files), QStringList{QStringLiteral("Settings.ini")});
}

} // namespace
} // namespace lirobel::settings
