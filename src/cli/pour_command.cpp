// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/command.h"
#include "cli/standard_streams.h"
#include "cli/text_io.h"
#include "core/vpr/pour_song.h"
#include "core/vsqx/pour_plan.h"
#include "core/vsqx/pour_texts.h"

namespace lirobel::cli {

int RunPour(const Invocation& invocation, CliContext& context) {
    // Whatever is bound to fail is found before the file is touched, so that a failure leaves it as it was:
    // a report that cannot be written, and input that cannot be read or is not text.
    if (dynamic_cast<const UnusableStream*>(&context.out))
        return Fail(context, QStringLiteral("cannot write to standard output: ") + context.out.errorString());
    vsqx::PourOptions options;
    options.skipHeld = invocation.Has("skip-held");
    options.dryRun = invocation.Has("dry-run");
    options.fromNotes = invocation.Has("from-notes");
    options.byWords = invocation.Has("words");
    options.list = invocation.Has("list");
    if (options.fromNotes && (options.skipHeld || invocation.operands.size() > 1))
        return Fail(context,
                    QStringLiteral("--from-notes takes the items from the notes' own lyrics: it takes no FILE "
                                   "and no --skip-held (held notes always stay as they are)"),
                    kExitUsage);
    if (options.byWords && !options.fromNotes)
        return Fail(context, QStringLiteral("--words goes with --from-notes"), kExitUsage);
    if (options.list && !options.dryRun)
        return Fail(context, QStringLiteral("--list goes with --dry-run"), kExitUsage);
    std::optional<QString> phonetic = QString();
    if (!options.fromNotes && !(phonetic = ReadInputText(invocation.Input(1), context)))
        return kExitFailure;
    vsqx::PourProgress quiet;
    const vsqx::PourOutcome outcome =
        vpr::PourPhoneticIntoSong(invocation.operands.value(0), *phonetic, quiet, options);
    switch (outcome.kind) {
    case vsqx::PourOutcome::Kind::Completed: {
        if (vsqx::ItemsAndNotesDiffer(outcome))
            Tell(context, vsqx::PourCountsText(outcome));
        if (options.dryRun)
            return WriteOutput(vsqx::PlanText(outcome.plan) +
                                   QStringLiteral("notes %1, items %2, written %3, held %4\n")
                                       .arg(outcome.notesFound)
                                       .arg(outcome.notesWritten + outcome.itemsLeft)
                                       .arg(outcome.notesWritten)
                                       .arg(outcome.heldSkipped),
                               context);
        // The file is replaced: the run succeeded, whether or not its report gets through.
        const QString lost =
            WriteToStdout(QStringLiteral("%1 %2\n").arg(vsqx::kPourCompletedText).arg(outcome.notesWritten), context);
        if (!lost.isEmpty())
            Tell(context, QStringLiteral("the file is rewritten, but its report is lost: ") + lost);
        if (!outcome.warning.isEmpty())
            Tell(context, outcome.warning);
        return kExitSuccess;
    }
    case vsqx::PourOutcome::Kind::NotVsqx:
        return Fail(context, vsqx::kNotVsqxText, kExitNotVsqx);
    case vsqx::PourOutcome::Kind::NotFound:
        return Fail(context, vsqx::kVsqxNotFoundText, kExitVsqxNotFound);
    case vsqx::PourOutcome::Kind::Failed:
        break;
    }
    return Fail(context, QStringLiteral("%1 %2").arg(vsqx::kUnexpectedFailureText, outcome.cause));
}

} // namespace lirobel::cli
