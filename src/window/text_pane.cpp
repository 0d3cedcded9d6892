// SPDX-License-Identifier: GPL-3.0-or-later
#include "window/text_pane.h"

#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QTextDocumentFragment>

namespace lirobel::window {

TextPane::TextPane(Kind kind, QWidget* parent) : QPlainTextEdit(parent), m_kind(kind) {
    // Tab leaves the pane rather than typing a tab, so that the window can be used from the keyboard.
    setTabChangesFocus(true);
    // The pane menu opens on the release of the right button; nothing else may open a menu first.
    setContextMenuPolicy(Qt::PreventContextMenu);
    if (kind == Kind::Result) {
        setReadOnly(true);
        // Nothing typed there to take back, and a long result would be kept twice.
        setUndoRedoEnabled(false);
        setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    }
    // The style's frame is drawn in lines that fall between the screen's pixels at fractional scales
    // (1.25x) and vanish; a border filled as a rectangle shows at every scale.
    setStyleSheet(QStringLiteral("lirobel--window--TextPane { border: 1px solid palette(mid); }"));
    connect(this, &QPlainTextEdit::textChanged, this, &TextPane::NoticeChange);
}

void TextPane::SetText(const QString& text) {
    if (text != m_text)
        setPlainText(text);
}

void TextPane::NoticeChange() {
    QString now = toPlainText();
    if (now == m_text)
        return;
    m_text = std::move(now);
    emit PlainTextChanged();
}

void TextPane::keyPressEvent(QKeyEvent* event) {
    QPlainTextEdit::keyPressEvent(event);
    // A pane takes Enter even where it cannot type it, so that Enter never reaches the window's
    // default button from inside a pane.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)
        event->accept();
}

void TextPane::mouseReleaseEvent(QMouseEvent* event) {
    QPlainTextEdit::mouseReleaseEvent(event);
    if (event->button() == Qt::RightButton)
        emit RightButtonReleased(event->globalPosition().toPoint());
}

QMimeData* TextPane::createMimeDataFromSelection() const {
    auto* plain = new QMimeData;
    plain->setText(textCursor().selection().toPlainText());
    return plain;
}

} // namespace lirobel::window
