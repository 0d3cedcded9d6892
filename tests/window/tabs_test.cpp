// SPDX-License-Identifier: GPL-3.0-or-later
// The two tabs as users work them: typing, the conversion buttons, emptying a pane, the Japanese tab's
// kanji button and rule dialog, the Chinese tab's reading by words, and the panes' menu and keys. The
// conversions themselves are the core's: here a pane has to reach them and their result its pane.
#include "support/window_under_test.h"
#include "window/chinese_tab.h"
#include "window/text_menu.h"
#include "window/text_pane.h"

#include <QCheckBox>
#include <QClipboard>
#include <QDialog>
#include <QImage>
#include <QMimeData>
#include <QRadioButton>
#include <QTimer>

namespace lirobel::window {

using test::WindowUnderTest;

namespace {

const QString kCases = QStringLiteral(LIROBEL_TEST_DATA "/window_cases.tsv");

// The clipboard's text, which must come without formatting; null when it holds no text.
QString ClipboardText() {
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    if (data && data->hasHtml())
        return QStringLiteral("<formatted>");
    return data && data->hasText() ? data->text() : QString();
}

} // namespace

class TabsTest : public QObject {
    Q_OBJECT

private slots:
    // Short lyrics' pinyin follows every keystroke; long lyrics' waits for a pause in typing, but is never
    // used stale.
    void pinYinFollowsTyping_data() {
        QTest::addColumn<QString>("use");
        for (const char* use : {"short lyrics", "paste", "pause", "Begin2", "close", "key in pinyin"})
            QTest::newRow(use) << QString::fromLatin1(use);
    }
    void pinYinFollowsTyping() {
        QFETCH(QString, use);
        const WindowUnderTest started;
        started.ShowPage(1);
        auto* chinese = started.Find<TextPane>("ChineseText");
        auto* pinyin = started.Find<TextPane>("PinYin");
        const qsizetype words = use == u"short lyrics" ? 0 : ChineseTab::kLongLyrics / 2;
        chinese->setPlainText(QStringLiteral("你好").repeated(words));
        chinese->moveCursor(QTextCursor::End);
        // One character at a time, as an input method commits them; a paste of many at once is no typing.
        const bool pasted = use == u"paste";
        if (pasted)
            chinese->insertPlainText(QStringLiteral("你好").repeated(ChineseTab::kTypedAtOnce));
        else
            for (const char16_t* typed : {u"你", u"好", u"!"})
                QTest::sendKeyEvent(QTest::Click, chinese, Qt::Key_unknown, QString::fromUtf16(typed), {});
        const QString expected = QStringLiteral("ni,hao,").repeated(words + (pasted ? ChineseTab::kTypedAtOnce : 1));
        QCOMPARE(pinyin->text() == expected, words == 0 || pasted);
        if (use == u"pause")
            QTRY_COMPARE(pinyin->text(), expected);
        else if (use == u"close")
            QCOMPARE(started.window->close() ? test::ReadFile(started.folder.filePath("panes/PinYin.txt")) : "",
                     expected.toUtf8());
        else if (use == u"key in pinyin")
            QTest::keyClick(pinyin, Qt::Key_End);
        else if (use == u"Begin2")
            test::Click(started.window.get(), "Begin2");
        QCOMPARE(pinyin->text(), expected);
    }

    void buttonsConvertIntoTheResultPane_data() { test::AddCaseRows("convert", kCases); }
    void buttonsConvertIntoTheResultPane() {
        const auto [clicks, pane, text, paneAfter, result] = test::Fields<5>();
        const bool fails = result == u"FAILS";
        const WindowUnderTest started;
        auto* input = started.window->findChild<TextPane*>(pane);
        auto* output = started.Find<TextPane>(pane == u"Input" ? "Output" : "VPhonetic");
        output->setPlainText(QStringLiteral("earlier"));
        input->setPlainText(text);
        started.ShowPageOf(input);
        for (const QString& button : clicks.split(u' '))
            test::Click(started.window.get(), qPrintable(button));
        QCOMPARE(input->text(), paneAfter);
        QCOMPARE(output->text(), fails ? QStringLiteral("earlier") : result);
        // Only the phonetic pane colours anything: its separators, in red.
        const QString html = output->document()->toHtml();
        const auto redSeparators = html.count(u"color:#ff0000;\">|</span>");
        QVERIFY2(html.count(u"color:") == redSeparators && redSeparators == (fails ? 0 : result.count(u'|')),
                 qPrintable(html));
        QCOMPARE(started.messages.size(), fails ? 1u : 0u);
        if (fails) {
            QCOMPARE(started.messages[0].icon, window::MessageBox::Icon::Error);
            QCOMPARE(started.messages[0].text, QStringLiteral("发生意外错误！"));
        }
    }

