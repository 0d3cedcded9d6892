// SPDX-License-Identifier: GPL-3.0-or-later
#include "window/phonetic_writer.h"

#include "core/files/native_path.h"
#include "core/settings/preferences.h"
#include "core/vpr/pour_song.h"
#include "core/vsqx/pour_texts.h"
#include "window/fixed_layout.h"
#include "window/message_box.h"
#include "window/pour_preview.h"
#include "window/text_pane.h"
#include "window/waiting.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QCloseEvent>
#include <QCompleter>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>

namespace lirobel::window {

using vsqx::kNotVsqxText;
using vsqx::kPourCompletedText;
using vsqx::kVsqxNotFoundText;
using vsqx::PourCountsText;
using vsqx::PourOptions;
using vsqx::PourOutcome;

namespace {

// How long a run may keep the event loop waiting: the progress window repaints and can be moved at
// least this often.
constexpr qint64 kRepaintMilliseconds = 30;

// The single local file that a drag brings, or "" when it brings anything else. The name is taken from
// the URL's bytes, so that a name that is not UTF-8 still names its file.
QString DraggedFile(const QMimeData* data) {
    const QList<QUrl> urls = data->hasUrls() ? data->urls() : QList<QUrl>();
    if (urls.size() != 1 || !urls.front().isLocalFile() || !urls.front().host().isEmpty())
        return {};
    return files::PathFromNative(QByteArray::fromPercentEncoding(urls.front().path(QUrl::FullyEncoded).toLatin1()));
}

} // namespace

PhoneticWriter* PhoneticWriter::Open(QWidget& main, const TextPane& phonetic, QFileDialog& commonDialog,
                                     settings::Settings& settings) {
    if (phonetic.text().isEmpty() && !settings::ReadPreference(settings::kFromNotesPreference, false)) {
        MessageBox::Show(&main, MessageBox::Icon::Warning,
                         QStringLiteral("没有VOCALOID音标！请将拼音转换为VOCALOID音标后在使用此功能！"));
        return nullptr;
    }
    auto* writer = new PhoneticWriter(main, phonetic, commonDialog, settings);
    main.setEnabled(false);
    // Disabling the main window disabled the windows it owns, this one included.
    writer->setEnabled(true);
    CentreOver(*writer, main);
    writer->show();
    writer->m_begin->setFocus();
    return writer;
}

PhoneticWriter::PhoneticWriter(QWidget& main, const TextPane& phonetic, QFileDialog& commonDialog,
                               settings::Settings& settings)
    : QWidget(&main, kFixedDialogFlags), m_main(main), m_phonetic(phonetic), m_commonDialog(commonDialog),
      m_settings(settings) {
    setObjectName(QStringLiteral("PhoneticWriter"));
    setWindowTitle(QStringLiteral("VOCALOID音标灌入"));
    setAttribute(Qt::WA_DeleteOnClose);
    // Rows below the path and the buttons hold the two choices and the preview.
    setFixedSize(312, 136);
    setAcceptDrops(true);
    auto* label = Placed(new QLabel(QStringLiteral("VSQX文件路径："), this), "Label2", {4, 8, 84, 12});
    m_path = Placed(new QLineEdit(this), "VSQXPath", {88, 8, 221, 18});
    // A file dropped on the path box is a file chosen, as anywhere else on the window.
    m_path->setAcceptDrops(false);
    label->setBuddy(m_path);
    m_begin = Placed(new QPushButton(QStringLiteral("开始灌入"), this), "Begin", {4, 32, 105, 29});
    auto* choose = Placed(new QPushButton(QStringLiteral("选择VSQX文件"), this), "ReadVSQX", {204, 32, 105, 29});
    m_begin->setDefault(true);
    m_begin->setAutoDefault(true);
    choose->setAutoDefault(true);
    m_skipHeld = Placed(new QCheckBox(QStringLiteral("跳过延音音符（歌词为“-”）"), this), "SkipHeld", {4, 65, 305, 17});
    m_skipHeld->setChecked(settings::ReadPreference(settings::kSkipHeldNotesPreference, false));
    connect(m_skipHeld, &QCheckBox::toggled, this,
            [](bool checked) { settings::WritePreference(settings::kSkipHeldNotesPreference, checked); });
    m_fromNotes = Placed(new QCheckBox(QStringLiteral("使用音符上的汉字歌词（不用音标框）"), this), "FromNotes",
                         {4, 85, 305, 17});
    m_fromNotes->setChecked(settings::ReadPreference(settings::kFromNotesPreference, false));
    // Held notes always stay as they are when the notes' own lyrics make the items.
    m_skipHeld->setEnabled(!m_fromNotes->isChecked());
    connect(m_fromNotes, &QCheckBox::toggled, this, [this](bool checked) {
        settings::WritePreference(settings::kFromNotesPreference, checked);
        m_skipHeld->setEnabled(!checked);
    });
    auto* preview = Placed(new QPushButton(QStringLiteral("预览…"), this), "Preview", {4, 105, 105, 27});
    preview->setAutoDefault(true);
    connect(preview, &QPushButton::clicked, this, &PhoneticWriter::Preview);
    FitCaptions(this);
    connect(m_begin, &QPushButton::clicked, this, &PhoneticWriter::Pour);
    connect(choose, &QPushButton::clicked, this, &PhoneticWriter::ChooseFile);
    setTabOrder(m_begin, choose);
    setTabOrder(choose, m_path);
    setTabOrder(m_path, m_skipHeld);
    setTabOrder(m_skipHeld, m_fromNotes);
    setTabOrder(m_fromNotes, preview);
}

void PhoneticWriter::ChooseFile() {
    // The dialog belongs to the main window, which is disabled while this window is open.
    m_commonDialog.setEnabled(true);
    const int answer = m_commonDialog.exec();
    TakeFocusBack();
    if (answer != QDialog::Accepted)
        return;
    const QStringList chosen = m_commonDialog.selectedFiles();
    if (chosen.isEmpty()) {
        MessageBox::ShowUnexpectedFailure(this, QStringLiteral("The file dialog reported no file."));
        return;
    }
    // The dialog shows a name that is not UTF-8 with U+FFFD in it, and that name may be another file's.
    if (chosen.front().contains(QChar::ReplacementCharacter)) {
        MessageBox::ShowUnexpectedFailure(this, QStringLiteral("The file's name is not UTF-8 text, and the file "
                                                               "dialog cannot name it exactly. Drop the file on "
                                                               "this window instead, or rename it."));
        return;
    }
    Choose(chosen.front());
}

void PhoneticWriter::TakeFocusBack() {
    // The name box's completion list may outlive the dialog it belongs to.
    for (QCompleter* completer : m_commonDialog.findChildren<QCompleter*>())
        completer->popup()->hide();
    // Left to itself, the window manager gives the focus to the dialog's owner, the disabled main window.
    activateWindow();
    raise();
    m_begin->setFocus(Qt::OtherFocusReason);
}

void PhoneticWriter::Choose(const QString& path) {
    // The folder with its final separator: the path without the file's name.
    m_settings.LastFolder = path.left(path.size() - QFileInfo(path).fileName().size());
    m_path->setText(path);
}

void PhoneticWriter::Pour() {
    if (m_running || m_waiting)
        return;
    m_running = true;
    const PourOutcome outcome = vpr::PourPhoneticIntoSong(m_path->text(), m_phonetic.text(), *this, Options());
    m_running = false;
    Report(outcome);
    if (m_closeAfterRun)
        close();
}

PourOptions PhoneticWriter::Options() const {
    PourOptions options;
    options.fromNotes = m_fromNotes->isChecked();
    options.skipHeld = !options.fromNotes && m_skipHeld->isChecked();
    options.byWords = options.fromNotes && settings::ReadPreference(settings::kReadByWordsPreference, false);
    return options;
}

void PhoneticWriter::Preview() {
    if (m_running || m_waiting)
        return;
    PourOptions options = Options();
    options.dryRun = options.list = true;
    vsqx::PourProgress quiet;
    const PourOutcome outcome = vpr::PourPhoneticIntoSong(m_path->text(), m_phonetic.text(), quiet, options);
    if (outcome.kind != PourOutcome::Kind::Completed) {
        Report(outcome);
        return;
    }
    auto* preview = new PourPreview(outcome, this);
    preview->show();
}

void PhoneticWriter::Report(const PourOutcome& outcome) {
    // A box needs an enabled owner: the progress window while it is open, otherwise this window, which
    // the end of the run leaves enabled.
    EnableUnlessBusy();
    QWidget* owner = m_waiting ? static_cast<QWidget*>(m_waiting) : this;
    switch (outcome.kind) {
    case PourOutcome::Kind::Completed:
        MessageBox::Show(owner, MessageBox::Icon::Information, kPourCompletedText.toString(), PourCountsText(outcome),
                         outcome.warning);
        if (m_waiting)
            m_waiting->close();
        break;
    case PourOutcome::Kind::NotVsqx:
        MessageBox::Show(owner, MessageBox::Icon::Warning, kNotVsqxText.toString());
        break;
    case PourOutcome::Kind::NotFound:
        MessageBox::Show(owner, MessageBox::Icon::Warning, kVsqxNotFoundText.toString());
        break;
    case PourOutcome::Kind::Failed:
        // The progress window stays open with the state the run reached, until the user closes it.
        MessageBox::ShowUnexpectedFailure(owner, outcome.cause);
        break;
    }
}

void PhoneticWriter::EnableUnlessBusy() {
    if (!m_running && !m_waiting)
        setEnabled(true);
}

void PhoneticWriter::Start() {
    setEnabled(false);
    // Made after this window is disabled, the progress window is not disabled with it.
    auto* waiting = new Waiting(this);
    waiting->setAttribute(Qt::WA_DeleteOnClose);
    connect(waiting, &Waiting::Closed, this, [this] {
        m_waiting.clear();
        EnableUnlessBusy();
    });
    m_waiting = waiting;
    CentreOver(*waiting, *this);
    waiting->show();
    LetEventsIn();
}

void PhoneticWriter::SetMaximum(double maximum) {
    if (m_waiting)
        m_waiting->SetMaximum(maximum);
}

void PhoneticWriter::SetValue(double value) {
    if (m_waiting)
        m_waiting->SetValue(value);
}

void PhoneticWriter::SetState(QStringView state) {
    if (m_waiting)
        m_waiting->SetState(state);
}

void PhoneticWriter::Yield() {
    if (m_sinceEvents.hasExpired(kRepaintMilliseconds))
        LetEventsIn();
}

void PhoneticWriter::LetEventsIn() {
    QCoreApplication::processEvents();
    m_sinceEvents.start();
}

void PhoneticWriter::closeEvent(QCloseEvent* event) {
    if (m_running) {
        // The run goes on to its end, and the window closes then.
        m_closeAfterRun = true;
        event->ignore();
        return;
    }
    if (m_waiting)
        m_waiting->close();
    m_main.setEnabled(true);
    event->accept();
    emit Closed();
}

void PhoneticWriter::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)
        m_begin->click();
    else if (event->key() == Qt::Key_Escape && !m_running)
        close();
    else
        QWidget::keyPressEvent(event);
}

void PhoneticWriter::dragEnterEvent(QDragEnterEvent* event) {
    if (!DraggedFile(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void PhoneticWriter::dropEvent(QDropEvent* event) {
    const QString path = DraggedFile(event->mimeData());
    if (path.isEmpty())
        return;
    Choose(path);
    event->acceptProposedAction();
}

} // namespace lirobel::window
