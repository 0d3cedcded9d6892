// SPDX-License-Identifier: GPL-3.0-or-later
// The progress window of a pour-in run.
#pragma once

#include <QStringView>
#include <QWidget>

class QLabel;
class QProgressBar;

namespace lirobel::window {

/// `Waiting`, caption "请稍等...": the bar `ProgressBar`, "处理中，请稍等......" and the run's state after
/// "当前状态：". The run's figures are fractional and its maximum is twice the file's lines; the bar,
/// which counts in whole steps, shows their ratio, and the figures themselves are kept as given.
class Waiting : public QWidget {
    Q_OBJECT

public:
    explicit Waiting(QWidget* owner);

    void SetMaximum(double maximum);
    void SetValue(double value);
    void SetState(QStringView state);

    double Maximum() const { return m_maximum; }
    double Value() const { return m_value; }

signals:
    /// The window was closed, by the run or by the user.
    void Closed();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void ShowOnBar();

    QProgressBar* m_bar;
    QLabel* m_state;
    double m_maximum = 100;
    double m_value = 0;
};

} // namespace lirobel::window