    void emptyingAnInputEmptiesWhatFollowsFromIt_data() { test::AddCaseRows("emptying", kCases); }
    void emptyingAnInputEmptiesWhatFollowsFromIt() {
        const auto [pane, deleted, panesAfter] = test::Fields<3>();
        const WindowUnderTest started;
        started.Find<TextPane>("Input")->setPlainText(QStringLiteral("toto"));
        test::Click(started.window.get(), "Begin1");
        started.ShowPage(1);
        started.Find<TextPane>("ChineseText")->setPlainText(QStringLiteral("你好a\n"));
        test::Click(started.window.get(), "Begin2");
        auto* edited = started.window->findChild<TextPane*>(pane);
        started.ShowPageOf(edited);
        test::Select(edited, 0, deleted.toInt());
        QTest::keyClick(edited, Qt::Key_Delete);
        QCOMPARE(started.PaneTexts(), panesAfter);
    }

    void kanjiButtonReadsInPlaceAsOneUndoableEdit_data() { test::AddCaseRows("kanji", kCases); }
    void kanjiButtonReadsInPlaceAsOneUndoableEdit() {
        const auto [lyrics, reading, warning] = test::Fields<3>();
        const WindowUnderTest started;
        auto* input = started.Find<TextPane>("Input");
        input->setPlainText(lyrics);
        test::Click(started.window.get(), "KanjiToKana");
        QCOMPARE(input->text(), reading);
        QCOMPARE(started.messages.size(), warning.isEmpty() ? 0u : 1u);
        if (!warning.isEmpty()) {
            QCOMPARE(started.messages[0].icon, window::MessageBox::Icon::Warning);
            QCOMPARE(started.messages[0].text, warning);
        }
        QTest::keyClick(input, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(input->text(), lyrics);
    }

    void ruleDialogShowsAndStoresTheRules_data() { test::AddCaseRows("rules", kCases); }
    void ruleDialogShowsAndStoresTheRules() {
        const auto [file, presetOptions, chosenOptions, close, romaji] = test::Fields<5>();
        const WindowUnderTest started(file.toUtf8());
        QStringList preset;
        QTimer::singleShot(0, this, [&] {
            auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            QVERIFY(dialog && dialog->objectName() == u"Setting");
            for (QRadioButton* option : dialog->findChildren<QRadioButton*>()) {
                if (option->isChecked())
                    preset.append(option->objectName());
            }
            for (const QString& chosen : chosenOptions.split(u' '))
                QTest::mouseClick(dialog->findChild<QRadioButton*>(chosen), Qt::LeftButton);
            if (close == u"Esc" || close == u"Enter")
                QTest::keyClick(dialog, close == u"Esc" ? Qt::Key_Escape : Qt::Key_Return);
            else
                test::Click(dialog, close.toLatin1().constData());
        });
        test::Click(started.window.get(), "Set");

        preset.sort();
        QCOMPARE(preset.join(u' '), presetOptions);
        started.Find<QRadioButton>("JPN")->click();
        started.Find<TextPane>("Input")->setPlainText(QStringLiteral("はをづ"));
        test::Click(started.window.get(), "Begin1");
        QCOMPARE(started.Find<TextPane>("Output")->text(), romaji);
    }

    void readingByWordsReadsAgainAndIsRemembered() {
        const WindowUnderTest started;
        started.ShowPage(1);
        auto* byWords = started.Find<QCheckBox>("ReadByWords");
        auto* pinyin = started.Find<TextPane>("PinYin");
        QVERIFY(!byWords->isChecked());
        started.Find<TextPane>("ChineseText")->setPlainText(QStringLiteral("長大了"));
        QCOMPARE(pinyin->text(), QStringLiteral("da,liao,")); // the fixed reading knows no 長
        test::Click(started.window.get(), "ReadByWords");
        QCOMPARE(pinyin->text(), QStringLiteral("zhang,da,le,"));
        QVERIFY(!pinyin->isReadOnly());
        test::Click(started.window.get(), "ReadByWords");
        QCOMPARE(pinyin->text(), QStringLiteral("da,liao,"));
        test::Click(started.window.get(), "ReadByWords");
        started.window->close();
        QCOMPARE(test::ReadFile(started.settingsPath).count('\n'), 4); // the choice stays out of Settings.ini
        const WindowUnderTest next;
        QVERIFY(next.Find<QCheckBox>("ReadByWords")->isChecked());
        QCOMPARE(next.messages.size(), 0u);
        next.Find<QCheckBox>("ReadByWords")->click(); // as the other tests expect it
    }

    void menuAndKeysActOnThePaneAndTheClipboard_data() { test::AddCaseRows("menu", kCases); }
    void menuAndKeysActOnThePaneAndTheClipboard() {
        const auto [command, pane, from, to, clipboardBefore, paneAfter, clipboardAfter] = test::Fields<7>();
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
            started.ShowPageOf(target);
            for (Qt::MouseButton other : {Qt::LeftButton, Qt::MiddleButton})
                QTest::mouseRelease(target->viewport(), other, {}, QPoint(5, 5));
            QVERIFY(!menu->isVisible() && menu->MenuTarget().isEmpty());
            QTest::mouseRelease(target->viewport(), Qt::RightButton, {}, QPoint(5, 5));
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

QTEST_MAIN(lirobel::window::TabsTest)
#include "tabs_test.moc"
