// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/text_io.h"

#include "core/files/native_path.h"

#include <QFile>
#include <QStringDecoder>
#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace lirobel::cli {

namespace {

// The device's bytes up to its end. QIODevice::readAll() stops at an error as at the end, which would
// make a stream that cannot be read (closed, a folder) look like empty input.
std::optional<QByteArray> ReadToEnd(QIODevice& device) {
    QByteArray bytes;
    if (!device.isSequential())
        bytes.reserve(device.size()); // read into place, not grown and copied on the way
    char chunk[64 * 1024];
    for (;;) {
        const qint64 got = device.read(chunk, sizeof chunk);
        if (got <= 0)
            return got < 0 ? std::nullopt : std::optional(bytes);
        bytes.append(chunk, got);
    }
}

std::optional<QByteArray> ReadFile(const QString& operand, CliContext& context) {
    const auto fail = [&](const QString& why) {
        Tell(context, QStringLiteral("cannot read '%1': %2").arg(operand, why));
        return std::nullopt;
    };
    const int fd = ::open(files::NativeFromPath(operand).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return fail(qt_error_string(errno));
    struct stat status {};
    if (fstat(fd, &status) == 0 && S_ISDIR(status.st_mode)) {
        close(fd);
        return fail(QStringLiteral("it is a folder"));
    }
    QFile file;
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        close(fd);
        return fail(file.errorString());
    }
    std::optional<QByteArray> bytes = ReadToEnd(file);
    if (!bytes)
        return fail(file.errorString());
    return bytes;
}

// Valid UTF-8 as text. A byte-order mark is a character like any other here: it is kept, not swallowed.
QString Decode(QByteArrayView bytes) {
    QStringDecoder decoder(QStringDecoder::Utf8,
                           QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom);
    return decoder.decode(bytes);
}

} // namespace

bool WriteText(QIODevice& device, QStringView text) {
    // Piece by piece: a long result converted whole would take its size in memory again, and the time
    // to fault that memory in.
    constexpr qsizetype kPiece = 64 * 1024;
    for (qsizetype at = 0; at < text.size();) {
        qsizetype end = std::min(text.size(), at + kPiece);
        if (end < text.size() && text[end - 1].isHighSurrogate())
            ++end; // a surrogate pair stays whole
        const QByteArray bytes = text.mid(at, end - at).toUtf8();
        if (device.write(bytes) != bytes.size())
            return false;
        at = end;
    }
    return true;
}

void Tell(CliContext& context, QStringView message) {
    const QByteArray bytes = "lirobel-cli: " + files::NativeFromPath(message) + '\n';
    context.err.write(bytes);
}

int Fail(CliContext& context, QStringView cause, int exitCode) {
    Tell(context, cause);
    return exitCode;
}

std::optional<QByteArray> ReadInputBytes(const QString& operand, CliContext& context) {
    if (operand != u"-")
        return ReadFile(operand, context);
    std::optional<QByteArray> bytes = ReadToEnd(context.in);
    if (!bytes)
        Tell(context, QStringLiteral("cannot read standard input: ") + context.in.errorString());
    return bytes;
}

std::optional<QByteArray> ReadInputUtf8(const QString& operand, CliContext& context) {
    std::optional<QByteArray> bytes = ReadInputBytes(operand, context);
    if (!bytes)
        return std::nullopt;
    if (bytes->endsWith("\r\n"))
        bytes->chop(2);
    else if (bytes->endsWith('\n'))
        bytes->chop(1);
    if (!QByteArrayView(*bytes).isValidUtf8()) {
        Fail(context, QStringLiteral("the input is not valid UTF-8 text"));
        return std::nullopt;
    }
    return bytes;
}

std::optional<QString> ReadInputText(const QString& operand, CliContext& context) {
    const std::optional<QByteArray> bytes = ReadInputUtf8(operand, context);
    if (!bytes)
        return std::nullopt;
    return Decode(*bytes);
}

qsizetype AtCharacter(QByteArrayView text, qsizetype atLeast) {
    qsizetype at = std::min(atLeast, text.size());
    while (at < text.size() && (static_cast<unsigned char>(text[at]) & 0xC0) == 0x80)
        ++at; // a continuation byte: the character began before
    return at;
}

int WriteResultByPieces(QByteArrayView text, PieceEnd end, const std::function<QString(QStringView)>& convert,
                        CliContext& context) {
    constexpr qsizetype kPiece = 64 * 1024;
    for (qsizetype at = 0; at < text.size();) {
        const qsizetype pieceEnd = std::max(end(text, at + kPiece), at + 1);
        if (const QString problem = WriteToStdout(convert(Decode(text.sliced(at, pieceEnd - at))), context);
            !problem.isEmpty())
            return Fail(context, problem);
        at = pieceEnd;
    }
    if (text.isEmpty()) {
        if (const QString problem = WriteToStdout(convert(QStringView()), context); !problem.isEmpty())
            return Fail(context, problem);
    }
    const QString problem = WriteToStdout(u"\n", context);
    return problem.isEmpty() ? kExitSuccess : Fail(context, problem);
}

QString WriteToStdout(QStringView text, CliContext& context) {
    if (WriteText(context.out, text))
        return {};
    return QStringLiteral("cannot write to standard output: ") + context.out.errorString();
}

int WriteOutput(QStringView text, CliContext& context) {
    const QString problem = WriteToStdout(text, context);
    return problem.isEmpty() ? kExitSuccess : Fail(context, problem);
}

int WriteResult(const QString& result, CliContext& context) {
    // The line end apart: appended, it would copy a long result whole.
    QString problem = WriteToStdout(result, context);
    if (problem.isEmpty())
        problem = WriteToStdout(u"\n", context);
    return problem.isEmpty() ? kExitSuccess : Fail(context, problem);
}

} // namespace lirobel::cli
