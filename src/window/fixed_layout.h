// SPDX-License-Identifier: GPL-3.0-or-later
// The windows have fixed layouts: every control has a name and a place in pixels, and a window cannot
// be resized.
#pragma once

#include <QFont>
#include <QLabel>
#include <QRect>
#include <QString>
#include <QWidget>

namespace lirobel::window {

/// A secondary window with a fixed dialog border: a title and a close box, no minimise or maximise.
inline constexpr Qt::WindowFlags kFixedDialogFlags = Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint |
                                                     Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                                                     Qt::WindowCloseButtonHint;

/// Bold 宋体 at the given size, for the lines that the windows show large. Where 宋体 is missing, another
/// CJK face takes its place, so that the text never shows as boxes.
inline QFont BoldSongTi(qreal points) {
    QFont font;
    font.setFamilies({QStringLiteral("宋体"), QStringLiteral("SimSun"), QStringLiteral("Noto Serif CJK SC"),
                      QStringLiteral("AR PL UMing CN"), QStringLiteral("WenQuanYi Zen Hei"),
                      QStringLiteral("WenQuanYi Micro Hei")});
    font.setPointSizeF(points);
    font.setBold(true);
    return font;
}

/// Gives a new control its objectName and its place in its parent (left, top, width, height).
template <class Widget> Widget* Placed(Widget* widget, const char* name, const QRect& place) {
    widget->setObjectName(QString::fromLatin1(name));
    widget->setGeometry(place);
    return widget;
}

/// Places a secondary window over the middle of the window that owns it.
inline void CentreOver(QWidget& window, const QWidget& owner) {
    window.move(owner.frameGeometry().center() - window.rect().center());
}

/// Makes every caption of a window show whole where the platform's font is wider than the one the places
/// were drawn for: a label, option button or check box whose caption does not fit grows to the right into
/// free space (up to the next control on its row, or the right edge of the controls beside it), and where
/// that is not enough, takes a smaller font, down to 6 points. A cut caption would hide what a control is
/// for; a caption over its neighbour would hide the neighbour.
void FitCaptions(QWidget* window);

} // namespace lirobel::window
