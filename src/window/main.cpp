// SPDX-License-Identifier: GPL-3.0-or-later
// The window program: lirobel [VSQX], the file as a file manager passes it.
#include "core/files/native_path.h"
#include "core/files/replace_file.h"
#include "core/settings/settings_location.h"
#include "window/main_window.h"
#include "window/saved_text.h"

#include <QApplication>
#include <QIcon>

int main(int argc, char* argv[]) {
    // Ended midway by a signal (a closed session, kill), a pour leaves no temporary file behind.
    lirobel::files::RemoveUnfinishedFilesOnSignals();
    QApplication application(argc, argv);
    // Docks and task bars match the windows to the menu entry by this name (Wayland's app id), and so
    // show its icon; where the icon is installed, the windows carry it too.
    QGuiApplication::setDesktopFileName(QStringLiteral(LIROBEL_APP_ID));
    QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral(LIROBEL_APP_ID)));
    // Qt has taken its own options out of argv; the file's name is taken from its bytes, which need not
    // be UTF-8.
    if (argc > 2)
        qWarning("lirobel: only one file can be opened; the others are ignored.");
    const QString fileToOpen = argc > 1 ? lirobel::files::PathFromNative(argv[1]) : QString();
    const auto window = lirobel::window::Main::Start(
        lirobel::settings::WindowSettingsPath(QCoreApplication::applicationDirPath()), fileToOpen,
        lirobel::window::SavedTextFolder());
    return QApplication::exec();
}
