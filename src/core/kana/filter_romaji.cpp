// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/kana/filter_romaji.h"

namespace lirobel::kana {

namespace {

// What the scan does at one position: which token it appends and how far it moves.
struct Step {
    enum class Token { None, Letters, Dash, Rule, EnglishSpan } token = Token::None;
    qsizetype move = 1;
    QStringView rule = {}; // the setting's value, for Token::Rule
};

Step Nothing() {
    return {};
}
Step Dash() {
    return {Step::Token::Dash, 1};
}
Step Letters(qsizetype count) {
    return {Step::Token::Letters, count};
}
Step Rule(const QString& value) {
    return {Step::Token::Rule, 2, value};
}

bool IsIn(char16_t c, std::u16string_view letters) {
    return c != 0 && letters.find(c) != std::u16string_view::npos;
}

bool IsVowel(char16_t c) {
    return IsIn(c, u"aiueo");
}

// The table of tests: for the letter c1 at the scan position and the two after it (0 beyond the end of
// the text), the first test that holds decides the step.
// clang-format off
Step Scan(char16_t c1, char16_t c2, char16_t c3, const settings::Settings& settings) {
    switch (c1) {
    case u'/':
        return c2 == u'*' ? Step{Step::Token::EnglishSpan, 0} : Nothing();
    case u'k': case u'm': case u'r': case u'g': case u'b': case u'p':
        if (c2 == c1) return Dash();
        if (IsVowel(c2)) return Letters(2);
        if (c2 == u'y' && IsIn(c3, u"aueo")) return Letters(3);
        return Nothing();
    case u'h':
        if (c2 == u'h') return Dash();
        if (IsIn(c2, u"aieo")) return Letters(2); // "hu" is not a syllable
        if (c2 == u'y' && IsIn(c3, u"aueo")) return Letters(3);
        return Nothing();
    case u'n':
        if (IsVowel(c2)) return Letters(2);
        if (c2 == u'y' && IsIn(c3, u"aueo")) return Letters(3);
        if (c2 == u'y') return Nothing();
        return Letters(1); // "n" standing alone, at the end of the text too
    case u's':
        if (c2 == u's') return Dash();
        if (IsVowel(c2)) return Letters(2);
        if (c2 == u'h' && IsVowel(c3)) return Letters(3);
        return Nothing();
    case u't':
        if (c2 == u't' || c2 == u'c') return Dash();
        if (IsVowel(c2)) return Letters(2);
        if (c2 == u's' && c3 == u'u') return Letters(3);
        return Nothing();
    case u'z': case u'd':
        if (c2 == c1) return Dash();
        if (c2 == u'u') return Rule(settings.ZuReading);
        if (IsIn(c2, u"aieo")) return Letters(2);
        return Nothing();
    case u'c':
        if (c2 == u'c') return Dash();
        if (c2 == u'h' && IsVowel(c3)) return Letters(3);
        return Nothing();
    case u'y':
        if (c2 == u'y') return Dash();
        if (IsIn(c2, u"aueo")) return Letters(2);
        return Nothing();
    case u'w':
        if (c2 == u'w') return Dash();
        if (c2 == u'o') return Rule(settings.WoReading);
        if (IsIn(c2, u"aie")) return Letters(2);
        return Nothing();
    case u'j': case u'f':
        if (c2 == c1) return Dash();
        if (IsVowel(c2)) return Letters(2);
        return Nothing();
    case u'a': case u'i': case u'u': case u'e': case u'o':
        return Letters(1);
    default:
        return Nothing();
    }
}
// clang-format on

} // namespace

RomajiConversion FilterRomaji(QStringView text, const settings::Settings& settings) {
    const QString lower = text.toString().toLower();
    const qsizetype length = lower.size();
    const auto at = [&](qsizetype i) { return i < length ? lower[i].unicode() : char16_t{0}; };

    QString romaji;
    romaji.reserve(length);
    bool firstToken = true;
    for (qsizetype p = 0; p < length;) {
        Step step = Scan(at(p), at(p + 1), at(p + 2), settings);
        if (step.token == Step::Token::None) {
            p += step.move;
            continue;
        }
        if (!firstToken)
            romaji += u' ';
        firstToken = false;
        switch (step.token) {
        case Step::Token::Letters:
            romaji += QStringView(lower).sliced(p, step.move);
            break;
        case Step::Token::Dash:
            romaji += u'-';
            break;
        case Step::Token::Rule:
            romaji += step.rule;
            break;
        case Step::Token::EnglishSpan: {
            const qsizetype spanStart = p + 2;
            const qsizetype close = lower.indexOf(QStringView(u"*/"), spanStart);
            if (close < 0 || close - spanStart > kLongestEnglishSpan)
                return RomajiConversion::Failed(
                    QStringLiteral("the English span that begins at character %1 has no \"*/\" within %2 characters")
                        .arg(p + 1)
                        .arg(kLongestEnglishSpan));
            romaji += QStringView(lower).sliced(spanStart, close - spanStart).toString().toUpper();
            step.move = close + 2 - p;
            break;
        }
        case Step::Token::None:
            break;
        }
        p += step.move;
    }
    return {true, romaji, {}};
}

} // namespace lirobel::kana
