// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/settings/install_layout.h"
#include "core/settings/settings_location.h"
#include "support/case_file.h"
#include "support/test_files.h"

#include <QDir>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QUrl>
#include <gtest/gtest.h>

namespace lirobel::settings {
namespace {

// A row of install_layout_cases.tsv, whose head says what each field holds.
class InstallLayoutTest : public testing::TestWithParam<QByteArrayList> {};

// The folders here can all be written: an installed program keeps away from its own folder whoever runs
// it, also root, for whom every folder can be written.
TEST_P(InstallLayoutTest, DecidesWhereSettingsAndReadmeAre) {
    QStandardPaths::setTestModeEnabled(true);
    const QByteArrayList& row = GetParam();
    const QTemporaryDir root;
    const QString folder = root.filePath(QString::fromUtf8(row[1]));
    QDir().mkpath(folder);
    const QString beside = folder + QStringLiteral("/Settings.ini");
    const bool settingsBeside = row.value(5) != "0";
    if (settingsBeside)
        test::WriteFile(beside, "wa\r\n");
    if (!row[2].isEmpty()) {
        const QString other = root.filePath(QString::fromUtf8(row[2]));
        QDir().mkpath(QFileInfo(other).path());
        test::WriteFile(other, "");
    }

    EXPECT_EQ(IsInstalled(folder), row[3] == "1");
    const QString expected = row[3] == "1" ? UserSettingsPath() : beside;
    EXPECT_EQ(WindowSettingsPath(folder), expected);
    EXPECT_EQ(CliSettingsPath(folder), settingsBeside ? expected : UserSettingsPath());
    EXPECT_TRUE(UserSettingsPath().endsWith(QStringLiteral("/Lirobel/Settings.ini")));
    const QString readme = QUrl(ProjectPage(folder)).toLocalFile();
    EXPECT_EQ(readme, root.filePath(QString::fromUtf8(row[4])));
}

// A program folder that cannot be written sends the window to the user's folder.
TEST(SettingsLocation, FallsBackToTheUserFolderWhereTheProgramFolderCannotBeWritten) {
    EXPECT_EQ(WindowSettingsPath(QStringLiteral("/nonexistent/folder")), UserSettingsPath());
}

INSTANTIATE_TEST_SUITE_P(Layouts, InstallLayoutTest,
                         testing::ValuesIn(test::ReadCaseFile(LIROBEL_TEST_DATA "/install_layout_cases.tsv",
                                                              {{"DESKTOP_ENTRY", LIROBEL_DESKTOP_ENTRY}})),
                         [](const testing::TestParamInfo<QByteArrayList>& row) { return row.param[0].toStdString(); });

} // namespace
} // namespace lirobel::settings
