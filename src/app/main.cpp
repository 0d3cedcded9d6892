// SPDX-License-Identifier: GPL-3.0-or-later
// The window program.
#include "app/main_window.h"
#include "app/settings_location.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    const auto window =
        lirobel::app::Main::Start(lirobel::app::WindowSettingsPath(QCoreApplication::applicationDirPath()));
    return QApplication::exec();
}
