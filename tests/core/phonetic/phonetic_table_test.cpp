// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/phonetic/phonetic_table.h"
#include "support/case_file.h"

#include <QRegularExpression>
#include <QString>
#include <gtest/gtest.h>
#include <map>
#include <set>
#include <string>

namespace lirobel::phonetic {
namespace {

// FNV-1a over "syllable<tab>item<newline>" of every listed entry, in order: any change to the listing shows.
TEST(PhoneticTable, ListingStaysAsItWas) {
    std::uint64_t hash = 0xcbf29ce484222325;
    for (const PhoneticEntry& entry : PhoneticTable()) {
        for (const std::string_view part : {entry.syllable, std::string_view("\t"), entry.item, std::string_view("\n")})
            for (const char c : part)
                hash = (hash ^ static_cast<unsigned char>(c)) * 0x100000001b3;
    }
    EXPECT_EQ(hash, 0x322413dde9f49a05u);
}

// The composed entries (composed_items.tsv: syllable, item), made of the listing's initial and final
// symbols (see the data's comment for the rule).
TEST(ComposedPhoneticTable, HoldsTheSyllablesTheListingLacks) {
    std::map<std::string, std::string> expected;
    for (const QByteArrayList& row : test::ReadCaseFile(LIROBEL_TEST_DATA "/composed_items.tsv"))
        expected.emplace(row[0].toStdString(), row[1].toStdString());
    std::map<std::string, std::string> composed;
    for (const PhoneticEntry& entry : ComposedPhoneticTable())
        EXPECT_TRUE(composed.emplace(entry.syllable, entry.item).second) << "doubled " << entry.syllable;
    EXPECT_EQ(composed, expected);
    std::set<std::string, std::less<>> listed;
    for (const PhoneticEntry& entry : PhoneticTable())
        listed.emplace(entry.syllable);
    for (const auto& [syllable, item] : composed) {
        EXPECT_FALSE(listed.contains(syllable)) << syllable;
        EXPECT_EQ(LookUpPhonetic(QString::fromStdString(syllable)), item) << syllable;
    }
}

// An item of either table is one to five of the listing's 33 symbols, a space apart, and maybe the marker:
// a stray bar or space would split or blur the items the synthesiser is given.
TEST(PhoneticTable, ItemsAreWellFormed) {
    const QString symbol = QStringLiteral(R"((?:[aiMeoNnJmpbtdsSkgh4jw]|N\\|m'|p'|b'|p\\|t'|d'|ts|dz|tS|dZ|4'))");
    const QRegularExpression item(QStringLiteral(R"(^%1(?: %1){0,4}(?:\[-OPE\])?$)").arg(symbol));
    for (const auto table : {PhoneticTable(), ComposedPhoneticTable()}) {
        for (const PhoneticEntry& entry : table)
            EXPECT_TRUE(item.match(QLatin1StringView(entry.item)).hasMatch()) << entry.syllable << ": " << entry.item;
    }
}

} // namespace
} // namespace lirobel::phonetic
