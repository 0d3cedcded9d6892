// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArrayView>
#include <QString>
#include <QStringView>

namespace lirobel::phonetic {

/// The phonetic string of a pinyin text: for every syllable that a "," follows and that the phonetic
/// table holds, its item body and "|", with nothing between items. Syllables are the runs between
/// commas, compared whole (spaces and line breaks belong to them); unknown ones, empty ones and the text
/// after the last comma leave no trace. "ni,hao," gives "J i|h a o|".
///
/// The singer is accepted for the day voice libraries differ; today every singer gets the same result.
QString PinYinToPhonetic(QStringView pinyin, QStringView singer = {});

/// Where a pinyin text in UTF-8 may be cut so that the pieces, each converted as
/// PinYinToPhonetic(WithFinalComma(piece)), give joined what the whole text gives: the position just after
/// the first comma at or after atLeast - 1, or the text's end. Where no comma comes within 64 KiB, the
/// stretch is cut within itself at a character's start, each part still far longer than any syllable,
/// so that no piece need hold it whole.
qsizetype PinYinPieceEnd(QByteArrayView utf8, qsizetype atLeast);

/// The pinyin text with a "," appended unless it already ends with one, so that its last syllable
/// converts too.
QString WithFinalComma(QString pinyin);

} // namespace lirobel::phonetic
