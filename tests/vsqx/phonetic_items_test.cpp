// SPDX-License-Identifier: GPL-3.0-or-later
#include "vsqx/phonetic_items.h"

#include <gtest/gtest.h>

namespace lirobel::vsqx {
namespace {

TEST(GetPhoneticItem, ReturnsOnlyItemsThatABarEnds) {
    struct Row {
        const char16_t* phonetic;
        int n;
        const char16_t* item;
    };
    const Row rows[] = {
        {u"J i|h a o|", 1, u"J i"},   {u"J i|h a o|", 2, u"h a o"},
        {u"J i|h a o|", 3, u""},      {u"J i|h a o", 2, u""},
        {u"|J i|", 1, u""},           {u"|J i|", 2, u"J i"},
        {u"a||b|", 2, u""},           {u"a||b|", 3, u"b"},
        {u"o[-OPE]|", 1, u"o[-OPE]"}, {u"", 1, u""},
        {u"你 好|", 1, u"你 好"},
    };
    for (const Row& row : rows)
        EXPECT_EQ(GetPhoneticItem(row.phonetic, row.n), QStringView(row.item)) << row.n;
}

} // namespace
} // namespace lirobel::vsqx
