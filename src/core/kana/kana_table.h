// SPDX-License-Identifier: GPL-3.0-or-later
// The kana that have a romaji token: single kana, and small kana that merge with the kana before them.
#pragma once

#include <span>
#include <string_view>

namespace lirobel::kana {

/// A token that the user's rule settings decide instead of the table.
enum class RuleToken { None, Ha, Wo, Zu };

/// A kana in both scripts and its token (or the rule that gives it).
struct SingleKana {
    char16_t hiragana;
    char16_t katakana;
    std::string_view token;
    RuleToken rule = RuleToken::None;
};

/// A kana that may stand before a small kana, and the token that the pair gives instead of its own.
struct Partner {
    char16_t hiragana;
    char16_t katakana;
    std::string_view token;
};

/// A small kana in both scripts and the kana it merges with.
struct SmallKana {
    char16_t hiragana;
    char16_t katakana;
    std::span<const Partner> partners;
};

/// The kana with a token of their own: the gojūon rows, their voiced forms, ん, っ and ー.
std::span<const SingleKana> SingleKanaTable();

/// The fourteen small kana (seven pairs) that merge with the kana written before them.
std::span<const SmallKana> SmallKanaTable();

} // namespace lirobel::kana
