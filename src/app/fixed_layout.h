// SPDX-License-Identifier: GPL-3.0-or-later
// The windows have fixed layouts: every control has a name and a place in pixels.
#pragma once

#include <QLabel>
#include <QRadioButton>
#include <QRect>
#include <QString>
#include <QWidget>
#include <algorithm>

namespace lirobel::app {

/// Gives a new control its objectName and its place in its parent (left, top, width, height).
template <class Widget> Widget* Placed(Widget* widget, const char* name, const QRect& place) {
    widget->setObjectName(QString::fromLatin1(name));
    widget->setGeometry(place);
    return widget;
}

/// Widens the labels and option buttons of a window whose caption the platform's font makes longer than
/// their place, keeping their left and top: the places were drawn for a narrower font, and a cut caption
/// would hide what a control is for.
inline void WidenToFitCaptions(QWidget* window) {
    for (QWidget* control : window->findChildren<QWidget*>()) {
        const auto* label = qobject_cast<QLabel*>(control);
        if ((label && !label->wordWrap()) || qobject_cast<QRadioButton*>(control))
            control->resize(std::max(control->width(), control->sizeHint().width()), control->height());
    }
}

} // namespace lirobel::app
