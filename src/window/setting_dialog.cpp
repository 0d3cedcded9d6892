// SPDX-License-Identifier: GPL-3.0-or-later
#include "window/setting_dialog.h"

#include "window/fixed_layout.h"

#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

namespace lirobel::window {

namespace {

// A rule's row: its frame and label, its two options (value and place) and the setting it edits.
struct Row {
    const char* frame;
    int top;
    const char* label;
    QString caption;
    int labelWidth;
    struct Option {
        const char* name;
        QString value;
        int left;
        int width;
    };
    std::array<Option, 2> options;
    QString settings::Settings::*setting;
};

const std::array<Row, 3> kRows = {{
    {"Frame1x1",
     12,
     "Label1",
     QStringLiteral("は/ハ转换为→"),
     78,
     {{{"Option1", QStringLiteral("ha"), 88, 37}, {"Option2", QStringLiteral("wa"), 132, 37}}},
     &settings::Settings::HaReading},
    {"Frame1x2",
     36,
     "Label2",
     QStringLiteral("を/ヲ/wo转换为→"),
     96,
     {{{"Option3", QStringLiteral("o"), 108, 29}, {"Option4", QStringLiteral("wo"), 144, 37}}},
     &settings::Settings::WoReading},
    {"Frame1x3",
     60,
     "Label3",
     QStringLiteral("づ/ヅ/du转换为→"),
     96,
     {{{"Option5", QStringLiteral("zu"), 108, 37}, {"Option6", QStringLiteral("du"), 152, 37}}},
     &settings::Settings::ZuReading},
}};

} // namespace

Setting::Setting(const settings::Settings& settings, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint) {
    setObjectName(QStringLiteral("Setting"));
    setWindowTitle(QStringLiteral("设置"));
    setFixedSize(313, 133);

    auto* rules = Placed(new QGroupBox(QStringLiteral("转换规则设置"), this), "Frame1", {4, 4, 305, 89});
    for (std::size_t r = 0; r < kRows.size(); ++r) {
        const Row& row = kRows[r];
        // Each row has a frame of its own, so that its two options exclude each other and no others.
        auto* frame = Placed(new QFrame(rules), row.frame, {4, row.top, 297, 25});
        auto* label = Placed(new QLabel(row.caption, frame), row.label, {4, 8, row.labelWidth, 12});
        for (std::size_t o = 0; o < row.options.size(); ++o) {
            const Row::Option& option = row.options[o];
            QRadioButton* button =
                Placed(new QRadioButton(option.value, frame), option.name, {option.left, 8, option.width, 13});
            button->setChecked(settings.*row.setting == option.value);
            m_options[r][o] = button;
        }
        label->setBuddy(m_options[r][0]);
    }

    FitCaptions(this);

    auto* ok = Placed(new QPushButton(QStringLiteral("确定"), this), "OK", {4, 96, 101, 33});
    auto* cancel = Placed(new QPushButton(QStringLiteral("取消"), this), "Cancel", {212, 96, 97, 33});
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    // OK comes first when the dialog is worked from the keyboard.
    setTabOrder(ok, cancel);
    ok->setFocus();
}

void Setting::ApplyTo(settings::Settings& settings) const {
    for (std::size_t r = 0; r < kRows.size(); ++r) {
        for (std::size_t o = 0; o < 2; ++o) {
            if (m_options[r][o]->isChecked()) {
                settings.*kRows[r].setting = kRows[r].options[o].value;
                break;
            }
        }
    }
}

} // namespace lirobel::window
