// SPDX-License-Identifier: GPL-3.0-or-later
// Commands that turn Japanese lyrics into sequence romaji, with the window's rule settings, and the
// reading of their kanji that comes before.
#include "cli/command.h"
#include "cli/text_io.h"
#include "core/kana/filter_romaji.h"
#include "core/kana/kana_to_romaji.h"
#include "core/kana/kanji_to_kana.h"
#include "core/settings/settings_location.h"

#include <QFileInfo>

namespace lirobel::cli {

namespace {

// The window's settings file (read only; the CLI never creates or writes it), or the one --settings
// names, with --ha, --wo and --zu laid over it. Defaults when the window has none yet.
std::optional<settings::Settings> RuleSettings(const Invocation& invocation, CliContext& context) {
    const std::optional<QString> named = invocation.Option("settings");
    const QString path = named.value_or(settings::CliSettingsPath(context.executableFolder));
    settings::Settings settings;
    if (named || QFileInfo::exists(path)) {
        settings::SettingsFileResult read = settings::ReadSettings(path);
        if (!read.problem.isEmpty()) {
            Fail(context, read.problem);
            return std::nullopt;
        }
        settings = read.settings;
    }
    settings.HaReading = invocation.Option("ha").value_or(settings.HaReading);
    settings.WoReading = invocation.Option("wo").value_or(settings.WoReading);
    settings.ZuReading = invocation.Option("zu").value_or(settings.ZuReading);
    return settings;
}

// The lyrics with their kanji in hiragana; a word on stderr when some kanji could not be read, and
// nothing but the cause when the dictionary cannot be loaded.
std::optional<QString> ReadKanji(const QString& text, CliContext& context) {
    const kana::KanaReading reading = kana::KanjiToKana(text);
    if (!reading.succeeded) {
        Fail(context, reading.failure);
        return std::nullopt;
    }
    if (reading.unreadKanji > 0)
        Tell(context,
             QStringLiteral("kanji without a reading in the dictionary, left as written: %1").arg(reading.unreadKanji));
    return reading.text;
}

int Convert(const Invocation& invocation, CliContext& context,
            kana::RomajiConversion (*converter)(QStringView, const settings::Settings&)) {
    const std::optional<settings::Settings> settings = RuleSettings(invocation, context);
    if (!settings)
        return kExitFailure;
    std::optional<QString> text = ReadInputText(invocation.Input(0), context);
    if (text && invocation.Has("kanji"))
        text = ReadKanji(*text, context);
    if (!text)
        return kExitFailure;
    const kana::RomajiConversion conversion = converter(*text, *settings);
    if (!conversion.succeeded)
        return Fail(context, QStringLiteral("cannot convert the lyrics: ") + conversion.failure);
    return WriteResult(conversion.romaji, context);
}

} // namespace

int RunKana(const Invocation& invocation, CliContext& context) {
    return Convert(invocation, context, kana::KanaToRomaji);
}

int RunReading(const Invocation& invocation, CliContext& context) {
    std::optional<QString> text = ReadInputText(invocation.Input(0), context);
    if (text)
        text = ReadKanji(*text, context);
    return text ? WriteResult(*text, context) : kExitFailure;
}

int RunRomaji(const Invocation& invocation, CliContext& context) {
    return Convert(invocation, context, kana::FilterRomaji);
}

} // namespace lirobel::cli
