// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/window_under_test.h"
#include "window/text_pane.h"

#include <QCheckBox>

namespace lirobel::window {

using test::WindowUnderTest;
using window::TextPane;

class ReadByWordsTest : public QObject {
    Q_OBJECT

private slots:
    void tickingReadsAgainAndIsRemembered() {
        auto started = std::make_unique<WindowUnderTest>();
        started->ShowPage(1);
        auto* byWords = started->Find<QCheckBox>("ReadByWords");
        auto* pinyin = started->Find<TextPane>("PinYin");
        QVERIFY(!byWords->isChecked());
        started->Find<TextPane>("ChineseText")->setPlainText(QStringLiteral("長大了"));
        QCOMPARE(pinyin->text(), QStringLiteral("da,liao,")); // the fixed reading knows no 長
        test::Click(started->window.get(), "ReadByWords");
        QCOMPARE(pinyin->text(), QStringLiteral("zhang,da,le,"));
        QVERIFY(!pinyin->isReadOnly());
        test::Click(started->window.get(), "ReadByWords");
        QCOMPARE(pinyin->text(), QStringLiteral("da,liao,"));
        test::Click(started->window.get(), "ReadByWords");
        started->window->close();
        QCOMPARE(test::ReadFile(started->settingsPath).count('\n'), 4); // the choice stays out of Settings.ini
        started = std::make_unique<WindowUnderTest>();
        QVERIFY(started->Find<QCheckBox>("ReadByWords")->isChecked());
        QCOMPARE(started->messages.size(), 0u);
    }
};

} // namespace lirobel::window

QTEST_MAIN(lirobel::window::ReadByWordsTest)
#include "read_by_words_test.moc"
