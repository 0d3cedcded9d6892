// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringView>

namespace lirobel::pinyin {

/// Why the word-aware reader cannot work on this system (its dictionary, OpenCC or Unihan missing or
/// broken), or an empty string. The first call loads the tables: from the user's cache in a few
/// hundredths of a second, or built from the packages' files, in most of a second, when the cache is
/// missing or older than them. Later calls cost nothing.
QString WordReadingProblem();

/// Pinyin text of Chinese lyrics read by words, in the format of ChineseToPinYin: lower-case syllables
/// without tones, ü written as v, each followed by ",". Traditional characters are read as their
/// simplified forms; every run of hanzi is split into the words of the dictionary, fewest words first and
/// the more frequent words among equals, and each character takes its word's reading; a character in no
/// word takes its usual reading. Characters without a reading leave no trace. "长大了" gives
/// "zhang,da,le,". Returns an empty string when WordReadingProblem() is not empty.
QString ChineseWordsToPinYin(const QString& text);

/// The pinyin that ChineseWordsToPinYin gives, or why the reader could not give it.
struct WordReading {
    QString pinyin;
    QString problem; ///< empty when the pinyin is the reading
};

/// ChineseWordsToPinYin, with WordReadingProblem() checked first.
WordReading ReadChineseByWords(const QString& text);

} // namespace lirobel::pinyin
