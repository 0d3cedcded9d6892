// SPDX-License-Identifier: GPL-3.0-or-later
// Every caption of every window shows whole and clear of its neighbours, at the scale the test runs at
// (QT_SCALE_FACTOR, QT_FONT_DPI); and Qt's own texts follow the program's language.
#include "support/window_under_test.h"
#include "window/qt_translations.h"
#include "window/setting_dialog.h"
#include "window/text_pane.h"
#include "window/waiting.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QTimer>

namespace lirobel::window {

using test::WindowUnderTest;

namespace {

// The captions of the window that do not fit their control, or that cover a neighbour, as "Name: why".
QStringList CutCaptions(const QWidget& window) {
    QStringList cut;
    for (const QWidget* control : window.findChildren<QWidget*>()) {
        const auto* label = qobject_cast<const QLabel*>(control);
        const auto* button = qobject_cast<const QAbstractButton*>(control);
        // Only the window's own controls: not those of the dialogs it owns, nor the tab bar's scroll arrows.
        if ((!(label && !label->text().isEmpty()) && !button) || control->window() != &window ||
            qobject_cast<const QTabBar*>(control->parentWidget()))
            continue;
        const QString text = label ? label->text() : button->text();
        int needed = control->fontMetrics().horizontalAdvance(text);
        if (label && label->wordWrap()) {
            needed = 0;
            for (const QString& line : text.split(u'\n'))
                needed = std::max(needed, control->fontMetrics().horizontalAdvance(line));
        } else if (qobject_cast<const QRadioButton*>(control) || qobject_cast<const QCheckBox*>(control)) {
            needed = control->sizeHint().width();
        }
        const int room = label ? label->contentsRect().width() : control->width();
        if (needed > room)
            cut << QStringLiteral("%1: %2 wide in %3").arg(control->objectName()).arg(needed).arg(room);
        for (const QWidget* sibling : control->parentWidget()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            if (sibling != control && !sibling->isWindow() && sibling->geometry().intersects(control->geometry()))
                cut << control->objectName() + QStringLiteral(": over ") + sibling->objectName();
        }
    }
    return cut;
}

} // namespace

class CaptionFitTest : public QObject {
    Q_OBJECT

private slots:
    void everyWindowShowsItsCaptionsWhole() {
        WindowUnderTest started;
        // The credits change every ten seconds, each whole and without a path of the build.
        auto* timer = started.Find<QTimer>("Timer");
        QVERIFY(timer->isActive() && timer->interval() == 10000);
        QStringList shown;
        for (int tick = 0; tick < 4; ++tick) {
            QVERIFY2(CutCaptions(*started.window).isEmpty(), qPrintable(CutCaptions(*started.window).join(u"; ")));
            shown.append(started.Find<QLabel>("About")->text());
            QMetaObject::invokeMethod(timer, "timeout");
        }
        const QString indent(36, u' ');
        QVERIFY(shown[0].startsWith(indent + QStringLiteral("作者")) &&
                shown[1].startsWith(indent + QStringLiteral("主页")));
        QVERIFY(!shown[2].startsWith(u' ') && !shown.join(u' ').contains(u'/'));
        QCOMPARE(shown[3], shown[0]);

        started.ShowPage(1);
        started.Find<TextPane>("VPhonetic")->setPlainText(QStringLiteral("J i|"));
        test::Click(started.window.get(), "PutPhonetic");
        Setting setting(started.window->settings(), started.window.get());
        Waiting waiting(nullptr);
        for (const QWidget* window :
             {static_cast<QWidget*>(started.window.get()), started.Find<QWidget>("PhoneticWriter"),
              static_cast<QWidget*>(&setting), static_cast<QWidget*>(&waiting)})
            QVERIFY2(CutCaptions(*window).isEmpty(), qPrintable(CutCaptions(*window).join(u"; ")));
    }

    void qtsOwnTextsAreTranslated() {
        QVERIFY(InstallQtTranslations(*QCoreApplication::instance()));
        // The tests run without a language (C), for which the program's own Chinese is taken.
        const QString details = QCoreApplication::translate("QMessageBox", "Show Details...");
        QVERIFY2(details != u"Show Details..." && details.front().script() == QChar::Script_Han, qPrintable(details));
    }
};

} // namespace lirobel::window

QTEST_MAIN(lirobel::window::CaptionFitTest)
#include "caption_fit_test.moc"
