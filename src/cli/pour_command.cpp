// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/command.h"
#include "cli/text_io.h"
#include "vsqx/pour_run.h"
#include "vsqx/pour_texts.h"

namespace lirobel::cli {

int RunPour(const Invocation& invocation, CliContext& context) {
    // The phonetic string is read before the file is touched, so that bad input leaves it as it was.
    const std::optional<QString> phonetic = ReadInputText(invocation.operands.value(1), context);
    if (!phonetic)
        return kExitFailure;
    vsqx::PourProgress quiet;
    const vsqx::PourOutcome outcome = vsqx::PourPhoneticIntoFile(invocation.operands.value(0), *phonetic, quiet);
    switch (outcome.kind) {
    case vsqx::PourOutcome::Kind::Completed:
        return WriteResult(QStringLiteral("%1 %2").arg(vsqx::kPourCompletedText).arg(outcome.notesWritten), context);
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
