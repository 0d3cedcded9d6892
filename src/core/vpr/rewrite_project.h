// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/vpr/project_archive.h"
#include "core/vpr/sequence_json.h"
#include "core/vsqx/put_phonetic_to_vsqx.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>
#include <functional>
#include <optional>

namespace lirobel::vpr {

/// Pours the phonetic items into a .vpr project, the bytes of a whole file, as a vsqx::OtherFormatRewrite:
/// nothing when the file is not a project, that is not a ZIP archive holding exactly one entry named
/// "Project/sequence.json" or "Project\sequence.json" whose content is a JSON object with a "tracks" array.
/// Otherwise the rewrite of PutPhoneticToSequence, whose text is the whole new archive (ProjectArchive::
/// ReplaceSequence), or the file's bytes as they are when the sequence comes out unchanged.
///
/// Fails, with the cause, on a file that begins as a ZIP archive but cannot be read as one, on one that may be
/// an archive when libzip cannot be loaded, on an archive
/// that holds the sequence under both spellings, on a sequence that cannot be read or is not JSON, and as
/// PutPhoneticToSequence fails.
/// Opens the archive's sequence and scans it (ScanSequence): nothing when the file is not a project, an empty
/// cause when `json` and `scan` hold its sequence, or why it cannot be read (as RewriteProject fails).
std::optional<QString> OpenSequence(ProjectArchive& archive, QByteArray& json, SequenceScan& scan);

std::optional<vsqx::PhoneticRewrite> RewriteProject(QByteArrayView file, QStringView phonetic,
                                                    const vsqx::RewriteOptions& options = {},
                                                    const std::function<void()>& yield = {});

} // namespace lirobel::vpr
