// SPDX-License-Identifier: GPL-3.0-or-later
// The .vpr pour on a project of 30,000 notes in one part, in the layouts of versions 5 and 6: the rewrite
// in memory (JSON edits and the archive written anew), and lirobel-cli pour end to end.
// Run with --benchmark_repetitions=9 for medians.
#include "core/vpr/rewrite_project.h"
#include "support/vpr_generator.h"
#include "support/vsqx_generator.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <unistd.h>

namespace {

namespace test = lirobel::test;

constexpr int kNotes = 30000;

QByteArray Project(benchmark::State& state) {
    const auto layout = static_cast<test::VprLayout>(state.range(0));
    const QByteArray file =
        test::GenerateVpr(layout, test::GenerateSequence(layout, test::GenerateVprNotes(layout, kNotes), 1));
    state.counters["file_MB"] = static_cast<double>(file.size()) / 1e6;
    return file;
}

void BM_RewriteProject(benchmark::State& state) {
    const QByteArray file = Project(state);
    const QString phonetic = test::GeneratePhonetic(kNotes);
    for (auto _ : state) {
        const std::optional<lirobel::vsqx::PhoneticRewrite> rewrite = lirobel::vpr::RewriteProject(file, phonetic);
        if (!rewrite || !rewrite->ok || rewrite->notesWritten != kNotes)
            state.SkipWithError("the rewrite did not fill every note");
        benchmark::DoNotOptimize(rewrite->text.data());
    }
    state.SetBytesProcessed(state.iterations() * file.size());
}
BENCHMARK(BM_RewriteProject)->DenseRange(0, 1)->Unit(benchmark::kMillisecond);

bool WriteWhole(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// Each run gets a fresh copy of the project, on disk before the run; the copy is not timed.
void BM_PourCliProject(benchmark::State& state) {
    const QByteArray file = Project(state);
    QTemporaryDir folder;
    const QString song = folder.filePath(QStringLiteral("song.vpr"));
    const QString phonetic = folder.filePath(QStringLiteral("phonetic.txt"));
    if (!WriteWhole(phonetic, test::GeneratePhonetic(kNotes).toUtf8())) {
        state.SkipWithError("cannot write the phonetic string");
        return;
    }
    for (auto _ : state) {
        state.PauseTiming();
        const bool copied = WriteWhole(song, file);
        sync();
        state.ResumeTiming();
        QProcess process;
        process.start(QStringLiteral(LIROBEL_CLI_PATH), {QStringLiteral("pour"), song, phonetic});
        if (!copied || !process.waitForFinished(-1) || process.exitCode() != 0) {
            state.SkipWithError("lirobel-cli pour did not complete");
            break;
        }
    }
    state.SetBytesProcessed(state.iterations() * file.size());
}
BENCHMARK(BM_PourCliProject)->DenseRange(0, 1)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
