// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/command.h"

namespace lirobel::cli {

namespace {

constexpr OptionSpec kSinger{"singer", "NAME", {}};

constexpr const OptionSpec* kPhoneticOptions[] = {&kSinger};

constexpr CommandSpec kCommands[] = {
    {"pinyin", {}, "[FILE]", 0, 1, RunPinYin},
    {"phonetic", kPhoneticOptions, "[FILE]", 0, 1, RunPhonetic},
};

} // namespace

std::span<const CommandSpec> Commands() {
    return kCommands;
}

} // namespace lirobel::cli
