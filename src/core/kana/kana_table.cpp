// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/kana/kana_table.h"

namespace lirobel::kana {

namespace {

// clang-format off
constexpr SingleKana kSingleKana[] = {
    {u'あ', u'ア', "a"},  {u'い', u'イ', "i"},   {u'う', u'ウ', "u"},   {u'え', u'エ', "e"},  {u'お', u'オ', "o"},
    {u'か', u'カ', "ka"}, {u'き', u'キ', "ki"},  {u'く', u'ク', "ku"},  {u'け', u'ケ', "ke"}, {u'こ', u'コ', "ko"},
    {u'さ', u'サ', "sa"}, {u'し', u'シ', "shi"}, {u'す', u'ス', "su"},  {u'せ', u'セ', "se"}, {u'そ', u'ソ', "so"},
    {u'た', u'タ', "ta"}, {u'ち', u'チ', "chi"}, {u'つ', u'ツ', "tsu"}, {u'て', u'テ', "te"}, {u'と', u'ト', "to"},
    {u'な', u'ナ', "na"}, {u'に', u'ニ', "ni"},  {u'ぬ', u'ヌ', "nu"},  {u'ね', u'ネ', "ne"}, {u'の', u'ノ', "no"},
    {u'は', u'ハ', {}, RuleToken::Ha},
                          {u'ひ', u'ヒ', "hi"},  {u'ふ', u'フ', "fu"},  {u'へ', u'ヘ', "he"}, {u'ほ', u'ホ', "ho"},
    {u'ま', u'マ', "ma"}, {u'み', u'ミ', "mi"},  {u'む', u'ム', "mu"},  {u'め', u'メ', "me"}, {u'も', u'モ', "mo"},
    {u'や', u'ヤ', "ya"},                        {u'ゆ', u'ユ', "yu"},                        {u'よ', u'ヨ', "yo"},
    {u'ら', u'ラ', "ra"}, {u'り', u'リ', "ri"},  {u'る', u'ル', "ru"},  {u'れ', u'レ', "re"}, {u'ろ', u'ロ', "ro"},
    {u'わ', u'ワ', "wa"},                                                                     {u'を', u'ヲ', {}, RuleToken::Wo},
    {u'が', u'ガ', "ga"}, {u'ぎ', u'ギ', "gi"},  {u'ぐ', u'グ', "gu"},  {u'げ', u'ゲ', "ge"}, {u'ご', u'ゴ', "go"},
    {u'ざ', u'ザ', "za"}, {u'じ', u'ジ', "ji"},  {u'ず', u'ズ', "zu"},  {u'ぜ', u'ゼ', "ze"}, {u'ぞ', u'ゾ', "zo"},
    {u'だ', u'ダ', "da"}, {u'ぢ', u'ヂ', "ji"},  {u'づ', u'ヅ', {}, RuleToken::Zu},
                                                                        {u'で', u'デ', "de"}, {u'ど', u'ド', "do"},
    {u'ば', u'バ', "ba"}, {u'び', u'ビ', "bi"},  {u'ぶ', u'ブ', "bu"},  {u'べ', u'ベ', "be"}, {u'ぼ', u'ボ', "bo"},
    {u'ぱ', u'パ', "pa"}, {u'ぴ', u'ピ', "pi"},  {u'ぷ', u'プ', "pu"},  {u'ぺ', u'ペ', "pe"}, {u'ぽ', u'ポ', "po"},
    {u'ん', u'ン', "n"},
    {u'っ', u'ッ', "-"},  {u'ー', u'ー', "-"}, // the long-vowel mark is one character for both scripts
};

constexpr Partner kBeforeSmallA[] = {{u'つ', u'ツ', "tsa"}, {u'ふ', u'フ', "fa"}};
constexpr Partner kBeforeSmallI[] = {{u'つ', u'ツ', "tsi"}, {u'う', u'ウ', "wi"}, {u'ふ', u'フ', "fi"}};
constexpr Partner kBeforeSmallE[] = {{u'つ', u'ツ', "tse"}, {u'い', u'イ', "ye"}, {u'う', u'ウ', "we"}, {u'ふ', u'フ', "fe"}};
constexpr Partner kBeforeSmallO[] = {{u'つ', u'ツ', "tso"}, {u'ふ', u'フ', "fo"}};
constexpr Partner kBeforeSmallYa[] = {
    {u'き', u'キ', "kya"}, {u'し', u'シ', "sha"}, {u'ち', u'チ', "cha"}, {u'に', u'ニ', "nya"}, {u'ひ', u'ヒ', "hya"},
    {u'み', u'ミ', "mya"}, {u'り', u'リ', "rya"}, {u'ぎ', u'ギ', "gya"}, {u'び', u'ビ', "bya"}, {u'ぴ', u'ピ', "pya"},
    {u'じ', u'ジ', "ja"}};
constexpr Partner kBeforeSmallYu[] = {
    {u'き', u'キ', "kyu"}, {u'し', u'シ', "shu"}, {u'ち', u'チ', "chu"}, {u'に', u'ニ', "nyu"}, {u'ひ', u'ヒ', "hyu"},
    {u'み', u'ミ', "myu"}, {u'り', u'リ', "ryu"}, {u'ぎ', u'ギ', "gyu"}, {u'び', u'ビ', "byu"}, {u'ぴ', u'ピ', "pyu"},
    {u'じ', u'ジ', "ju"}};
constexpr Partner kBeforeSmallYo[] = {
    {u'き', u'キ', "kyo"}, {u'し', u'シ', "sho"}, {u'ち', u'チ', "cho"}, {u'に', u'ニ', "nyo"}, {u'ひ', u'ヒ', "hyo"},
    {u'み', u'ミ', "myo"}, {u'り', u'リ', "ryo"}, {u'ぎ', u'ギ', "gyo"}, {u'び', u'ビ', "byo"}, {u'ぴ', u'ピ', "pyo"},
    {u'じ', u'ジ', "jo"}};

constexpr SmallKana kSmallKana[] = {
    {u'ぁ', u'ァ', kBeforeSmallA},  {u'ぃ', u'ィ', kBeforeSmallI},  {u'ぇ', u'ェ', kBeforeSmallE},
    {u'ぉ', u'ォ', kBeforeSmallO},  {u'ゃ', u'ャ', kBeforeSmallYa}, {u'ゅ', u'ュ', kBeforeSmallYu},
    {u'ょ', u'ョ', kBeforeSmallYo},
};
// clang-format on

} // namespace

std::span<const SingleKana> SingleKanaTable() {
    return kSingleKana;
}

std::span<const SmallKana> SmallKanaTable() {
    return kSmallKana;
}

} // namespace lirobel::kana
