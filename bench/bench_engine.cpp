// Drawing every word of a large pool: the cost per draw must not grow with the pool.
#include "bench_messenger.h"

#include "platform/messenger.h"
#include "platform/services.h"
#include "exam/utest.h"

#include <benchmark/benchmark.h>

#include <QDir>

#include <algorithm>
#include <numeric>
#include <random>
#include <vector>

namespace {

QList<QByteArray> makePool(qsizetype n, bool withKinds)
{
    QList<QByteArray> pool;
    pool.reserve(n);
    for (qsizetype i = 0; i < n; ++i) {
        QByteArray line = QByteArray::number(i) + "=word" + QByteArray::number(i) + "\\slovo" + QByteArray::number(i);
        pool.append(withKinds ? QByteArray::number(i % 2) + '\\' + line : line);
    }
    return pool;
}

void drawAll(benchmark::State &state, bool errorsMode)
{
    const qsizetype n = state.range(0);
    const QList<QByteArray> pool = makePool(n, errorsMode);
    lexitka::bench::PrintingMessenger messenger;
    lexitka::StdRandomSource random(42, false);
    lexitka::UTest test(QDir::tempPath(), random, messenger);
    test.ErrorsMode = errorsMode;
    qint64 draws = 0;
    for (auto _ : state) {
        state.PauseTiming();
        test.WordPool = lexitka::LineStore(pool); // a store of its own: the copy is not part of drawing
        state.ResumeTiming();
        while (test.NextWord())
            ++draws;
    }
    if (draws != n * qint64(state.iterations()))
        state.SkipWithError("not every word was drawn");
    state.SetItemsProcessed(draws);
    state.SetComplexityN(n);
}

// Reference: only reads every entry once in a random order. The pool does
// not fit in the caches at 1M lines, so this grows per entry as NextWord does.
void BM_TouchEntriesInRandomOrder(benchmark::State &state)
{
    const qsizetype n = state.range(0);
    const QList<QByteArray> pool = makePool(n, false);
    std::vector<qsizetype> order(size_t(n), 0);
    std::iota(order.begin(), order.end(), 0);
    std::shuffle(order.begin(), order.end(), std::mt19937_64(42));
    for (auto _ : state) {
        qint64 sum = 0;
        for (qsizetype i : order)
            sum += pool[i].at(pool[i].size() - 1);
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(qint64(state.iterations()) * n);
    state.SetComplexityN(n);
}

void BM_NextWordDrawAll(benchmark::State &state) { drawAll(state, false); }
void BM_NextWordDrawAllMistakes(benchmark::State &state) { drawAll(state, true); }

} // namespace

BENCHMARK(BM_NextWordDrawAll)
    ->Arg(10'000)
    ->Arg(100'000)
    ->Arg(1'000'000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);
BENCHMARK(BM_NextWordDrawAllMistakes)
    ->Arg(10'000)
    ->Arg(100'000)
    ->Arg(1'000'000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);

BENCHMARK(BM_TouchEntriesInRandomOrder)
    ->Arg(10'000)
    ->Arg(100'000)
    ->Arg(1'000'000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);

BENCHMARK_MAIN();
