// SPDX-License-Identifier: GPL-3.0-or-later
#include "pinyin/han_latin_readings.h"

#include <memory>
#include <unicode/translit.h>
#include <unicode/unistr.h>

namespace lirobel::pinyin {

QString Toneless(QStringView marked) {
    const QString decomposed = marked.toString().normalized(QString::NormalizationForm_D);
    QString plain;
    plain.reserve(decomposed.size());
    for (const QChar c : decomposed) {
        if (c.unicode() == 0x0308 && plain.endsWith(u'u'))
            plain.back() = u'v';
        else if (c.category() != QChar::Mark_NonSpacing)
            plain += c.toLower();
    }
    return plain;
}

QString ReadWithHanLatin(QStringView characters, const std::function<void(char16_t, QStringView)>& found) {
    UErrorCode status = U_ZERO_ERROR;
    std::unique_ptr<icu::Transliterator> hanLatin(
        icu::Transliterator::createInstance("Han-Latin", UTRANS_FORWARD, status));
    if (U_FAILURE(status) || !hanLatin)
        return QStringLiteral("ICU offers no Han-Latin transform: ") + QString::fromLatin1(u_errorName(status));
    // One transform over all the characters, one per line, costs far less than one per character.
    icu::UnicodeString all;
    for (const QChar c : characters) {
        all.append(c.unicode());
        all.append(u'\n');
    }
    hanLatin->transliterate(all);
    const QStringView result(reinterpret_cast<const char16_t*>(all.getBuffer()), all.length());
    qsizetype at = 0;
    for (const QChar c : characters) {
        const qsizetype end = result.indexOf(u'\n', at);
        if (end < 0)
            return QStringLiteral("ICU's Han-Latin transform lost a line");
        const QStringView reading = result.mid(at, end - at).trimmed();
        at = end + 1;
        // A character the transform does not know comes back as it went in.
        if (!reading.isEmpty() && reading.front().unicode() < 0x3400)
            found(c.unicode(), reading);
    }
    return {};
}

} // namespace lirobel::pinyin
