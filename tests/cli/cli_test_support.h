// SPDX-License-Identifier: GPL-3.0-or-later
// Runs lirobel-cli in process, with its standard streams in memory.
#pragma once

#include "cli/cli.h"
#include "support/test_files.h"

#include <QBuffer>
#include <QStandardPaths>
#include <QTemporaryDir>

namespace lirobel::cli {

struct CliRun {
    int exitCode;
    QByteArray out;
    QByteArray err;
};

/// An executable folder without a settings file, and a per-user configuration folder of the tests' own.
inline QString EmptyProgramFolder() {
    QStandardPaths::setTestModeEnabled(true);
    static const QTemporaryDir folder;
    return folder.path();
}

using test::WriteFile;

inline CliRun RunInProcess(const QStringList& arguments, const QByteArray& input = {},
                           const QString& executableFolder = EmptyProgramFolder()) {
    QByteArray inBytes = input;
    QBuffer in(&inBytes);
    QBuffer out;
    QBuffer err;
    in.open(QIODevice::ReadOnly);
    out.open(QIODevice::WriteOnly);
    err.open(QIODevice::WriteOnly);
    CliContext context{in, out, err, executableFolder};
    const int exitCode = RunCli(arguments, context);
    return {exitCode, out.data(), err.data()};
}

} // namespace lirobel::cli
