// SPDX-License-Identifier: GPL-3.0-or-later
#include "window/chinese_tab.h"

#include "core/phonetic/pinyin_to_phonetic.h"
#include "core/pinyin/chinese_to_pinyin.h"
#include "core/pinyin/chinese_words_to_pinyin.h"
#include "core/settings/preferences.h"
#include "window/fixed_layout.h"
#include "window/message_box.h"
#include "window/text_pane.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>
#include <QTimer>

namespace lirobel::window {

using phonetic::PinYinToPhonetic;
using phonetic::WithFinalComma;

namespace {

// Longer than the gap between keys of steady typing, short enough to seem to follow it.
constexpr int kTypingPause = 250;

} // namespace

ChineseTab::ChineseTab(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("Frame2"));
    auto* chineseLabel = Placed(new QLabel(QStringLiteral("中文歌词输入："), this), "Label3", {8, 16, 84, 12});
    m_chinese = Placed(new TextPane(TextPane::Kind::Input, this), "ChineseText", {8, 32, 489, 73});
    chineseLabel->setBuddy(m_chinese);
    auto* pinyinLabel = Placed(new QLabel(QStringLiteral("对应的拼音："), this), "Label4", {8, 112, 72, 12});
    m_pinyin = Placed(new TextPane(TextPane::Kind::Input, this), "PinYin", {8, 128, 489, 73});
    pinyinLabel->setBuddy(m_pinyin);
    // Pinyin text offers no place to break a line ("ni,hao," is one word to the text layout), and
    // wrapping one long word at word boundaries costs time that grows with the square of its length:
    // an album's pinyin would freeze the window for minutes. Wrapping anywhere is linear; shaping is
    // not needed for lower-case Latin letters and commas.
    m_pinyin->setWordWrapMode(QTextOption::WrapAnywhere);
    QFont plainLatin = m_pinyin->font();
    plainLatin.setStyleStrategy(QFont::PreferNoShaping);
    plainLatin.setKerning(false);
    m_pinyin->setFont(plainLatin);
    auto* singerLabel = Placed(new QLabel(QStringLiteral("歌手："), this), "Label6", {8, 208, 36, 12});
    m_singer = Placed(new QComboBox(this), "Singer", {48, 208, 449, 20});
    m_singer->addItem(QStringLiteral("Hatsune Miku"));
    m_singer->setCurrentIndex(0);
    singerLabel->setBuddy(m_singer);
    auto* phoneticLabel = Placed(
        new QLabel(QStringLiteral("VOCALOID音标输出(注意每个音标已经用|隔开，[-OPE]代表该音OPE参数需调整)："), this),
        "Label8", {8, 232, 432, 12});
    m_phonetic = Placed(new TextPane(TextPane::Kind::Result, this), "VPhonetic", {8, 248, 489, 137});
    phoneticLabel->setBuddy(m_phonetic);
    auto* begin = Placed(new QPushButton(QStringLiteral("开始转换"), this), "Begin2", {8, 392, 121, 37});
    auto* put = Placed(new QPushButton(QStringLiteral("VOCALOID音标灌入"), this), "PutPhonetic", {360, 392, 137, 37});
    m_readByWords = Placed(new QCheckBox(QStringLiteral("按词语识别读音（多音字、繁体、生僻字）"), this), "ReadByWords",
                           {134, 402, 222, 17});
    m_readByWords->setChecked(settings::ReadPreference(settings::kReadByWordsPreference, false));
    // The space between the two buttons is narrower than the caption in the usual font: the caption takes
    // a smaller one.
    FitCaptions(this);

    m_pause = new QTimer(this);
    m_pause->setObjectName(QStringLiteral("TypingPause"));
    m_pause->setSingleShot(true);
    m_pause->setInterval(kTypingPause);
    connect(m_pause, &QTimer::timeout, this, &ChineseTab::ReadChineseText);
    // Whatever the user does to the pinyin pane, it does to the pinyin of the lyrics as they are: an edit of
    // the pinyin still waiting would be overwritten when it comes. The mouse and drops reach the viewport.
    m_pinyin->installEventFilter(this);
    m_pinyin->viewport()->installEventFilter(this);

    // The document tells how much changed before the pane tells that something did.
    connect(m_chinese->document(), &QTextDocument::contentsChange, this,
            [this](int, int removed, int added) { m_lastChange = qsizetype(removed) + added; });
    connect(m_chinese, &TextPane::PlainTextChanged, this, &ChineseTab::FollowChineseText);
    connect(m_pinyin, &TextPane::PlainTextChanged, this, &ChineseTab::FollowPinYin);
    connect(begin, &QPushButton::clicked, this, &ChineseTab::Convert);
    // Waiting pinyin that comes out empty empties the phonetic pane, which the pour reads.
    connect(put, &QPushButton::clicked, this, [this] {
        CatchUp();
        emit PutPhoneticPressed();
    });
    connect(m_readByWords, &QCheckBox::toggled, this, [this](bool checked) {
        settings::WritePreference(settings::kReadByWordsPreference, checked);
        ReadChineseText();
    });
}

