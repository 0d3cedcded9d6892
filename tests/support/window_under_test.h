// SPDX-License-Identifier: GPL-3.0-or-later
// The main window as the program starts it, for window tests.
#pragma once

#include "support/case_file.h"
#include "support/test_files.h"
#include "window/main_window.h"
#include "window/message_box.h"

#include <QAbstractButton>
#include <QApplication>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <memory>
#include <vector>

namespace lirobel::test {

/// The child of parent with this objectName; the test stops at once when there is none.
template <class Control> Control* Find(const QObject* parent, const char* name) {
    auto* control = parent->findChild<Control*>(QString::fromLatin1(name));
    if (!control)
        qFatal("there is no %s", name);
    return control;
}

/// Clicks the button of parent with this objectName, as the mouse does; a mouse reaches shown buttons
/// only (a click on a hidden one would land on whatever is shown in its place).
inline void Click(const QObject* parent, const char* name) {
    auto* button = Find<QAbstractButton>(parent, name);
    if (!button->isVisible())
        qFatal("%s is not shown", name);
    QTest::mouseClick(button, Qt::LeftButton);
}

/// Selects the pane's characters from one position to another, as a drag of the mouse would.
inline void Select(QPlainTextEdit* pane, int from, int to) {
    QTextCursor selection = pane->textCursor();
    selection.setPosition(from);
    selection.setPosition(to, QTextCursor::KeepAnchor);
    pane->setTextCursor(selection);
}

/// Adds a QString column of each name, and a row of each line of the case file whose first field is
/// table; the second field names the row, and those after it fill the columns.
inline void AddCaseRows(const char* table, std::initializer_list<const char*> columns, const QString& caseFile) {
    for (const char* column : columns)
        QTest::addColumn<QString>(column);
    for (const QByteArrayList& row : ReadCaseFile(caseFile)) {
        if (row[0] != table)
            continue;
        QTestData& data = QTest::newRow(row[1].constData());
        for (const QByteArray& field : row.sliced(2))
            data << QString::fromUtf8(field);
    }
}

/// A started main window on a settings file of its own, with every message box after the start-up
/// notices recorded instead of shown. settingsBytes, when given, is the file the window finds;
/// fileToOpen is the file the program is started with.
class WindowUnderTest {
public:
    explicit WindowUnderTest(const QByteArray& settingsBytes = {}, const QString& fileToOpen = {}) {
        // Closing a window under test must not end the event loops that the tests run.
        QApplication::setQuitOnLastWindowClosed(false);
        if (!settingsBytes.isNull())
            WriteFile(settingsPath, settingsBytes);
        window::MessageBox::SetTestHook([this](const window::MessageBox::Message& message) {
            messages.push_back(message);
            if (onMessage)
                onMessage(message);
        });
        window = window::Main::Start(settingsPath, fileToOpen, folder.filePath(QStringLiteral("panes")));
        messages.clear();
    }

    /// Shows the page "日语歌词处理" (0) or "自动中文调教" (1).
    void ShowPage(int page) const { Find<QTabWidget>("TabStrip")->setCurrentIndex(page); }
    ~WindowUnderTest() { window::MessageBox::SetTestHook({}); }
    WindowUnderTest(const WindowUnderTest&) = delete;
    WindowUnderTest& operator=(const WindowUnderTest&) = delete;

    template <class Control> Control* Find(const char* name) const { return test::Find<Control>(window.get(), name); }

    QTemporaryDir folder;
    const QString settingsPath = folder.filePath(QStringLiteral("Settings.ini"));
    std::vector<window::MessageBox::Message> messages;
    std::function<void(const window::MessageBox::Message&)> onMessage; ///< called as each box would show
    std::unique_ptr<window::Main> window;
};

} // namespace lirobel::test
