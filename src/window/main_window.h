// SPDX-License-Identifier: GPL-3.0-or-later
// The main window: start-up, shut-down, the two pages and what lies below them.
#pragma once

#include "core/settings/settings.h"

#include <QString>
#include <QWidget>
#include <memory>

class QFileDialog;
class QLabel;
class QPushButton;

namespace lirobel::window {

class ChineseTab;

class TextMenu;

/// `Main`, the program's window: the pages "日语歌词处理" and "自动中文调教" in the tab strip, the credits
/// line below them that changes every ten seconds, "检查软件更新" and "退出程序". It owns the settings,
/// the panes' menu and the VSQX file dialog. Closing it in any way saves the settings and the text of
/// the input panes, except while it is disabled: then the writer window it owns is open, and the window
/// stays.
class Main : public QWidget {
    Q_OBJECT

public:
    /// Start-up up to the notices: loads the settings from settingsPath (creating the file with the
    /// defaults when there is none), readies the character codes, starts the file dialog in LastFolder
    /// (the home folder when that is no folder here), selects the first singer and clears MenuTarget.
    explicit Main(QString settingsPath, QWidget* parent = nullptr);

    /// The whole start-up: the window as the constructor makes it, centred on its screen, then the two
    /// notices, each waited for in turn, then the input panes given the text kept in savedTextFolder at
    /// the end of the last run, then the window shown. fileToOpen, a VSQX file the program was started
    /// with (as a file manager starts it), is put in the path box of the first writer window that opens;
    /// a path that names no file is ignored with a warning on standard error. With savedTextFolder "",
    /// no text is kept or restored.
    static std::unique_ptr<Main> Start(QString settingsPath, const QString& fileToOpen = {},
                                       QString savedTextFolder = {});

    settings::Settings& settings() { return m_settings; }

protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void ShowNotices();
    void RestoreText();
    void SaveText() const;
    void TickCredits();

    void OpenWriter(const ChineseTab& chinese);

    QString m_settingsPath;
    QString m_savedTextFolder;
    QString m_fileToOpen; ///< until the first writer window takes it
    settings::Settings m_settings;
    bool m_characterCodesAvailable;
    QLabel* m_about;
    QPushButton* m_exit;
    QFileDialog* m_commonDialog;
    TextMenu* m_menu;
};

} // namespace lirobel::window
