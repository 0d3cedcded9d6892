// SPDX-License-Identifier: GPL-3.0-or-later
// The VSQX rewrite in memory, and lirobel-cli pour end to end, on files of 1,000, 10,000 and 30,000 notes
// in the editor's layout; the rewrite of a file whose marked items all find one far opening attribute; and
// both on a file of the fourth version of 30,000 notes. The end-to-end runs are measured against the durable
// floor, cp and fdatasync of the same file, in the same run, and against that floor with the rename over
// the old content that any replacement makes.
// Run with --benchmark_repetitions=9 for medians. The CLI's peak memory is not measured here: a child
// started from this process inherits its high-water mark. Measure it with /usr/bin/time -f %M on a copy
// of a generated file instead.
#include "core/vsqx/file_lines.h"
#include "core/vsqx/put_phonetic_to_vsqx.h"
#include "core/vsqx/put_phonetic_to_vsqx4.h"
#include "support/vsqx_generator.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <chrono>
#include <fcntl.h>
#include <unistd.h>

namespace {

using namespace lirobel::vsqx;
namespace test = lirobel::test;

// Two tracks of five parts each.
QByteArray EditorFile(benchmark::State& state, int version = 3) {
    const QByteArray file =
        test::GenerateVsqx({2, 5, static_cast<int>(state.range(0)) / 10, test::LineEnds::CrLf, version});
    state.counters["file_MB"] = static_cast<double>(file.size()) / 1e6;
    return file;
}

void BM_PutPhoneticToVSQX(benchmark::State& state) {
    QByteArray text = EditorFile(state);
    JoinFileLines(text);
    const QString phonetic = test::GeneratePhonetic(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        const PhoneticRewrite rewrite = PutPhoneticToVSQX(text, phonetic);
        if (!rewrite.ok || rewrite.notesWritten != state.range(0))
            state.SkipWithError("the rewrite did not fill every note");
        benchmark::DoNotOptimize(rewrite.text.data());
    }
    state.SetBytesProcessed(state.iterations() * text.size());
}
BENCHMARK(BM_PutPhoneticToVSQX)->Arg(1000)->Arg(10000)->Arg(30000)->Unit(benchmark::kMillisecond);

// The fourth version is rewritten as it is read, lines not joined.
void BM_PutPhoneticToVSQX4(benchmark::State& state) {
    const QByteArray file = EditorFile(state, 4);
    const QString phonetic = test::GeneratePhonetic(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        const PhoneticRewrite rewrite = PutPhoneticToVSQX4(file, phonetic);
        if (!rewrite.ok || rewrite.notesWritten != state.range(0))
            state.SkipWithError("the rewrite did not fill every note");
        benchmark::DoNotOptimize(rewrite.text.data());
    }
    state.SetBytesProcessed(state.iterations() * file.size());
}
BENCHMARK(BM_PutPhoneticToVSQX4)->Arg(30000)->Unit(benchmark::kMillisecond);

// The editor's file of 30,000 notes (15.5 MB once its lines are joined) with the opening attribute taken
// out of every note and one left at the very end, and the given number of items, every one marked
// [-OPE]: each marked item finds that far attribute, which must cost no more than a near one.
void BM_PutPhoneticToVSQXFarOpening(benchmark::State& state) {
    static const QByteArray kOpening = "<attr id=\"opening\">127</attr>";
    QByteArray text = test::GenerateVsqx({2, 5, 3000, test::LineEnds::CrLf});
    text.replace("\t\t\t\t\t" + kOpening + "\r\n", "");
    text.replace("</vsq3>", kOpening + "\r\n</vsq3>");
    JoinFileLines(text);
    state.counters["file_MB"] = static_cast<double>(text.size()) / 1e6;
    const int items = static_cast<int>(state.range(0));
    const QString phonetic = QStringLiteral("J i[-OPE]|").repeated(items);
    for (auto _ : state) {
        const PhoneticRewrite rewrite = PutPhoneticToVSQX(text, phonetic);
        if (!rewrite.ok || rewrite.notesWritten != items ||
            !rewrite.text.endsWith("<attr id=\"opening\">0</attr></vsq3>"))
            state.SkipWithError("the rewrite did not fill the notes and the far opening");
        benchmark::DoNotOptimize(rewrite.text.data());
    }
    state.SetBytesProcessed(state.iterations() * text.size());
}
BENCHMARK(BM_PutPhoneticToVSQXFarOpening)->Arg(2000)->Arg(16000)->Unit(benchmark::kMillisecond);

QString CliPath() {
    return QStringLiteral(LIROBEL_CLI_PATH);
}

bool WriteWhole(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// The durable floor of a pour: cp of the same file and fdatasync of the copy, started as a process as
// the pour is. No pour can beat it, since it must read the file and put as many bytes safely on disk.
double DurableFloorSeconds(const QString& original, const QString& copy) {
    QFile::remove(copy);
    sync();
    const auto start = std::chrono::steady_clock::now();
    QProcess process;
    process.start(QStringLiteral("cp"), {original, copy});
    const int file = process.waitForFinished(-1) && process.exitCode() == 0
                         ? ::open(QFile::encodeName(copy).constData(), O_RDONLY | O_CLOEXEC)
                         : -1;
    if (file < 0 || ::fdatasync(file) != 0)
        return -1;
    ::close(file);
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// What no replacement of a file can avoid either: the floor, and a rename of the copy over the song, which
// frees the old content's blocks (on a disk mounted with discard, the filesystem trims them there and then).
double ReplaceFloorSeconds(const QString& original, const QString& copy, const QString& song) {
    const double floor = DurableFloorSeconds(original, copy);
    const auto start = std::chrono::steady_clock::now();
    if (floor < 0 || ::rename(QFile::encodeName(copy).constData(), QFile::encodeName(song).constData()) != 0)
        return -1;
    return floor + std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// Each run gets a fresh copy of the editor's file, on disk before the run as a user's file would be; the
// copy is not timed. Every run is followed by one of the durable floor on the same file, untimed too:
// the pairs alternate, so that the load of a shared machine weighs on both alike. "to_floor" is the
// pour's time over the floor's, and "floor_ms" the floor's mean; "to_replace" is the pour's time over
// that of the floor followed by a rename over the poured song.
void PourCli(benchmark::State& state, int version) {
    const QByteArray file = EditorFile(state, version);
    QTemporaryDir folder;
    const QString song = folder.filePath(QStringLiteral("song.vsqx"));
    const QString original = folder.filePath(QStringLiteral("original.vsqx"));
    const QString phonetic = folder.filePath(QStringLiteral("phonetic.txt"));
    if (!WriteWhole(phonetic, test::GeneratePhonetic(static_cast<int>(state.range(0))).toUtf8()) ||
        !WriteWhole(original, file)) {
        state.SkipWithError("cannot write the phonetic string or the file");
        return;
    }
    double pours = 0;
    double floors = 0;
    double replaces = 0;
    for (auto _ : state) {
        state.PauseTiming();
        const bool copied = WriteWhole(song, file);
        sync();
        state.ResumeTiming();
        const auto start = std::chrono::steady_clock::now();
        QProcess process;
        process.start(CliPath(), {QStringLiteral("pour"), song, phonetic});
        if (!copied || !process.waitForFinished(-1) || process.exitCode() != 0) {
            state.SkipWithError("lirobel-cli pour did not complete");
            break;
        }
        pours += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        state.PauseTiming();
        const double floor = DurableFloorSeconds(original, folder.filePath(QStringLiteral("copy.vsqx")));
        if (floor < 0) {
            state.SkipWithError("cp and fdatasync of the file did not complete");
            break;
        }
        floors += floor;
        const double replace = ReplaceFloorSeconds(original, folder.filePath(QStringLiteral("copy.vsqx")), song);
        if (replace < 0) {
            state.SkipWithError("cp, fdatasync and rename over the song did not complete");
            break;
        }
        replaces += replace;
        state.ResumeTiming();
    }
    state.SetBytesProcessed(state.iterations() * file.size());
    if (floors > 0) {
        state.counters["to_floor"] = pours / floors;
        state.counters["floor_ms"] = 1e3 * floors / static_cast<double>(state.iterations());
    }
    if (replaces > 0)
        state.counters["to_replace"] = pours / replaces;
}
void BM_PourCli(benchmark::State& state) {
    PourCli(state, 3);
}
BENCHMARK(BM_PourCli)->Arg(1000)->Arg(10000)->Arg(30000)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_PourCli4(benchmark::State& state) {
    PourCli(state, 4);
}
BENCHMARK(BM_PourCli4)->Arg(30000)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
