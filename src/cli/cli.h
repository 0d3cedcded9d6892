// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QIODevice>
#include <QString>
#include <QStringList>

namespace lirobel::cli {

/// Exit codes of lirobel-cli; scripts rely on them.
enum ExitCode : int {
    kExitSuccess = 0,
    kExitFailure = 1, ///< a conversion or I/O failure, with its cause on stderr
    kExitUsage = 2,   ///< unknown command or option, bad value, missing operand; a usage line on stderr
    kExitNotVsqx = 3,
    kExitVsqxNotFound = 4,
};

/// Where a command reads and writes, and where it looks for the window's settings file.
struct CliContext {
    QIODevice& in;
    QIODevice& out;
    QIODevice& err;
    QString executableFolder;
};

/// Runs one lirobel-cli invocation; arguments exclude the program name. Returns the exit code.
int RunCli(const QStringList& arguments, CliContext& context);

} // namespace lirobel::cli
