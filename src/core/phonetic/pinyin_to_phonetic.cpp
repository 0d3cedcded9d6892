// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/phonetic/pinyin_to_phonetic.h"

#include "core/phonetic/phonetic_table.h"

#include <algorithm>

namespace lirobel::phonetic {

namespace {

// How far a piece looks for its closing comma before cutting a stretch without one.
constexpr qsizetype kStretch = 64 * 1024;

// Whether every syllable of the table is shorter than a part of a cut stretch: half a stretch, less the
// bytes of one character, at most three bytes per UTF-16 code unit.
bool StretchesMayBeCut() {
    static const bool mayBeCut = [] {
        std::size_t longest = 0;
        for (const PhoneticEntry& entry : PhoneticTable())
            longest = std::max(longest, entry.syllable.size());
        return longest < static_cast<std::size_t>((kStretch / 2 - 4) / 3);
    }();
    return mayBeCut;
}

qsizetype AtCharacter(QByteArrayView text, qsizetype at) {
    while (at < text.size() && (static_cast<unsigned char>(text[at]) & 0xC0) == 0x80)
        ++at;
    return at;
}

} // namespace

qsizetype PinYinPieceEnd(QByteArrayView utf8, qsizetype atLeast) {
    const qsizetype from = std::clamp<qsizetype>(atLeast - 1, 0, utf8.size());
    const QByteArrayView rest = utf8.sliced(from);
    if (const qsizetype near = rest.first(std::min(rest.size(), kStretch)).indexOf(','); near >= 0)
        return from + near + 1;
    // No comma for kStretch bytes from `from`: cut halfway, the part before (from `from` or earlier) and
    // the part after (to `from` + kStretch or later) are both far too long to be a syllable, as is the whole.
    if (rest.size() > kStretch && StretchesMayBeCut())
        return AtCharacter(utf8, from + kStretch / 2);
    const qsizetype far = rest.indexOf(',');
    return far >= 0 ? from + far + 1 : utf8.size();
}

QString PinYinToPhonetic(QStringView pinyin, QStringView /*singer*/) {
    QString result;
    result.reserve(pinyin.size() * 2); // an item is about twice as long as its syllable
    qsizetype syllableStart = 0;
    for (qsizetype i = 0; i < pinyin.size(); ++i) {
        if (pinyin[i] != u',')
            continue;
        if (const auto item = LookUpPhonetic(pinyin.sliced(syllableStart, i - syllableStart))) {
            result.append(QLatin1StringView(item->data(), static_cast<qsizetype>(item->size())));
            result.append(u'|');
        }
        syllableStart = i + 1;
    }
    return result;
}

QString WithFinalComma(QString pinyin) {
    if (!pinyin.endsWith(u','))
        pinyin.append(u',');
    return pinyin;
}

} // namespace lirobel::phonetic
