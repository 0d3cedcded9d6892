// SPDX-License-Identifier: GPL-3.0-or-later
// The program's message boxes, and the seam through which tests answer them without showing them.
#pragma once

#include <QString>
#include <functional>

class QWidget;

namespace lirobel::window {

/// Every message box of the program: the title "Lirobel", one OK button and one of three icons.
class MessageBox {
public:
    enum class Icon { Warning, Information, Error };

    struct Message {
        Icon icon = Icon::Information;
        QString text;            ///< the message itself, exactly as the user is meant to read it
        QString informativeText; ///< a second line below it, when there is more to say
        QString detailedText;    ///< the cause behind a failure, folded away until asked for
    };

    /// Shows the box, owned by parent, and returns once the user has closed it.
    static void Show(QWidget* parent, Icon icon, const QString& text, const QString& informativeText = {},
                     const QString& detailedText = {});

    /// The generic failure box, "发生意外错误！", with the cause as its detailed text.
    static void ShowUnexpectedFailure(QWidget* parent, const QString& cause);

    /// For tests: while a hook is set, every box is handed to it instead of being shown, as though the
    /// user had pressed OK at once. An empty hook shows boxes again.
    static void SetTestHook(std::function<void(const Message&)> hook);
};

} // namespace lirobel::window
