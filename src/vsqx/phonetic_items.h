// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

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

} // namespace lirobel::vsqx
