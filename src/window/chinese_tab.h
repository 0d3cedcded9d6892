// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's second page, "自动中文调教": Chinese lyrics to pinyin to phonetic symbols.
#pragma once

#include <QWidget>

class QCheckBox;
class QComboBox;
class QTimer;

namespace lirobel::window {

class TextPane;

/// The page `Frame2`. The pinyin pane `PinYin` follows every change of the Chinese pane `ChineseText`;
/// `Begin2` converts the pinyin into the phonetic pane `VPhonetic`, every "|" in red; emptying either
/// input pane empties all three. While `ReadByWords` is ticked (a per-user preference), the pinyin is read
/// by words; ticking or clearing it reads the Chinese pane again. Typing into long lyrics (more than
/// kLongLyrics characters) reads them again once it pauses rather than at every key; anything that reads
/// or edits the pinyin, the pour included, first brings it up to date.
class ChineseTab : public QWidget {
    Q_OBJECT

public:
    /// Above this many characters in the Chinese pane (their pinyin some 64K characters and more), the
    /// pinyin waits for a pause in typing.
    static constexpr qsizetype kLongLyrics = 16 * 1024;
    /// At most this many characters changed at once are typing, which may wait; more, such as a paste,
    /// are read at once.
    static constexpr qsizetype kTypedAtOnce = 64;

    explicit ChineseTab(QWidget* parent);

    /// The phonetic pane, which the pour-in reads.
    const TextPane& Phonetic() const { return *m_phonetic; }

    /// Gives the two input panes the text they held at the end of an earlier run, the pinyin as it was
    /// (hand edits included) rather than read again; without any pinyin, the Chinese text is read as
    /// though typed.
    void Restore(const QString& chinese, const QString& pinyin);

    /// Makes the pinyin follow the Chinese pane now, if it is still waiting to.
    void CatchUp();

signals:
    /// "VOCALOID音标灌入" was pressed.
    void PutPhoneticPressed();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void FollowChineseText();
    void ReadChineseText();
    QString ReadPinYin(const QString& chinese);
    void FollowPinYin();
    void Convert();
    void ShowPhonetic(const QString& phonetic);

    TextPane* m_chinese;
    TextPane* m_pinyin;
    TextPane* m_phonetic;
    QComboBox* m_singer;
    QCheckBox* m_readByWords;
    QTimer* m_pause; ///< running while the pinyin waits for typing to pause
    bool m_restoring = false;
    qsizetype m_lastChange = 0; ///< characters removed and added by the Chinese pane's last change
};

} // namespace lirobel::window
