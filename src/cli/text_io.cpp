// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/text_io.h"

#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

namespace lirobel::cli {

bool WriteText(QIODevice& device, const QString& text) {
    const QByteArray bytes = text.toUtf8();
    return device.write(bytes) == bytes.size();
}

int Fail(CliContext& context, QStringView cause, int exitCode) {
    WriteText(context.err, QStringLiteral("lirobel-cli: %1\n").arg(cause));
    return exitCode;
}

std::optional<QByteArray> ReadInputBytes(const QString& operand, CliContext& context) {
    if (operand.isEmpty() || operand == u"-")
        return context.in.readAll();
    if (QFileInfo(operand).isDir()) {
        Fail(context, QStringLiteral("cannot read '%1': it is a folder").arg(operand));
        return std::nullopt;
    }
    QFile file(operand);
    if (!file.open(QIODevice::ReadOnly)) {
        Fail(context, QStringLiteral("cannot read '%1': %2").arg(operand, file.errorString()));
        return std::nullopt;
    }
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        Fail(context, QStringLiteral("cannot read '%1': %2").arg(operand, file.errorString()));
        return std::nullopt;
    }
    return bytes;
}

std::optional<QString> ReadInputText(const QString& operand, CliContext& context) {
    std::optional<QByteArray> bytes = ReadInputBytes(operand, context);
    if (!bytes)
        return std::nullopt;
    if (bytes->endsWith("\r\n"))
        bytes->chop(2);
    else if (bytes->endsWith('\n'))
        bytes->chop(1);
    // A byte-order mark is a character like any other here: it is kept, not swallowed.
    QStringDecoder decoder(QStringDecoder::Utf8,
                           QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom);
    QString text = decoder.decode(*bytes);
    if (decoder.hasError()) {
        Fail(context, QStringLiteral("the input is not valid UTF-8 text"));
        return std::nullopt;
    }
    return text;
}

int WriteResult(const QString& result, CliContext& context) {
    if (!WriteText(context.out, result + u'\n'))
        return Fail(context, QStringLiteral("cannot write the result: %1").arg(context.out.errorString()));
    return kExitSuccess;
}

} // namespace lirobel::cli
