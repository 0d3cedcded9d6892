// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/window_under_test.h"
#include "window/text_pane.h"

#include <QDialog>
#include <QRadioButton>
#include <QTimer>

namespace lirobel::window {

using test::WindowUnderTest;
using window::TextPane;

class JapaneseTabTest : public QObject {
    Q_OBJECT

private slots:
    void begin1ConvertsWithTheChosenConverter_data() {
        test::AddCaseRows("begin1", {"option", "lyrics", "output"}, LIROBEL_TEST_DATA "/window_cases.tsv");
    }
    void begin1ConvertsWithTheChosenConverter() {
        QFETCH(QString, option);
        QFETCH(QString, lyrics);
        QFETCH(QString, output);
        const bool fails = output == u"FAILS";
        const WindowUnderTest started;
        auto* result = started.Find<TextPane>("Output");
        result->setPlainText(QStringLiteral("earlier"));
        started.window->findChild<QRadioButton*>(option)->click();
        started.Find<TextPane>("Input")->setPlainText(lyrics);
        test::Click(started.window.get(), "Begin1");
        QCOMPARE(result->text(), fails ? QStringLiteral("earlier") : output);
        QCOMPARE(started.messages.size(), fails ? 1u : 0u);
        if (fails)
            QCOMPARE(started.messages[0].icon, window::MessageBox::Icon::Error);
    }

    void emptyingTheLyricsEmptiesTheOutput() {
        const WindowUnderTest started;
        auto* lyrics = started.Find<TextPane>("Input");
        lyrics->setPlainText(QStringLiteral("toto"));
        test::Click(started.window.get(), "Begin1");
        for (int deleted : {3, 1}) {
            test::Select(lyrics, 0, deleted);
            QTest::keyClick(lyrics, Qt::Key_Delete);
            QCOMPARE(started.Find<TextPane>("Output")->text(), deleted == 3 ? QStringLiteral("to to") : QString());
        }
    }

    void kanjiButtonReadsInPlaceAsOneUndoableEdit_data() {
        test::AddCaseRows("kanji", {"lyrics", "reading", "warning"}, LIROBEL_TEST_DATA "/window_cases.tsv");
    }
    void kanjiButtonReadsInPlaceAsOneUndoableEdit() {
        QFETCH(QString, lyrics);
        QFETCH(QString, reading);
        QFETCH(QString, warning);
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

    void ruleDialogShowsAndStoresTheRules_data() {
        test::AddCaseRows("rules", {"file", "presetOptions", "chosenOptions", "close", "romaji"},
                          LIROBEL_TEST_DATA "/window_cases.tsv");
    }
    void ruleDialogShowsAndStoresTheRules() {
        QFETCH(QString, file);
        QFETCH(QString, presetOptions);
        QFETCH(QString, chosenOptions);
        QFETCH(QString, close);
        QFETCH(QString, romaji);
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
};

} // namespace lirobel::window

QTEST_MAIN(lirobel::window::JapaneseTabTest)
#include "japanese_tab_test.moc"
