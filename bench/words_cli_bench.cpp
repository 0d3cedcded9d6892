// SPDX-License-Identifier: GPL-3.0-or-later
// lirobel-cli pinyin --words end to end on a file of 4 MB of lyrics (the lines of the tests' lyrics table,
// repeated), with the tables cached as they are from the second run after an install on. Wall time
// suffers from a loaded machine: cli_cpu_ms and cpu_MB/s give the program's own CPU time, user and system.
#include <QFile>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <sys/resource.h>

namespace {

QByteArray LyricsFile(qsizetype bytes) {
    QFile table(QStringLiteral(LIROBEL_LYRICS_READINGS));
    if (!table.open(QIODevice::ReadOnly))
        return {};
    QByteArray lines;
    for (const QByteArray& row : table.readAll().split('\n')) {
        if (!row.isEmpty())
            lines += row.left(row.indexOf('\t')) + '\n';
    }
    const QByteArray lyrics = lines.repeated(bytes / lines.size() + 1);
    return lyrics.left(lyrics.lastIndexOf('\n', bytes - 1) + 1); // whole lines, whole characters
}

double ChildrenCpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_CHILDREN, &usage);
    const auto seconds = [](const timeval& time) {
        return static_cast<double>(time.tv_sec) + static_cast<double>(time.tv_usec) / 1e6;
    };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

bool RunCli(const QString& input, const QString& output) {
    QProcess process;
    process.setStandardOutputFile(output);
    process.start(QStringLiteral(LIROBEL_CLI_PATH), {QStringLiteral("pinyin"), QStringLiteral("--words"), input});
    return process.waitForFinished(-1) && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
}

void BM_PinYinWordsCli(benchmark::State& state) {
    const QByteArray lyrics = LyricsFile(state.range(0) << 20);
    QTemporaryDir folder;
    const QString input = folder.filePath(QStringLiteral("lyrics.txt"));
    const QString output = folder.filePath(QStringLiteral("pinyin.txt"));
    QFile file(input);
    if (lyrics.isEmpty() || !file.open(QIODevice::WriteOnly) || file.write(lyrics) != lyrics.size()) {
        state.SkipWithError("cannot write the lyrics");
        return;
    }
    file.close();
    RunCli(input, output); // caches the tables
    const double cpuBefore = ChildrenCpuSeconds();
    for (auto _ : state) {
        if (!RunCli(input, output)) {
            state.SkipWithError("lirobel-cli pinyin --words failed");
            break;
        }
    }
    const double cpu = (ChildrenCpuSeconds() - cpuBefore) / static_cast<double>(state.iterations());
    state.counters["cli_cpu_ms"] = cpu * 1e3;
    state.counters["cpu_MB/s"] = static_cast<double>(lyrics.size()) / 1e6 / cpu;
    state.SetBytesProcessed(state.iterations() * lyrics.size());
}
BENCHMARK(BM_PinYinWordsCli)->Arg(4)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
