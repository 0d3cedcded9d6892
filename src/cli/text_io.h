// SPDX-License-Identifier: GPL-3.0-or-later
// Input and output shared by the commands: UTF-8 text in, one result line out.
#pragma once

#include "cli/cli.h"

#include <functional>
#include <optional>

namespace lirobel::cli {

/// Writes the text as UTF-8. False when the device took less than all of it.
bool WriteText(QIODevice& device, QStringView text);

/// Writes "lirobel-cli: " and the message to stderr. File names in it (text made by files::PathFromNative)
/// go out as their own bytes.
void Tell(CliContext& context, QStringView message);

/// Tells the cause and returns the exit code.
int Fail(CliContext& context, QStringView cause, int exitCode = kExitFailure);

/// The bytes of FILE, or of standard input when the operand is "-". The operand is text made by
/// files::PathFromNative: the file opened is the one its exact bytes name. On failure, to open or to read,
/// the cause is on stderr and the result is empty.
std::optional<QByteArray> ReadInputBytes(const QString& operand, CliContext& context);

/// The input as text: the bytes of ReadInputBytes decoded as UTF-8, after removing exactly one LF or
/// CR LF at the very end. Every other character, line breaks and a byte-order mark included, stays as it
/// stands. Input that is not valid UTF-8 is a failure, reported on stderr.
std::optional<QString> ReadInputText(const QString& operand, CliContext& context);

/// The input as ReadInputText reads it (one line end removed, a failure when it is not valid UTF-8), but
/// left in UTF-8: for conversions that decode it piece by piece, rather than hold it twice.
std::optional<QByteArray> ReadInputUtf8(const QString& operand, CliContext& context);

/// Where a piece of UTF-8 text may end for a conversion made piece by piece: given the text and the
/// position the piece reaches at least, the position it ends at, at most the text's size.
using PieceEnd = qsizetype (*)(QByteArrayView text, qsizetype atLeast);

/// The start of the first character at or after atLeast: for conversions that take one UTF-16 code unit
/// at a time.
qsizetype AtCharacter(QByteArrayView text, qsizetype atLeast);

/// Writes the result of convert for the valid UTF-8 text and one LF to stdout, as WriteResult does, but
/// converting and writing it piece by piece (pieces of about 64 KiB cut where `end` says), so that
/// neither the whole text in UTF-16 nor the whole result is ever held. The pieces' results joined must be
/// the whole text's.
int WriteResultByPieces(QByteArrayView text, PieceEnd end, const std::function<QString(QStringView)>& convert,
                        CliContext& context);

/// Writes the text to stdout. Returns an empty string, or why stdout did not take all of it.
QString WriteToStdout(QStringView text, CliContext& context);

/// Writes the text to stdout. Returns kExitSuccess, or kExitFailure with the cause on stderr when stdout
/// did not take all of it.
int WriteOutput(QStringView text, CliContext& context);

/// Writes the result and one LF to stdout, as WriteOutput does.
int WriteResult(const QString& result, CliContext& context);

} // namespace lirobel::cli
