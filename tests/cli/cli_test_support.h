// SPDX-License-Identifier: GPL-3.0-or-later
// Runs lirobel-cli in process, with its standard streams in memory.
#pragma once

#include "cli/cli.h"
#include "support/test_files.h"
#include "support/vpr_generator.h"

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

// The least that passes for a VSQX file: the vendor line ends the fifth line.
inline const QByteArray kSong =
    "<?xml?>\r\n<vsq3>\r\n\r\n\r\n\t<vender><![CDATA[Yamaha corporation]]></vender>\r\n"
    "<note><lyric><![CDATA[你]]></lyric><phnms><![CDATA[n i]]></phnms></note>\r\n"
    "<note><lyric><![CDATA[好]]></lyric><phnms><![CDATA[h a o]]></phnms></note>\r\n</vsq3>\r\n";

/// A .vpr project of four notes, the last of them held.
inline const QByteArray kProject = test::GenerateVpr(test::VprLayout::Version6, 4);

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
