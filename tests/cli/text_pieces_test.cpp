// SPDX-License-Identifier: GPL-3.0-or-later
// `pinyin` and `phonetic` convert long input piece by piece: their output must be, byte for byte, the
// conversion of the whole text, wherever characters, syllables and long stretches fall on the cuts.
#include "cli_test_support.h"
#include "core/phonetic/pinyin_to_phonetic.h"
#include "core/pinyin/chinese_to_pinyin.h"

#include <QRandomGenerator>
#include <QStringDecoder>
#include <gtest/gtest.h>

namespace lirobel::cli {
namespace {

// Text of about `size` bytes drawn from the words, and now and then from the rare ones, with a byte-order
// mark first and CR LF last.
QByteArray Generated(quint32 seed, const QByteArrayList& words, const QByteArrayList& rare, qsizetype size) {
    QRandomGenerator random(seed);
    QByteArray text("\xef\xbb\xbf");
    while (text.size() < size) {
        const QByteArrayList& from = !rare.isEmpty() && random.bounded(20000) == 0 ? rare : words;
        text += from[random.bounded(static_cast<int>(from.size()))];
    }
    return text + "\r\n";
}

// The text the commands convert: the last line end dropped, the byte-order mark kept.
QString Whole(const QByteArray& input) {
    return QStringDecoder(QStringDecoder::Utf8, QStringDecoder::Flag::ConvertInitialBom).decode(input.chopped(2));
}

struct PiecesCase {
    const char* name;
    const char* command;
    QByteArrayList words;
    QByteArrayList rare;
    QString (*expected)(const QString& whole);
};

class TextPiecesTest : public testing::TestWithParam<PiecesCase> {};

TEST_P(TextPiecesTest, GiveTheWholeTextsConversion) {
    for (const quint32 seed : {1u, 2u, 3u}) {
        const QByteArray input = Generated(seed, GetParam().words, GetParam().rare, 600 * 1024);
        const CliRun run = RunInProcess({QString::fromLatin1(GetParam().command)}, input);
        ASSERT_EQ(run.exitCode, kExitSuccess) << run.err.toStdString();
        EXPECT_TRUE(run.out == GetParam().expected(Whole(input)).toUtf8() + '\n') << "seed " << seed;
    }
}

const QByteArray kLongStretch = QByteArray("a").repeated(100000);
const QByteArray kLongHanziStretch = QByteArray("你").repeated(40000);

INSTANTIATE_TEST_SUITE_P(
    Cli, TextPiecesTest,
    testing::Values(PiecesCase{"Hanzi",
                               "pinyin",
                               {"你", "好", "\xf0\x9f\x8e\xb5", "a", "\n", "，"},
                               {},
                               [](const QString& whole) { return pinyin::ChineseToPinYin(whole); }},
                    PiecesCase{"Syllables",
                               "phonetic",
                               {"ni,", "hao,", "zhuang,", "nv,", ",", " ", "\n", "你,", "ni"},
                               {kLongStretch, kLongHanziStretch},
                               [](const QString& whole) {
                                   return phonetic::PinYinToPhonetic(phonetic::WithFinalComma(whole));
                               }}),
    [](const auto& row) { return std::string(row.param.name); });

} // namespace
} // namespace lirobel::cli
