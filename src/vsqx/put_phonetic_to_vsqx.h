// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>
#include <functional>

namespace lirobel::vsqx {

/// What PutPhoneticToVSQX made of a working text.
struct PhoneticRewrite {
    bool ok = false;
    QByteArray text;      ///< the rewritten working text, unless it went to RewriteHooks::write or the rewrite failed
    int notesWritten = 0; ///< phoneme elements that received an item
    QString failure;      ///< why the rewrite failed, in English; empty when it succeeded
    int itemsLeft = 0;    ///< items (empty ones included) that received no element, when it succeeded
    int notesLeft = 0;    ///< phoneme elements after the last item written that received none, likewise
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
/// item that is empty or lacks its "|"; every byte it does not edit comes back unchanged.
///
/// Fails when a closing "</lyric>" or "</phnms>" does not begin within 32759 bytes after its opening tag,
/// when a marked item finds no opening attribute or no "</attr>" after it, and once the 32767th note has
/// been written.
PhoneticRewrite PutPhoneticToVSQX(QByteArrayView text, QStringView phonetic, const RewriteHooks& hooks = {});

} // namespace lirobel::vsqx
