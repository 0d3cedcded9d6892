// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/window_under_test.h"
#include "window/text_pane.h"

#include <QCheckBox>
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
        test::AddCaseRows("emptying", {"pane", "deleted", "chineseAfter", "pinyinAfter"},
                          LIROBEL_TEST_DATA "/window_cases.tsv");
    }
    void emptyingEitherInputEmptiesAllThree() {
        QFETCH(QString, pane);
        QFETCH(QString, deleted);
        QFETCH(QString, chineseAfter);
        QFETCH(QString, pinyinAfter);
        m_chinese->setPlainText(QStringLiteral("你好a\n"));
        test::Click(m_started->window.get(), "Begin2");
        const QString phonetic = m_phonetic->text();
        auto* edited = m_started->window->findChild<TextPane*>(pane);
        test::Select(edited, 0, deleted.toInt());
        QTest::keyClick(edited, Qt::Key_Delete);
        QCOMPARE(m_chinese->text(), chineseAfter);
        QCOMPARE(m_pinyin->text(), pinyinAfter);
        QCOMPARE(m_phonetic->text(), pinyinAfter.isEmpty() ? QString() : phonetic);
    }

    void begin2ConvertsAndShowsSeparatorsInRed_data() {
        test::AddCaseRows("begin2", {"pinyin", "presses", "pinyinAfter", "phonetic"},
                          LIROBEL_TEST_DATA "/window_cases.tsv");
    }
    void begin2ConvertsAndShowsSeparatorsInRed() {
        QFETCH(QString, pinyin);
        QFETCH(QString, presses);
        QFETCH(QString, pinyinAfter);
        QFETCH(QString, phonetic);
        const bool fails = phonetic == u"FAILS";
        m_pinyin->setPlainText(pinyin);
        for (int press = 0; press < presses.toInt(); ++press)
            test::Click(m_started->window.get(), "Begin2");
        QCOMPARE(m_pinyin->text(), pinyinAfter);
        QCOMPARE(m_phonetic->text(), fails ? QString() : phonetic);
        QCOMPARE(RedCharacters(*m_phonetic), QString(fails ? 0 : phonetic.count(u'|'), u'|'));
        QCOMPARE(m_started->messages.size(), fails ? 1u : 0u);
        if (fails) {
            QCOMPARE(m_started->messages[0].icon, window::MessageBox::Icon::Error);
            QCOMPARE(m_started->messages[0].text, QStringLiteral("发生意外错误！"));
        }
    }

    void readingByWordsReadsAgainAndIsRemembered() {
        auto* byWords = m_started->Find<QCheckBox>("ReadByWords");
        QVERIFY(!byWords->isChecked());
        m_chinese->setPlainText(QStringLiteral("長大了"));
        QCOMPARE(m_pinyin->text(), QStringLiteral("da,liao,")); // the fixed reading knows no 長
        test::Click(m_started->window.get(), "ReadByWords");
        QCOMPARE(m_pinyin->text(), QStringLiteral("zhang,da,le,"));
        QVERIFY(!m_pinyin->isReadOnly());
        test::Click(m_started->window.get(), "ReadByWords");
        QCOMPARE(m_pinyin->text(), QStringLiteral("da,liao,"));
        test::Click(m_started->window.get(), "ReadByWords");
        m_started->window->close();
        QCOMPARE(test::ReadFile(m_started->settingsPath).count('\n'), 4); // the choice stays out of Settings.ini
        const WindowUnderTest next;
        QVERIFY(next.Find<QCheckBox>("ReadByWords")->isChecked());
        QCOMPARE(next.messages.size(), 0u);
        next.Find<QCheckBox>("ReadByWords")->click(); // as the other tests expect it
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
