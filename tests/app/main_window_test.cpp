// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/settings.h"
#include "app/text_pane.h"
#include "support/window_under_test.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTimer>

namespace lirobel::app {

using test::WindowUnderTest;

class MainWindowTest : public QObject {
    Q_OBJECT

private slots:
    void startUpLoadsTheSettingsBeforeTheNotices_data() {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QByteArray>("fileAtTheNotices");
        QTest::addColumn<QString>("dialogFolder");
        const QByteArray defaults("ha\r\no\r\nzu\r\nC:\\\r\n");
        QTest::newRow("first start") << QByteArray() << defaults << QDir::homePath();
        const QByteArray saved = "wa\r\nwo\r\ndu\r\n" + QDir::tempPath().toUtf8() + "/\r\n";
        QTest::newRow("saved folder") << saved << saved << QDir::tempPath() + u'/';
    }
    void startUpLoadsTheSettingsBeforeTheNotices() {
        QFETCH(QByteArray, file);
        QFETCH(QByteArray, fileAtTheNotices);
        QFETCH(QString, dialogFolder);
        const QTemporaryDir folder;
        const QString path = folder.filePath(QStringLiteral("Settings.ini"));
        if (!file.isNull())
            test::WriteFile(path, file);
        std::vector<MessageBox::Message> notices;
        MessageBox::SetTestHook([&](const MessageBox::Message& message) {
            notices.push_back(message);
            QCOMPARE(test::ReadFile(path), fileAtTheNotices);
            for (QWidget* window : QApplication::topLevelWidgets())
                QVERIFY2(!window->isVisible(), "the window shows before the notices are closed");
        });
        const std::unique_ptr<Main> window = Main::Start(path);
        MessageBox::SetTestHook({});

        QCOMPARE(notices.size(), 2u);
        for (const MessageBox::Message& notice : notices) {
            QCOMPARE(notice.icon, MessageBox::Icon::Warning);
            QVERIFY(notice.text.startsWith(u"注意："));
        }
        QVERIFY(notices[0].text.endsWith(u"程序无法识别中文汉字和日语汉字！"));
        QVERIFY(notices[1].text.endsWith(u"所以请用VOCALOID音标灌入功能批量输入音标！"));
        QVERIFY(window->isVisible());
        QCOMPARE(window->settings(), ParseSettings(fileAtTheNotices));
        QCOMPARE(QDir(window->findChild<QFileDialog*>(QStringLiteral("CommonDialog"))->directory()),
                 QDir(dialogFolder));
        QCOMPARE(window->findChild<QTabWidget*>(QStringLiteral("TabStrip"))->currentIndex(), 0);
    }

    void closingInAnyWaySavesTheSettings_data() {
        QTest::addColumn<QString>("how");
        for (const char* how : {"Exit", "Esc", "Enter", "close box"})
            QTest::newRow(how) << QString::fromLatin1(how);
    }
    void closingInAnyWaySavesTheSettings() {
        QFETCH(QString, how);
        // Six lines, of which the unload keeps four: every value is written, changed or not.
        WindowUnderTest started("wa\r\nwo\r\n du\r\n/old/\r\nfifth\r\nsixth\r\n");
        started.window->settings().LastFolder = QStringLiteral("/home/me/歌/");
        if (how == u"Exit")
            QTest::mouseClick(started.Find<QPushButton>("Exit"), Qt::LeftButton);
        else if (how == u"Esc")
            QTest::keyClick(started.Find<TextPane>("Input"), Qt::Key_Escape);
        else if (how == u"Enter")
            QTest::keyClick(started.Find<QRadioButton>("LMY"), Qt::Key_Return);
        else
            started.window->close();
        QVERIFY(!started.window->isVisible());
        QCOMPARE(test::ReadFile(started.settingsPath), QByteArray("wa\r\nwo\r\n du\r\n/home/me/歌/\r\n"));
    }

    void enterInAPaneOrOnAButtonStaysThere() {
        WindowUnderTest started;
        QTest::keyClick(started.Find<TextPane>("Output"), Qt::Key_Return);
        QTest::keyClick(started.Find<TextPane>("Input"), Qt::Key_Return);
        QTest::keyClick(started.Find<QPushButton>("Begin1"), Qt::Key_Return);
        QVERIFY(started.window->isVisible());
        QCOMPARE(started.Find<TextPane>("Input")->text(), QStringLiteral("\n"));
    }

    void switchingPagesKeepsEveryPane() {
        WindowUnderTest started;
        const char* panes[] = {"Input", "Output", "ChineseText", "PinYin", "VPhonetic"};
        for (const char* pane : panes)
            started.Find<TextPane>(pane)->setPlainText(QString::fromLatin1(pane));
        auto* tabs = started.Find<QTabWidget>("TabStrip");
        for (int page : {1, 0, 1, 1})
            tabs->setCurrentIndex(page);
        for (const char* pane : panes)
            QCOMPARE(started.Find<TextPane>(pane)->text(), QString::fromLatin1(pane));
    }

    void creditsCycleEveryTenSeconds() {
        WindowUnderTest started;
        auto* timer = started.Find<QTimer>("Timer");
        auto* about = started.Find<QLabel>("About");
        QVERIFY(timer->isActive());
        QCOMPARE(timer->interval(), 10000);
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

} // namespace lirobel::app

QTEST_MAIN(lirobel::app::MainWindowTest)
#include "main_window_test.moc"
