// Opening the statistics window over a long file: five tests a day, so
// 10,000 records are five years of daily practice.
#include "data/savefile.h"
#include "stats/fstatistic.h"
#include "stats/statistics.h"
#include "stats/statisticsreport.h"
#include "statistics_records.h"

#include <QApplication>
#include <QBarSet>
#include <QLineEdit>
#include <QPixmap>

#include <benchmark/benchmark.h>

using namespace lexitka;

namespace {

// Made in main(): a window must go before the application object.
TfrmStatistic *g_window = nullptr;

TfrmStatistic &window()
{
    g_window->resize(800, 600);
    return *g_window;
}

// Table, overall average, chart and filtered average, as each showing does.
void BM_FillWindow(benchmark::State &state)
{
    const QList<QByteArray> lines = bench::statisticsRecordLines(state.range(0));
    TfrmStatistic &w = window();
    for (auto _ : state) {
        w.setLines(lines);
        w.FormShow();
        benchmark::DoNotOptimize(w.barSet->count());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

// From the file's bytes to the painted window, as the user first sees it.
void BM_FillAndPaintWindow(benchmark::State &state)
{
    const QByteArray bytes = joinCrLf(bench::statisticsRecordLines(state.range(0)));
    TfrmStatistic &w = window();
    for (auto _ : state) {
        w.setLines(splitLines(bytes));
        w.FormShow();
        const QPixmap shot = w.grab();
        benchmark::DoNotOptimize(shot.cacheKey());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

// The file's bytes read into records: where each line lies and its success.
void BM_ReportFromText(benchmark::State &state)
{
    const QByteArray bytes = joinCrLf(bench::statisticsRecordLines(state.range(0)));
    for (auto _ : state) {
        const StatisticsReport report = StatisticsReport::fromText(bytes);
        benchmark::DoNotOptimize(report.size());
    }
    state.SetBytesProcessed(state.iterations() * bytes.size());
}

// Typing a filter and pressing "Zobraz".
void BM_FilterChart(benchmark::State &state)
{
    TfrmStatistic &w = window();
    w.setLines(bench::statisticsRecordLines(state.range(0)));
    w.FormShow();
    for (auto _ : state) {
        w.edtZ->setText(QStringLiteral("Lekce 3,esko"));
        w.ShowGraf();
        benchmark::DoNotOptimize(w.chartData().average);
    }
}

} // namespace

BENCHMARK(BM_FillWindow)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FillAndPaintWindow)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReportFromText)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FilterChart)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    {
        TfrmStatistic w;
        g_window = &w;
        benchmark::RunSpecifiedBenchmarks();
        g_window = nullptr;
    }
    benchmark::Shutdown();
    return 0;
}
