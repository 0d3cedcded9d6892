// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/phonetic/phonetic_table.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace lirobel::phonetic {

namespace {

// Every key is at most six lower-case letters, so it packs into 30 bits (five per letter, 1 to 26);
// anything else cannot be a key and packs to 0.
constexpr std::size_t kLongestSyllable = 6;

template <typename Char> std::uint32_t PackSyllable(const Char* chars, std::size_t length) {
    if (length == 0 || length > kLongestSyllable)
        return 0;
    std::uint32_t packed = 0;
    for (std::size_t i = 0; i < length; ++i) {
        const auto c = static_cast<char16_t>(chars[i]);
        if (c < u'a' || c > u'z')
            return 0;
        packed = packed << 5 | static_cast<std::uint32_t>(c - u'a' + 1);
    }
    return packed;
}

struct PackedEntry {
    std::uint32_t key;
    std::string_view item;
    bool operator<(const PackedEntry& other) const { return key < other.key; }
};

const std::vector<PackedEntry>& SortedEntries() {
    static const std::vector<PackedEntry> entries = [] {
        std::vector<PackedEntry> sorted;
        for (const auto table : {PhoneticTable(), ComposedPhoneticTable()})
            for (const PhoneticEntry& entry : table)
                sorted.push_back({PackSyllable(entry.syllable.data(), entry.syllable.size()), entry.item});
        std::sort(sorted.begin(), sorted.end());
        return sorted;
    }();
    return entries;
}

} // namespace

std::optional<std::string_view> LookUpPhonetic(QStringView syllable) {
    const std::uint32_t key = PackSyllable(syllable.utf16(), static_cast<std::size_t>(syllable.size()));
    if (key == 0)
        return std::nullopt;
    const auto& entries = SortedEntries();
    const auto found = std::lower_bound(entries.begin(), entries.end(), PackedEntry{key, {}});
    if (found == entries.end() || found->key != key)
        return std::nullopt;
    return found->item;
}

} // namespace lirobel::phonetic
