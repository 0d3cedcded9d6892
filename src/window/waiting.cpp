// SPDX-License-Identifier: GPL-3.0-or-later
#include "window/waiting.h"

#include "window/fixed_layout.h"

#include <QCloseEvent>
#include <QLabel>
#include <QProgressBar>
#include <cmath>

namespace lirobel::window {

namespace {

// The bar's whole steps once a run has set the figures: fine enough for a bar 397 pixels wide.
constexpr int kBarSteps = 1000;

} // namespace

Waiting::Waiting(QWidget* owner) : QWidget(owner, kFixedDialogFlags) {
    setObjectName(QStringLiteral("Waiting"));
    setWindowTitle(QStringLiteral("请稍等..."));
    setFixedSize(404, 76);
    auto* title = Placed(new QLabel(QStringLiteral("处理中，请稍等......"), this), "Label1", {96, 4, 212, 24});
    title->setFont(BoldSongTi(15.75));
    m_bar = Placed(new QProgressBar(this), "ProgressBar", {4, 32, 397, 25});
    m_bar->setRange(0, 100);
    m_bar->setValue(0);
    Placed(new QLabel(QStringLiteral("当前状态："), this), "Label2", {4, 60, 60, 12});
    m_state = Placed(new QLabel(this), "State", {64, 60, 336, 12});
    FitCaptions(this);
}

void Waiting::SetMaximum(double maximum) {
    m_maximum = maximum;
    ShowOnBar();
}

void Waiting::SetValue(double value) {
    m_value = value;
    ShowOnBar();
}

void Waiting::SetState(QStringView state) {
    m_state->setText(state.toString());
}

void Waiting::ShowOnBar() {
    m_bar->setRange(0, kBarSteps);
    m_bar->setValue(m_maximum > 0 ? static_cast<int>(std::lround(m_value / m_maximum * kBarSteps)) : 0);
}

void Waiting::closeEvent(QCloseEvent* event) {
    event->accept();
    emit Closed();
}

} // namespace lirobel::window
