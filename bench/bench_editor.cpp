// The lesson editor over large dictionaries: opening the browser against the
// baseline that only reads the file and counts its lines, the normalising
// save against a plain write of as many bytes, switching to a big lesson
// with its first screen painted, and sorting a big lesson.

#include "bench_messenger.h"
#include "bench_support.h"

#include "editor/fviewedit.h"
#include "editor/lessonbook.h"
#include "editor/lessonmodel.h"
#include "data/fileread.h"
#include "data/savefile.h"
#include "platform/messenger.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QTableView>

#include <algorithm>
#include <cstring>
#include <iostream>
#include <map>
#include <numeric>
#include <random>

using namespace lexitka;
using namespace lexitka::bench;

namespace {

// A browser on a dictionary, as the program has it, shown offscreen.
struct Browser {
    QTemporaryDir folder;
    PrintingMessenger messenger;
    TfrmViewEdt view{messenger};
    explicit Browser(const QString &path) { view.setDictionary(openDictionary(folder.path(), path, LangGerman)); }
};

void setCounters(benchmark::State &state, qint64 bytes)
{
    state.SetBytesProcessed(state.iterations() * bytes);
    state.counters["entries"] = double(kEntries[size_t(state.range(0))]);
}

void BM_ShowBrowser(benchmark::State &state)
{
    const QString path = dictionaryFor(state);
    Browser b(path);
    for (auto _ : state) {
        if (!b.view.FormShow())
            state.SkipWithError("cannot read");
    }
    if (b.view.WordLists.lineCount() != kEntries[size_t(state.range(0))]
        || b.view.cmbLekce->count() != kLessons[size_t(state.range(0))] + 1)
        state.SkipWithError("wrong count");
    setCounters(state, fileSize(path));
}

QByteArray savedBytesOf(const QString &path)
{
    LessonBook book;
    book.load(readWholeFile(path), {});
    return book.dictionaryBytes();
}

void BM_PlainWrite(benchmark::State &state)
{
    const qsizetype size = savedBytesOf(dictionaryFor(state)).size();
    const QByteArray bytes(size, 'x');
    const QString target = benchFolder().filePath(QStringLiteral("plain.de"));
    for (auto _ : state) {
        QFile f(target);
        if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != size)
            state.SkipWithError("cannot write");
    }
    setCounters(state, size);
}

void BM_NormalisingSave(benchmark::State &state)
{
    LessonBook book;
    book.load(readWholeFile(dictionaryFor(state)), {});
    const QString target = benchFolder().filePath(QStringLiteral("saved.de"));
    qsizetype size = 0;
    for (auto _ : state) {
        // As the browser saves: straight from the lessons to the file.
        if (!saveFileInPieces(target, [&book](ByteSink &sink) { return book.writeDictionary(sink); }))
            state.SkipWithError("cannot save");
    }
    size = qsizetype(fileSize(target));
    setCounters(state, size);
}

// One lesson of 10k, 100k or 1M words; switching comes from the empty
// mistakes entry each time.
void BM_SwitchToLesson(benchmark::State &state)
{
    const long words = kEntries[size_t(state.range(0))];
    Browser b(generatedDictionary(words, 1));
    b.view.resize(764, 513);
    b.view.show();
    b.view.FormShow();
    QCoreApplication::processEvents();
    for (auto _ : state) {
        state.PauseTiming();
        b.view.cmbLekce->setCurrentIndex(1);
        b.view.cmbLekceChange();
        b.view.sgList->viewport()->repaint();
        state.ResumeTiming();
        b.view.cmbLekce->setCurrentIndex(0);
        b.view.cmbLekceChange();
        b.view.sgList->viewport()->repaint();
    }
    if (b.view.model().rowCount() != words)
        state.SkipWithError("wrong row count");
    state.counters["entries"] = double(words);
    b.view.hide();
}

void BM_SortLesson(benchmark::State &state)
{
    const long words = kEntries[size_t(state.range(0))];
    LessonBook book;
    book.load(readWholeFile(generatedDictionary(words, 1)), {});
    LineStore shuffled = book.lines(0);
    QList<qsizetype> order(shuffled.size());
    std::iota(order.begin(), order.end(), 0);
    std::shuffle(order.begin(), order.end(), std::mt19937(42));
    shuffled.permute(order);
    for (auto _ : state) {
        LineStore lines = shuffled; // shares everything: sorting makes its own order
        sortBySlovo(lines, LangGerman);
        benchmark::DoNotOptimize(lines.size());
    }
    state.counters["entries"] = double(words);
}

BENCHMARK(BM_Baseline)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WcL)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ShowBrowser)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlainWrite)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_NormalisingSave)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SwitchToLesson)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SortLesson)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);

void printRatios(const RatioReporter &reporter)
{
    std::cout << "\nRatios (same run):\n";
    for (size_t i = 0; i < std::size(kEntries); ++i)
        std::cout << "  " << kEntries[i] << " entries:  browser/baseline "
                  << reporter.ratio("BM_ShowBrowser", "BM_Baseline", i) << "x  browser/wc -l "
                  << reporter.ratio("BM_ShowBrowser", "BM_WcL", i) << "x  save/plain write "
                  << reporter.ratio("BM_NormalisingSave", "BM_PlainWrite", i) << "x\n";
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    printRatios(reporter);
    benchmark::Shutdown();
    return 0;
}
