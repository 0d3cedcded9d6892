// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/window_under_test.h"
#include "window/text_menu.h"
#include "window/text_pane.h"

#include <QClipboard>
#include <QImage>
#include <QMimeData>
#include <QTabWidget>

namespace lirobel::window {

using test::WindowUnderTest;

namespace {

// Releases a mouse button over the pane, on the page that shows it.
void ReleaseOver(const WindowUnderTest& started, TextPane* pane, Qt::MouseButton button) {
    started.ShowPage(started.Find<QTabWidget>("TabStrip")->indexOf(pane->parentWidget()));
    QTest::mouseRelease(pane->viewport(), button, {}, QPoint(5, 5));
}

// The clipboard's text, which must come without formatting; null when it holds no text.
QString ClipboardText() {
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    if (data && data->hasHtml())
        return QStringLiteral("<formatted>");
    return data && data->hasText() ? data->text() : QString();
}

} // namespace

class TextMenuTest : public QObject {
    Q_OBJECT

private slots:
    void commandsActOnThePaneAndTheClipboard_data() {
        test::AddCaseRows("menu", {"command", "pane", "from", "to", "clipboardBefore", "paneAfter", "clipboardAfter"},
                          LIROBEL_TEST_DATA "/window_cases.tsv");
    }
    void commandsActOnThePaneAndTheClipboard() {
        QFETCH(QString, command);
        QFETCH(QString, pane);
        QFETCH(QString, from);
        QFETCH(QString, to);
        QFETCH(QString, clipboardBefore);
        QFETCH(QString, paneAfter);
        QFETCH(QString, clipboardAfter);
        const WindowUnderTest started;
        auto* target = started.window->findChild<TextPane*>(pane);
        if (pane == u"VPhonetic")
            target->document()->setHtml(QStringLiteral("J i<span style=\"color:#ff0000\">|</span>h a o|"));
        else
            target->setPlainText(QStringLiteral("abcdef"));
        test::Select(target, from.toInt(), to.toInt());
        if (clipboardBefore == u"picture") {
            QGuiApplication::clipboard()->setImage(QImage(4, 4, QImage::Format_RGB32));
        } else {
            auto* data = new QMimeData;
            data->setText(clipboardBefore == u"coloured" ? QStringLiteral("ka") : QStringLiteral("before"));
            if (clipboardBefore == u"coloured")
                data->setHtml(QStringLiteral("<b style=\"color:#ff0000\">ka</b>"));
            QGuiApplication::clipboard()->setMimeData(data);
        }

        if (command.startsWith(u"Ctrl+")) {
            QTest::keySequence(target, QKeySequence(command));
        } else {
            // Only the right button opens the menu, with what cannot change a result pane disabled there.
            auto* menu = started.Find<TextMenu>("TextMenu");
            for (Qt::MouseButton other : {Qt::LeftButton, Qt::MiddleButton})
                ReleaseOver(started, target, other);
            QVERIFY(!menu->isVisible() && menu->MenuTarget().isEmpty());
            ReleaseOver(started, target, Qt::RightButton);
            QVERIFY(menu->isVisible());
            const bool input = pane != u"Output" && pane != u"VPhonetic";
            for (const char* item : {"CutText", "PasteText", "DeleteText"})
                QCOMPARE(test::Find<QAction>(menu, item)->isEnabled(), input);
            for (const char* item : {"CopyText", "SelectText", "ClearClipboard"})
                QVERIFY(test::Find<QAction>(menu, item)->isEnabled());
            menu->findChild<QAction*>(command)->trigger();
            menu->close();
            QCOMPARE(menu->MenuTarget(), pane);
        }
        QCOMPARE(target->text(), paneAfter);
        QCOMPARE(ClipboardText(), clipboardAfter);
        if (command == u"SelectText")
            QCOMPARE(target->textCursor().selectedText(), paneAfter);
        // Text comes in plain; only the phonetic pane colours its separators.
        QVERIFY(pane == u"VPhonetic" || !target->document()->toHtml().contains(u"ff0000"));
    }
};

} // namespace lirobel::window

QTEST_MAIN(lirobel::window::TextMenuTest)
#include "text_menu_test.moc"
