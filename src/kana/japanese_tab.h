// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's first page, "日语歌词处理": Japanese lyrics to sequence romaji.
#pragma once

#include "app/settings.h"

#include <QWidget>

class QRadioButton;

namespace lirobel::app {
class TextPane;
}

namespace lirobel::kana {

/// The page `Frame1`: lyrics in `Input`, kana (`JPN`) or romaji (`LMY`) chosen, `Begin1` converts into
/// `Output`, `Set` opens the rule dialog. `KanjiToKana` puts the readings of the lyrics' kanji in their
/// place in `Input`, as one edit that can be undone, so that the user can correct them before converting. The rule
/// settings are the main window's, read at every conversion and changed by the dialog's OK.
class JapaneseTab : public QWidget {
    Q_OBJECT

public:
    JapaneseTab(app::Settings& settings, QWidget* parent);

private:
    void Convert();
    void ReadKanji();
    void OpenRuleDialog();
    void FollowInput();

    app::Settings& m_settings;
    app::TextPane* m_input;
    app::TextPane* m_output;
    QRadioButton* m_kana;
};

} // namespace lirobel::kana
