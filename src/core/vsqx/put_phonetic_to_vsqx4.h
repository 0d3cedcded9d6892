// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/vsqx/put_phonetic_to_vsqx.h"

namespace lirobel::vsqx {

/// Writes the items of the phonetic string into the notes of a file of the editor's fourth version (its
/// bytes as they are, lines not joined), the n-th item into the n-th <note> element in text order. In that
/// note the lyric <y> gets the content <![CDATA[a]]>, the phonemes element <p> becomes
/// <p lock="1"><![CDATA[item]]></p> with the item as UTF-8, whatever it held before, and for an item that
/// ends with "[-OPE]", written without it, the value of the note's own <v id="opening"> in its <nStyle>
/// becomes "0" (a note without one keeps what it has). Items are read as PutPhoneticToVSQX reads them, and
/// notes after the last one stay as they are; so does every byte outside the edited elements, line ends
/// included. Tags inside CDATA sections and comments are not taken for elements. Items are written as
/// given: UnwritableItemCause tells beforehand which would break the file.
///
/// With options.skipHeld, a note whose lyric is held (IsHeldLyric) keeps everything and takes no item.
/// PhoneticRewrite::notesFound counts every <note> element in the file.
///
/// Fails, naming the note by its place in the file, when a <note> has no "</note>" or holds another
/// <note> before it, when a <y>, <p> or an
/// opening <v> in it is not closed before the note ends, and when a note that is to take an item has no <p>.
PhoneticRewrite PutPhoneticToVSQX4(QByteArrayView fileBytes, QStringView phonetic, const RewriteHooks& hooks = {},
                                   const RewriteOptions& options = {});

} // namespace lirobel::vsqx
