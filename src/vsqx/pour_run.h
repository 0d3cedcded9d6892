// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "vsqx/pour_progress.h"
#include "vsqx/replace_file.h"

#include <QString>
#include <QStringView>

namespace lirobel::vsqx {

/// How a pour-in run ended.
struct PourOutcome {
    enum class Kind {
        Completed, ///< the file is rewritten
        NotVsqx,   ///< the vendor test failed; only the owner's write permission may have changed
        NotFound,  ///< nothing at the path, or a symbolic link to nothing, in a folder that exists (or an empty path)
        Failed,    ///< any other failure; the file's content is as it was
    };
    Kind kind = Kind::Failed;
    int notesWritten = 0; ///< phoneme elements that received an item, when completed
    QString cause;        ///< what failed, in English, when failed
    int itemsLeft = 0;    ///< items that found no phoneme element, when completed
    int notesLeft = 0;    ///< phoneme elements that found no item, when completed
    QString warning = {}; ///< what went wrong without stopping the run (an owner that could not be kept), in
                          ///< English; empty when nothing did
};

/// What a pour-in run lets a test replace.
struct PourOptions {
    /// Writes into the new file as ::write does, which it is when unset.
    WriteFunction write;
};

/// The run of the writer window's Begin command, for the window and the CLI alike. The path is text made
/// by app::PathFromNative: the file is the one named by the exact bytes app::NativeFromPath gives back.
/// Gives the file's owner write permission, reads the file once, judges it with IsVsqxFile, joins its
/// lines, rewrites them with PutPhoneticToVSQX and writes the result back as one line ended by CR LF.
/// The new content goes to a temporary file beside the original that replaces it only once complete
/// (a FileReplacement), so that every failure leaves the file whole and nothing beside it; a symbolic link
/// keeps pointing to the file, which keeps its permission bits, and its owner and group where the process
/// may set them: where it may not, the run completes with a warning. A signal that ends the process
/// midway leaves nothing beside the file either, once main() has called RemoveUnfinishedFilesOnSignals.
///
/// Progress: Start once the file has passed the vendor test, then the value 0 and the maximum twice its
/// number of lines L; kReadingState and values up to L while the lines are joined; kProcessingState while
/// the rewrite runs and its result goes to the temporary file; 0.8 of the maximum and kExportingState
/// while the file is completed and replaced; the maximum at the end.
PourOutcome PourPhoneticIntoFile(const QString& path, QStringView phonetic, PourProgress& progress,
                                 const PourOptions& options = {});

} // namespace lirobel::vsqx
