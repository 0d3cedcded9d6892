// SPDX-License-Identifier: GPL-3.0-or-later
// The text panes of the main window.
#pragma once

#include <QPlainTextEdit>
#include <QPoint>
#include <QString>

namespace lirobel::window {

/// A text pane that takes and gives plain text only: typing, pasting, dropping and copying move the text
/// without colours or other formatting, though the program may colour characters it shows. Input panes
/// are edited by the user; result panes are filled by the program and can only be selected and copied
/// from. Only the lines in view are laid out, so that a pane stays quick with an album's lyrics in it.
class TextPane : public QPlainTextEdit {
    Q_OBJECT

public:
    enum class Kind { Input, Result };

    /// The pane menu finds panes by their objectName, which the owner sets.
    TextPane(Kind kind, QWidget* parent);

    Kind kind() const { return m_kind; }

    /// The whole text, as of the last change; the same as toPlainText(), without making a copy.
    const QString& text() const { return m_text; }

    /// Replaces the whole text. Setting the text the pane already holds does nothing at all, so that
    /// panes that empty each other stop once they are all empty.
    void SetText(const QString& text);

signals:
    /// The text has changed: by typing, cutting, pasting, dropping, undoing or SetText. Unlike
    /// textChanged(), not raised when only colours change or when the same text is set again.
    void PlainTextChanged();

    /// The right mouse button was released over the pane, at this place on the screen.
    void RightButtonReleased(QPoint globalPosition);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    QMimeData* createMimeDataFromSelection() const override;

private:
    void NoticeChange();

    Kind m_kind;
    QString m_text;
};

} // namespace lirobel::window
