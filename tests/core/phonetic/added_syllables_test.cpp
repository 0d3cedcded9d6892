// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/phonetic/phonetic_table.h"
#include "core/phonetic/pinyin_to_phonetic.h"
#include "core/pinyin/chinese_to_pinyin.h"
#include "core/pinyin/chinese_words_to_pinyin.h"
#include "support/case_file.h"

#include <QSet>
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
// symbols (see the data's comment for the rule); PhoneticTable.ItemsAreWellFormed checks the symbols.
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
    // A typed syllable that the readers never write, as the word reader once did, still finds nothing.
    EXPECT_EQ(LookUpPhonetic(u"lve"), std::nullopt);
}

// Every ideograph that either reader knows, in every plane, gives exactly one phonetic item per syllable.
TEST(ReadersAndPhoneticTable, GiveOneItemPerSyllable) {
    ASSERT_EQ(pinyin::WordReadingProblem(), QString());
    QString ideographs;
    for (const auto& [first, last] : {std::pair{0x3400u, 0x4DBFu}, std::pair{0x4E00u, 0x9FFFu},
                                      std::pair{0xF900u, 0xFAFFu}, std::pair{0x20000u, 0x3FFFFu}}) {
        for (char32_t c = first; c <= last; ++c) {
            ideographs += QStringView(QChar::fromUcs4(c));
            ideographs += u'\n'; // one character at a time, as a line of its own
        }
    }
    for (const QString& pinyin : {pinyin::ChineseWordsToPinYin(ideographs), pinyin::ChineseToPinYin(ideographs)}) {
        QSet<QString> unconverted;
        for (const QString& syllable : pinyin.split(u',', Qt::SkipEmptyParts)) {
            if (!LookUpPhonetic(syllable))
                unconverted.insert(syllable);
        }
        EXPECT_TRUE(unconverted.isEmpty()) << QStringList(unconverted.values()).join(u' ').toStdString();
        EXPECT_EQ(PinYinToPhonetic(pinyin).count(u'|'), pinyin.count(u','));
    }
    const QString sung = QStringLiteral("剖欸谁得嗯呣𠀀車䅫");
    const QString pinyin = pinyin::ChineseWordsToPinYin(sung);
    EXPECT_EQ(pinyin.count(u','), 9) << pinyin.toStdString();
    EXPECT_EQ(PinYinToPhonetic(pinyin).count(u'|'), 9) << pinyin.toStdString();
}

} // namespace
} // namespace lirobel::phonetic
