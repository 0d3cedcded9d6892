// SPDX-License-Identifier: GPL-3.0-or-later
// The programs as `cmake --install` lays them out in a prefix, run from there; which files go where is
// checked on the package (debian_package_test.sh), which is made of the same install rules.
#include "support/test_files.h"
#include "support/vsqx_generator.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace lirobel {
namespace {

struct ProgramRun {
    int exitCode;
    QByteArray out;
};

// Runs a program with its HOME and XDG_CONFIG_HOME in a folder of the test's own.
ProgramRun RunProgram(const QString& program, const QStringList& arguments, const QByteArray& input,
                      const QString& home) {
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("HOME"), home);
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), home + QStringLiteral("/config"));
    process.setProcessEnvironment(environment);
    process.start(program, arguments);
    process.write(input);
    process.closeWriteChannel();
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit)
        return {-1, process.readAllStandardError()};
    return {process.exitCode(), process.readAllStandardOutput()};
}

class InstalledProgramsTest : public testing::Test {
protected:
    static void SetUpTestSuite() {
        s_prefix = new QTemporaryDir;
        const QStringList arguments = {QStringLiteral("--install"), QStringLiteral(LIROBEL_BUILD_DIR),
                                       QStringLiteral("--prefix"), s_prefix->path()};
        QProcess install;
        install.setProcessChannelMode(QProcess::ForwardedChannels);
        install.start(QStringLiteral(LIROBEL_CMAKE), arguments);
        s_installed =
            install.waitForFinished(120000) && install.exitStatus() == QProcess::NormalExit && install.exitCode() == 0;
    }
    static void TearDownTestSuite() { delete s_prefix; }
    void SetUp() override { ASSERT_TRUE(s_installed); }

    static QString Installed(const char* path) { return s_prefix->filePath(QString::fromLatin1(path)); }

    QTemporaryDir m_home;
    static inline QTemporaryDir* s_prefix = nullptr;
    static inline bool s_installed = false;
};

TEST_F(InstalledProgramsTest, ConvertsAndPoursFromThePrefix) {
    const QString cli = Installed("bin/lirobel-cli");
    EXPECT_EQ(RunProgram(cli, {QStringLiteral("pinyin")}, "你好", m_home.path()).out, "ni,hao,\n");
    const QString song = test::WriteFile(m_home.filePath(QStringLiteral("song.vsqx")), test::GenerateVsqx({}));
    const ProgramRun pour = RunProgram(cli, {QStringLiteral("pour"), song}, "J i|h a o|", m_home.path());
    EXPECT_EQ(pour.exitCode, 0);
    EXPECT_EQ(pour.out, "VOCALOID音标灌入完成！ 2\n");
    EXPECT_TRUE(test::ReadFile(song).contains("<![CDATA[h a o]]>"));
}

// The same CLI reads the user's rule settings once installed, and the file beside it when run from a
// copied program folder (as from the build tree), whichever of the two files exists.
TEST_F(InstalledProgramsTest, ReadsTheSettingsOfItsLayout) {
    const QString portable = m_home.filePath(QStringLiteral("portable"));
    QDir().mkpath(portable);
    QFile::copy(Installed("bin/lirobel-cli"), portable + QStringLiteral("/lirobel-cli"));
    QDir().mkpath(m_home.filePath(QStringLiteral("config/Lirobel")));
    test::WriteFile(m_home.filePath(QStringLiteral("config/Lirobel/Settings.ini")), "ha\r\nwo\r\nzu\r\n");
    for (const QString& folder : {Installed("bin"), portable}) {
        const bool installed = folder != portable;
        test::WriteFile(folder + QStringLiteral("/Settings.ini"), "ha\r\no\r\ndu\r\n");
        const ProgramRun run =
            RunProgram(folder + QStringLiteral("/lirobel-cli"), {QStringLiteral("romaji")}, "wo zu", m_home.path());
        EXPECT_EQ(run.out, installed ? "wo zu\n" : "o du\n") << qPrintable(folder);
    }
}

} // namespace
} // namespace lirobel
