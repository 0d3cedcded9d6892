// SPDX-License-Identifier: GPL-3.0-or-later
// Renders the windows into PNG files for the README: window_screenshots FOLDER [SCALE]. Run offscreen, with
// the fonts that scripts/setup.sh installs, so that the pictures do not depend on a desktop. SCALE (1.25,
// 2) renders as a screen of that scale does; the README's pictures are those at 1.
#include "core/vsqx/pour_texts.h"
#include "window/main_window.h"
#include "window/message_box.h"
#include "window/text_pane.h"
#include "window/waiting.h"

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <cstdio>

using lirobel::window::Main;
using lirobel::window::MessageBox;
using lirobel::window::TextPane;
using lirobel::window::Waiting;

int main(int argc, char* argv[]) {
    if (argc == 3)
        qputenv("QT_SCALE_FACTOR", argv[2]);
    QApplication application(argc, argv);
    if (argc != 2 && argc != 3) {
        std::fprintf(stderr, "usage: window_screenshots FOLDER [SCALE]\n");
        return 2;
    }
    int failures = 0;
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    MessageBox::SetTestHook([](const MessageBox::Message&) {});
    const QTemporaryDir settings;
    const auto started = Main::Start(settings.filePath(QStringLiteral("Settings.ini")));
    Main& window = *started;
    const auto save = [&](const char* name, QWidget& shown) {
        QApplication::processEvents();
        const QString path = folder.filePath(QString::fromLatin1(name));
        if (!shown.grab().save(path)) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
            ++failures;
        }
    };

    window.findChild<QRadioButton*>(QStringLiteral("JPN"))->setChecked(true);
    window.findChild<TextPane*>(QStringLiteral("Input"))->setPlainText(QStringLiteral("きゃっと ちゅうりっぷ"));
    window.findChild<QPushButton*>(QStringLiteral("Begin1"))->click();
    save("main-japanese.png", window);

    window.findChild<QTabWidget*>(QStringLiteral("TabStrip"))->setCurrentIndex(1);
    window.findChild<TextPane*>(QStringLiteral("ChineseText"))->setPlainText(QStringLiteral("你好\n我爱唱歌"));
    window.findChild<QPushButton*>(QStringLiteral("Begin2"))->click();
    save("main-chinese.png", window);

    window.findChild<QPushButton*>(QStringLiteral("PutPhonetic"))->click();
    auto* writer = window.findChild<QWidget*>(QStringLiteral("PhoneticWriter"));
    writer->findChild<QLineEdit*>(QStringLiteral("VSQXPath"))->setText(QStringLiteral("/home/me/Songs/demo.vsqx"));
    save("writer.png", *writer);

    Waiting waiting(nullptr);
    waiting.SetMaximum(2 * 20000);
    waiting.SetValue(20000);
    waiting.SetState(lirobel::vsqx::kProcessingState);
    waiting.show();
    save("waiting.png", waiting);
    return failures == 0 ? 0 : 1;
}
