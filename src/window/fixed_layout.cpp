// SPDX-License-Identifier: GPL-3.0-or-later
#include "window/fixed_layout.h"

#include <QCheckBox>
#include <QLabel>
#include <QRadioButton>
#include <algorithm>

namespace lirobel::window {

namespace {

// Labels that wrap their text are sized for it by their place; only one-line captions can be cut.
bool HasOneLineCaption(const QWidget* control) {
    if (const auto* label = qobject_cast<const QLabel*>(control))
        return !label->wordWrap() && !label->text().isEmpty();
    return qobject_cast<const QRadioButton*>(control) || qobject_cast<const QCheckBox*>(control);
}

// How far to the right the control may grow: to the nearest sibling that starts to its right on the
// same rows, and no further than the right edge of its siblings.
int RightLimit(const QWidget* control) {
    const QList<QWidget*> siblings = control->parentWidget()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
    int limit = 0;
    for (const QWidget* sibling : siblings)
        limit = std::max(limit, sibling->geometry().right() + 1);
    const QRect place = control->geometry();
    for (const QWidget* sibling : siblings) {
        const QRect other = sibling->geometry();
        if (sibling != control && other.left() > place.left() && other.top() <= place.bottom() &&
            other.bottom() >= place.top())
            limit = std::min(limit, other.left());
    }
    return std::max(limit, place.right() + 1);
}

} // namespace

void FitCaptions(QWidget* window) {
    for (QWidget* control : window->findChildren<QWidget*>()) {
        if (!HasOneLineCaption(control) || control->sizeHint().width() <= control->width())
            continue;
        const int room = RightLimit(control) - control->x();
        control->resize(std::min(control->sizeHint().width(), room), control->height());
        for (QFont font = control->font(); control->sizeHint().width() > control->width() && font.pointSizeF() > 6;) {
            font.setPointSizeF(font.pointSizeF() - 0.5);
            control->setFont(font);
        }
    }
}

} // namespace lirobel::window
