// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/vpr/sequence_json.h"
#include "core/vsqx/put_phonetic_to_vsqx.h"

#include <QByteArrayView>
#include <QString>
#include <QStringView>

namespace lirobel::vpr {

/// Why an item that PutPhoneticToSequence would read (vsqx::PhoneticItems up to the first empty one) cannot
/// go into the sequence, in English with the item's number; empty when all can. Only a control character
/// (U+0000 to U+001F) cannot: "\"" and "\\" are escaped.
QString UnwritableJsonItemCause(QStringView phonetic);

/// Writes the items of the phonetic string into the notes of a .vpr project's sequence, the JSON text that
/// `scan` (ScanSequence of that text, valid) describes: the n-th item into the n-th of its notes. That note's
/// "lyric" becomes "a", its "phoneme" the item (UTF-8, "\"" and "\\" escaped) and its "isProtected" true,
/// a member inserted after "phoneme" when the note has none. An item that ends with "[-OPE]" is written
/// without it and sets the note's "exp" "opening" to 0: added first into an "exp" object without one, and
/// as "exp":{"opening":0} after "velocity" (or after the last member) when the note has no "exp". A note
/// whose phoneme changes loses its "phonemePositions", which describe the old phonemes. Every other byte
/// stays as it was. Items are read and counted as by vsqx::PutPhoneticToVSQX4, held notes (lyric "-") with
/// options.skipHeld too.
///
/// Fails when an item holds a control character (UnwritableJsonItemCause), and when a note that is to take
/// an item has no "phoneme".
vsqx::PhoneticRewrite PutPhoneticToSequence(QByteArrayView json, const SequenceScan& scan, QStringView phonetic,
                                            const vsqx::RewriteOptions& options = {});

} // namespace lirobel::vpr
