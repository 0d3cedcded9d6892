// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/cli.h"
#include "cli/standard_streams.h"
#include "core/files/native_path.h"
#include "core/files/replace_file.h"

#include <QCoreApplication>
#include <csignal>

int main(int argc, char* argv[]) {
    lirobel::cli::StandardStreams streams;
    if (!streams.IsGuarded())
        return lirobel::cli::kExitFailure;
    // A reader that went away makes a write fail, not the program die: a pour whose report is lost has
    // still replaced its file, and must say so with its exit code.
    std::signal(SIGPIPE, SIG_IGN);
    // Ended midway by Ctrl+C, kill or a closed terminal, a pour leaves no temporary file behind.
    lirobel::files::RemoveUnfinishedFilesOnSignals();
    // Before Qt sees them: Qt decodes them as UTF-8 and replaces what it cannot decode, which would name
    // another file.
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments.append(lirobel::files::PathFromNative(argv[i]));
    QCoreApplication application(argc, argv);
    lirobel::cli::CliContext context{streams.In(), streams.Out(), streams.Err(),
                                     QCoreApplication::applicationDirPath()};
    return lirobel::cli::RunCli(arguments, context);
}
