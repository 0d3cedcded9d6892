// SPDX-License-Identifier: GPL-3.0-or-later
// Japanese lyrics to sequence romaji, kana and romaji, on 1 MB of input each (UTF-16 bytes), and the
// reading of their kanji, with the dictionary's load apart.
#include "core/kana/filter_romaji.h"
#include "core/kana/kana_to_romaji.h"
#include "core/kana/kanji_to_kana.h"

#include <benchmark/benchmark.h>

namespace {

constexpr qsizetype kInputBytes = 1 << 20;

QString Repeated(const QString& verse) {
    QString lyrics;
    while (lyrics.size() * 2 < kInputBytes)
        lyrics += verse;
    return lyrics.left(kInputBytes / 2);
}

void BM_KanaToRomaji(benchmark::State& state) {
    const QString lyrics = Repeated(QStringLiteral("きみのなまえは　しゃしんのなかで　きゃっとわらった\r\n"
                                                   "コーヒーをのみながら　ちょっとまって　ふぁんたじー！\r\n"));
    const lirobel::settings::Settings settings;
    for (auto _ : state)
        benchmark::DoNotOptimize(lirobel::kana::KanaToRomaji(lyrics, settings));
    state.SetBytesProcessed(state.iterations() * lyrics.size() * 2);
}
BENCHMARK(BM_KanaToRomaji)->Unit(benchmark::kMillisecond);

void BM_FilterRomaji(benchmark::State& state) {
    const QString lyrics = Repeated(QStringLiteral("Kimi no na wa 君の名は konnichiwa, kitto matcha de /*Happy*/ \r\n"
                                                   "sakura さくら zasshi wo yonde tsukareta shunkan ni\r\n"));
    const lirobel::settings::Settings settings;
    for (auto _ : state)
        benchmark::DoNotOptimize(lirobel::kana::FilterRomaji(lyrics, settings));
    state.SetBytesProcessed(state.iterations() * lyrics.size() * 2);
}
BENCHMARK(BM_FilterRomaji)->Unit(benchmark::kMillisecond);

void BM_KanjiToKana(benchmark::State& state) {
    const QString lyrics = Repeated(QStringLiteral("君の名前を呼んだ　夜空に輝く星を見上げて\n"
                                                   "運命(さだめ)の人に逢いたくて、3回目の春が来た\n"));
    lirobel::kana::KanjiToKana(u"漢字"); // the dictionary loads once, before the clock starts
    for (auto _ : state)
        benchmark::DoNotOptimize(lirobel::kana::KanjiToKana(lyrics));
    state.SetBytesProcessed(state.iterations() * lyrics.size() * 2);
}
BENCHMARK(BM_KanjiToKana)->Unit(benchmark::kMillisecond);

void BM_LoadJapaneseDictionary(benchmark::State& state) {
    for (auto _ : state) {
        const lirobel::kana::KanjiReader reader(lirobel::kana::InstalledDictionaryFolder());
        if (!reader.LoadFailure().isEmpty())
            state.SkipWithError(reader.LoadFailure().toStdString().c_str());
    }
}
BENCHMARK(BM_LoadJapaneseDictionary)->Unit(benchmark::kMillisecond);

} // namespace
