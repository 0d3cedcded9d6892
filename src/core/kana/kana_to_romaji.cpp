// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/kana/kana_to_romaji.h"

#include "core/kana/kana_table.h"

#include <array>
#include <cstdint>

namespace lirobel::kana {

namespace {

// Every kana of the tables lies in the hiragana and katakana blocks.
constexpr char16_t kFirstKana = 0x3040;
constexpr char16_t kLastKana = 0x30FF;

// Per kana, its entry in the single-kana or small-kana table (plus one; zero for none), so that the
// conversion costs one lookup per character.
class KanaIndex {
public:
    KanaIndex() {
        const auto singles = SingleKanaTable();
        for (std::size_t i = 0; i < singles.size(); ++i) {
            m_single[singles[i].hiragana - kFirstKana] = static_cast<std::uint8_t>(i + 1);
            m_single[singles[i].katakana - kFirstKana] = static_cast<std::uint8_t>(i + 1);
        }
        const auto smalls = SmallKanaTable();
        for (std::size_t i = 0; i < smalls.size(); ++i) {
            m_small[smalls[i].hiragana - kFirstKana] = static_cast<std::uint8_t>(i + 1);
            m_small[smalls[i].katakana - kFirstKana] = static_cast<std::uint8_t>(i + 1);
        }
    }

    const SingleKana* Single(QChar c) const { return Find(m_single, SingleKanaTable(), c); }
    const SmallKana* Small(QChar c) const { return Find(m_small, SmallKanaTable(), c); }

private:
    using Slots = std::array<std::uint8_t, kLastKana - kFirstKana + 1>;

    template <typename Entry> static const Entry* Find(const Slots& entries, std::span<const Entry> table, QChar c) {
        if (c.unicode() < kFirstKana || c.unicode() > kLastKana)
            return nullptr;
        const int entry = entries[c.unicode() - kFirstKana];
        return entry == 0 ? nullptr : &table[entry - 1];
    }

    Slots m_single{};
    Slots m_small{};
};

const KanaIndex& Index() {
    static const KanaIndex index;
    return index;
}

QStringView RuleValue(RuleToken rule, const settings::Settings& settings) {
    switch (rule) {
    case RuleToken::Ha:
        return settings.HaReading;
    case RuleToken::Wo:
        return settings.WoReading;
    case RuleToken::Zu:
        return settings.ZuReading;
    case RuleToken::None:
        break;
    }
    return {};
}

QLatin1StringView Latin1(std::string_view text) {
    return QLatin1StringView(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace

RomajiConversion KanaToRomaji(QStringView text, const settings::Settings& settings) {
    const KanaIndex& index = Index();
    if (!text.isEmpty() && index.Small(text.front()))
        return RomajiConversion::Failed(
            QStringLiteral("the lyrics begin with the small kana \"%1\", which has no kana before it to merge with")
                .arg(text.front()));

    QString romaji;
    romaji.reserve(text.size() * 3);
    qsizetype lastTokenStart = -1;
    for (qsizetype p = 0; p < text.size(); ++p) {
        if (const SingleKana* kana = index.Single(text[p])) {
            if (lastTokenStart >= 0)
                romaji += u' ';
            lastTokenStart = romaji.size();
            if (kana->rule == RuleToken::None)
                romaji += Latin1(kana->token);
            else
                romaji += RuleValue(kana->rule, settings);
        } else if (const SmallKana* small = index.Small(text[p])) {
            // The look-back is on the text, one character wide: every partner appended a token of its own
            // when it was read, so that token is the last one.
            const char16_t before = text[p - 1].unicode();
            for (const Partner& partner : small->partners) {
                if (before == partner.hiragana || before == partner.katakana) {
                    romaji.truncate(lastTokenStart);
                    romaji += Latin1(partner.token);
                    break;
                }
            }
        }
    }
    return {true, romaji, {}};
}

} // namespace lirobel::kana
