// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/vsqx/pour_run.h"

#include "core/files/native_path.h"
#include "core/files/write_behind.h"
#include "core/vsqx/file_lines.h"
#include "core/vsqx/phonetic_items.h"
#include "core/vsqx/pour_plan.h"
#include "core/vsqx/pour_texts.h"
#include "core/vsqx/put_phonetic_to_vsqx.h"
#include "core/vsqx/put_phonetic_to_vsqx4.h"
#include "core/vsqx/vsqx_recognition.h"

#include <cerrno>
#include <climits>
#include <limits>
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

// Opens, checks and reads the file through its folder, which `original` keeps open for the replacement.
std::optional<PourOutcome> ReadOriginal(const QString& path, const QByteArray& native, files::OriginalFile& original,
                                        QByteArray& bytes) {
    if (!original.Open(native)) {
        if (errno == ENOENT)
            return Missing(path, native);
        if (errno == ESTALE)
            return Failed(QStringLiteral("'%1' was moved or removed while it was read").arg(path));
        return Failed(QStringLiteral("cannot open '%1': %2").arg(path, files::SystemErrorText(errno)));
    }
    const struct stat& status = original.Status();
    if (S_ISDIR(status.st_mode))
        return Failed(QStringLiteral("'%1' is a folder").arg(path));
    if (!S_ISREG(status.st_mode))
        return Failed(QStringLiteral("'%1' is not a regular file").arg(path));
    if (status.st_size > kLargestFile)
        return Failed(QStringLiteral("'%1' is 2 GiB or larger").arg(path));
    if (const QString cause = original.ReadAll(bytes); !cause.isEmpty())
        return Failed(QStringLiteral("cannot read '%1': %2").arg(path, cause));
    return std::nullopt;
}

