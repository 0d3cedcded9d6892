// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/cli.h"

#include <QCoreApplication>
#include <QFile>
#include <cstdio>
#include <unistd.h>

int main(int argc, char* argv[]) {
    QCoreApplication application(argc, argv);
    QFile in;
    QFile out;
    QFile err;
    // Unbuffered, so that a failing write (a full disk, a closed pipe) is seen by the command that made it.
    if (!in.open(STDIN_FILENO, QIODevice::ReadOnly) ||
        !out.open(STDOUT_FILENO, QIODevice::WriteOnly | QIODevice::Unbuffered) ||
        !err.open(STDERR_FILENO, QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        std::fputs("lirobel-cli: cannot open the standard streams\n", stderr);
        return lirobel::cli::kExitFailure;
    }
    lirobel::cli::CliContext context{in, out, err, QCoreApplication::applicationDirPath()};
    return lirobel::cli::RunCli(application.arguments().mid(1), context);
}
