// SPDX-License-Identifier: GPL-3.0-or-later
// How often the dictionary reads the kanji words of lyric lines as a Japanese speaker does, on the lines
// of kanji_readings.tsv. The share goes to the output; a drop below the floor fails.
#include "core/kana/kanji_to_kana.h"
#include "support/case_file.h"

#include <QRegularExpression>
#include <gtest/gtest.h>
#include <iostream>

namespace lirobel::kana {
namespace {

// The share of kanji words that mecab-ipadic-utf8 reads right on these lines was 0.978; a change of
// dictionary or of the reading step that loses more than a few words fails.
constexpr double kFloor = 0.95;

// The lyric as a pattern that its reading must match: what lies between kanji words as it stands, each
// kanji word (with its bracketed reading, if any) as a group that tries the expected reading first, so
// that kana shared by a reading and its surroundings are not given to the wrong word.
QRegularExpression ReadingPattern(const QString& lyric, const QStringList& expected) {
    static const QRegularExpression kanjiWord(QStringLiteral(
        R"((?:[々〆〇\x{3400}-\x{4DBF}\x{4E00}-\x{9FFF}]|[\x{F900}-\x{FAFF}\x{20000}-\x{3FFFF}])+(?:\([ぁ-ヿ]+\)|（[ぁ-ヿ]+）)?)"));
    QString pattern = QStringLiteral("^");
    qsizetype done = 0;
    qsizetype word = 0;
    for (const QRegularExpressionMatch& found : kanjiWord.globalMatch(lyric)) {
        pattern += QRegularExpression::escape(lyric.mid(done, found.capturedStart() - done)) + u'(' +
                   QRegularExpression::escape(expected.value(word++)) + QStringLiteral("|.+?)");
        done = found.capturedEnd();
    }
    return QRegularExpression(pattern + QRegularExpression::escape(lyric.mid(done)) + u'$');
}

TEST(KanjiReadingAccuracy, ReadsMostKanjiWordsAsASpeakerDoes) {
    int words = 0;
    int right = 0;
    const std::vector<QByteArrayList> rows = test::ReadCaseFile(QStringLiteral(LIROBEL_KANJI_READINGS));
    for (const QByteArrayList& row : rows) {
        const QString lyric = QString::fromUtf8(row[0]);
        const QStringList expected = QString::fromUtf8(row.value(1)).split(u' ');
        const KanaReading reading = KanjiToKana(lyric);
        ASSERT_TRUE(reading.succeeded) << reading.failure.toStdString();
        const QRegularExpression pattern = ReadingPattern(lyric, expected);
        ASSERT_EQ(pattern.captureCount(), expected.size()) << lyric.toStdString();
        const QRegularExpressionMatch read = pattern.match(reading.text);
        words += static_cast<int>(expected.size());
        for (qsizetype i = 0; i < expected.size(); ++i) {
            const bool same = read.hasMatch() && read.captured(static_cast<int>(i + 1)) == expected[i];
            right += same;
            if (!same)
                std::cout << "misread: " << lyric.toStdString() << " -> " << reading.text.toStdString() << " ("
                          << expected[i].toStdString() << ")\n";
        }
    }
    const double share = double(right) / words;
    std::cout << "kanji words read right: " << right << " of " << words << " (" << share << ") in " << rows.size()
              << " lines, dictionary " << InstalledDictionaryFolder().toStdString() << '\n';
    EXPECT_GE(rows.size(), 150u);
    EXPECT_GE(share, kFloor);
}

} // namespace
} // namespace lirobel::kana
