// SPDX-License-Identifier: GPL-3.0-or-later
// Chinese lyrics to pinyin, and pinyin to phonetic symbols, on 1 MB of input each (UTF-16 bytes).
#include "core/phonetic/pinyin_to_phonetic.h"
#include "core/pinyin/chinese_to_pinyin.h"
#include "core/pinyin/chinese_words_to_pinyin.h"
#include "core/pinyin/reading_tables.h"
#include "core/pinyin/unihan_readings.h"
#include "core/pinyin/word_dictionary.h"

#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

constexpr qsizetype kInputBytes = 1 << 20;

// Song lines of common hanzi with the punctuation, spaces and line breaks that lyrics carry.
QString ChineseLyrics() {
    const QString verse = QStringLiteral("我们一起唱这首歌，让快乐的声音飞向远方。\r\n"
                                         "天空中的星星 闪烁着明亮的光芒\r\n"
                                         "Love 你的笑容是我心中最美的风景！\r\n");
    QString lyrics;
    while (lyrics.size() * 2 < kInputBytes)
        lyrics += verse;
    return lyrics.left(kInputBytes / 2);
}

QString PinYinText() {
    const QString pinyin = lirobel::pinyin::ChineseToPinYin(ChineseLyrics());
    QString text;
    while (text.size() * 2 < kInputBytes)
        text += pinyin;
    return text.left(kInputBytes / 2);
}

void BM_ChineseToPinYin(benchmark::State& state) {
    const QString lyrics = ChineseLyrics();
    for (auto _ : state)
        benchmark::DoNotOptimize(lirobel::pinyin::ChineseToPinYin(lyrics));
    state.SetBytesProcessed(state.iterations() * lyrics.size() * 2);
}
BENCHMARK(BM_ChineseToPinYin)->Unit(benchmark::kMillisecond);

void BM_ChineseWordsToPinYin(benchmark::State& state) {
    const QString lyrics = ChineseLyrics();
    if (!lirobel::pinyin::WordReadingProblem().isEmpty()) {
        state.SkipWithError("the word-aware reader cannot load its dictionary");
        return;
    }
    for (auto _ : state)
        benchmark::DoNotOptimize(lirobel::pinyin::ChineseWordsToPinYin(lyrics));
    state.SetBytesProcessed(state.iterations() * lyrics.size() * 2);
}
BENCHMARK(BM_ChineseWordsToPinYin)->Unit(benchmark::kMillisecond);

// What the first reading by words in a process costs after an install or upgrade: building the tables from
// the packages' files, and caching them.
void BM_LoadReadingTablesUncached(benchmark::State& state) {
    QTemporaryDir folder;
    for (auto _ : state) {
        state.PauseTiming();
        QFile::remove(folder.filePath(QStringLiteral("reading-tables")));
        state.ResumeTiming();
        if (!lirobel::pinyin::LoadReadingTables(folder.path())->Problem().isEmpty())
            state.SkipWithError("the tables cannot be built");
    }
}
BENCHMARK(BM_LoadReadingTablesUncached)->Unit(benchmark::kMillisecond)->Iterations(3);

// What it costs in every later process: reading the cache.
void BM_LoadReadingTablesCached(benchmark::State& state) {
    QTemporaryDir folder;
    lirobel::pinyin::LoadReadingTables(folder.path());
    for (auto _ : state) {
        if (!lirobel::pinyin::LoadReadingTables(folder.path())->Problem().isEmpty())
            state.SkipWithError("the tables cannot be loaded");
    }
}
BENCHMARK(BM_LoadReadingTablesCached)->Unit(benchmark::kMillisecond);

// Of the uncached load: building the word and character tables from the database.
void BM_LoadWordDictionary(benchmark::State& state) {
    for (auto _ : state) {
        const lirobel::pinyin::WordDictionary dictionary;
        benchmark::DoNotOptimize(dictionary.Problem());
    }
}
BENCHMARK(BM_LoadWordDictionary)->Unit(benchmark::kMillisecond)->Iterations(3);

// What the first rare character costs: decompressing Unihan and taking its readings.
void BM_LoadUnihanReadings(benchmark::State& state) {
    for (auto _ : state) {
        const lirobel::pinyin::UnihanReadings readings;
        benchmark::DoNotOptimize(readings.Problem());
    }
}
BENCHMARK(BM_LoadUnihanReadings)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_PinYinToPhonetic(benchmark::State& state) {
    const QString pinyin = PinYinText();
    for (auto _ : state)
        benchmark::DoNotOptimize(lirobel::phonetic::PinYinToPhonetic(pinyin, u"Hatsune Miku"));
    state.SetBytesProcessed(state.iterations() * pinyin.size() * 2);
}
BENCHMARK(BM_PinYinToPhonetic)->Unit(benchmark::kMillisecond);

} // namespace
