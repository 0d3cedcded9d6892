// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/files/replace_file.h"
#include "core/vsqx/items_from_lyrics.h"
#include "core/vsqx/note_lyrics.h"
#include "core/vsqx/pour_progress.h"
#include "core/vsqx/put_phonetic_to_vsqx.h"

#include <QByteArrayView>
#include <QList>
#include <QString>
#include <QStringView>
#include <functional>
#include <optional>

namespace lirobel::vsqx {

/// A note as a pour sees it before writing: where it is, what it sings, what it would take.
struct PlannedNote {
    NotePlace place;
    QString lyric;
    bool takesItem = false;
    QString item;     ///< the item when it takes one, otherwise why it takes none
    bool odd = false; ///< lyrics and items disagree in kind here (a hanzi that takes nothing, an item on a held
                      ///< note or on a Latin lyric)
};

/// How a pour-in run ended.
struct PourOutcome {
    enum class Kind {
        Completed, ///< the file is rewritten (or would be, in a dry run), whether or not any note took an item
        NotVsqx,   ///< the vendor test failed; the file is as it was
        NotFound,  ///< nothing at the path, or a symbolic link to nothing, in a folder that exists (or an empty path)
        Failed,    ///< any other failure; the file's content is as it was
    };
    Kind kind = Kind::Failed;
    int notesWritten = 0; ///< notes that received an item, when completed
    QString cause;        ///< what failed, in English, when failed
    int itemsLeft = 0;    ///< items that found no note, when completed
    int notesLeft = 0;    ///< notes, held ones excepted, that found no item, when completed
    QString warning = {}; ///< what went wrong without stopping the run (an owner that could not be kept), in
                          ///< English; empty when nothing did
    int notesFound = 0;   ///< the notes in the file, as PhoneticRewrite::notesFound, when completed
    int heldSkipped = 0;  ///< held notes passed over, when completed with PourOptions::skipHeld
    /// With PourOptions::fromNotes, when completed: the notes that stayed as they were, by why.
    NoteItemCounts kept = {};
    /// With PourOptions::list, when completed: every note in pour order with the item it takes or why it
    /// takes none.
    QList<PlannedNote> plan = {};
};

/// Judges a file that is not a VSQX file and, when it is of its own format, rewrites it whole in memory:
/// nothing when the file is not of its format; otherwise the rewrite, whose text is the file's whole new
/// content when it succeeded. `yield` is a chance to yield, to be taken now and then.
using OtherFormatRewrite = std::function<std::optional<PhoneticRewrite>(
    QByteArrayView file, QStringView phonetic, const RewriteOptions& options, const std::function<void()>& yield)>;

/// Reads the notes' lyrics of a file that is not a VSQX file, as an OtherFormatRewrite of the same format
/// would write them: nothing when the file is not of its format.
using OtherFormatLyrics = std::function<std::optional<SongLyrics>(QByteArrayView file)>;

/// How a pour-in run goes.
struct PourOptions {
    /// Writes into the new file as ::write does, which it is when unset; for tests to replace.
    files::WriteFunction write;
    /// Whose file-system identity creates the new file; files::SystemFileIdentity() when null. For tests.
    const files::FileIdentity* identity = nullptr;
    /// Held notes keep what they have and take no item (RewriteOptions::skipHeld).
    bool skipHeld = false;
    /// Judges the file and counts as the run would, with the same outcome, but writes nothing: the file
    /// keeps its bytes, permission bits and modification time, and no temporary file is made. It foresees
    /// the refusals that come before writing (see PourPhoneticIntoFile); a disk that fills up, or a file
    /// that changes meanwhile, only a real run meets.
    bool dryRun = false;
    /// Takes the files that are not VSQX files (vpr::RewriteProject takes .vpr projects); unset, they are
    /// NotVsqx.
    OtherFormatRewrite otherFormat;
    /// Reads the lyrics of the files that otherFormat takes, for fromNotes and list.
    OtherFormatLyrics otherLyrics;
    /// The notes' own lyrics make the items (ItemsFromLyrics), and the phonetic string is not read. A note
    /// whose lyric is not one hanzi with a phonetic item stays as it is; a song in which no note takes an
    /// item fails, as a phonetic string without items does.
    bool fromNotes = false;
    /// With fromNotes, each part's hanzi are read by words rather than one by one by the fixed rule.
    bool byWords = false;
    /// Fills PourOutcome::plan.
    bool list = false;
};

/// The run of the writer window's Begin command, for the window and the CLI alike. The path is text made
/// by files::PathFromNative: the file is the one named by the exact bytes files::NativeFromPath gives back.
///
/// Checks the items first, before the file is touched: there must be one at least (PhoneticItems), and
/// none may break the file (UnwritableItemCause). Then opens the file through its folder and reads it
/// once (a files::OriginalFile), and judges it with IsVsqxFile. Before anything is written it refuses a
/// file that it could not replace: a read-only file of another owner, which the process may not make
/// writable, and a folder in which no new file could be made (files::OriginalFile::FolderRefusal). A file
/// whose root is of the fourth version (HasVersion4Root) is rewritten by PutPhoneticToVSQX4 as it is,
/// lines and line ends kept; any other has its lines joined, rewritten by PutPhoneticToVSQX and written
/// back as one line ended by CR LF. A file that is no VSQX file goes to options.otherFormat, and what that
/// makes of it is written as it is.
///
/// The new content goes to a temporary file in the same folder, made once the rewrite has its first
/// piece, that replaces the file only once complete and only if neither the file nor its folder changed
/// meanwhile (a files::FileReplacement): every failure leaves the file whole and nothing beside it. A
/// symbolic link keeps pointing to the file, which keeps its permission bits (a read-only one becomes
/// writable for its owner), and its owner and group where the process may set them: where it may not, the
/// run completes with a warning. Other hard links keep the old content. A signal that ends the process
/// midway leaves nothing beside the file either, once main() has called RemoveUnfinishedFilesOnSignals.
///
/// Progress: Start once the file has passed the vendor test, then the value 0 and the maximum twice its
/// number of lines L; kReadingState and values up to L while the lines are joined (at once, L, for the
/// fourth version); kProcessingState while the rewrite runs and its result goes to the temporary file;
/// 0.8 of the maximum and kExportingState while the file is completed and replaced; the maximum at the
/// end. A dry run makes the same calls.
PourOutcome PourPhoneticIntoFile(const QString& path, QStringView phonetic, PourProgress& progress,
                                 const PourOptions& options = {});

} // namespace lirobel::vsqx
