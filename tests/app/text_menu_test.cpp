// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/text_menu.h"
#include "app/text_pane.h"
#include "support/window_under_test.h"

#include <QApplication>
#include <QClipboard>
#include <QImage>
#include <QMimeData>
#include <QTabWidget>
#include <QTextDocumentFragment>

namespace lirobel::app {

using test::WindowUnderTest;

namespace {

// Releases a mouse button over the pane, on the page that shows it.
void ReleaseOver(WindowUnderTest& started, TextPane* pane, Qt::MouseButton button) {
    started.Find<QTabWidget>("TabStrip")->setCurrentWidget(pane->parentWidget());
    QTest::mouseRelease(pane->viewport(), button, {}, QPoint(5, 5));
}

} // namespace

class TextMenuTest : public QObject {
    Q_OBJECT

private slots:
    void rightButtonOpensTheMenuForThatPane_data() {
        QTest::addColumn<QString>("pane");
        QTest::addColumn<bool>("input");
        for (const char* pane : {"Input", "ChineseText", "PinYin"})
            QTest::newRow(pane) << QString::fromLatin1(pane) << true;
        for (const char* pane : {"Output", "VPhonetic"})
            QTest::newRow(pane) << QString::fromLatin1(pane) << false;
    }
    void rightButtonOpensTheMenuForThatPane() {
        QFETCH(QString, pane);
        QFETCH(bool, input);
        WindowUnderTest started;
        auto* menu = started.Find<TextMenu>("TextMenu");
        auto* target = started.window->findChild<TextPane*>(pane);
        QCOMPARE(menu->MenuTarget(), QString());

        for (Qt::MouseButton other : {Qt::LeftButton, Qt::MiddleButton})
            ReleaseOver(started, target, other);
        QVERIFY(!menu->isVisible());
        QCOMPARE(menu->MenuTarget(), QString());

        ReleaseOver(started, target, Qt::RightButton);
        QVERIFY(menu->isVisible());
        QCOMPARE(menu->MenuTarget(), pane);
        for (const char* item : {"CutText", "PasteText", "DeleteText"})
            QCOMPARE(menu->findChild<QAction*>(QString::fromLatin1(item))->isEnabled(), input);
        for (const char* item : {"CopyText", "SelectText", "ClearClipboard"})
            QVERIFY(menu->findChild<QAction*>(QString::fromLatin1(item))->isEnabled());
        menu->close();
        QCOMPARE(menu->MenuTarget(), pane);
    }

    void commandsActOnThePaneAndTheClipboard_data() {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("pane");
        QTest::addColumn<int>("selectionStart");
        QTest::addColumn<int>("selectionLength");
        QTest::addColumn<bool>("pictureOnClipboard");
        QTest::addColumn<QString>("paneAfter");
        QTest::addColumn<QString>("clipboardAfter"); // a null string: no text at all
        const QString before = QStringLiteral("before");
        QTest::newRow("cut") << "CutText"
                             << "Input" << 1 << 3 << false << "aef"
                             << "bcd";
        QTest::newRow("cut nothing") << "CutText"
                                     << "Input" << 2 << 0 << false << "abcdef"
                                     << "";
        QTest::newRow("copy coloured result") << "CopyText"
                                              << "VPhonetic" << 0 << 4 << false << "J i|h a o|"
                                              << "J i|";
        QTest::newRow("paste") << "PasteText"
                               << "Input" << 1 << 2 << false << "abeforedef" << before;
        QTest::newRow("paste at caret") << "PasteText"
                                        << "PinYin" << 3 << 0 << false << "abcbeforedef" << before;
        QTest::newRow("paste picture") << "PasteText"
                                       << "Input" << 1 << 2 << true << "adef" << QString();
        QTest::newRow("delete") << "DeleteText"
                                << "Input" << 0 << 5 << false << "f" << before;
        QTest::newRow("delete nothing") << "DeleteText"
                                        << "Input" << 3 << 0 << false << "abcdef" << before;
        QTest::newRow("clear clipboard") << "ClearClipboard"
                                         << "Output" << 0 << 0 << false << "abcdef" << QString();
    }
    void commandsActOnThePaneAndTheClipboard() {
        QFETCH(QString, command);
        QFETCH(QString, pane);
        QFETCH(int, selectionStart);
        QFETCH(int, selectionLength);
        QFETCH(bool, pictureOnClipboard);
        QFETCH(QString, paneAfter);
        QFETCH(QString, clipboardAfter);
        WindowUnderTest started;
        auto* target = started.window->findChild<TextPane*>(pane);
        if (pane == u"VPhonetic")
            target->setHtml(QStringLiteral("J i<span style=\"color:#ff0000\">|</span>h a o|"));
        else
            target->setPlainText(QStringLiteral("abcdef"));
        test::Select(target, selectionStart, selectionStart + selectionLength);
        QClipboard* clipboard = QGuiApplication::clipboard();
        if (pictureOnClipboard)
            clipboard->setImage(QImage(4, 4, QImage::Format_RGB32));
        else
            clipboard->setText(QStringLiteral("before"));

        ReleaseOver(started, target, Qt::RightButton);
        auto* menu = started.Find<TextMenu>("TextMenu");
        menu->findChild<QAction*>(command)->trigger();
        menu->close();

        QCOMPARE(target->text(), paneAfter);
        const QMimeData* data = clipboard->mimeData();
        QCOMPARE(data && data->hasText() ? data->text() : QString(), clipboardAfter);
        QVERIFY(!data || !data->hasHtml());
    }

    void keyboardCopyAndPasteCarryPlainTextOnly() {
        WindowUnderTest started;
        auto* result = started.Find<TextPane>("VPhonetic");
        result->setHtml(QStringLiteral("J i<span style=\"color:#ff0000\">|</span>"));
        result->selectAll();
        QTest::keySequence(result, QKeySequence::Copy);
        QVERIFY(!QGuiApplication::clipboard()->mimeData()->hasHtml());

        auto* coloured = new QMimeData;
        coloured->setHtml(QStringLiteral("<b style=\"color:#ff0000\">ka</b>"));
        coloured->setText(QStringLiteral("ka"));
        QGuiApplication::clipboard()->setMimeData(coloured);
        auto* input = started.Find<TextPane>("Input");
        QTest::keySequence(input, QKeySequence::Paste);
        QCOMPARE(input->text(), QStringLiteral("ka"));
        QVERIFY(!input->toHtml().contains(u"ff0000"));
    }

    void selectAllTakesEveryLine() {
        WindowUnderTest started;
        auto* target = started.Find<TextPane>("Output");
        target->setPlainText(QStringLiteral("ka\nna\n"));
        ReleaseOver(started, target, Qt::RightButton);
        started.Find<TextMenu>("TextMenu")->findChild<QAction*>(QStringLiteral("SelectText"))->trigger();
        QCOMPARE(target->textCursor().selection().toPlainText(), QStringLiteral("ka\nna\n"));
    }
};

} // namespace lirobel::app

QTEST_MAIN(lirobel::app::TextMenuTest)
#include "text_menu_test.moc"
