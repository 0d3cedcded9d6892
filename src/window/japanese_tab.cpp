// SPDX-License-Identifier: GPL-3.0-or-later
#include "window/japanese_tab.h"

#include "core/kana/filter_romaji.h"
#include "core/kana/kana_to_romaji.h"
#include "core/kana/kanji_to_kana.h"
#include "window/fixed_layout.h"
#include "window/message_box.h"
#include "window/setting_dialog.h"
#include "window/text_pane.h"

#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTextCursor>

namespace lirobel::window {

using kana::FilterRomaji;
using kana::KanaReading;
using kana::KanaToRomaji;
using kana::KanjiToKana;
using kana::RomajiConversion;

JapaneseTab::JapaneseTab(settings::Settings& settings, QWidget* parent) : QWidget(parent), m_settings(settings) {
    setObjectName(QStringLiteral("Frame1"));
    auto* inputLabel = Placed(new QLabel(QStringLiteral("歌词输入："), this), "Label1", {8, 16, 60, 12});
    m_input = Placed(new TextPane(TextPane::Kind::Input, this), "Input", {8, 32, 489, 129});
    inputLabel->setBuddy(m_input);
    auto* romaji =
        Placed(new QRadioButton(QStringLiteral("罗马音歌词→VOCALOID序列罗马音"), this), "LMY", {8, 168, 209, 13});
    romaji->setChecked(true);
    m_kana =
        Placed(new QRadioButton(QStringLiteral("平假名/片假名→VOCALOID序列罗马音"), this), "JPN", {272, 168, 225, 13});
    auto* outputLabel =
        Placed(new QLabel(QStringLiteral("VOCALOID序列罗马音输出："), this), "Label2", {8, 184, 144, 12});
    m_output = Placed(new TextPane(TextPane::Kind::Result, this), "Output", {8, 200, 489, 193});
    outputLabel->setBuddy(m_output);
    auto* begin = Placed(new QPushButton(QStringLiteral("开始转换"), this), "Begin1", {8, 400, 105, 29});
    // In the free middle of the bottom row: readings come before the conversion that Begin1 makes.
    auto* readKanji = Placed(new QPushButton(QStringLiteral("汉字→假名"), this), "KanjiToKana", {200, 400, 105, 29});
    auto* set = Placed(new QPushButton(QStringLiteral("设置..."), this), "Set", {392, 400, 105, 29});

    FitCaptions(this);

    connect(begin, &QPushButton::clicked, this, &JapaneseTab::Convert);
    connect(readKanji, &QPushButton::clicked, this, &JapaneseTab::ReadKanji);
    connect(set, &QPushButton::clicked, this, &JapaneseTab::OpenRuleDialog);
    connect(m_input, &TextPane::PlainTextChanged, this, &JapaneseTab::FollowInput);
}

void JapaneseTab::Convert() {
    const RomajiConversion result =
        m_kana->isChecked() ? KanaToRomaji(m_input->text(), m_settings) : FilterRomaji(m_input->text(), m_settings);
    if (!result.succeeded) {
        MessageBox::ShowUnexpectedFailure(this, result.failure);
        return;
    }
    m_output->SetText(result.romaji);
}

void JapaneseTab::ReadKanji() {
    const KanaReading reading = KanjiToKana(m_input->text());
    if (!reading.succeeded) {
        MessageBox::ShowUnexpectedFailure(this, reading.failure);
        return;
    }
    if (reading.text != m_input->text()) {
        // One edit block over the whole text, so that one undo gives the lyrics back as they were.
        QTextCursor whole(m_input->document());
        whole.beginEditBlock();
        whole.select(QTextCursor::Document);
        whole.insertText(reading.text);
        whole.endEditBlock();
    }
    if (reading.unreadKanji > 0)
        MessageBox::Show(this, MessageBox::Icon::Warning,
                         QStringLiteral("有 %1 个汉字没有读音，已保留原样。").arg(reading.unreadKanji));
}

void JapaneseTab::OpenRuleDialog() {
    Setting dialog(m_settings, this);
    if (dialog.exec() == QDialog::Accepted)
        dialog.ApplyTo(m_settings);
}

void JapaneseTab::FollowInput() {
    if (m_input->text().isEmpty())
        m_output->SetText({});
}

} // namespace lirobel::window
