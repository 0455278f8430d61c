// Reading large dictionaries, against a baseline that only reads the file
// into memory and counts its lines. Prints the peak memory of reading every
// entry line before the runs and the ratios to the baseline after them.

#include "bench_support.h"

#include "data/inifile.h"

#include <benchmark/benchmark.h>

using namespace lexitka;
using namespace lexitka::bench;

namespace {

void setCounters(benchmark::State &state, const QString &path)
{
    state.SetBytesProcessed(state.iterations() * fileSize(path));
    state.counters["entries"] = double(kEntries[size_t(state.range(0))]);
}

void BM_LessonNames(benchmark::State &state)
{
    const QString path = dictionaryFor(state);
    for (auto _ : state) {
        const IniDocument doc = IniDocument::fromFile(path, IniDocument::Mode::NamesOnly);
        const QList<QByteArray> names = doc.sectionNames();
        if (names.size() != kLessons[size_t(state.range(0))])
            state.SkipWithError("wrong lesson count");
        benchmark::DoNotOptimize(names.data());
    }
    setCounters(state, path);
}

// The entry lines of every lesson in one list, the file read piece by piece.
qsizetype collectAllEntries(const QString &path, QList<QByteArray> &out)
{
    bool inLesson = false;
    scanIniFile(
        path, [&](QByteArrayView) { inLesson = true; },
        [&](QByteArrayView key, QByteArrayView value) {
            if (inLesson)
                out.append(key.toByteArray() + '=' + value.toByteArray());
        });
    return out.size();
}

// As the lesson editor does: the whole document, then each lesson's lines.
qsizetype collectThroughDocument(const QString &path, QList<QList<QByteArray>> &out)
{
    const IniDocument doc = IniDocument::fromFile(path, IniDocument::Mode::Full);
    qsizetype total = 0;
    out.reserve(doc.sectionCount());
    for (qsizetype s = 0; s < doc.sectionCount(); ++s) {
        out.append(doc.entryLines(s));
        total += out.back().size();
    }
    return total;
}

void BM_AllEntries(benchmark::State &state)
{
    const QString path = dictionaryFor(state);
    for (auto _ : state) {
        QList<QByteArray> lines;
        if (collectAllEntries(path, lines) != kEntries[size_t(state.range(0))])
            state.SkipWithError("wrong entry count");
        benchmark::DoNotOptimize(lines.data());
    }
    setCounters(state, path);
}

void BM_WholeDocument(benchmark::State &state)
{
    const QString path = dictionaryFor(state);
    for (auto _ : state) {
        QList<QList<QByteArray>> lines;
        if (collectThroughDocument(path, lines) != kEntries[size_t(state.range(0))])
            state.SkipWithError("wrong entry count");
        benchmark::DoNotOptimize(lines.data());
    }
    setCounters(state, path);
}

BENCHMARK(BM_Baseline)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LessonNames)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AllEntries)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WholeDocument)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);

void printRatios(const RatioReporter &reporter)
{
    std::cout << "\nRatios to the baseline (same run):\n";
    for (size_t i = 0; i < std::size(kEntries); ++i) {
        std::cout << "  " << kEntries[i] << " entries:";
        for (const char *name : {"BM_LessonNames", "BM_AllEntries", "BM_WholeDocument"})
            std::cout << "  " << name + 3 << " " << reporter.ratio(name, "BM_Baseline", i) << "x";
        std::cout << "\n";
    }
}

// Peak memory of a reading of the largest dictionary.
void printPeakMemories()
{
    const QString path = generatedDictionary(kEntries[2], kLessons[2]);
    printPeakMemory("lesson names", path, [&] {
        const IniDocument doc = IniDocument::fromFile(path, IniDocument::Mode::NamesOnly);
        benchmark::DoNotOptimize(doc.sectionNames().size());
    });
    printPeakMemory("all entry lines", path, [&] {
        QList<QByteArray> lines;
        benchmark::DoNotOptimize(collectAllEntries(path, lines));
    });
    printPeakMemory("whole document and its lines", path, [&] {
        QList<QList<QByteArray>> lines;
        benchmark::DoNotOptimize(collectThroughDocument(path, lines));
    });
}

} // namespace

int main(int argc, char **argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    // Before the timed runs: their freed heap would hide the growth.
    printPeakMemories();
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    printRatios(reporter);
    benchmark::Shutdown();
    return 0;
}
