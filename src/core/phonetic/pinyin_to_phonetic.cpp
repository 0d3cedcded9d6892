// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/phonetic/pinyin_to_phonetic.h"

#include "core/phonetic/phonetic_table.h"

namespace lirobel::phonetic {

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
