#pragma once

// What the benchmarks over generated dictionaries share: their sizes, the
// baseline that reads a file and counts its lines (what `wc -l` does), a
// reporter that keeps each run's time for the ratios printed after the runs,
// and the peak memory of some work measured in a child process.

#include "generated_dictionary.h"

#include <benchmark/benchmark.h>

#include <QFile>
#include <QProcess>

#include <cstring>
#include <functional>
#include <iostream>
#include <map>
#include <string>

#include <sys/wait.h>
#include <unistd.h>

namespace lexitka::bench {

constexpr long kLessons[] = {10, 100, 1000};
constexpr long kEntries[] = {10'000, 100'000, 1'000'000};

inline QString dictionaryFor(const benchmark::State &state)
{
    const auto i = size_t(state.range(0));
    return generatedDictionary(kEntries[i], kLessons[i]);
}

inline qsizetype countLines(const QByteArray &bytes)
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

inline void BM_Baseline(benchmark::State &state)
{
    const QString path = dictionaryFor(state);
    for (auto _ : state) {
        QFile f(path);
        if (!f.open(QIODevice::ReadOnly))
            state.SkipWithError("cannot open");
        const QByteArray bytes = f.readAll();
        benchmark::DoNotOptimize(countLines(bytes));
    }
    state.SetBytesProcessed(state.iterations() * fileSize(path));
    state.counters["entries"] = double(kEntries[size_t(state.range(0))]);
}

// `wc -l` itself, started as a program: what "as fast as the file can be
// read" means to a user.
inline void BM_WcL(benchmark::State &state)
{
    const QString path = dictionaryFor(state);
    for (auto _ : state) {
        QProcess wc;
        wc.start(QStringLiteral("wc"), {QStringLiteral("-l"), path});
        if (!wc.waitForFinished() || wc.exitCode() != 0)
            state.SkipWithError("wc -l did not run");
    }
}

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

    // a/i over b/i, or -1 when either did not run. Built piece by piece, as
    // GCC 12 at -O3 sees a false overlap in "/" + std::to_string(i).
    double ratio(const char *a, const char *b, size_t i) const
    {
        auto name = [i](const char *run) {
            std::string key(run);
            key += '/';
            key += std::to_string(i);
            return key;
        };
        const auto x = times.find(name(a));
        const auto y = times.find(name(b));
        return x == times.end() || y == times.end() || y->second <= 0 ? -1.0 : x->second / y->second;
    }
};

// Peak resident memory that `work` adds, as a multiple of the file's size.
// The work runs in a child process of its own, so that no heap left over
// from earlier work hides its growth; run it before the timed runs.
inline void printPeakMemory(const char *what, const QString &path, const std::function<void()> &work)
{
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
        work();
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

} // namespace lexitka::bench
