// SPDX-License-Identifier: GPL-3.0-or-later
// Phonetic symbols of a Japanese voice library for every pinyin syllable. Each value was tuned by ear,
// entry by entry: several syllables deliberately depart from the usual form of their final, so the
// values must never be derived from initial + final.

#include "core/phonetic/phonetic_table.h"

namespace lirobel::phonetic {

namespace {

// One group of lines per initial, as the listing has them.
// clang-format off
constexpr PhoneticEntry kTable[] = {
    // no initial
    {"a", "a"}, {"ai", "a e"}, {"an", "a n"}, {"ang", "a a N"}, {"ao", "a o"}, {"e", "o[-OPE]"}, {"en", "o n[-OPE]"},
    {"er", "o[-OPE]"}, {"o", "o"}, {"ou", "o w"},
    // b-
    {"ba", "b a"}, {"bai", "b a e"}, {"ban", "b a n"}, {"bang", "b a a N"}, {"bao", "b a o"}, {"bei", "b e j"},
    {"ben", "b o n[-OPE]"}, {"beng", "b o N\\[-OPE]"}, {"bi", "b' i"}, {"bian", "b' i j e n[-OPE]"},
    {"biao", "b' i a o[-OPE]"}, {"bie", "b' i j e[-OPE]"}, {"bin", "b' i n"}, {"bing", "b' i N"}, {"bo", "b o"},
    {"bu", "b M"},
    // p-
    {"pa", "p a"}, {"pai", "p a e"}, {"pan", "p a n"}, {"pang", "p a a N"}, {"pao", "p a o"}, {"pei", "p e j"},
    {"pen", "p o n[-OPE]"}, {"peng", "p o N\\[-OPE]"}, {"pi", "p' i"}, {"pian", "p' i j e n[-OPE]"},
    {"piao", "p' i a o[-OPE]"}, {"pie", "p' i j e[-OPE]"}, {"pin", "p' i n"}, {"ping", "p' i N"}, {"po", "p o"},
    {"pu", "p M"},
    // m-
    {"ma", "m a"}, {"mai", "m a e"}, {"man", "m a n"}, {"mang", "m a a N"}, {"mao", "m a o"}, {"me", "m o[-OPE]"},
    {"mei", "m e j"}, {"men", "m o n[-OPE]"}, {"meng", "m o N\\[-OPE]"}, {"mi", "m' i"}, {"mian", "m' i j e n[-OPE]"},
    {"miao", "m' i a o"}, {"mie", "m' i j e[-OPE]"}, {"min", "m' i n"}, {"ming", "m' i N"}, {"miu", "m' i j M"},
    {"mo", "m o"}, {"mou", "m o w"}, {"mu", "m M"},
    // f-
    {"fa", "p\\ a"}, {"fan", "p\\ a n"}, {"fang", "p\\ a a N"}, {"fei", "p\\ e j"}, {"fen", "p\\ o n[-OPE]"},
    {"feng", "p\\ o N[-OPE]"}, {"fo", "p\\ o"}, {"fou", "p\\ o w"}, {"fu", "p\\ M"},
    // d-
    {"da", "d a"}, {"dai", "d a e"}, {"dan", "d a n"}, {"dang", "d a a N"}, {"dao", "d a o"}, {"de", "d o[-OPE]"},
    {"deng", "d o N\\[-OPE]"}, {"di", "d' i"}, {"dian", "d' i j e n[-OPE]"}, {"diao", "d' i a o[-OPE]"},
    {"die", "d' i j e[-OPE]"}, {"din", "d' i n"}, {"ding", "d' i N"}, {"diu", "d' i j M"}, {"dong", "d o N\\"},
    {"dou", "d o w"}, {"du", "d M"}, {"duan", "d o a n[-OPE]"}, {"dui", "d M i"}, {"dun", "d M n"}, {"duo", "d o"},
    // t-
    {"ta", "t a"}, {"tai", "t a e"}, {"tan", "t a n"}, {"tang", "t a a N"}, {"tao", "t a o"}, {"te", "t o[-OPE]"},
    {"teng", "t o N\\[-OPE]"}, {"ti", "t' i"}, {"tian", "t' i a n[-OPE]"}, {"tiao", "t' i a o"},
    {"tie", "t' i j e[-OPE]"}, {"ting", "t' i N"}, {"tong", "t o N\\"}, {"tou", "t o"}, {"tu", "t M"},
    {"tuan", "t o a n"}, {"tui", "t M j"}, {"tun", "t M n"}, {"tuo", "t o"},
    // n-
    {"na", "n a"}, {"nai", "n a e"}, {"nan", "n a n"}, {"nang", "n a a N"}, {"nao", "n a o"}, {"ne", "n o[-OPE]"},
    {"nei", "n e j"}, {"nen", "n o n[-OPE]"}, {"neng", "n o N\\[-OPE]"}, {"ni", "J i"}, {"nian", "J i j e n[-OPE]"},
    {"niang", "J i a a N"}, {"niao", "J i a o"}, {"nie", "J i j e[-OPE]"}, {"nin", "J i n"}, {"ning", "J i N"},
    {"niu", "J i j M"}, {"nong", "n o N\\"}, {"nu", "n M"}, {"nuan", "n o a n"}, {"nue", "n M j e[-OPE]"},
    {"nuo", "n o"}, {"nv", "n M j"},
    // l-
    {"la", "4 a"}, {"lai", "4 a e"}, {"lan", "4 a n"}, {"lang", "4 a a N"}, {"lao", "4 a o"}, {"le", "4 o[-OPE]"},
    {"lei", "4 e j"}, {"leng", "4 o N\\[-OPE]"}, {"li", "4' i"}, {"lia", "4' i a"}, {"lian", "4' i j e n[-OPE]"},
    {"liang", "4' i a a N[-OPE]"}, {"liao", "4' i a o"}, {"lie", "4' i j e[-OPE]"}, {"lin", "4' i n"},
    {"ling", "4' i N"}, {"liu", "4' i j M"}, {"long", "4 o N\\"}, {"lou", "4 o w"}, {"lu", "4 M"}, {"luan", "4 o a n"},
    {"lue", "4 M j e[-OPE]"}, {"lun", "4 o n[-OPE]"}, {"luo", "4 o"}, {"lv", "4 M j"},
    // g-
    {"ga", "g a"}, {"gai", "g a e"}, {"gan", "g a n"}, {"gang", "g a a N"}, {"gao", "g a o"}, {"ge", "g o[-OPE]"},
    {"gei", "g e j"}, {"gen", "g o n[-OPE]"}, {"geng", "g o N\\[-OPE]"}, {"gong", "g o N\\"}, {"gou", "g o w"},
    {"gu", "g M"}, {"gua", "g o a"}, {"guai", "g o a e"}, {"guan", "g o a n"}, {"guang", "g o a a N"},
    {"gui", "g o j"}, {"gun", "g o n[-OPE]"}, {"guo", "g o"},
    // k-
    {"ka", "k a"}, {"kai", "k a e"}, {"kan", "k a n"}, {"kang", "k a a N"}, {"kao", "k a o"}, {"ke", "k o[-OPE]"},
    {"ken", "k o n[-OPE]"}, {"keng", "k o N\\[-OPE]"}, {"kong", "k o N\\"}, {"kou", "k o w"}, {"ku", "k M"},
    {"kua", "k o a"}, {"kuai", "k o a e"}, {"kuan", "k o a n"}, {"kuang", "k o a a N"}, {"kui", "k M i"},
    {"kun", "k o n[-OPE]"}, {"kuo", "k o"},
    // h-
    {"ha", "h a"}, {"hai", "h a e"}, {"han", "h a n"}, {"hang", "h a a N"}, {"hao", "h a o"}, {"he", "h o[-OPE]"},
    {"hei", "h e j"}, {"hen", "h o n[-OPE]"}, {"heng", "h o N\\[-OPE]"}, {"hong", "h o N\\"}, {"hou", "h o w"},
    {"hu", "p\\ M"}, {"hua", "h o a"}, {"huai", "h o a e"}, {"huan", "h o a n"}, {"huang", "h o a N"},
    {"hui", "h o j"}, {"hun", "h o n[-OPE]"}, {"huo", "h o"},
    // j-
    {"ji", "dZ i"}, {"jia", "dZ a"}, {"jian", "dZ i j e n[-OPE]"}, {"jiang", "dZ i a a N[-OPE]"},
    {"jiao", "dZ i a o[-OPE]"}, {"jie", "dZ e"}, {"jin", "dZ i n"}, {"jing", "dZ i N"},
    {"jiong", "dZ i j o N\\[-OPE]"}, {"jiu", "dZ o"}, {"ju", "dZ M[-OPE]"}, {"juan", "dZ M a n[-OPE]"},
    {"jue", "dZ M j e[-OPE]"}, {"jun", "dZ M i n"},
    // q-
    {"qi", "tS i"}, {"qia", "tS i a"}, {"qian", "tS i j e n[-OPE]"}, {"qiang", "tS i a a N"}, {"qiao", "tS i a o"},
    {"qie", "tS i j e[-OPE]"}, {"qin", "tS i n"}, {"qing", "tS i N"}, {"qiong", "tS i o N\\[-OPE]"},
    {"qiu", "tS i j M"}, {"qu", "tS M"}, {"quan", "tS M a n[-OPE]"}, {"que", "tS M j e[-OPE]"}, {"qun", "tS M n"},
    // x-
    {"xi", "S i"}, {"xia", "S i a[-OPE]"}, {"xian", "S i j e n[-OPE]"}, {"xiang", "S i a a N[-OPE]"},
    {"xiao", "S i a o"}, {"xie", "S i j e[-OPE]"}, {"xin", "S i n"}, {"xing", "S i N"}, {"xiong", "S i j o N\\"},
    {"xiu", "S i M"}, {"xu", "S M"}, {"xuan", "S M a n[-OPE]"}, {"xue", "S M j e[-OPE]"}, {"xun", "S M n"},
    // zh-
    {"zha", "dZ a"}, {"zhai", "dZ a e"}, {"zhan", "dZ a n"}, {"zhang", "dZ a a N"}, {"zhao", "dZ a o"},
    {"zhe", "dZ o[-OPE]"}, {"zhen", "dZ o n[-OPE]"}, {"zheng", "dZ o N\\[-OPE]"}, {"zhi", "dZ M[-OPE]"},
    {"zhong", "dZ o N\\[-OPE]"}, {"zhou", "dZ o w"}, {"zhu", "dZ M"}, {"zhua", "dZ o a"}, {"zhuai", "dZ o a e"},
    {"zhuan", "dZ o a n"}, {"zhuang", "dZ o a a N"}, {"zhui", "dZ M j"}, {"zhun", "dZ M n"}, {"zhuo", "dZ o"},
    // ch-
    {"cha", "tS a"}, {"chai", "tS a e"}, {"chan", "tS a n"}, {"chang", "tS a N"}, {"chao", "tS a o"},
    {"che", "tS o[-OPE]"}, {"chen", "tS o n[-OPE]"}, {"cheng", "tS o N\\[-OPE]"}, {"chi", "t S M[-OPE]"},
    {"chong", "tS o N\\"}, {"chou", "tS o w"}, {"chu", "tS M"}, {"chuai", "tS o a e[-OPE]"},
    {"chuan", "tS o a n[-OPE]"}, {"chuang", "tS o a a N[-OPE]"}, {"chui", "tS M i i[-OPE]"}, {"chun", "tS M n"},
    {"chuo", "tS o"},
    // sh-
    {"sha", "S a"}, {"shai", "S a e"}, {"shan", "S a n"}, {"shang", "S a a N"}, {"shao", "S a o"},
    {"she", "S o[-OPE]"}, {"shen", "S o n[-OPE]"}, {"sheng", "S o N\\[-OPE]"}, {"shi", "S M[-OPE]"}, {"shou", "S o w"},
    {"shu", "S M w"}, {"shua", "S o a"}, {"shuai", "S o a e"}, {"shuan", "S o a n"}, {"shuang", "S o a a N"},
    {"shui", "S M j"}, {"shun", "S M n"}, {"shuo", "S o[-OPE]"},
    // r-
    {"ran", "4 a n"}, {"rang", "4 a a N"}, {"rao", "4 a o"}, {"re", "4 o[-OPE]"}, {"ren", "4 o n[-OPE]"},
    {"reng", "4 o N\\[-OPE]"}, {"ri", "j M[-OPE]"}, {"rong", "4 o N\\"}, {"rou", "4 o w"}, {"ru", "4 M"},
    {"ruan", "4 o a n"}, {"rui", "4 M j"}, {"run", "4 M n"}, {"ruo", "4 o"},
    // z-
    {"za", "dz a"}, {"zai", "dz a e"}, {"zan", "dz a n"}, {"zang", "dz a a N"}, {"zao", "dz a o"},
    {"ze", "dz o[-OPE]"}, {"zei", "dz e j"}, {"zen", "dz o n[-OPE]"}, {"zeng", "dz o N\\[-OPE]"}, {"zi", "dz M"},
    {"zong", "dz o N\\"}, {"zou", "dz o w"}, {"zu", "dz M w"}, {"zuan", "dz o a n"}, {"zui", "dz M j"},
    {"zun", "dz M n"}, {"zuo", "dz o"},
    // c-
    {"ca", "ts a"}, {"cai", "ts a i"}, {"can", "ts a n"}, {"cang", "ts a a N"}, {"cao", "ts a o"},
    {"ce", "ts o[-OPE]"}, {"ceng", "ts o N\\[-OPE]"}, {"ci", "ts M"}, {"cong", "ts o N\\"}, {"cou", "ts o w"},
    {"cu", "ts M w"}, {"cuan", "ts o a n[-OPE]"}, {"cui", "ts M i j[-OPE]"}, {"cun", "ts M n"}, {"cuo", "ts o"},
    // s-
    {"sa", "s a"}, {"sai", "s a e"}, {"san", "s a n"}, {"sang", "s a a N"}, {"sao", "s a o"}, {"se", "s o[-OPE]"},
    {"sen", "s o n[-OPE]"}, {"seng", "s o N\\[-OPE]"}, {"si", "s M"}, {"song", "s o N\\"}, {"sou", "s o w"},
    {"su", "s M w"}, {"suan", "s o a n"}, {"sui", "s M j"}, {"sun", "s M n"}, {"suo", "s o"},
    // y-
    {"ya", "j a"}, {"yan", "j a n"}, {"yang", "j a a N"}, {"yao", "j a o"}, {"ye", "j e"}, {"yi", "i"}, {"yin", "i n"},
    {"ying", "i N"}, {"yo", "j o"}, {"yong", "j o N\\"}, {"you", "j o w"}, {"yu", "j M[-OPE]"},
    {"yuan", "j o a n[-OPE]"}, {"yue", "j o e[-OPE]"}, {"yun", "j M n[-OPE]"},
    // w-
    {"wa", "w a"}, {"wai", "w a e"}, {"wan", "w a n"}, {"wang", "w a a N"}, {"wei", "w e j"}, {"wen", "w o n[-OPE]"},
    {"weng", "w o N\\[-OPE]"}, {"wo", "w o"}, {"wu", "M w"},
};
// clang-format on

static_assert(std::size(kTable) == 397);

// Syllables that the word reader or the standard syllable table have and the listing lacks. Each item is
// composed of the listing's own parts: the initial as most syllables of that initial write it (before a
// final of the same first letter), the final and its [-OPE] as most syllables of that final write them.
// The syllabic nasals and hm, hng have no final in the listing: they take its symbols for m, n and ng.
// clang-format off
constexpr PhoneticEntry kComposed[] = {
    {"ei", "e j"}, {"eng", "o N\\[-OPE]"}, {"m", "m"}, {"n", "n"}, {"ng", "N"}, {"hm", "h m"}, {"hng", "h N"},
    {"biang", "b' i a a N[-OPE]"}, {"pou", "p o w"}, {"fiao", "p\\ i a o"}, {"dei", "d e j"}, {"den", "d o n[-OPE]"},
    {"dia", "d' i a"}, {"tei", "t e j"}, {"nou", "n o w"}, {"nun", "n M n"}, {"lo", "4 o"}, {"kei", "k e j"},
    {"zhei", "dZ e j"}, {"chua", "tS o a"}, {"shei", "S e j"}, {"rua", "4 o a"}, {"cei", "ts e j"},
    {"cen", "ts o n[-OPE]"}, {"wong", "w o N\\"},
};
// clang-format on

} // namespace

std::span<const PhoneticEntry> PhoneticTable() {
    return kTable;
}

std::span<const PhoneticEntry> ComposedPhoneticTable() {
    return kComposed;
}

} // namespace lirobel::phonetic
