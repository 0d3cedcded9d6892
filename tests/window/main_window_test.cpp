// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/settings/settings.h"
#include "support/window_under_test.h"
#include "window/text_pane.h"

#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QRadioButton>
#include <QTimer>

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

    void closingInAnyWaySavesTheSettings_data() {
        QTest::addColumn<QString>("how");
        QTest::addColumn<bool>("closes");
        for (const char* how : {"Exit", "Esc", "Enter on an option", "close box"})
            QTest::newRow(how) << QString::fromLatin1(how) << true;
        QTest::newRow("Enter in a result pane") << "Enter in a result pane" << false;
    }
    void closingInAnyWaySavesTheSettings() {
        QFETCH(QString, how);
        QFETCH(bool, closes);
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

    void creditsCycleEveryTenSeconds() {
        WindowUnderTest started;
        auto* timer = started.Find<QTimer>("Timer");
        auto* about = started.Find<QLabel>("About");
        QVERIFY(timer->isActive() && timer->interval() == 10000);
        QStringList shown{about->text()};
        for (int tick = 0; tick < 3; ++tick) {
            QMetaObject::invokeMethod(timer, "timeout");
            shown.append(about->text());
        }
        const QString indent(36, u' ');
        QVERIFY(shown[0].startsWith(indent + QStringLiteral("作者")));
        QVERIFY(shown[1].startsWith(indent + QStringLiteral("主页")));
        QVERIFY(!shown[2].startsWith(u' '));
        QCOMPARE(shown[3], shown[0]);
    }
};

} // namespace lirobel::window

QTEST_MAIN(lirobel::window::MainWindowTest)
#include "main_window_test.moc"
