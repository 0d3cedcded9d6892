// SPDX-License-Identifier: GPL-3.0-or-later
#include "window/message_box.h"

#include "core/vsqx/pour_texts.h"

#include <QMessageBox>

namespace lirobel::window {

namespace {

std::function<void(const MessageBox::Message&)>& TestHook() {
    static std::function<void(const MessageBox::Message&)> hook;
    return hook;
}

QMessageBox::Icon BoxIcon(MessageBox::Icon icon) {
    switch (icon) {
    case MessageBox::Icon::Warning:
        return QMessageBox::Warning;
    case MessageBox::Icon::Error:
        return QMessageBox::Critical;
    case MessageBox::Icon::Information:
        break;
    }
    return QMessageBox::Information;
}

} // namespace

void MessageBox::Show(QWidget* parent, Icon icon, const QString& text, const QString& informativeText,
                      const QString& detailedText) {
    if (TestHook()) {
        TestHook()({icon, text, informativeText, detailedText});
        return;
    }
    QMessageBox box(BoxIcon(icon), QStringLiteral("Lirobel"), text, QMessageBox::Ok, parent);
    box.setInformativeText(informativeText);
    box.setDetailedText(detailedText);
    box.exec();
}

void MessageBox::ShowUnexpectedFailure(QWidget* parent, const QString& cause) {
    Show(parent, Icon::Error, vsqx::kUnexpectedFailureText.toString(), {}, cause);
}

void MessageBox::SetTestHook(std::function<void(const Message&)> hook) {
    TestHook() = std::move(hook);
}

} // namespace lirobel::window
