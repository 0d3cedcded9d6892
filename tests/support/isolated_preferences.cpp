// SPDX-License-Identifier: GPL-3.0-or-later
// Linked into every window test: the preferences go to a folder of the test's own, so that a test starts
// from the defaults whatever the developer running it has chosen in ~/.config/Lirobel.
#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>

namespace {

void IsolatePreferences() {
    static const QTemporaryDir folder;
    if (!folder.isValid())
        qFatal("cannot make a folder for the preferences: %s", qPrintable(folder.errorString()));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(folder.path()));
}

} // namespace

// Before initTestCase and before any window reads a preference.
Q_COREAPP_STARTUP_FUNCTION(IsolatePreferences)
