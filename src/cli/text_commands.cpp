// SPDX-License-Identifier: GPL-3.0-or-later
// Commands that convert one text into another.
#include "cli/command.h"
#include "cli/text_io.h"
#include "core/phonetic/pinyin_to_phonetic.h"
#include "core/pinyin/character_code.h"
#include "core/pinyin/chinese_to_pinyin.h"
#include "core/pinyin/chinese_words_to_pinyin.h"

namespace lirobel::cli {

int RunPinYin(const Invocation& invocation, CliContext& context) {
    if (invocation.Has("words")) {
        const std::optional<QString> text = ReadInputText(invocation.Input(0), context);
        if (!text)
            return kExitFailure;
        if (const QString problem = pinyin::WordReadingProblem(); !problem.isEmpty())
            return Fail(context, QStringLiteral("cannot read by words: ") + problem);
        QString unwritten; // a long text's pinyin goes out piece by piece, never held whole
        if (pinyin::ChineseWordsToPinYin(*text, [&](QStringView piece) {
                unwritten = WriteToStdout(piece, context);
                return unwritten.isEmpty();
            }))
            unwritten = WriteToStdout(u"\n", context);
        return unwritten.isEmpty() ? kExitSuccess : Fail(context, unwritten);
    }
    const std::optional<QByteArray> text = ReadInputUtf8(invocation.Input(0), context);
    if (!text)
        return kExitFailure;
    if (!pinyin::CharacterCodesAvailable())
        return Fail(context, QStringLiteral("the system's iconv has no code page 936 (CP936), so no Chinese "
                                            "character can be recognised"));
    return WriteResultByPieces(*text, AtCharacter, pinyin::ChineseToPinYin, context);
}

int RunPhonetic(const Invocation& invocation, CliContext& context) {
    const std::optional<QByteArray> text = ReadInputUtf8(invocation.Input(0), context);
    if (!text)
        return kExitFailure;
    const QString singer = invocation.Option("singer").value_or(QString());
    const auto convert = [&singer](QStringView piece) {
        return phonetic::PinYinToPhonetic(phonetic::WithFinalComma(piece.toString()), singer);
    };
    return WriteResultByPieces(*text, phonetic::PinYinPieceEnd, convert, context);
}

} // namespace lirobel::cli
