// SPDX-License-Identifier: GPL-3.0-or-later
// The pop-up menu that the five text panes share.
#pragma once

#include <QList>
#include <QMenu>
#include <QString>

namespace lirobel::window {

class TextPane;

/// "RICHTEXTBOX右键菜单": cut, copy, paste, delete, select all and clear clipboard, opened by the right
/// button's release on a pane and acting on that pane. Cut, paste and delete are offered on input panes
/// only. Only plain text passes the clipboard.
class TextMenu : public QMenu {
    Q_OBJECT

public:
    explicit TextMenu(QWidget* parent);

    /// Opens the menu on every right-button release over the pane.
    void Attach(TextPane* pane);

    /// The name of the pane the menu was last opened on; "" until the first opening.
    const QString& MenuTarget() const { return m_menuTarget; }

    /// Forgets the pane the menu was last opened on.
    void ResetMenuTarget() { m_menuTarget.clear(); }

private:
    void OpenOn(TextPane* pane, QPoint globalPosition);
    TextPane* Target() const;
    TextPane* InputTarget() const; ///< the target when it is an input pane
    void Cut();
    void Copy();
    void Paste();
    void Delete();
    void SelectAll();

    QList<TextPane*> m_panes;
    QString m_menuTarget;
    QAction* m_cut;
    QAction* m_paste;
    QAction* m_delete;
};

} // namespace lirobel::window
