// SPDX-License-Identifier: GPL-3.0-or-later
// The window program: lirobel [VSQX], the file as a file manager passes it.
#include "core/files/native_path.h"
#include "core/files/replace_file.h"
#include "core/settings/settings_location.h"
#include "window/main_window.h"
#include "window/qt_translations.h"
#include "window/saved_text.h"

#include <QApplication>
#include <QIcon>
#include <cstdio>
#include <cstring>

namespace {

// --help and --version are answered as lirobel-cli answers them, on standard output and without a
// display; -1 when the arguments ask for neither.
int AnswerInformationOptions(int argc, char* argv[]) {
    for (int i = 1; i < argc && std::strcmp(argv[i], "--") != 0; ++i) {
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            std::fputs("usage: lirobel [SONG]\n"
                       "       lirobel --help | --version\n"
                       "Opens the window; a song file given (VSQX or .vpr) goes into the path box of the first "
                       "writer window.\n",
                       stdout);
            return 0;
        }
        if (std::strcmp(argv[i], "--version") == 0) {
            std::fputs("lirobel " LIROBEL_VERSION "\n", stdout);
            return 0;
        }
    }
    return -1;
}

} // namespace

int main(int argc, char* argv[]) {
    if (const int answered = AnswerInformationOptions(argc, argv); answered >= 0)
        return std::fflush(stdout) == 0 ? answered : 1;
    // Ended midway by a signal (a closed session, kill), a pour leaves no temporary file behind.
    lirobel::files::RemoveUnfinishedFilesOnSignals();
    QApplication application(argc, argv);
    lirobel::window::InstallQtTranslations(application);
    // Docks and task bars match the windows to the menu entry by this name (Wayland's app id), and so
    // show its icon; where the icon is installed, the windows carry it too.
    QGuiApplication::setDesktopFileName(QStringLiteral(LIROBEL_APP_ID));
    QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral(LIROBEL_APP_ID)));
    // Qt has taken its own options out of argv; the file's name is taken from its bytes, which need not
    // be UTF-8.
    if (argc > 2)
        qWarning("lirobel: only one file can be opened; the others are ignored.");
    const QString fileToOpen = argc > 1 ? lirobel::files::PathFromNative(argv[1]) : QString();
    const auto window =
        lirobel::window::Main::Start(lirobel::settings::WindowSettingsPath(QCoreApplication::applicationDirPath()),
                                     fileToOpen, lirobel::window::SavedTextFolder());
    return QApplication::exec();
}
