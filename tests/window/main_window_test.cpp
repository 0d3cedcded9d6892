// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's life: its start, its end, and the pane text it keeps from one to the next.
#include "core/settings/settings.h"
#include "support/window_under_test.h"
#include "window/text_pane.h"

#include <QDir>
#include <QFileDialog>
#include <QRadioButton>

namespace lirobel::window {

using settings::ParseSettings;

using test::WindowUnderTest;

class MainWindowTest : public QObject {
    Q_OBJECT

private slots:
    void startUpLoadsTheSettingsBeforeTheNotices_data() {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QByteArray>("fileAtTheNotices");
        QTest::addColumn<QString>("dialogFolder");
        QTest::newRow("first start") << QByteArray() << QByteArray("ha\r\no\r\nzu\r\nC:\\\r\n") << QDir::homePath();
        const QByteArray saved = "wa\r\nwo\r\ndu\r\n" + QDir::tempPath().toUtf8() + "/\r\n";
        QTest::newRow("saved folder") << saved << saved << QDir::tempPath();
    }
    void startUpLoadsTheSettingsBeforeTheNotices() {
        QFETCH(QByteArray, file);
        QFETCH(QByteArray, fileAtTheNotices);
        QFETCH(QString, dialogFolder);
        const QTemporaryDir folder;
        const QString path = folder.filePath(QStringLiteral("Settings.ini"));
        if (!file.isNull())
            test::WriteFile(path, file);
        QStringList notices;
        MessageBox::SetTestHook([&](const MessageBox::Message& message) {
            QCOMPARE(message.icon, MessageBox::Icon::Warning);
            QCOMPARE(test::ReadFile(path), fileAtTheNotices);
            for (QWidget* window : QApplication::topLevelWidgets())
                QVERIFY2(!window->isVisible(), "the window shows before the notices are closed");
            notices.append(message.text);
        });
        const std::unique_ptr<Main> window = Main::Start(path);
        MessageBox::SetTestHook({});

        QCOMPARE(notices.size(), 2);
        QVERIFY(notices[0].endsWith(u"程序无法识别中文汉字和日语汉字！"));
        QVERIFY(notices[1].endsWith(u"所以请用VOCALOID音标灌入功能批量输入音标！"));
        QVERIFY(window->isVisible());
        QCOMPARE(window->settings(), ParseSettings(fileAtTheNotices));
        QCOMPARE(QDir(test::Find<QFileDialog>(window.get(), "CommonDialog")->directory()), QDir(dialogFolder));
    }

    void closingInAnyWaySavesTheSettings_data() { test::AddCaseRows("closing", LIROBEL_TEST_DATA "/window_cases.tsv"); }
    void closingInAnyWaySavesTheSettings() {
        const auto [how] = test::Fields<1>();
        const bool closes = how != u"Enter in a result pane";
        // Six lines, of which the unload keeps four: every value is written, changed or not.
        WindowUnderTest started("wa\r\nwo\r\n du\r\n/old/\r\nfifth\r\nsixth\r\n");
        started.window->settings().LastFolder = QStringLiteral("/home/me/歌/");
        if (how == u"Exit")
            test::Click(started.window.get(), "Exit");
        else if (how == u"Esc")
            QTest::keyClick(started.Find<TextPane>("Input"), Qt::Key_Escape);
        else if (how == u"Enter on an option")
            QTest::keyClick(started.Find<QRadioButton>("LMY"), Qt::Key_Return);
        else if (how == u"Enter in a result pane")
            QTest::keyClick(started.Find<TextPane>("Output"), Qt::Key_Return);
        else
            started.window->close();
        QCOMPARE(started.window->isVisible(), !closes);
        QCOMPARE(test::ReadFile(started.settingsPath),
                 closes ? QByteArray("wa\r\nwo\r\n du\r\n/home/me/歌/\r\n")
                        : QByteArray("wa\r\nwo\r\n du\r\n/old/\r\nfifth\r\nsixth\r\n"));
    }

    void theInputPanesComeBackAtTheNextStart() {
        WindowUnderTest started;
        // A link at a kept name is neither read nor written through.
        const QString elsewhere = test::WriteFile(started.folder.filePath(QStringLiteral("precious.txt")), "precious");
        QVERIFY(started.window->close());
        QDir().mkpath(started.folder.filePath(QStringLiteral("panes")));
        QVERIFY(QFile::link(elsewhere, started.folder.filePath(QStringLiteral("panes/Input.txt"))));
        started.window = Main::Start(started.settingsPath, {}, started.folder.filePath(QStringLiteral("panes")));
        QCOMPARE(started.PaneTexts(), QStringLiteral("[][][][][]"));
        started.Find<TextPane>("Input")->setPlainText(QStringLiteral("きゃっと"));
        started.Find<TextPane>("ChineseText")->setPlainText(QStringLiteral("你好"));
        started.Find<TextPane>("PinYin")->setPlainText(QStringLiteral("ni,hao,a,")); // edited by hand
        test::Click(started.window.get(), "Begin1");
        Restart(started);
        QCOMPARE(started.PaneTexts(), QStringLiteral("[きゃっと][][你好][ni,hao,a,][]"));
        QCOMPARE(test::ReadFile(elsewhere), QByteArray("precious"));
        // An empty pane at the end forgets what was kept; the others keep theirs.
        started.Find<TextPane>("Input")->clear();
        Restart(started);
        QCOMPARE(started.PaneTexts(), QStringLiteral("[][][你好][ni,hao,a,][]"));
    }

private:
    // Ends the program as its keys do, and starts it again on the same files.
    static void Restart(WindowUnderTest& started) {
        QVERIFY(started.window->close());
        started.window = Main::Start(started.settingsPath, {}, started.folder.filePath(QStringLiteral("panes")));
    }
};

} // namespace lirobel::window

QTEST_MAIN(lirobel::window::MainWindowTest)
#include "main_window_test.moc"
