// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/vsqx/phonetic_items.h"

#include <algorithm>

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

namespace {

QString CodePoint(char16_t unit) {
    return QStringLiteral("U+%1").arg(QString::number(unit, 16).toUpper().rightJustified(4, u'0'));
}

QString UnwritableCharacter(QStringView item) {
    for (qsizetype at = 0; at < item.size(); ++at) {
        const char16_t unit = item[at].unicode();
        if (QChar::isHighSurrogate(unit) && at + 1 < item.size() && item[at + 1].isLowSurrogate()) {
            ++at;
            continue;
        }
        if (QChar::isSurrogate(unit))
            return CodePoint(unit) + QStringLiteral(", half of a surrogate pair without the other half");
        if ((unit < 0x20 && unit != u'\t' && unit != u'\n' && unit != u'\r') || unit == 0xFFFE || unit == 0xFFFF)
            return CodePoint(unit) + QStringLiteral(", a character that XML does not allow");
    }
    return {};
}

} // namespace

QString UnwritableItemCause(QStringView phonetic) {
    PhoneticItems items(phonetic);
    int number = 1;
    for (QStringView item = items.Next(); !item.isEmpty(); item = items.Next(), ++number) {
        // Nearly every item is printable ASCII without markup, which one look at each character shows.
        if (std::all_of(item.begin(), item.end(),
                        [](QChar c) { return c.unicode() >= 0x20 && c.unicode() < 0x7F && c != u'<' && c != u'>'; }))
            continue;
        // No phonetic symbol uses it, and the version-3 rewrite would take a tag in an item for an element.
        if (item.contains(u'<'))
            return QStringLiteral("item %1 holds \"<\", which no phonetic symbol uses and which would be taken "
                                  "for markup")
                .arg(number);
        if (item.contains(u"]]>"))
            return QStringLiteral("item %1 holds \"]]>\", which would end the CDATA section it goes into").arg(number);
        if (const QString character = UnwritableCharacter(item); !character.isEmpty())
            return QStringLiteral("item %1 holds %2").arg(number).arg(character);
    }
    return {};
}

} // namespace lirobel::vsqx
