// SPDX-License-Identifier: GPL-3.0-or-later
// What a lirobel-cli command declares about itself, and what it receives when it runs.
#pragma once

#include "cli/cli.h"

#include <QHash>
#include <array>
#include <optional>
#include <span>
#include <string_view>

namespace lirobel::cli {

struct OptionSpec {
    std::string_view name;                   ///< without the leading "--"
    std::string_view valueName;              ///< shown in the usage when any value is allowed
    std::array<std::string_view, 2> choices; ///< the two allowed values, or empty for any value
    bool namesFile = false;                  ///< the value is a file name, which cannot be empty
    bool takesNoValue = false;               ///< a switch: present or absent
};

/// A command's options and operands, as parsed from its command line.
struct Invocation {
    QHash<QString, QString> options; ///< by name without "--"; only options the command takes
    QStringList operands;

    std::optional<QString> Option(std::string_view name) const;
    bool Has(std::string_view name) const { return Option(name).has_value(); }
    /// The operand at index, which names the input: "-" (standard input) when absent.
    QString Input(qsizetype index) const { return operands.value(index, QStringLiteral("-")); }
};

struct CommandSpec {
    std::string_view name;
    std::span<const OptionSpec* const> options;
    std::string_view operands; ///< as shown in the usage, e.g. "SONG [FILE]"
    int requiredOperands;
    int maximumOperands;
    int (*run)(const Invocation&, CliContext&);
};

/// The command table, in the order the usage lists the commands.
std::span<const CommandSpec> Commands();

// The commands. Each returns an exit code.
int RunKana(const Invocation& invocation, CliContext& context);
int RunReading(const Invocation& invocation, CliContext& context);
int RunRomaji(const Invocation& invocation, CliContext& context);
int RunPinYin(const Invocation& invocation, CliContext& context);
int RunPhonetic(const Invocation& invocation, CliContext& context);
int RunPour(const Invocation& invocation, CliContext& context);
int RunLyrics(const Invocation& invocation, CliContext& context);

} // namespace lirobel::cli
