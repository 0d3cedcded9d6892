// SPDX-License-Identifier: GPL-3.0-or-later
// Runs lirobel-cli in process, with its standard streams in memory.
#pragma once

#include "cli/cli.h"

#include <QBuffer>
#include <QTemporaryDir>

namespace lirobel::cli {

struct CliRun {
    int exitCode;
    QByteArray out;
    QByteArray err;
};

inline CliRun RunInProcess(const QStringList& arguments, const QByteArray& input = {},
                           const QString& executableFolder = {}) {
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
