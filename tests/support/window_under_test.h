// SPDX-License-Identifier: GPL-3.0-or-later
// The main window as the program starts it, for window tests.
#pragma once

#include "support/case_file.h"
#include "support/test_files.h"
#include "window/main_window.h"
#include "window/message_box.h"
#include "window/text_pane.h"

#include <QAbstractButton>
#include <QApplication>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <array>
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

/// Adds a row of each line of the case file whose first field is table, named by the second field and
/// holding those after it as one QStringList, which Fields() hands out.
inline void AddCaseRows(const char* table, const QString& caseFile) {
    QTest::addColumn<QStringList>("fields");
    for (const QByteArrayList& row : ReadCaseFile(caseFile)) {
        if (row[0] != table)
            continue;
        QStringList fields;
        for (const QByteArray& field : row.sliced(2))
            fields << QString::fromUtf8(field);
        QTest::newRow(row[1].constData()) << fields;
    }
}

/// The fields of the current row of AddCaseRows(table, caseFile), which must have count of them; for a
/// structured binding that names them. The test stops at once when the row has another number.
template <std::size_t count> std::array<QString, count> Fields() {
    QFETCH(QStringList, fields);
    if (fields.size() != count)
        qFatal("the row has %d fields, not %d", int(fields.size()), int(count));
    std::array<QString, count> named;
    std::copy(fields.begin(), fields.end(), named.begin());
    return named;
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
    /// Shows the page that holds the control, which must sit straight on it.
    void ShowPageOf(const QWidget* control) const {
        ShowPage(Find<QTabWidget>("TabStrip")->indexOf(control->parentWidget()));
    }
    /// The text of every pane, in the order of the tabs, each in brackets.
    QString PaneTexts() const {
        QString texts;
        for (const char* pane : {"Input", "Output", "ChineseText", "PinYin", "VPhonetic"})
            texts += u'[' + Find<window::TextPane>(pane)->text() + u']';
        return texts;
    }
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