// The two input panes empty each other; since setting an empty pane to "" changes nothing, the
// exchange ends once all three panes are empty.
void ChineseTab::Restore(const QString& chinese, const QString& pinyin) {
    if (pinyin.isEmpty()) {
        m_chinese->SetText(chinese);
        CatchUp(); // no typing to wait for
        return;
    }
    m_restoring = true;
    m_chinese->SetText(chinese);
    m_restoring = false;
    m_pause->stop();
    m_pinyin->SetText(pinyin);
}

void ChineseTab::CatchUp() {
    if (m_pause->isActive())
        ReadChineseText();
}

bool ChineseTab::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::FocusIn:
    case QEvent::KeyPress:
    case QEvent::InputMethod:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::DragEnter:
    case QEvent::Drop:
        CatchUp();
        break;
    default:
        break;
    }
    return QWidget::eventFilter(watched, event);
}

// The pinyin of a megabyte of lyrics is one paragraph of over a million characters, which Qt takes a
// quarter of a second to lay out: at every keystroke, the window would lag behind the typing. Typing into
// long lyrics waits for a pause instead; short lyrics are read at once, and so is a change of many
// characters at once (a paste, a cut, a drop), which is no typing to wait for, and an emptied pane, which
// empties the others.
void ChineseTab::FollowChineseText() {
    if (m_restoring)
        return;
    if (m_chinese->text().size() > kLongLyrics && m_lastChange <= kTypedAtOnce)
        m_pause->start();
    else
        ReadChineseText();
}

void ChineseTab::ReadChineseText() {
    m_pause->stop();
    if (!m_chinese->text().isEmpty()) {
        m_pinyin->SetText(ReadPinYin(m_chinese->text()));
        return;
    }
    m_phonetic->SetText({});
    m_pinyin->SetText({});
}

QString ChineseTab::ReadPinYin(const QString& chinese) {
    if (!m_readByWords->isChecked())
        return pinyin::ChineseToPinYin(chinese);
    pinyin::WordReading read = pinyin::ReadChineseByWords(chinese);
    if (read.problem.isEmpty())
        return std::move(read.pinyin);
    // Without its dictionary the mode cannot work at all: say so once and fall back to the default reading.
    const QSignalBlocker quiet(m_readByWords);
    m_readByWords->setChecked(false);
    settings::WritePreference(settings::kReadByWordsPreference, false);
    MessageBox::ShowUnexpectedFailure(this, QStringLiteral("Cannot read by words: ") + read.problem);
    return pinyin::ChineseToPinYin(chinese);
}

void ChineseTab::FollowPinYin() {
    if (!m_pinyin->text().isEmpty())
        return;
    m_phonetic->SetText({});
    m_chinese->SetText({});
}

void ChineseTab::Convert() {
    CatchUp();
    if (m_pinyin->text().isEmpty()) {
        MessageBox::ShowUnexpectedFailure(this, QStringLiteral("There is no pinyin to convert."));
        return;
    }
    // The pane shows the comma that lets its last syllable convert.
    m_pinyin->SetText(WithFinalComma(m_pinyin->text()));
    ShowPhonetic(PinYinToPhonetic(m_pinyin->text(), m_singer->currentText()));
}

void ChineseTab::ShowPhonetic(const QString& phonetic) {
    // The text goes in run by run, each with its own format, in one edit: colouring the separators
    // afterwards, one selection each, costs time with the square of the items (an album's lyrics froze
    // the window for minutes). Every run names its format, since the pane would otherwise give new text
    // the format at the caret, which is the red of the last separator.
    const QTextCharFormat plain;
    QTextCharFormat red;
    red.setForeground(QColor(255, 0, 0));
    const QString separator = QStringLiteral("|");
    // Emptied first, the pane forgets how its old text was laid out: Qt walks those lines again on every
    // insertion into the same paragraph.
    m_phonetic->SetText({});
    QTextCursor cursor(m_phonetic->document());
    cursor.beginEditBlock();
    qsizetype from = 0;
    qsizetype last = -1;
    for (qsizetype at = phonetic.indexOf(u'|'); at >= 0; at = phonetic.indexOf(u'|', from)) {
        if (at > from)
            cursor.insertText(phonetic.sliced(from, at - from), plain);
        cursor.insertText(separator, red);
        last = at;
        from = at + 1;
    }
    if (from < phonetic.size())
        cursor.insertText(phonetic.sliced(from), plain);
    cursor.endEditBlock();
    // As the command always has, it leaves the last separator selected.
    if (last >= 0) {
        cursor.setPosition(static_cast<int>(last));
        cursor.setPosition(static_cast<int>(last) + 1, QTextCursor::KeepAnchor);
    }
    m_phonetic->setTextCursor(cursor);
}

} // namespace lirobel::window
