// SPDX-License-Identifier: GPL-3.0-or-later
// Command-line parsing and dispatch. Options follow the usual conventions: "--name value" or
// "--name=value", anywhere among the operands; "--" ends the options; "-" is an operand (standard input).
#include "cli/cli.h"
#include "cli/command.h"
#include "cli/text_io.h"

#include <algorithm>

namespace lirobel::cli {

namespace {

QString Latin1(std::string_view text) {
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

QString Synopsis(const CommandSpec& command) {
    QString line = Latin1(command.name).leftJustified(8);
    for (const OptionSpec* option : command.options) {
        line += QStringLiteral(" [--") + Latin1(option->name);
        if (!option->takesNoValue)
            line +=
                u' ' + (option->choices[0].empty() ? Latin1(option->valueName)
                                                   : Latin1(option->choices[0]) + u'|' + Latin1(option->choices[1]));
        line += u']';
    }
    return line + u' ' + Latin1(command.operands);
}

QString Usage() {
    QString usage;
    for (const CommandSpec& command : Commands())
        usage += (usage.isEmpty() ? QStringLiteral("usage: ") : QStringLiteral("       ")) +
                 QStringLiteral("lirobel-cli ") + Synopsis(command) + u'\n';
    return usage + QStringLiteral("       lirobel-cli --help | --version\n");
}

int UsageError(CliContext& context, const QString& problem, const CommandSpec* command) {
    Fail(context, problem, kExitUsage);
    WriteText(context.err, command ? QStringLiteral("usage: lirobel-cli ") + Synopsis(*command) + u'\n' : Usage());
    return kExitUsage;
}

const OptionSpec* FindOption(const CommandSpec& command, QStringView name) {
    const auto found = std::find_if(command.options.begin(), command.options.end(),
                                    [&](const OptionSpec* option) { return name == Latin1(option->name); });
    return found == command.options.end() ? nullptr : *found;
}

int RunCommand(const CommandSpec& command, const QStringList& arguments, CliContext& context) {
    Invocation invocation;
    bool optionsEnded = false;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        if (optionsEnded || argument == u"-" || !argument.startsWith(u'-')) {
            invocation.operands.append(argument);
            continue;
        }
        if (argument == u"--") {
            optionsEnded = true;
            continue;
        }
        if (argument == u"--help" || argument == u"-h")
            return WriteOutput(QStringLiteral("usage: lirobel-cli ") + Synopsis(command) + u'\n', context);
        const qsizetype equals = argument.indexOf(u'=');
        const QString name = argument.mid(2, equals < 0 ? -1 : equals - 2);
        const OptionSpec* option = argument.startsWith(u"--") ? FindOption(command, name) : nullptr;
        if (!option)
            return UsageError(context, QStringLiteral("'%1' takes no option '%2'").arg(Latin1(command.name), argument),
                              &command);
        QString value;
        if (option->takesNoValue) {
            if (equals >= 0)
                return UsageError(context, QStringLiteral("option '--%1' takes no value").arg(name), &command);
        } else if (equals >= 0) {
            value = argument.mid(equals + 1);
        } else if (i + 1 < arguments.size()) {
            value = arguments[++i];
        } else {
            return UsageError(context, QStringLiteral("option '--%1' needs a value").arg(name), &command);
        }
        if (!option->choices[0].empty() && value != Latin1(option->choices[0]) && value != Latin1(option->choices[1]))
            return UsageError(context,
                              QStringLiteral("option '--%1' takes %2 or %3, not '%4'")
                                  .arg(name, Latin1(option->choices[0]), Latin1(option->choices[1]), value),
                              &command);
        // Left to the file functions, an empty name would draw a warning of Qt's own.
        if (option->namesFile && value.isEmpty())
            return UsageError(context, QStringLiteral("option '--%1' needs a file name, not an empty value").arg(name),
                              &command);
        invocation.options.insert(name, value);
    }
    if (invocation.operands.size() < command.requiredOperands)
        return UsageError(context, QStringLiteral("'%1' needs %2").arg(Latin1(command.name), Latin1(command.operands)),
                          &command);
    if (invocation.operands.size() > command.maximumOperands)
        return UsageError(context, QStringLiteral("too many operands for '%1'").arg(Latin1(command.name)), &command);
    return command.run(invocation, context);
}

} // namespace

std::optional<QString> Invocation::Option(std::string_view name) const {
    const auto found = options.constFind(Latin1(name));
    if (found == options.constEnd())
        return std::nullopt;
    return *found;
}

int RunCli(const QStringList& arguments, CliContext& context) {
    if (arguments.isEmpty())
        return UsageError(context, QStringLiteral("no command given"), nullptr);
    const QString& first = arguments.first();
    if (first == u"--help" || first == u"-h")
        return WriteOutput(Usage(), context);
    if (first == u"--version")
        return WriteOutput(QStringLiteral("lirobel-cli " LIROBEL_VERSION "\n"), context);
    for (const CommandSpec& command : Commands()) {
        if (first == Latin1(command.name))
            return RunCommand(command, arguments.mid(1), context);
    }
    return UsageError(context, QStringLiteral("unknown command '%1'").arg(first), nullptr);
}

} // namespace lirobel::cli
