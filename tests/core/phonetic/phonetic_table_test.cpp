// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/phonetic/phonetic_table.h"
#include "core/pinyin/pinyin_table.h"

#include <QString>
#include <gtest/gtest.h>
#include <set>
#include <string>

namespace lirobel::phonetic {
namespace {

std::optional<std::string_view> LookUp(const char16_t* syllable) {
    return LookUpPhonetic(QStringView(syllable));
}

TEST(PhoneticTable, HoldsEveryPinYinSyllableAndDinOnce) {
    std::set<std::string_view> keys;
    for (const PhoneticEntry& entry : PhoneticTable())
        EXPECT_TRUE(keys.insert(entry.syllable).second) << "doubled " << entry.syllable;
    EXPECT_EQ(keys.size(), 397u);
    std::set<std::string_view> expected = {"din"};
    for (const pinyin::PinYinEntry& entry : pinyin::PinYinTable())
        expected.insert(entry.syllable);
    EXPECT_EQ(keys, expected);
}

// The items of the listing, and those composed from its symbols.
TEST(PhoneticTable, ItemsAreWellFormed) {
    const std::set<std::string> symbols = {"a",  "i",  "M", "e",  "o",   "N", "N\\", "n", "J",  "m",  "m'",
                                           "p",  "p'", "b", "b'", "p\\", "t", "t'",  "d", "d'", "ts", "dz",
                                           "tS", "dZ", "s", "S",  "k",   "g", "h",   "4", "4'", "j",  "w"};
    ASSERT_EQ(symbols.size(), 33u);
    int marked = 0;
    std::vector<PhoneticEntry> entries(PhoneticTable().begin(), PhoneticTable().end());
    const std::size_t listed = entries.size();
    entries.insert(entries.end(), ComposedPhoneticTable().begin(), ComposedPhoneticTable().end());
    for (std::size_t at = 0; at < entries.size(); ++at) {
        const PhoneticEntry& entry = entries[at];
        std::string_view body = entry.item;
        if (body.ends_with(kOpeMarker)) {
            marked += at < listed;
            body.remove_suffix(kOpeMarker.size());
        }
        EXPECT_EQ(body.find('|'), std::string_view::npos) << entry.syllable;
        EXPECT_EQ(body.find("  "), std::string_view::npos) << entry.syllable;
        ASSERT_FALSE(body.empty()) << entry.syllable;
        EXPECT_NE(body.front(), ' ') << entry.syllable;
        EXPECT_NE(body.back(), ' ') << entry.syllable;
        int count = 0;
        for (std::size_t start = 0; start <= body.size();) {
            const std::size_t end = std::min(body.find(' ', start), body.size());
            EXPECT_TRUE(symbols.contains(std::string(body.substr(start, end - start))))
                << entry.syllable << ": '" << body.substr(start, end - start) << "'";
            ++count;
            start = end + 1;
        }
        EXPECT_GE(count, 1) << entry.syllable;
        EXPECT_LE(count, 5) << entry.syllable;
    }
    EXPECT_EQ(marked, 111);
}

TEST(LookUpPhonetic, ComparesWholeSyllablesExactly) {
    EXPECT_EQ(LookUp(u"ba"), "b a");
    EXPECT_EQ(LookUp(u"zuo"), "dz o");
    EXPECT_EQ(LookUp(u"chuang"), "tS o a a N[-OPE]"); // the longest key
    for (const char16_t* missing :
         {u"", u"Ba", u"ba ", u" ba", u"lve", u"nve", u"lü", u"chuangg", u"b", u"zzzzzz", u"ba\n", u"你"})
        EXPECT_EQ(LookUp(missing), std::nullopt) << QString::fromUtf16(missing).toStdString();
}

} // namespace
} // namespace lirobel::phonetic
