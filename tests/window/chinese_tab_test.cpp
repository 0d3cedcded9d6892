// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/window_under_test.h"
#include "window/text_pane.h"

#include <QTextBlock>

namespace lirobel::window {

using test::WindowUnderTest;
using window::TextPane;

namespace {

// The characters of the pane shown in red; a character in any other colour of its own shows as "?".
QString RedCharacters(const TextPane& pane) {
    QString red;
    for (QTextBlock block = pane.document()->begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat format = it.fragment().charFormat();
            if (format.foreground().color() == QColor(255, 0, 0))
                red += it.fragment().text();
            else if (format.hasProperty(QTextFormat::ForegroundBrush))
                red += u'?';
        }
    }
    return red;
}

} // namespace

class ChineseTabTest : public QObject {
    Q_OBJECT

private slots:
    void init() {
        m_started = std::make_unique<WindowUnderTest>();
        m_started->ShowPage(1);
        m_chinese = m_started->Find<TextPane>("ChineseText");
        m_pinyin = m_started->Find<TextPane>("PinYin");
        m_phonetic = m_started->Find<TextPane>("VPhonetic");
    }
    void cleanup() { m_started.reset(); }

    void typingChineseFollowsEveryCharacter() {
        // One character at a time, as an input method commits them.
        for (const char16_t* typed : {u"你", u"好", u"!"})
            QTest::sendKeyEvent(QTest::Click, m_chinese, Qt::Key_unknown, QString::fromUtf16(typed), {});
        QCOMPARE(m_pinyin->text(), QStringLiteral("ni,hao,"));
        QCOMPARE(m_chinese->text(), QStringLiteral("你好!"));
    }

    void emptyingEitherInputEmptiesAllThree_data() {
        QTest::addColumn<QString>("pane");
        QTest::addColumn<int>("deleted");
        QTest::addColumn<QString>("chineseAfter");
        QTest::addColumn<QString>("pinyinAfter");
        QTest::newRow("all Chinese") << "ChineseText" << 4 << ""
                                     << "";
        QTest::newRow("all pinyin") << "PinYin" << 7 << ""
                                    << "";
        QTest::newRow("part of pinyin") << "PinYin" << 3 << "你好a\n"
                                        << "hao,";
        QTest::newRow("Chinese left with Latin only") << "ChineseText" << 2 << ""
                                                      << "";
    }
    void emptyingEitherInputEmptiesAllThree() {
        QFETCH(QString, pane);
        QFETCH(int, deleted);
        QFETCH(QString, chineseAfter);
        QFETCH(QString, pinyinAfter);
        m_chinese->setPlainText(QStringLiteral("你好a\n"));
        test::Click(m_started->window.get(), "Begin2");
        const QString phonetic = m_phonetic->text();
        auto* edited = m_started->window->findChild<TextPane*>(pane);
        test::Select(edited, 0, deleted);
        QTest::keyClick(edited, Qt::Key_Delete);
        QCOMPARE(m_chinese->text(), chineseAfter);
        QCOMPARE(m_pinyin->text(), pinyinAfter);
        QCOMPARE(m_phonetic->text(), pinyinAfter.isEmpty() ? QString() : phonetic);
    }

    void begin2ConvertsAndShowsSeparatorsInRed_data() {
        QTest::addColumn<QString>("pinyin");
        QTest::addColumn<int>("presses");
        QTest::addColumn<QString>("pinyinAfter");
        QTest::addColumn<QString>("phonetic"); // null: the command fails and changes nothing
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
        QTest::newRow("no pinyin") << "" << 1 << "" << QString();
    }
    void begin2ConvertsAndShowsSeparatorsInRed() {
        QFETCH(QString, pinyin);
        QFETCH(int, presses);
        QFETCH(QString, pinyinAfter);
        QFETCH(QString, phonetic);
        m_pinyin->setPlainText(pinyin);
        for (int press = 0; press < presses; ++press)
            test::Click(m_started->window.get(), "Begin2");
        QCOMPARE(m_pinyin->text(), pinyinAfter);
        QCOMPARE(m_phonetic->text(), phonetic.isNull() ? QString() : phonetic);
        QCOMPARE(RedCharacters(*m_phonetic), QString(phonetic.count(u'|'), u'|'));
        QCOMPARE(m_started->messages.size(), phonetic.isNull() ? 1u : 0u);
        if (phonetic.isNull()) {
            QCOMPARE(m_started->messages[0].icon, window::MessageBox::Icon::Error);
            QCOMPARE(m_started->messages[0].text, QStringLiteral("发生意外错误！"));
        }
    }

private:
    std::unique_ptr<WindowUnderTest> m_started;
    TextPane* m_chinese = nullptr;
    TextPane* m_pinyin = nullptr;
    TextPane* m_phonetic = nullptr;
};

} // namespace lirobel::window

QTEST_MAIN(lirobel::window::ChineseTabTest)
#include "chinese_tab_test.moc"
