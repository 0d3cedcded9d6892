// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>
#include <QStringView>
#include <functional>

namespace lirobel::vsqx {

/// What a rewrite (PutPhoneticToVSQX, PutPhoneticToVSQX4) made of its text. Its notes are the phoneme
/// elements of a working text, or the <note> elements of a file of the fourth version.
struct PhoneticRewrite {
    bool ok = false;
    QByteArray text;      ///< the rewritten working text, unless it went to RewriteHooks::write or the rewrite failed
    int notesWritten = 0; ///< notes that received an item
    QString failure;      ///< why the rewrite failed, in English; empty when it succeeded
    int itemsLeft = 0;    ///< items (empty ones included) that received no note, when it succeeded
    int notesLeft = 0;    ///< notes after the last item written that received none (held ones excepted), likewise
    int notesFound = 0;   ///< the notes in the whole text: notesWritten + heldSkipped + notesLeft, when it succeeded
    int heldSkipped = 0;  ///< held notes in the whole text, passed over; 0 unless RewriteOptions::skipHeld
};

/// How a rewrite treats the notes.
struct RewriteOptions {
    /// Whether a held note, whose lyric is "-" (plain or as a CDATA section), the continuation of the note
    /// before it, keeps its lyric, phonemes and opening and takes no item, which goes to the next note.
    bool skipHeld = false;
    /// When set, the items come from here instead of the phonetic string, a note for a note: note n (from
    /// 0, in the order the rewrite meets them) takes (*noteItems)[n], its "|" left out, and stays as it is
    /// where that is empty or the list has no n-th entry; skipHeld is not used. The string passed as
    /// phonetic is then ignored, and itemsLeft is 0.
    const QStringList* noteItems = nullptr;
};

/// What a rewrite calls while it runs; both may stay unset.
struct RewriteHooks {
    /// A chance to yield, after about every kYieldBytes bytes scanned.
    std::function<void()> yield;
    /// Takes the rewritten text in order, in pieces of about 256 KiB, instead of PhoneticRewrite::text;
    /// returning false ends the rewrite as failed. Pieces go out before the rewrite is done: a failure
    /// can follow them.
    std::function<bool(QByteArrayView piece)> write;
};

/// Writes the items of the phonetic string into the working text (the file's lines joined, one byte per
/// character), the n-th item into the n-th phoneme element ("<phnms>" or "<phnms ...>") in text order:
/// the element becomes <phnms lock="1"><![CDATA[item]]></phnms> with the item as UTF-8, and every
/// "<lyric>" element met on the way gets the content <![CDATA[a]]>. An item that ends with "[-OPE]" is
/// written without it, and the value of the first <attr id="opening"> at or after its phoneme tag
/// becomes "0". The scan runs over the text just written as over any other, and it stops at the first
/// item that is empty or lacks its "|"; every byte it does not edit comes back unchanged. Items are
/// written as given: UnwritableItemCause tells beforehand which would break the file.
///
/// With options.skipHeld, a "<lyric>" whose content is held makes the next phoneme element a held note: the
/// lyric stays as it is and that element is passed over, taking no item. The last lyric before a phoneme
/// element decides, and held notes are counted to the end of the text. PhoneticRewrite::notesFound counts
/// the phoneme elements that the scan meets, those inside the items it wrote included.
///
/// Fails before it writes anything when a comment, CDATA section, processing instruction or declaration in
/// the text holds one of the tags the scan looks for, which it would take for an element (HiddenTagCause).
/// Fails when a closing "</lyric>" or "</phnms>" does not begin within 32759 bytes after its opening tag,
/// when a marked item finds no opening attribute or no "</attr>" after it, and once the 32767th note has
/// been written.
PhoneticRewrite PutPhoneticToVSQX(QByteArrayView text, QStringView phonetic, const RewriteHooks& hooks = {},
                                  const RewriteOptions& options = {});

} // namespace lirobel::vsqx
