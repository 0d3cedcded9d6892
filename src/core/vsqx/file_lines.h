// SPDX-License-Identifier: GPL-3.0-or-later
// The lines of a VSQX file as the pour-in sees them: a line ends at CR LF or at a lone CR, and an LF on its
// own is an ordinary character. One byte is one character; the file's encoding is never consulted.
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <functional>
#include <limits>

namespace lirobel::vsqx {

/// The number of lines in the file's bytes. A last line without a line end counts; a line end at the
/// very end starts no further line: "a\r\nb\r\n" and "a\r\nb" are both 2 lines, an empty file is 0. A file
/// of atMost lines or more gives atMost, found without reading on past the line end that shows it.
qsizetype CountFileLines(QByteArrayView fileBytes, qsizetype atMost = std::numeric_limits<qsizetype>::max());

/// Line `number` (from 1) without its line end; empty when the file has fewer lines.
QByteArrayView FileLine(QByteArrayView fileBytes, qsizetype number);

/// Turns the file's bytes into the working text in place: every line end is removed and the lines stay
/// together in their order. Returns the number of lines, as CountFileLines. After about every
/// kYieldBytes bytes it calls linesDone with the number of lines joined so far (when set).
qsizetype JoinFileLines(QByteArray& bytes, const std::function<void(qsizetype linesDone)>& linesDone = {});

} // namespace lirobel::vsqx