// What would keep the file from being replaced, found before anything is written, so that a dry run
// foresees it too.
std::optional<PourOutcome> Unreplaceable(const QString& path, const files::OriginalFile& original,
                                         const files::FileIdentity& identity) {
    // A read-only file becomes writable for its owner; a file of another owner that is read-only is
    // refused, as its owner meant.
    if (!original.MayBeMadeWritable())
        return Failed(QStringLiteral("cannot make '%1' writable: %2").arg(path, files::SystemErrorText(EPERM)));
    if (const int error = original.FolderRefusal(identity))
        return Failed(QStringLiteral("cannot write '%1': cannot create a file beside it: %2")
                          .arg(path, files::SystemErrorText(error)));
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
    if (options.fromNotes)
        phonetic = {};
    else if (PhoneticItems(phonetic).Next().isEmpty())
        return Failed(QStringLiteral("there is no item to pour: an item ends with \"|\", and the text holds none "
                                     "before its first empty one"));
    if (QString cause = UnwritableItemCause(phonetic); !cause.isEmpty())
        return Failed(std::move(cause));
    const QByteArray native = files::NativeFromPath(path);
    if (native.isEmpty())
        return {PourOutcome::Kind::NotFound, 0, {}};
    files::OriginalFile original;
    QByteArray bytes;
    if (std::optional<PourOutcome> failure = ReadOriginal(path, native, original, bytes))
        return *failure;
    // Judging the file needs its first lines only; every line is counted for a progress bar alone.
    const qsizetype lines =
        CountFileLines(bytes, progress.Shown() ? std::numeric_limits<qsizetype>::max() : kLinesJudged);
    const bool vsqxFile = IsVsqxFile(bytes, lines);
    if (!vsqxFile && !options.otherFormat)
        return {PourOutcome::Kind::NotVsqx, 0, {}};
    // The notes' lyrics are read before the lines are joined, for the places to count in the file's own terms.
    SongLyrics lyrics;
    if (options.fromNotes || options.list) {
        std::optional<SongLyrics> read = vsqxFile              ? ReadVsqxLyrics(bytes)
                                         : options.otherLyrics ? options.otherLyrics(bytes)
                                                               : std::nullopt;
        if (!read)
            return {PourOutcome::Kind::NotVsqx, 0, {}};
        if (!read->problem.isEmpty())
            return Failed(read->problem);
        lyrics = std::move(*read);
    }
    SongItems fromNotes;
    QStringList noteItems;
    RewriteOptions rewriteOptions{options.skipHeld};
    if (options.fromNotes) {
        fromNotes = ItemsFromLyrics(lyrics.notes, options.byWords);
        if (!fromNotes.problem.isEmpty())
            return Failed(QStringLiteral("cannot read the notes' lyrics by words: ") + fromNotes.problem);
        // As with a phonetic string without items, a run that would write nothing is refused, rather than
        // rewrite the file (a version-3 file into one line) for nothing.
        if (fromNotes.counts.items == 0)
            return Failed(
                QStringLiteral("there is no item to pour: no note's lyric is one hanzi with a phonetic item"));
        noteItems.reserve(fromNotes.notes.size());
        for (const NoteItem& item : fromNotes.notes)
            noteItems.append(item.item);
        rewriteOptions.noteItems = &noteItems;
    }
    std::optional<PhoneticRewrite> other;
    if (!vsqxFile) {
        other = options.otherFormat(bytes, phonetic, rewriteOptions, [&progress] { progress.Yield(); });
        if (!other)
            return {PourOutcome::Kind::NotVsqx, 0, {}};
        if (!other->ok)
            return Failed(other->failure);
    }
    const bool version4 = !other && HasVersion4Root(bytes);
    const files::FileIdentity& identity = options.identity ? *options.identity : files::SystemFileIdentity();
    if (std::optional<PourOutcome> failure = Unreplaceable(path, original, identity))
        return *failure;

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
    // The new file is written while the rewrite goes on, which spares a copy, and made only when the
    // first piece is ready: a rewrite that fails at once leaves no trace. Every write reports what the disk
    // really took, so that a full disk can never pass for a success. A dry run drops what is written.
    std::optional<files::FileReplacement> file;
    if (!options.dryRun)
        file.emplace(original, options.write, &identity);
    std::optional<files::WriteBehind> writer;
    const auto write = [&](QByteArrayView piece) {
        if (!file)
            return true;
        if (!writer) {
            if (!file->Open())
                return false;
            writer.emplace(*file);
        }
        return writer->Write(piece);
    };
    // Every write is done, or has failed, before the file is looked at again.
    const auto finishWrites = [&] { return !writer || writer->Finish(); };
    RewriteHooks hooks;
    hooks.yield = [&progress] { progress.Yield(); };
    bool writeFailed = false;
    hooks.write = [&](QByteArrayView piece) {
        writeFailed = !write(piece);
        return !writeFailed;
    };
    const PhoneticRewrite rewrite = other      ? WriteWhole(std::move(*other), hooks)
                                    : version4 ? PutPhoneticToVSQX4(bytes, phonetic, hooks, rewriteOptions)
                                               : PutPhoneticToVSQX(bytes, phonetic, hooks, rewriteOptions);
    if (!rewrite.ok) {
        finishWrites();
        return writeFailed ? WriteFailed(path, *file) : Failed(rewrite.failure);
    }
    // Items made from the lyrics are meant for the notes they were read from: should the rewrite count the
    // notes otherwise, they could land on others, and the file is left as it was.
    if (options.fromNotes && rewrite.notesFound != lyrics.notes.size())
        return Failed(QStringLiteral("the notes whose lyrics were read (%1) are not the notes to write (%2)")
                          .arg(lyrics.notes.size())
                          .arg(rewrite.notesFound));
    bytes = QByteArray();
    progress.SetValue(0.8 * maximum);
    progress.SetState(kExportingState);
    // The fourth version and other formats keep their own line ends.
    if (file &&
        (!write(version4 || other ? QByteArrayView() : QByteArrayView("\r\n")) || !finishWrites() || !file->Commit()))
        return WriteFailed(path, *file);
    progress.SetValue(maximum);
    PourOutcome done{PourOutcome::Kind::Completed, rewrite.notesWritten, {}, rewrite.itemsLeft, rewrite.notesLeft};
    done.notesFound = rewrite.notesFound;
    done.heldSkipped = rewrite.heldSkipped;
    if (options.fromNotes) {
        // Notes left as they are were left on purpose; the counts say why.
        done.notesLeft = 0;
        done.heldSkipped = fromNotes.counts.held;
        done.kept = fromNotes.counts;
    }
    if (options.list)
        done.plan = options.fromNotes ? PlanPourFromNotes(lyrics.notes, fromNotes)
                                      : PlanCountedPour(lyrics.notes, phonetic, options.skipHeld);
    if (file && !file->Warning().isEmpty())
        done.warning = QStringLiteral("'%1' %2").arg(path, file->Warning());
    return done;
}

} // namespace lirobel::vsqx
