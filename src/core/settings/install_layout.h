// SPDX-License-Identifier: GPL-3.0-or-later
// Whether the program runs installed (from "<prefix>/bin", as a package or `cmake --install` puts it) or
// from its build tree or a copied program folder. Decided from the files around the executable, not from
// paths of the build machine, so that an installed tree can be moved to another prefix.
#pragma once

#include <QString>

namespace lirobel::settings {

/// True when executableFolder is "<prefix>/bin" and the prefix holds the program's desktop entry, which
/// every installation has (unlike the documentation, which minimal systems leave out).
bool IsInstalled(const QString& executableFolder);

/// The README that "检查软件更新" opens, as a file URL: "<prefix>/share/doc/lirobel/README.md" beside the
/// "<prefix>/bin" the program runs from, installed or in the build tree (which keeps a copy there), or
/// that folder below a program folder of another name.
QString ProjectPage(const QString& executableFolder);

} // namespace lirobel::settings
