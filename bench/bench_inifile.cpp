// Reading large dictionaries, against a baseline that only reads the file
// into memory and counts its lines. Prints the ratios to the baseline and
// the peak memory of reading every entry line after the runs.

#include "generated_dictionary.h"

#include "data/inifile.h"

#include <benchmark/benchmark.h>

#include <QFile>

#include <cstring>
#include <iostream>
#include <map>

#include <sys/wait.h>
#include <unistd.h>

using namespace lexitka;
using namespace lexitka::bench;

namespace {

constexpr long kLessons[] = {10, 100, 1000};
constexpr long kEntries[] = {10'000, 100'000, 1'000'000};

QString dictionaryFor(const benchmark::State &state)
{
    const auto i = size_t(state.range(0));
    return generatedDictionary(kEntries[i], kLessons[i]);
}

qsizetype countLines(const QByteArray &bytes)
{
    qsizetype lines = 0;
    const char *p = bytes.constData();
    const char *end = p + bytes.size();
    while (const void *lf = std::memchr(p, '\n', size_t(end - p))) {
        ++lines;
        p = static_cast<const char *>(lf) + 1;
    }
    return lines;
}

void setCounters(benchmark::State &state, const QString &path)
{
    state.SetBytesProcessed(state.iterations() * fileSize(path));
    state.counters["entries"] = double(kEntries[size_t(state.range(0))]);
}

void BM_Baseline(benchmark::State &state)
{
    const QString path = dictionaryFor(state);
    for (auto _ : state) {
        QFile f(path);
        if (!f.open(QIODevice::ReadOnly))
            state.SkipWithError("cannot open");
        const QByteArray bytes = f.readAll();
        benchmark::DoNotOptimize(countLines(bytes));
    }
    setCounters(state, path);
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

// As a test collection does: the entry lines of every lesson in one list.
qsizetype collectAllEntries(const QString &path, QList<QByteArray> &out)
{
    const qsizetype lessons = kLessons[std::size(kLessons) - 1];
    appendEntryLines(path, QList<bool>(lessons * 10, true), out);
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

// Keeps the console output and remembers each run's time for the ratios.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    std::map<std::string, double> times;
    void ReportRuns(const std::vector<Run> &runs) override
    {
        for (const Run &r : runs) {
            if (r.run_type == Run::RT_Iteration && !r.error_occurred)
                times[r.benchmark_name()] = r.GetAdjustedRealTime();
        }
        ConsoleReporter::ReportRuns(runs);
    }
};

// "BM_Baseline/2": appended piece by piece, as GCC 12 at -O3 sees a false
// overlap in "/" + std::to_string(i).
std::string runName(const char *name, size_t i)
{
    std::string key(name);
    key += '/';
    key += std::to_string(i);
    return key;
}

void printRatios(const RatioReporter &reporter)
{
    std::cout << "\nRatios to the baseline (same run):\n";
    for (size_t i = 0; i < std::size(kEntries); ++i) {
        const auto base = reporter.times.find(runName("BM_Baseline", i));
        if (base == reporter.times.end() || base->second <= 0)
            continue;
        std::cout << "  " << kEntries[i] << " entries:";
        for (const char *name : {"BM_LessonNames", "BM_AllEntries", "BM_WholeDocument"}) {
            const auto t = reporter.times.find(runName(name, i));
            if (t != reporter.times.end())
                std::cout << "  " << name + 3 << " " << t->second / base->second << "x";
        }
        std::cout << "\n";
    }
}

// Peak resident memory added by a reading of the largest dictionary, as a
// multiple of its file size. Each reading runs in a child process of its
// own, so that no heap left over from another reading hides the growth.
void printPeakMemory(const char *what, void (*read)(const QString &))
{
    const QString path = generatedDictionary(kEntries[2], kLessons[2]);
    const double size = double(fileSize(path));
    std::cout.flush();
    const pid_t child = fork();
    if (child == 0) {
        if (!resetPeakRss()) {
            std::cout << "Peak memory, " << what << ": cannot be measured here\n";
            std::cout.flush();
            _exit(0);
        }
        const qint64 before = currentRss();
        read(path);
        const qint64 peak = peakRss();
        std::cout << "Peak memory, " << what << ": " << (peak - before) / (1024 * 1024) << " MiB for a "
                  << qint64(size) / (1024 * 1024) << " MiB file = " << double(peak - before) / size << "x\n";
        std::cout.flush();
        _exit(0);
    }
    int status = 0;
    if (child > 0)
        waitpid(child, &status, 0);
}

void printPeakMemory()
{
    printPeakMemory("lesson names", [](const QString &path) {
        const IniDocument doc = IniDocument::fromFile(path, IniDocument::Mode::NamesOnly);
        benchmark::DoNotOptimize(doc.sectionNames().size());
    });
    printPeakMemory("all entry lines", [](const QString &path) {
        QList<QByteArray> lines;
        benchmark::DoNotOptimize(collectAllEntries(path, lines));
    });
    printPeakMemory("whole document and its lines", [](const QString &path) {
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
    printPeakMemory();
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    printRatios(reporter);
    benchmark::Shutdown();
    return 0;
}
