// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/settings/preferences.h"
#include "core/settings/settings.h"
#include "support/hostile_names.h"

#include <QStandardPaths>
#include <gtest/gtest.h>

namespace lirobel::settings {
namespace {

// While it lives, the user's configuration folder is the given one (QStandardPaths' test mode, which
// other tests of this program turn on, would ignore it).
class ConfigurationFolder {
public:
    explicit ConfigurationFolder(const QString& folder) : m_testMode(QStandardPaths::isTestModeEnabled()) {
        QStandardPaths::setTestModeEnabled(false);
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(folder));
    }
    ~ConfigurationFolder() {
        qunsetenv("XDG_CONFIG_HOME");
        QStandardPaths::setTestModeEnabled(m_testMode);
    }
    ConfigurationFolder(const ConfigurationFolder&) = delete;
    ConfigurationFolder& operator=(const ConfigurationFolder&) = delete;

private:
    bool m_testMode;
};

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
    const ConfigurationFolder configuration(m_root.path());
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
    const ConfigurationFolder configuration(home.path());
    EXPECT_FALSE(ReadPreference(kReadByWordsPreference, false));
    WritePreference(kReadByWordsPreference, true);
    EXPECT_TRUE(ReadPreference(kReadByWordsPreference, false));
    EXPECT_TRUE(QFileInfo(home.filePath(QStringLiteral("Lirobel/lirobel.conf"))).isFile());
}

} // namespace
} // namespace lirobel::settings
