// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/vsqx/pour_run.h"

#include <QString>
#include <QStringView>

namespace lirobel::vpr {

/// The pour of the writer window and the CLI into any song file they take: vsqx::PourPhoneticIntoFile, with
/// .vpr projects going to RewriteProject. A project is replaced as a VSQX file is, with the same guarantees;
/// a file that is neither is NotVsqx.
vsqx::PourOutcome PourPhoneticIntoSong(const QString& path, QStringView phonetic, vsqx::PourProgress& progress,
                                       vsqx::PourOptions options = {});

} // namespace lirobel::vpr
