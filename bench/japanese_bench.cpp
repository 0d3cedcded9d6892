// SPDX-License-Identifier: GPL-3.0-or-later
// Japanese lyrics to sequence romaji, kana and romaji, on 1 MB of input each (UTF-16 bytes).
#include "kana/filter_romaji.h"
#include "kana/kana_to_romaji.h"

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
    const lirobel::app::Settings settings;
    for (auto _ : state)
        benchmark::DoNotOptimize(lirobel::kana::KanaToRomaji(lyrics, settings));
    state.SetBytesProcessed(state.iterations() * lyrics.size() * 2);
}
BENCHMARK(BM_KanaToRomaji)->Unit(benchmark::kMillisecond);

void BM_FilterRomaji(benchmark::State& state) {
    const QString lyrics = Repeated(QStringLiteral("Kimi no na wa 君の名は konnichiwa, kitto matcha de /*Happy*/ \r\n"
                                                   "sakura さくら zasshi wo yonde tsukareta shunkan ni\r\n"));
    const lirobel::app::Settings settings;
    for (auto _ : state)
        benchmark::DoNotOptimize(lirobel::kana::FilterRomaji(lyrics, settings));
    state.SetBytesProcessed(state.iterations() * lyrics.size() * 2);
}
BENCHMARK(BM_FilterRomaji)->Unit(benchmark::kMillisecond);

} // namespace
