// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/settings/install_layout.h"
#include "core/settings/settings_location.h"
#include "support/test_files.h"

#include <QDir>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QUrl>
#include <gtest/gtest.h>

namespace lirobel::settings {
namespace {

struct LayoutCase {
    const char* name;
    const char* executableFolder; ///< relative to a temporary root
    const char* otherFile;        ///< made under the root besides the program's Settings.ini, or null
    bool installed;
    const char* readme;         ///< the README the program names, relative to the root
    bool settingsBeside = true; ///< whether a Settings.ini lies beside the program
};

const LayoutCase kLayouts[] = {
    {"InstalledPrefix", "usr/bin", "usr/" LIROBEL_DESKTOP_ENTRY, true, "usr/share/doc/lirobel/README.md"},
    {"BuildTree", "build/test/bin", nullptr, false, "build/test/share/doc/lirobel/README.md"},
    {"PrefixWithoutDesktopEntry", "usr/bin", "usr/share/doc/lirobel/README.md", false,
     "usr/share/doc/lirobel/README.md"},
    {"CopiedFolderNotNamedBin", "Lirobel", LIROBEL_DESKTOP_ENTRY, false, "Lirobel/share/doc/lirobel/README.md"},
    // The window keeps its settings beside itself even before there are any; the CLI then reads the user's.
    {"BuildTreeWithoutSettings", "build/test/bin", nullptr, false, "build/test/share/doc/lirobel/README.md", false},
};

class InstallLayoutTest : public testing::TestWithParam<LayoutCase> {};

// The folders here can all be written: an installed program keeps away from its own folder whoever runs
// it, also root, for whom every folder can be written.
TEST_P(InstallLayoutTest, DecidesWhereSettingsAndReadmeAre) {
    QStandardPaths::setTestModeEnabled(true);
    const LayoutCase& layout = GetParam();
    const QTemporaryDir root;
    const QString folder = root.filePath(QString::fromLatin1(layout.executableFolder));
    QDir().mkpath(folder);
    const QString beside = folder + QStringLiteral("/Settings.ini");
    if (layout.settingsBeside)
        test::WriteFile(beside, "wa\r\n");
    if (layout.otherFile) {
        const QString other = root.filePath(QString::fromLatin1(layout.otherFile));
        QDir().mkpath(QFileInfo(other).path());
        test::WriteFile(other, "");
    }

    EXPECT_EQ(IsInstalled(folder), layout.installed);
    const QString expected = layout.installed ? UserSettingsPath() : beside;
    EXPECT_EQ(WindowSettingsPath(folder), expected);
    EXPECT_EQ(CliSettingsPath(folder), layout.settingsBeside ? expected : UserSettingsPath());
    EXPECT_TRUE(UserSettingsPath().endsWith(QStringLiteral("/Lirobel/Settings.ini")));
    const QString readme = QUrl(ProjectPage(folder)).toLocalFile();
    EXPECT_EQ(readme, root.filePath(QString::fromLatin1(layout.readme)));
}

// A program folder that cannot be written sends the window to the user's folder.
TEST(SettingsLocation, FallsBackToTheUserFolderWhereTheProgramFolderCannotBeWritten) {
    EXPECT_EQ(WindowSettingsPath(QStringLiteral("/nonexistent/folder")), UserSettingsPath());
}

INSTANTIATE_TEST_SUITE_P(Layouts, InstallLayoutTest, testing::ValuesIn(kLayouts),
                         [](const testing::TestParamInfo<LayoutCase>& row) { return row.param.name; });

} // namespace
} // namespace lirobel::settings
