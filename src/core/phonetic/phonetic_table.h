// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QStringView>
#include <optional>
#include <span>
#include <string_view>

namespace lirobel::phonetic {

/// The marker after an item's symbols when its note needs the opening parameter changed.
inline constexpr std::string_view kOpeMarker = "[-OPE]";

/// A pinyin syllable and the body of its phonetic item: symbols separated by single spaces,
/// optionally followed by kOpeMarker; the closing "|" is not part of it.
struct PhoneticEntry {
    std::string_view syllable;
    std::string_view item;
};

/// The 397 entries, grouped by initial; the order carries no meaning. Holds every syllable of the
/// pinyin table and "din".
std::span<const PhoneticEntry> PhoneticTable();

/// The entries for the syllables PhoneticTable() lacks that a reader can write or that standard pinyin
/// has (dei, shei, pou, ei, m, ...), each composed of that table's own symbols for its initial and final.
std::span<const PhoneticEntry> ComposedPhoneticTable();

/// The item body of a syllable from either table, compared whole and case-sensitively ("Ba" and "ba " are not "ba"),
/// or nothing when the syllable is not in the table.
std::optional<std::string_view> LookUpPhonetic(QStringView syllable);

} // namespace lirobel::phonetic
