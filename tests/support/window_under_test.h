// SPDX-License-Identifier: GPL-3.0-or-later
// The main window as the program starts it, for window tests.
#pragma once

#include "app/main_window.h"
#include "app/message_box.h"
#include "support/test_files.h"

#include <QApplication>
#include <QTemporaryDir>
#include <QTest>
#include <QTextEdit>
#include <memory>
#include <vector>

namespace lirobel::test {

/// A started main window on a settings file of its own, with every message box recorded instead of
/// shown (the start-up notices come first). settingsBytes, when given, is the file the window finds at
/// start-up.
class WindowUnderTest {
public:
    explicit WindowUnderTest(const QByteArray& settingsBytes = {}) {
        // Closing a window under test must not end the event loops that the tests run.
        QApplication::setQuitOnLastWindowClosed(false);
        if (!settingsBytes.isNull())
            WriteFile(settingsPath, settingsBytes);
        app::MessageBox::SetTestHook([this](const app::MessageBox::Message& message) {
            messages.push_back(message);
            if (onMessage)
                onMessage(message);
        });
        window = app::Main::Start(settingsPath);
    }
    ~WindowUnderTest() { app::MessageBox::SetTestHook({}); }
    WindowUnderTest(const WindowUnderTest&) = delete;
    WindowUnderTest& operator=(const WindowUnderTest&) = delete;

    /// The window's control with this objectName; the test fails at once when there is none.
    template <class Control> Control* Find(const char* name) const {
        auto* control = window->findChild<Control*>(QString::fromLatin1(name));
        if (!control)
            qFatal("the window has no %s", name);
        return control;
    }

    QTemporaryDir folder;
    const QString settingsPath = folder.filePath(QStringLiteral("Settings.ini"));
    std::vector<app::MessageBox::Message> messages;
    std::function<void(const app::MessageBox::Message&)> onMessage; ///< called as each box would show
    std::unique_ptr<app::Main> window;
};

/// Selects the pane's characters from one position to another, as a drag of the mouse would.
inline void Select(QTextEdit* pane, int from, int to) {
    QTextCursor selection = pane->textCursor();
    selection.setPosition(from);
    selection.setPosition(to, QTextCursor::KeepAnchor);
    pane->setTextCursor(selection);
}

} // namespace lirobel::test
