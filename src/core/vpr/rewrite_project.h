// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/vsqx/put_phonetic_to_vsqx.h"

#include <QByteArrayView>
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
/// Fails, with the cause, on a file that begins as a ZIP archive but cannot be read as one, on an archive
/// that holds the sequence under both spellings, on a sequence that cannot be read or is not JSON, and as
/// PutPhoneticToSequence fails.
std::optional<vsqx::PhoneticRewrite> RewriteProject(QByteArrayView file, QStringView phonetic,
                                                    const vsqx::RewriteOptions& options = {},
                                                    const std::function<void()>& yield = {});

} // namespace lirobel::vpr
