// SPDX-License-Identifier: GPL-3.0-or-later
// The rule dialog "设置": how は, を and づ are written in sequence romaji.
#pragma once

#include "core/settings/settings.h"

#include <QDialog>
#include <array>

class QRadioButton;

namespace lirobel::window {

/// The dialog `Setting`, one row of two options per rule (`Option1` "ha" / `Option2` "wa", `Option3`
/// "o" / `Option4` "wo", `Option5` "zu" / `Option6` "du"), with `OK` as the default button and `Cancel`
/// as the Esc button. Each opening is a new dialog preset from the settings in force.
class Setting : public QDialog {
    Q_OBJECT

public:
    /// In each row, the option whose value equals the setting exactly is selected; a setting that holds
    /// neither value (written by hand into the settings file) leaves its row without a selection.
    Setting(const settings::Settings& settings, QWidget* parent);

    /// Writes the rows' choices into settings; a row without a selection leaves its setting as it was.
    void ApplyTo(settings::Settings& settings) const;

private:
    std::array<std::array<QRadioButton*, 2>, 3> m_options{};
};

} // namespace lirobel::window
