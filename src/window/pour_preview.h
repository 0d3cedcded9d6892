// SPDX-License-Identifier: GPL-3.0-or-later
// What a pour would write into each note, shown before anything is written.
#pragma once

#include "core/vsqx/pour_run.h"

#include <QDialog>

namespace lirobel::window {

/// `PourPreview`, caption "预览": a read-only table `PreviewNotes` of the notes in pour order (place, lyric,
/// item or why none), with the rows where lyrics and items disagree in kind marked, and the counts below it
/// (`PreviewCounts`). It only shows: the pour behind it was a dry run.
class PourPreview : public QDialog {
    Q_OBJECT

public:
    /// The preview of a completed dry run with its plan (PourOptions::list).
    PourPreview(const vsqx::PourOutcome& outcome, QWidget* parent);
};

} // namespace lirobel::window
