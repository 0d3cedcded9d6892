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
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QStringList>("presetOptions");
        QTest::addColumn<QStringList>("chosenOptions");
        QTest::addColumn<QString>("close");
        QTest::addColumn<QString>("romaji"); // of は を づ at the next conversion
        const QByteArray defaults("ha\r\no\r\nzu\r\nC:\\\r\n");
        const QStringList firsts{"Option1", "Option3", "Option5"};
        const QStringList seconds{"Option2", "Option4", "Option6"};
        QTest::newRow("OK") << defaults << firsts << seconds << "OK"
                            << "wa wo du";
        QTest::newRow("Enter") << defaults << firsts << seconds << "Enter"
                               << "wa wo du";
        QTest::newRow("Cancel") << defaults << firsts << seconds << "Cancel"
                                << "ha o zu";
        QTest::newRow("Esc") << defaults << firsts << seconds << "Esc"
                             << "ha o zu";
        QTest::newRow("back to the firsts") << QByteArray("wa\r\nwo\r\ndu\r\n/\r\n") << seconds << firsts << "OK"
                                            << "ha o zu";
        // A value written by hand selects neither option, and OK without a choice keeps it.
        QTest::newRow("neither value") << QByteArray("Ha\r\no\r\nzu\r\n/\r\n") << QStringList{"Option3", "Option5"}
                                       << QStringList{"Option6"} << "OK"
                                       << "Ha o du";
    }
    void ruleDialogShowsAndStoresTheRules() {
        QFETCH(QByteArray, file);
        QFETCH(QStringList, presetOptions);
        QFETCH(QStringList, chosenOptions);
        QFETCH(QString, close);
        QFETCH(QString, romaji);
        const WindowUnderTest started(file);
        QStringList preset;
        QTimer::singleShot(0, this, [&] {
            auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            QVERIFY(dialog && dialog->objectName() == u"Setting");
            for (QRadioButton* option : dialog->findChildren<QRadioButton*>()) {
                if (option->isChecked())
                    preset.append(option->objectName());
            }
            for (const QString& chosen : chosenOptions)
                QTest::mouseClick(dialog->findChild<QRadioButton*>(chosen), Qt::LeftButton);
            if (close == u"Esc" || close == u"Enter")
                QTest::keyClick(dialog, close == u"Esc" ? Qt::Key_Escape : Qt::Key_Return);
            else
                test::Click(dialog, close.toLatin1().constData());
        });
        test::Click(started.window.get(), "Set");

        preset.sort();
        QCOMPARE(preset, presetOptions);
        started.Find<QRadioButton>("JPN")->click();
        started.Find<TextPane>("Input")->setPlainText(QStringLiteral("はをづ"));
        test::Click(started.window.get(), "Begin1");
        QCOMPARE(started.Find<TextPane>("Output")->text(), romaji);
    }
};

} // namespace lirobel::window

QTEST_MAIN(lirobel::window::JapaneseTabTest)
#include "japanese_tab_test.moc"
