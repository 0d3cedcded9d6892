// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/text_pane.h"
#include "support/window_under_test.h"

#include <QApplication>
#include <QPushButton>
#include <QTabWidget>
#include <QTextBlock>

namespace lirobel::phonetic {

using app::TextPane;
using test::WindowUnderTest;

namespace {

// The characters of the pane shown in red, as a string; every other character must be in the pane's
// own colour.
QString RedCharacters(const TextPane& pane) {
    QString red;
    for (QTextBlock block = pane.document()->begin(); block.isValid(); block = block.next()) {
        for (auto fragment = block.begin(); !fragment.atEnd(); ++fragment) {
            const QTextCharFormat format = fragment.fragment().charFormat();
            if (format.foreground().color() == QColor(255, 0, 0))
                red += fragment.fragment().text();
            else if (format.hasProperty(QTextFormat::ForegroundBrush))
                red += u'?';
        }
    }
    return red;
}

// Types text into the pane one character at a time, as an input method commits it.
void Type(TextPane* pane, const QString& text) {
    for (QChar character : text)
        QTest::sendKeyEvent(QTest::Click, pane, Qt::Key_unknown, QString(character), Qt::NoModifier);
}

} // namespace

class ChineseTabTest : public QObject {
    Q_OBJECT

private slots:
    void init() {
        m_started = std::make_unique<WindowUnderTest>();
        m_started->Find<QTabWidget>("TabStrip")->setCurrentIndex(1);
        m_chinese = m_started->Find<TextPane>("ChineseText");
        m_pinyin = m_started->Find<TextPane>("PinYin");
        m_phonetic = m_started->Find<TextPane>("VPhonetic");
        m_started->messages.clear();
    }
    void cleanup() { m_started.reset(); }

    void typingChineseFollowsEveryCharacter() {
        Type(m_chinese, QStringLiteral("你"));
        QCOMPARE(m_pinyin->text(), QStringLiteral("ni,"));
        Type(m_chinese, QStringLiteral("好!"));
        QCOMPARE(m_pinyin->text(), QStringLiteral("ni,hao,"));
    }

    void emptyingEitherInputEmptiesAllThree_data() {
        QTest::addColumn<QString>("pane");
        QTest::addColumn<int>("from");
        QTest::addColumn<int>("to");
        QTest::addColumn<QString>("chineseAfter");
        QTest::addColumn<QString>("pinyinAfter");
        QTest::addColumn<bool>("phoneticKept");
        QTest::newRow("all Chinese") << "ChineseText" << 0 << 4 << ""
                                     << "" << false;
        QTest::newRow("all pinyin") << "PinYin" << 0 << 7 << ""
                                    << "" << false;
        QTest::newRow("part of pinyin") << "PinYin" << 0 << 3 << "你好a\n"
                                        << "hao," << true;
        QTest::newRow("Chinese left with Latin only") << "ChineseText" << 0 << 2 << ""
                                                      << "" << false;
    }
    void emptyingEitherInputEmptiesAllThree() {
        QFETCH(QString, pane);
        QFETCH(int, from);
        QFETCH(int, to);
        QFETCH(QString, chineseAfter);
        QFETCH(QString, pinyinAfter);
        QFETCH(bool, phoneticKept);
        m_chinese->setPlainText(QStringLiteral("你好a\n"));
        QTest::mouseClick(m_started->Find<QPushButton>("Begin2"), Qt::LeftButton);
        const QString phonetic = m_phonetic->text();

        auto* edited = m_started->window->findChild<TextPane*>(pane);
        test::Select(edited, from, to);
        QTest::keyClick(edited, Qt::Key_Delete);

        QCOMPARE(m_chinese->text(), chineseAfter);
        QCOMPARE(m_pinyin->text(), pinyinAfter);
        QCOMPARE(m_phonetic->text(), phoneticKept ? phonetic : QString());
    }

    void begin2ConvertsAndShowsSeparatorsInRed_data() {
        QTest::addColumn<QString>("pinyin");
        QTest::addColumn<int>("presses");
        QTest::addColumn<QString>("pinyinAfter");
        QTest::addColumn<QString>("phonetic");
        QTest::newRow("comma appended") << "ni,hao" << 1 << "ni,hao,"
                                        << "J i|h a o|";
        QTest::newRow("comma there") << "ni,hao," << 1 << "ni,hao,"
                                     << "J i|h a o|";
        QTest::newRow("pressed again") << "ni,e" << 2 << "ni,e,"
                                       << "J i|o[-OPE]|";
        QTest::newRow("comma alone") << "," << 1 << ","
                                     << "";
        QTest::newRow("nothing recognised") << "Ni," << 1 << "Ni,"
                                            << "";
    }
    void begin2ConvertsAndShowsSeparatorsInRed() {
        QFETCH(QString, pinyin);
        QFETCH(int, presses);
        QFETCH(QString, pinyinAfter);
        QFETCH(QString, phonetic);
        m_phonetic->setPlainText(QStringLiteral("old"));
        m_pinyin->setPlainText(pinyin);
        for (int press = 0; press < presses; ++press)
            QTest::mouseClick(m_started->Find<QPushButton>("Begin2"), Qt::LeftButton);

        QCOMPARE(m_pinyin->text(), pinyinAfter);
        QCOMPARE(m_phonetic->text(), phonetic);
        QCOMPARE(RedCharacters(*m_phonetic), QString(phonetic.count(u'|'), u'|'));
        QCOMPARE(m_chinese->text(), QString());
        QVERIFY(m_started->messages.empty());
    }

    void begin2WithoutPinYinFailsAndChangesNothing() {
        QTest::mouseClick(m_started->Find<QPushButton>("Begin2"), Qt::LeftButton);
        QCOMPARE(m_started->messages.size(), 1u);
        QCOMPARE(m_started->messages[0].icon, app::MessageBox::Icon::Error);
        QCOMPARE(m_started->messages[0].text, QStringLiteral("发生意外错误！"));
        QCOMPARE(m_pinyin->text(), QString());
        QCOMPARE(m_phonetic->text(), QString());
    }

private:
    std::unique_ptr<WindowUnderTest> m_started;
    TextPane* m_chinese = nullptr;
    TextPane* m_pinyin = nullptr;
    TextPane* m_phonetic = nullptr;
};

} // namespace lirobel::phonetic

QTEST_MAIN(lirobel::phonetic::ChineseTabTest)
#include "chinese_tab_test.moc"
