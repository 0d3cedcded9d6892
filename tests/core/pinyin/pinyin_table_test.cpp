// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/pinyin/pinyin_table.h"

#include <gtest/gtest.h>

namespace lirobel::pinyin {
namespace {

TEST(PinYinTable, HasTheListedEntriesAtTheirPlaces) {
    const auto table = PinYinTable();
    ASSERT_EQ(table.size(), 396u);
    struct Row {
        std::size_t position; // 1-based, as the listing counts
        std::string_view syllable;
        int code;
    };
    for (const Row& row : {Row{1, "a", -20319}, Row{2, "ai", -20317}, Row{177, "lv", -15681}, Row{178, "luan", -15667},
                           Row{220, "nv", -14930}, Row{221, "nuan", -14929}, Row{396, "zuo", -10254}}) {
        EXPECT_EQ(table[row.position - 1].syllable, row.syllable) << "entry " << row.position;
        EXPECT_EQ(table[row.position - 1].code, row.code) << "entry " << row.position;
    }
}

} // namespace
} // namespace lirobel::pinyin
