// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/kana/kanji_to_kana.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace lirobel::kana {
namespace {

struct ContextCase {
    const char* name;
    const char16_t* lyrics;
    const char16_t* reading;
    qsizetype unreadKanji;

    friend void PrintTo(const ContextCase& row, std::ostream* os) { *os << row.name; }
};

class KanjiContextTest : public testing::TestWithParam<ContextCase> {};

TEST_P(KanjiContextTest, ReadsInTheContextOfTheWholeLine) {
    const ContextCase& row = GetParam();
    const KanaReading result = KanjiToKana(QString::fromUtf16(row.lyrics));
    ASSERT_TRUE(result.succeeded) << result.failure.toStdString();
    EXPECT_EQ(result.text, QString::fromUtf16(row.reading));
    EXPECT_EQ(result.unreadKanji, row.unreadKanji);
}

INSTANTIATE_TEST_SUITE_P(Lines, KanjiContextTest,
                         testing::Values(ContextCase{"afterBracket", u"微(かす)かな風", u"かすかなかぜ", 0},
                                         ContextCase{"bracketInAWord", u"鳥(とり)肌が立つ", u"とりはだがたつ", 0},
                                         ContextCase{"twoBrackets", u"瞬(またた)く星と運命(さだめ)の人",
                                                     u"またたくほしとさだめのひと", 0},
                                         ContextCase{"iterationMarkApart", u"時 々", u"とき 々", 1},
                                         ContextCase{"iterationMarkUnread", u"屡々", u"しばしば々", 1},
                                         ContextCase{"byteOrderMark", u"\uFEFF君の名", u"\uFEFFきみのな", 0}),
                         [](const testing::TestParamInfo<ContextCase>& row) { return std::string(row.param.name); });

// MeCab refuses a sentence of a few megabytes: a long line is read in stretches, cut where no word is.
TEST(KanjiContext, ReadsLinesLongerThanMeCabTakes) {
    for (const auto& [lyrics, reading] :
         {std::pair{u"君の名を呼んだ、", u"きみのなをよんだ、"}, std::pair{u"君の名を呼んだ", u"きみのなをよんだ"},
          std::pair{u"山", u"やま"}}) {
        const KanaReading result = KanjiToKana(QString::fromUtf16(lyrics).repeated(300'000));
        ASSERT_TRUE(result.succeeded) << result.failure.toStdString();
        EXPECT_EQ(result.unreadKanji, 0);
        EXPECT_EQ(result.text.size(), QString::fromUtf16(reading).size() * 300'000);
        EXPECT_TRUE(result.text.startsWith(QString::fromUtf16(reading).repeated(3)));
    }
}

// A dictionary that is there but cannot be used is not "not installed": MeCab says what is wrong.
TEST(KanjiContext, PassesMeCabsMessageOnADamagedDictionary) {
    const QTemporaryDir damaged;
    const QDir installed(InstalledDictionaryFolder());
    for (const QString& name : installed.entryList(QDir::Files))
        ASSERT_TRUE(QFile::copy(installed.filePath(name), damaged.filePath(name)));
    QFile dictionary(damaged.filePath(QStringLiteral("sys.dic")));
    ASSERT_TRUE(dictionary.resize(4096));
    QStringList folders = {damaged.path()};
    if (QFileInfo::exists(QStringLiteral("/var/lib/mecab/dic/ipadic/sys.dic")))
        folders << QStringLiteral("/var/lib/mecab/dic/ipadic"); // EUC-JP
    for (const QString& folder : folders) {
        const KanaReading result = KanjiReader(folder).Read(u"君");
        EXPECT_FALSE(result.succeeded);
        EXPECT_TRUE(result.failure.startsWith(QStringLiteral("MeCab cannot load the Japanese dictionary in ") + folder))
            << result.failure.toStdString();
    }
}

} // namespace
} // namespace lirobel::kana
