// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/vsqx/pour_run.h"

#include "core/files/native_path.h"
#include "core/vsqx/file_lines.h"
#include "core/vsqx/phonetic_items.h"
#include "core/vsqx/pour_texts.h"
#include "core/vsqx/put_phonetic_to_vsqx.h"
#include "core/vsqx/put_phonetic_to_vsqx4.h"
#include "core/vsqx/vsqx_recognition.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <limits>
#include <memory>
#include <optional>
#include <unistd.h>
#include <utility>

namespace lirobel::vsqx {

namespace {

// Positions in the working text are 32-bit; a larger file cannot be a song's sequence anyway.
constexpr qint64 kLargestFile = std::numeric_limits<qint32>::max();
// As many as the kernel follows before it gives up with ELOOP.
constexpr int kMostLinks = 40;

PourOutcome Failed(QString cause) {
    return {PourOutcome::Kind::Failed, 0, std::move(cause)};
}

class OpenFile {
public:
    explicit OpenFile(int file) : m_file(file) {}
    ~OpenFile() {
        if (m_file >= 0)
            ::close(m_file);
    }
    OpenFile(const OpenFile&) = delete;
    OpenFile& operator=(const OpenFile&) = delete;
    int Get() const { return m_file; }

private:
    int m_file;
};

QByteArray FolderOf(const QByteArray& name) {
    const qsizetype slash = name.lastIndexOf('/');
    return slash < 0 ? QByteArray(".") : slash == 0 ? QByteArray("/") : name.first(slash);
}

bool IsFolder(const QByteArray& name) {
    struct stat status {};
    return ::stat(name.constData(), &status) == 0 && S_ISDIR(status.st_mode);
}

// Opening found nothing. That is "not found" only where the name the path leads to, its links followed,
// lies in a folder that exists: a missing folder means a wrong path, not a missing song.
PourOutcome Missing(const QString& path, const QByteArray& native) {
    QByteArray name = native;
    for (int links = 0; links <= kMostLinks; ++links) {
        struct stat status {};
        if (::lstat(name.constData(), &status) != 0) {
            if (errno != ENOENT)
                return Failed(QStringLiteral("cannot open '%1': %2").arg(path, files::SystemErrorText(errno)));
            if (IsFolder(FolderOf(name)))
                return {PourOutcome::Kind::NotFound, 0, {}};
            if (name == native)
                return Failed(QStringLiteral("the folder of '%1' does not exist").arg(path));
            return Failed(QStringLiteral("'%1' leads to '%2', whose folder does not exist")
                              .arg(path, files::PathFromNative(name)));
        }
        if (!S_ISLNK(status.st_mode))
            break; // it came while we looked
        QByteArray target(PATH_MAX, Qt::Uninitialized);
        const ssize_t length = ::readlink(name.constData(), target.data(), static_cast<size_t>(target.size()));
        if (length < 0)
            break;
        target.truncate(length);
        name = target.startsWith('/') ? target : FolderOf(name) + '/' + target;
    }
    return Failed(QStringLiteral("cannot open '%1': %2").arg(path, files::SystemErrorText(ENOENT)));
}

std::optional<PourOutcome> ReadAll(const QString& path, int file, qint64 size, QByteArray& bytes) {
    bytes.resize(static_cast<qsizetype>(size));
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t got = ::read(file, bytes.data() + done, static_cast<size_t>(bytes.size() - done));
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return Failed(QStringLiteral("cannot read '%1': %2").arg(path, files::SystemErrorText(errno)));
        if (got == 0)
            break;
        done += got;
    }
    bytes.truncate(done);
    return std::nullopt;
}

// Opens, checks, makes writable (unless only reading) and reads the file; `status` is its status after,
// `realName` the name of the file itself, links resolved, which the new file is to replace.
std::optional<PourOutcome> ReadOriginal(const QString& path, const QByteArray& native, bool onlyRead, QByteArray& bytes,
                                        struct stat& status, QByteArray& realName) {
    // Not blocking, so that a FIFO cannot hold the run before it is seen not to be a file.
    const OpenFile file(::open(native.constData(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
    if (file.Get() < 0)
        return errno == ENOENT
                   ? Missing(path, native)
                   : Failed(QStringLiteral("cannot open '%1': %2").arg(path, files::SystemErrorText(errno)));
    if (::fstat(file.Get(), &status) != 0)
        return Failed(QStringLiteral("cannot read '%1': %2").arg(path, files::SystemErrorText(errno)));
    if (S_ISDIR(status.st_mode))
        return Failed(QStringLiteral("'%1' is a folder").arg(path));
    if (!S_ISREG(status.st_mode))
        return Failed(QStringLiteral("'%1' is not a regular file").arg(path));
    // A read-only file becomes writable for its owner; every other permission bit stays as it is. A file
    // that is writable already is left alone, so that a file of another owner is no failure.
    if (!onlyRead && !(status.st_mode & S_IWUSR)) {
        if (::fchmod(file.Get(), (status.st_mode & 07777) | S_IWUSR) != 0)
            return Failed(QStringLiteral("cannot make '%1' writable: %2").arg(path, files::SystemErrorText(errno)));
        status.st_mode |= S_IWUSR;
    }
    if (status.st_size > kLargestFile)
        return Failed(QStringLiteral("'%1' is 2 GiB or larger").arg(path));
    if (std::optional<PourOutcome> failure = ReadAll(path, file.Get(), status.st_size, bytes))
        return failure;
    const std::unique_ptr<char, decltype(&std::free)> real(::realpath(native.constData(), nullptr), &std::free);
    struct stat there {};
    // The name must still lead to the file that was read, or another file would be replaced.
    if (!real || ::stat(real.get(), &there) != 0 || there.st_dev != status.st_dev || there.st_ino != status.st_ino)
        return Failed(QStringLiteral("'%1' was moved or removed while it was read").arg(path));
    realName = real.get();
    return std::nullopt;
}

// Another format's rewrite made the file's whole new content at once; it goes out as a piece of a rewrite.
PhoneticRewrite WriteWhole(PhoneticRewrite rewrite, const RewriteHooks& hooks) {
    rewrite.ok = hooks.write(rewrite.text);
    rewrite.text = QByteArray();
    return rewrite;
}

PourOutcome WriteFailed(const QString& path, const files::FileReplacement& file) {
    return Failed(QStringLiteral("cannot write '%1': %2").arg(path, file.ErrorString()));
}

} // namespace

PourOutcome PourPhoneticIntoFile(const QString& path, QStringView phonetic, PourProgress& progress,
                                 const PourOptions& options) {
    if (QString cause = UnwritableItemCause(phonetic); !cause.isEmpty())
        return Failed(std::move(cause));
    const QByteArray native = files::NativeFromPath(path);
    if (native.isEmpty())
        return {PourOutcome::Kind::NotFound, 0, {}};
    QByteArray bytes;
    struct stat status {};
    QByteArray realName;
    if (std::optional<PourOutcome> failure = ReadOriginal(path, native, options.dryRun, bytes, status, realName))
        return *failure;
    const qsizetype lines = CountFileLines(bytes);
    std::optional<PhoneticRewrite> other;
    if (!IsVsqxFile(bytes, lines)) {
        if (options.otherFormat)
            other = options.otherFormat(bytes, phonetic, {options.skipHeld}, [&progress] { progress.Yield(); });
        if (!other)
            return {PourOutcome::Kind::NotVsqx, 0, {}};
        if (!other->ok)
            return Failed(other->failure);
    }
    const bool version4 = !other && HasVersion4Root(bytes);

    progress.Start();
    progress.SetValue(0);
    const double maximum = 2.0 * static_cast<double>(lines);
    progress.SetMaximum(maximum);
    progress.SetState(kReadingState);
    if (!version4 && !other) {
        JoinFileLines(bytes, [&progress](qsizetype linesDone) {
            progress.SetValue(static_cast<double>(linesDone));
            progress.Yield();
        });
    }
    progress.SetValue(static_cast<double>(lines));

    progress.SetState(kProcessingState);
    // The new file is written while the rewrite goes on, which spares a copy. Every write reports what the
    // disk really took, so that a full disk can never pass for a success. A dry run drops what is written.
    std::optional<files::FileReplacement> file;
    if (!options.dryRun) {
        file.emplace(realName, status, options.write);
        if (!file->Open())
            return WriteFailed(path, *file);
    }
    RewriteHooks hooks;
    hooks.yield = [&progress] { progress.Yield(); };
    bool writeFailed = false;
    hooks.write = [&](QByteArrayView piece) {
        writeFailed = file && !file->Write(piece);
        return !writeFailed;
    };
    const RewriteOptions rewriteOptions{options.skipHeld};
    const PhoneticRewrite rewrite = other      ? WriteWhole(std::move(*other), hooks)
                                    : version4 ? PutPhoneticToVSQX4(bytes, phonetic, hooks, rewriteOptions)
                                               : PutPhoneticToVSQX(bytes, phonetic, hooks, rewriteOptions);
    if (!rewrite.ok)
        return writeFailed ? WriteFailed(path, *file) : Failed(rewrite.failure);
    bytes = QByteArray();
    progress.SetValue(0.8 * maximum);
    progress.SetState(kExportingState);
    // The fourth version and other formats keep their own line ends.
    if (file && ((!version4 && !other && !file->Write("\r\n")) || !file->Commit()))
        return WriteFailed(path, *file);
    progress.SetValue(maximum);
    PourOutcome done{PourOutcome::Kind::Completed, rewrite.notesWritten, {}, rewrite.itemsLeft, rewrite.notesLeft};
    done.notesFound = rewrite.notesFound;
    done.heldSkipped = rewrite.heldSkipped;
    if (file && !file->Warning().isEmpty())
        done.warning = QStringLiteral("'%1' %2").arg(path, file->Warning());
    return done;
}

} // namespace lirobel::vsqx
