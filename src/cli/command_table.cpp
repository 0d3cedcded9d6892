// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/command.h"

namespace lirobel::cli {

namespace {

constexpr OptionSpec kHa{"ha", {}, {"ha", "wa"}};
constexpr OptionSpec kWo{"wo", {}, {"o", "wo"}};
constexpr OptionSpec kZu{"zu", {}, {"zu", "du"}};
constexpr OptionSpec kSettings{"settings", "PATH", {}, true};
constexpr OptionSpec kSinger{"singer", "NAME", {}};
constexpr OptionSpec kSkipHeld{"skip-held", {}, {}, false, true};
constexpr OptionSpec kDryRun{"dry-run", {}, {}, false, true};
constexpr OptionSpec kKanji{"kanji", {}, {}, false, true};
constexpr OptionSpec kWords{"words", {}, {}, false, true};
constexpr OptionSpec kFromNotes{"from-notes", {}, {}, false, true};
constexpr OptionSpec kList{"list", {}, {}, false, true};

constexpr const OptionSpec* kKanaOptions[] = {&kKanji, &kHa, &kWo, &kZu, &kSettings};
constexpr const OptionSpec* kRomajiOptions[] = {&kWo, &kZu, &kSettings};
constexpr const OptionSpec* kPinYinOptions[] = {&kWords};
constexpr const OptionSpec* kPhoneticOptions[] = {&kSinger};
constexpr const OptionSpec* kPourOptions[] = {&kSkipHeld, &kDryRun, &kList, &kFromNotes, &kWords};

// One command a line, as the usage lists them.
// clang-format off
constexpr CommandSpec kCommands[] = {
    {"kana", kKanaOptions, "[FILE]", 0, 1, RunKana},
    {"reading", {}, "[FILE]", 0, 1, RunReading},
    {"romaji", kRomajiOptions, "[FILE]", 0, 1, RunRomaji},
    {"pinyin", kPinYinOptions, "[FILE]", 0, 1, RunPinYin},
    {"phonetic", kPhoneticOptions, "[FILE]", 0, 1, RunPhonetic},
    {"pour", kPourOptions, "SONG [FILE]", 1, 2, RunPour},
    {"lyrics", {}, "SONG", 1, 1, RunLyrics},
};
// clang-format on

} // namespace

std::span<const CommandSpec> Commands() {
    return kCommands;
}

} // namespace lirobel::cli
