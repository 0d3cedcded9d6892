// SPDX-License-Identifier: GPL-3.0-or-later
#include "vsqx/pour_run.h"

#include "vsqx/file_lines.h"
#include "vsqx/pour_texts.h"
#include "vsqx/put_phonetic_to_vsqx.h"
#include "vsqx/vsqx_recognition.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <limits>
#include <optional>

namespace lirobel::vsqx {

namespace {

// Positions in the working text are 32-bit; a larger file cannot be a song's sequence anyway.
constexpr qint64 kLargestFile = std::numeric_limits<qint32>::max();

constexpr QFile::Permissions kPermissionBits = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                               QFile::ReadGroup | QFile::WriteGroup | QFile::ExeGroup |
                                               QFile::ReadOther | QFile::WriteOther | QFile::ExeOther;

PourOutcome Failed(QString cause) {
    return {PourOutcome::Kind::Failed, 0, std::move(cause)};
}

// Nothing at the path is "not found" only where its folder exists; a missing folder is a failure.
PourOutcome Missing(const QString& path) {
    if (path.isEmpty() || QFileInfo(QFileInfo(path).absolutePath()).isDir())
        return {PourOutcome::Kind::NotFound, 0, {}};
    return Failed(QStringLiteral("the folder of '%1' does not exist").arg(path));
}

std::optional<PourOutcome> CheckAndMakeWritable(const QString& path) {
    const QFileInfo info(path);
    if (!info.exists())
        return Missing(path);
    if (info.isDir())
        return Failed(QStringLiteral("'%1' is a folder").arg(path));
    if (!info.isFile())
        return Failed(QStringLiteral("'%1' is not a regular file").arg(path));
    // A read-only file becomes writable for its owner; every other permission bit stays as it is. A file
    // that is writable already is left alone, so that a file of another owner is no failure.
    const QFile::Permissions permissions = info.permissions() & kPermissionBits;
    if (!permissions.testFlag(QFile::WriteOwner) && !QFile::setPermissions(path, permissions | QFile::WriteOwner))
        return Failed(QStringLiteral("cannot make '%1' writable").arg(path));
    return std::nullopt;
}

std::optional<PourOutcome> ReadFile(const QString& path, QByteArray& bytes) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QFileInfo::exists(path) ? Failed(QStringLiteral("cannot read '%1': %2").arg(path, file.errorString()))
                                       : Missing(path);
    if (file.size() > kLargestFile)
        return Failed(QStringLiteral("'%1' is larger than 2 GiB").arg(path));
    bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return Failed(QStringLiteral("cannot read '%1': %2").arg(path, file.errorString()));
    return std::nullopt;
}

bool WriteAll(QIODevice& file, QByteArrayView bytes) {
    return file.write(bytes.data(), bytes.size()) == bytes.size();
}

PourOutcome WriteFailed(const QSaveFile& file) {
    // A write that the disk took only part of sets no error of its own.
    const QString why = file.error() == QFileDevice::NoError
                            ? QStringLiteral("the disk took only part of it (is it full?)")
                            : file.errorString();
    return Failed(QStringLiteral("cannot write '%1': %2").arg(file.fileName(), why));
}

} // namespace

PourOutcome PourPhoneticIntoFile(const QString& path, QStringView phonetic, PourProgress& progress,
                                 const PourOptions& options) {
    if (std::optional<PourOutcome> failure = CheckAndMakeWritable(path))
        return *failure;
    const QFile::Permissions permissions = QFileInfo(path).permissions() & kPermissionBits;
    QByteArray bytes;
    if (std::optional<PourOutcome> failure = ReadFile(path, bytes))
        return *failure;
    const qsizetype lines = CountFileLines(bytes);
    if (!IsVsqxFile(bytes, lines))
        return {PourOutcome::Kind::NotVsqx, 0, {}};

    progress.Start();
    progress.SetValue(0);
    const double maximum = 2.0 * static_cast<double>(lines);
    progress.SetMaximum(maximum);
    progress.SetState(kReadingState);
    JoinFileLines(bytes, [&progress](qsizetype linesDone) {
        progress.SetValue(static_cast<double>(linesDone));
        progress.Yield();
    });
    progress.SetValue(static_cast<double>(lines));

    progress.SetState(kProcessingState);
    // The new content goes to a file beside the original that replaces it only once complete, so that
    // no failure can leave half a file. It is written while the rewrite goes on, which spares a copy.
    QSaveFile file(path);
    // Unbuffered, so that every write reports what the disk really took: buffered, a QSaveFile has been
    // seen to commit a file cut short by a full disk and call it a success. The temporary file takes the
    // owner's permissions from what the running user may do with the original; the file's own bits are
    // what it must keep.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered) || !file.setPermissions(permissions))
        return WriteFailed(file);
    const auto write = options.write ? options.write : WriteAll;
    bool writeFailed = false;
    RewriteHooks hooks;
    hooks.yield = [&progress] { progress.Yield(); };
    hooks.write = [&](QByteArrayView piece) {
        writeFailed = !write(file, piece);
        return !writeFailed;
    };
    const PhoneticRewrite rewrite = PutPhoneticToVSQX(bytes, phonetic, hooks);
    if (!rewrite.ok)
        return writeFailed ? WriteFailed(file) : Failed(rewrite.failure);
    bytes = QByteArray();
    progress.SetValue(0.8 * maximum);
    progress.SetState(kExportingState);
    if (!write(file, "\r\n") || !file.commit())
        return WriteFailed(file);
    progress.SetValue(maximum);
    return {PourOutcome::Kind::Completed, rewrite.notesWritten, {}, rewrite.itemsLeft, rewrite.notesLeft};
}

} // namespace lirobel::vsqx
