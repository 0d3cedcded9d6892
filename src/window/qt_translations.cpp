// SPDX-License-Identifier: GPL-3.0-or-later
#include "window/qt_translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace lirobel::window {

bool InstallQtTranslations(QCoreApplication& application) {
    const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    auto* translator = new QTranslator(&application);
    const QLocale system = QLocale::system();
    const bool loaded = (system.language() != QLocale::C &&
                         translator->load(system, QStringLiteral("qtbase"), QStringLiteral("_"), folder)) ||
                        translator->load(QStringLiteral("qtbase_zh_CN"), folder);
    if (!loaded || !QCoreApplication::installTranslator(translator)) {
        delete translator;
        return false;
    }
    return true;
}

} // namespace lirobel::window
