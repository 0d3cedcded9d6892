// SPDX-License-Identifier: GPL-3.0-or-later
// The phonetic writer window: from the phonetic pane into a VSQX file.
#pragma once

#include "core/settings/settings.h"
#include "core/vsqx/pour_progress.h"
#include "core/vsqx/pour_run.h"

#include <QElapsedTimer>
#include <QPointer>
#include <QWidget>

class QCheckBox;
class QFileDialog;
class QLineEdit;
class QPushButton;

namespace lirobel::window {

class TextPane;
class Waiting;

/// `PhoneticWriter`, caption "VOCALOID音标灌入": the path box `VSQXPath`, `Begin` "开始灌入" (the default
/// button) and `ReadVSQX` "选择VSQX文件", and below them `SkipHeld` and `FromNotes`, whose choices are kept
/// between runs of the program, and `Preview` "预览…", which shows what each note would take. With
/// `FromNotes` checked the items come from the hanzi the notes carry, read as the Chinese tab reads (by
/// words or not), and the phonetic pane is not used. A file can also be dropped on the window. While it is open its
/// owner, the main window, is disabled; while a run is in progress, or its progress window is still
/// open, the writer is disabled in turn. Esc closes it, as the close box does. Each opening is a new window with an
/// empty path.
class PhoneticWriter : public QWidget, private vsqx::PourProgress {
    Q_OBJECT

public:
    /// The command of "VOCALOID音标灌入": warns when the phonetic pane is empty (unless the writer is to pour
    /// from the notes' lyrics) and gives nullptr;
    /// otherwise disables main and opens a writer window owned by it, and gives that. The pane is read
    /// when a run starts; the file dialog and the settings, whose LastFolder a choice sets, are the main
    /// window's.
    static PhoneticWriter* Open(QWidget& main, const TextPane& phonetic, QFileDialog& commonDialog,
                                settings::Settings& settings);

    /// A file chosen, as with the file dialog or a drop: its path goes into the path box, and its folder
    /// becomes LastFolder.
    void Choose(const QString& path);

signals:
    /// The window has closed and the main window is enabled again.
    void Closed();

protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    PhoneticWriter(QWidget& main, const TextPane& phonetic, QFileDialog& commonDialog, settings::Settings& settings);

    void ChooseFile();
    void TakeFocusBack();
    vsqx::PourOptions Options() const;
    void Pour();
    void Preview();
    void Report(const vsqx::PourOutcome& outcome);
    void EnableUnlessBusy();
    void LetEventsIn();

    // The run as this window shows it: disabled, with the progress window showing the figures and the
    // states, and the event loop let in on a time budget.
    bool Shown() const override { return true; }
    void Start() override;
    void SetMaximum(double maximum) override;
    void SetValue(double value) override;
    void SetState(QStringView state) override;
    void Yield() override;

    QWidget& m_main;
    const TextPane& m_phonetic;
    QFileDialog& m_commonDialog;
    settings::Settings& m_settings;
    QLineEdit* m_path;
    QPushButton* m_begin;
    QCheckBox* m_skipHeld;
    QCheckBox* m_fromNotes;
    QPointer<Waiting> m_waiting; ///< the progress window of the last run, while it is open
    QElapsedTimer m_sinceEvents;
    bool m_running = false;
    bool m_closeAfterRun = false;
};

} // namespace lirobel::window
