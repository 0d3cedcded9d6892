// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringView>

namespace lirobel::vsqx {

/// Walks the items of a phonetic string front to back, once: an item is the text up to the next "|".
class PhoneticItems {
public:
    explicit PhoneticItems(QStringView phonetic) : m_rest(phonetic) {}

    /// The next item without its "|". Empty for an empty item ("||") and, from then on for good, once
    /// no "|" is left: a last item that lacks its "|" is never returned.
    QStringView Next();

private:
    QStringView m_rest;
};

/// The n-th item (n >= 1) of the phonetic string without its "|", or the empty string when no n-th "|"
/// ends one. GetPhoneticItem(u"J i|h a o|", 2) is "h a o".
QStringView GetPhoneticItem(QStringView phonetic, int n);

/// Why an item that a rewrite would read (PhoneticItems up to the first empty one) would break the file
/// it goes into, in English with the item's number; empty when none would. An item breaks its file when it
/// holds "<", which the version-3 rewrite would take for the start of a tag, "]]>", which would end its
/// CDATA section early, or a character that XML 1.0 does not allow: a control character other than tab,
/// LF and CR, U+FFFE, U+FFFF, or half of a surrogate pair alone.
QString UnwritableItemCause(QStringView phonetic);

} // namespace lirobel::vsqx
