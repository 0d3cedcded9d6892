// SPDX-License-Identifier: GPL-3.0-or-later
// The input panes' text outlives the program; the writer window is worked from the keyboard without
// losing the text to a stray Enter.
#include "support/test_files.h"
#include "support/window_under_test.h"
#include "window/text_pane.h"

#include <QFileDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

namespace lirobel::window {

using test::WindowUnderTest;

class SavedTextTest : public QObject {
    Q_OBJECT

    // Ends the program as its keys do, and starts it again on the same files.
    static void Restart(WindowUnderTest& started) {
        QVERIFY(started.window->close());
        started.window = Main::Start(started.settingsPath, {}, started.folder.filePath(QStringLiteral("panes")));
    }
    static QString Text(const WindowUnderTest& started, const char* pane) {
        return started.Find<TextPane>(pane)->text();
    }

private slots:
    void theInputPanesComeBackAtTheNextStart() {
        WindowUnderTest started;
        started.Find<TextPane>("Input")->setPlainText(QStringLiteral("きゃっと"));
        started.Find<TextPane>("ChineseText")->setPlainText(QStringLiteral("你好"));
        started.Find<TextPane>("PinYin")->setPlainText(QStringLiteral("ni,hao,a,")); // edited by hand
        test::Click(started.window.get(), "Begin1");
        Restart(started);
        QCOMPARE(Text(started, "Input"), QStringLiteral("きゃっと"));
        QCOMPARE(Text(started, "ChineseText"), QStringLiteral("你好"));
        QCOMPARE(Text(started, "PinYin"), QStringLiteral("ni,hao,a,"));
        QCOMPARE(Text(started, "Output"), QString());
        QCOMPARE(Text(started, "VPhonetic"), QString());

        // An empty pane at the end forgets what was kept; the others keep theirs.
        started.Find<TextPane>("Input")->clear();
        Restart(started);
        QCOMPARE(Text(started, "Input"), QString());
        QCOMPARE(Text(started, "ChineseText"), QStringLiteral("你好"));
    }

    void aLinkAtTheKeptNameIsNeitherReadNorWrittenThrough() {
        WindowUnderTest started;
        const QString elsewhere = started.folder.filePath(QStringLiteral("precious.txt"));
        test::WriteFile(elsewhere, "precious");
        QDir().mkpath(started.folder.filePath(QStringLiteral("panes")));
        QVERIFY(QFile::link(elsewhere, started.folder.filePath(QStringLiteral("panes/Input.txt"))));
        Restart(started);
        QCOMPARE(Text(started, "Input"), QString());
        started.Find<TextPane>("Input")->setPlainText(QStringLiteral("kept"));
        Restart(started);
        QCOMPARE(test::ReadFile(elsewhere), QByteArray("precious"));
        QCOMPARE(Text(started, "Input"), QStringLiteral("kept"));
    }

    void theWriterIsWorkedFromTheKeyboard_data() {
        QTest::addColumn<bool>("choose");
        QTest::newRow("a file chosen") << true;
        QTest::newRow("the dialog cancelled") << false;
    }
    void theWriterIsWorkedFromTheKeyboard() {
        QFETCH(bool, choose);
        WindowUnderTest started;
        started.ShowPage(1);
        started.window->activateWindow();
        started.Find<TextPane>("VPhonetic")->setPlainText(QStringLiteral("J i|"));
        auto* put = started.Find<QPushButton>("PutPhonetic");
        test::Click(started.window.get(), "PutPhonetic");
        auto* writer = started.Find<QWidget>("PhoneticWriter");
        const QString song = started.folder.filePath(QStringLiteral("song.vsqx"));
        test::WriteFile(song, "x");
        QTimer::singleShot(0, this, [&] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            if (!choose)
                return dialog->reject();
            test::Find<QLineEdit>(dialog, "fileNameEdit")->setText(song);
            static_cast<QDialog*>(dialog)->accept();
        });
        test::Click(writer, "ReadVSQX");
        // Enter now works the writer, not the disabled main window.
        QTRY_COMPARE(QApplication::activeWindow(), writer);
        QCOMPARE(QApplication::focusWidget(), test::Find<QWidget>(writer, "Begin"));

        QTest::keyClick(writer, Qt::Key_Escape);
        QVERIFY(!writer->isVisible());
        QVERIFY(started.window->isEnabled() && started.window->isVisible());
        // The next Enter opens the writer again rather than ending the program with the lyrics.
        QTRY_COMPARE(QApplication::focusWidget(), put);
    }
};

} // namespace lirobel::window

QTEST_MAIN(lirobel::window::SavedTextTest)
#include "saved_text_test.moc"
