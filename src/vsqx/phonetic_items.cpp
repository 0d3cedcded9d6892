// SPDX-License-Identifier: GPL-3.0-or-later
#include "vsqx/phonetic_items.h"

namespace lirobel::vsqx {

QStringView PhoneticItems::Next() {
    const qsizetype bar = m_rest.indexOf(u'|');
    if (bar < 0) {
        m_rest = {};
        return {};
    }
    const QStringView item = m_rest.first(bar);
    m_rest = m_rest.sliced(bar + 1);
    return item;
}

QStringView GetPhoneticItem(QStringView phonetic, int n) {
    PhoneticItems items(phonetic);
    QStringView item;
    for (int i = 0; i < n; ++i)
        item = items.Next();
    return item;
}

} // namespace lirobel::vsqx
