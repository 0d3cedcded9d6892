// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's first page, "日语歌词处理": Japanese lyrics to sequence romaji.
#pragma once

#include "core/settings/settings.h"

#include <QWidget>

class QRadioButton;

namespace lirobel::window {

class TextPane;

/// The page `Frame1`: lyrics in `Input`, kana (`JPN`) or romaji (`LMY`) chosen, `Begin1` converts into
/// `Output`, `Set` opens the rule dialog. `KanjiToKana` puts the readings of the lyrics' kanji in their
/// place in `Input`, as one edit that can be undone, so that the user can correct them before converting. The rule
/// settings are the main window's, read at every conversion and changed by the dialog's OK.
class JapaneseTab : public QWidget {
    Q_OBJECT

public:
    JapaneseTab(settings::Settings& settings, QWidget* parent);

private:
    void Convert();
    void ReadKanji();
    void OpenRuleDialog();
    void FollowInput();

    settings::Settings& m_settings;
    TextPane* m_input;
    TextPane* m_output;
    QRadioButton* m_kana;
};

} // namespace lirobel::window
