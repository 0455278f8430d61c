// Reading large dictionaries, against a baseline that only reads the file
// into memory and counts its lines. Prints the peak memory of reading every
// entry line before the runs and the ratios to the baseline after them.

#include "bench_support.h"

#include "data/fileread.h"
#include "data/sectionnames.h"
#include "editor/lessonbook.h"
#include "exam/wordcollection.h"

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
        const SectionNames names = SectionNames::fromFile(path);
        if (names.size() != kLessons[size_t(state.range(0))])
            state.SkipWithError("wrong lesson count");
        benchmark::DoNotOptimize(names.size());
    }
    setCounters(state, path);
}

// The entry lines of every lesson, as a test over every lesson collects them.
qsizetype collectAllEntries(const QString &path, LineStore &out)
{
    const SectionNames names = SectionNames::fromFile(path);
    out = collectLessonEntries(path, names, QList<bool>(names.size(), true));
    return out.size();
}

// As the lesson editor does: the whole dictionary, each lesson's lines apart.
qsizetype collectThroughBook(const QString &path, LessonBook &book)
{
    book.load(readWholeFile(path), QByteArray());
    return book.lineCount();
}

void BM_AllEntries(benchmark::State &state)
{
    const QString path = dictionaryFor(state);
    for (auto _ : state) {
        LineStore lines;
        if (collectAllEntries(path, lines) != kEntries[size_t(state.range(0))])
            state.SkipWithError("wrong entry count");
        benchmark::DoNotOptimize(lines.size());
    }
    setCounters(state, path);
}

void BM_WholeBook(benchmark::State &state)
{
    const QString path = dictionaryFor(state);
    for (auto _ : state) {
        LessonBook book;
        if (collectThroughBook(path, book) != kEntries[size_t(state.range(0))])
            state.SkipWithError("wrong entry count");
        benchmark::DoNotOptimize(book.count());
    }
    setCounters(state, path);
}

BENCHMARK(BM_Baseline)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LessonNames)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AllEntries)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WholeBook)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);

void printRatios(const RatioReporter &reporter)
{
    std::cout << "\nRatios to the baseline (same run):\n";
    for (size_t i = 0; i < std::size(kEntries); ++i) {
        std::cout << "  " << kEntries[i] << " entries:";
        for (const char *name : {"BM_LessonNames", "BM_AllEntries", "BM_WholeBook"})
            std::cout << "  " << name + 3 << " " << reporter.ratio(name, "BM_Baseline", i) << "x";
        std::cout << "\n";
    }
}

// Peak memory of a reading of the largest dictionary.
void printPeakMemories()
{
    const QString path = generatedDictionary(kEntries[2], kLessons[2]);
    printPeakMemory("lesson names", path, [&] { benchmark::DoNotOptimize(SectionNames::fromFile(path).size()); });
    printPeakMemory("all entry lines", path, [&] {
        LineStore lines;
        benchmark::DoNotOptimize(collectAllEntries(path, lines));
    });
    printPeakMemory("the lesson editor's book", path, [&] {
        LessonBook book;
        benchmark::DoNotOptimize(collectThroughBook(path, book));
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
