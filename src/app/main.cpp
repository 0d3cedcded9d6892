// SPDX-License-Identifier: GPL-3.0-or-later
// The window program.
#include "app/main_window.h"
#include "app/settings_location.h"
#include "vsqx/replace_file.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    // Ended midway by a signal (a closed session, kill), a pour leaves no temporary file behind.
    lirobel::vsqx::RemoveUnfinishedFilesOnSignals();
    QApplication application(argc, argv);
    const auto window =
        lirobel::app::Main::Start(lirobel::app::WindowSettingsPath(QCoreApplication::applicationDirPath()));
    return QApplication::exec();
}
