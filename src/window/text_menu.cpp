// SPDX-License-Identifier: GPL-3.0-or-later
#include "window/text_menu.h"

#include "window/text_pane.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QTextDocumentFragment>

namespace lirobel::window {

namespace {

QString SelectedText(const TextPane& pane) {
    return pane.textCursor().selection().toPlainText();
}

void ReplaceSelection(TextPane& pane, const QString& text) {
    QTextCursor cursor = pane.textCursor();
    cursor.insertText(text);
    pane.setTextCursor(cursor);
}

} // namespace

TextMenu::TextMenu(QWidget* parent) : QMenu(QStringLiteral("RICHTEXTBOX右键菜单"), parent) {
    setObjectName(QStringLiteral("TextMenu"));
    const auto item = [this](const char* name, const QString& caption, auto command) {
        QAction* action = addAction(caption, this, command);
        action->setObjectName(QString::fromLatin1(name));
        return action;
    };
    m_cut = item("CutText", QStringLiteral("剪切 (Cut)"), &TextMenu::Cut);
    item("CopyText", QStringLiteral("复制 (Copy)"), &TextMenu::Copy);
    m_paste = item("PasteText", QStringLiteral("粘贴 (Paste)"), &TextMenu::Paste);
    m_delete = item("DeleteText", QStringLiteral("删除 (Delete)"), &TextMenu::Delete);
    addSeparator()->setObjectName(QStringLiteral("SplitLine"));
    item("SelectText", QStringLiteral("全选 (Select All)"), &TextMenu::SelectAll);
    item("ClearClipboard", QStringLiteral("清空剪切板 (Clear Clipboard)"),
         [] { QGuiApplication::clipboard()->clear(); });
}

void TextMenu::Attach(TextPane* pane) {
    m_panes.append(pane);
    connect(pane, &TextPane::RightButtonReleased, this,
            [this, pane](QPoint globalPosition) { OpenOn(pane, globalPosition); });
}

void TextMenu::OpenOn(TextPane* pane, QPoint globalPosition) {
    const bool input = pane->kind() == TextPane::Kind::Input;
    for (QAction* action : {m_cut, m_paste, m_delete})
        action->setEnabled(input);
    m_menuTarget = pane->objectName();
    popup(globalPosition);
}

TextPane* TextMenu::Target() const {
    for (TextPane* pane : m_panes) {
        if (pane->objectName() == m_menuTarget)
            return pane;
    }
    return nullptr;
}

TextPane* TextMenu::InputTarget() const {
    TextPane* pane = Target();
    return pane && pane->kind() == TextPane::Kind::Input ? pane : nullptr;
}

void TextMenu::Cut() {
    TextPane* pane = InputTarget();
    QGuiApplication::clipboard()->setText(pane ? SelectedText(*pane) : QString());
    if (pane)
        ReplaceSelection(*pane, {});
}

void TextMenu::Copy() {
    const TextPane* pane = Target();
    QGuiApplication::clipboard()->setText(pane ? SelectedText(*pane) : QString());
}

void TextMenu::Paste() {
    TextPane* pane = InputTarget();
    if (!pane)
        return;
    // Whatever else the clipboard holds (a picture, say), only its text is pasted: without any, the
    // selection is replaced by nothing.
    const QMimeData* clipboard = QGuiApplication::clipboard()->mimeData();
    ReplaceSelection(*pane, clipboard && clipboard->hasText() ? clipboard->text() : QString());
}

void TextMenu::Delete() {
    if (TextPane* pane = InputTarget())
        ReplaceSelection(*pane, {});
}

void TextMenu::SelectAll() {
    if (TextPane* pane = Target())
        pane->selectAll();
}

} // namespace lirobel::window
