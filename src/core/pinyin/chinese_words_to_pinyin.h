// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringView>
#include <functional>

namespace lirobel::pinyin {

/// Why the word-aware reader cannot work on this system (its dictionary, OpenCC or Unihan missing or
/// broken), or an empty string. The first call loads the tables: from the user's cache in a few
/// hundredths of a second, or built from the packages' files, in most of a second, when the cache is
/// missing or older than them. Later calls cost nothing.
QString WordReadingProblem();

/// Pinyin text of Chinese lyrics read by words, in the format of ChineseToPinYin: lower-case syllables
/// without tones, ü written as v (but lüe, nüe as lue, nue), each followed by ",". Traditional characters
/// are read as their simplified forms, compatibility ideographs (U+F900–U+FAFF, U+2F800–U+2FA1F) as the
/// characters they stand for; every run of hanzi is split into the words of the dictionary, fewest words
/// first and the more frequent words among equals, and each character takes its word's reading; a
/// character in no word takes its usual reading, or Unihan's, in any plane. Characters without a reading
/// leave no trace. "长大了" gives "zhang,da,le,". Returns an empty string when WordReadingProblem() is not
/// empty.
QString ChineseWordsToPinYin(const QString& text);

/// ChineseWordsToPinYin handed to write in pieces, in order, as it is made, so that a long text's pinyin
/// never has to be held whole. Stops, returning false, as soon as write returns false; writes nothing
/// when WordReadingProblem() is not empty.
bool ChineseWordsToPinYin(const QString& text, const std::function<bool(QStringView)>& write);

/// The pinyin that ChineseWordsToPinYin gives, or why the reader could not give it.
struct WordReading {
    QString pinyin;
    QString problem; ///< empty when the pinyin is the reading
};

/// ChineseWordsToPinYin, with WordReadingProblem() checked first.
WordReading ReadChineseByWords(const QString& text);

} // namespace lirobel::pinyin
