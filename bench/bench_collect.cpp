// From "Zkoušej !" to the first question, without a window: collecting the
// words of every lesson of a dictionary and drawing the first one, against
// reading the file and counting its lines (what `wc -l` does, in process and
// as the program itself). Prints the peak memory of a running test before
// the runs, the ratios after them, and Qt's QSettings reading every value of
// the largest file for comparison.

#include "bench_messenger.h"
#include "bench_support.h"

#include "exam/wordcollection.h"
#include "data/inifile.h"
#include "exam/utest.h"
#include "platform/services.h"

#include <QCoreApplication>
#include <QSettings>

using namespace lexitka;
using namespace lexitka::bench;

namespace {

// The test window: opens on the first word and is closed at once.
class NoWindow final : public TestUi {
public:
    void runTestWindow(int) override { }
    void showMistake(const QByteArray &, const QByteArray &, int) override { }
};

// One test of every lesson, as the main window starts it; the words drawn.
struct TestRun {
    QTemporaryDir folder;
    PrintingMessenger messenger;
    StdRandomSource random{7, false};
    NoWindow ui;
    UTest test{folder.path(), random, messenger};
    QList<QByteArray> names;
    QList<bool> ticks;

    explicit TestRun(const QString &path)
    {
        test.setUi(&ui);
        test.DictionaryPath = path;
        test.LanguageCode = LangGerman;
        test.TestKinds = {true, false, false, false};
        // The main window has the names since the dictionary was opened.
        names = SectionNames::fromFile(path).toList();
        ticks = QList<bool>(names.size(), true);
    }
    qint32 start()
    {
        test.WordPool = collectLessonEntries(test.DictionaryPath, names, ticks);
        filterByTestKinds(test.WordPool, false, false);
        test.StartTest(test.LanguageCode);
        return test.RemainCount;
    }
};

void BM_CollectAndDraw(benchmark::State &state)
{
    const QString path = dictionaryFor(state);
    TestRun run(path);
    const long entries = kEntries[size_t(state.range(0))];
    for (auto _ : state) {
        if (run.start() != entries - 1)
            state.SkipWithError("wrong number of words");
    }
    state.SetBytesProcessed(state.iterations() * fileSize(path));
    state.counters["entries"] = double(entries);
}

// Qt's own INI reader on the largest file, every value read once.
void BM_QSettingsReadAll(benchmark::State &state)
{
    const QString path = dictionaryFor(state);
    qint64 values = 0;
    for (auto _ : state) {
        QSettings settings(path, QSettings::IniFormat);
        for (const QString &group : settings.childGroups()) {
            settings.beginGroup(group);
            for (const QString &key : settings.childKeys())
                values += settings.value(key).isValid();
            settings.endGroup();
        }
    }
    benchmark::DoNotOptimize(values);
}

BENCHMARK(BM_Baseline)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WcL)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CollectAndDraw)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_QSettingsReadAll)->Arg(2)->Unit(benchmark::kMillisecond);

void printRatios(const RatioReporter &reporter)
{
    std::cout << "\nRatios (same run):\n";
    for (size_t i = 0; i < std::size(kEntries); ++i)
        std::cout << "  " << kEntries[i] << " entries:  collect and draw / read and count "
                  << reporter.ratio("BM_CollectAndDraw", "BM_Baseline", i) << "x,  / wc -l "
                  << reporter.ratio("BM_CollectAndDraw", "BM_WcL", i) << "x\n";
    std::cout << "  1000000 entries:  QSettings / collect and draw "
              << reporter.ratio("BM_QSettingsReadAll", "BM_CollectAndDraw", 2) << "x\n";
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    // Before the timed runs: their freed heap would hide the growth.
    const QString largest = generatedDictionary(kEntries[2], kLessons[2]);
    TestRun run(largest);
    printPeakMemory("a test of every word", largest, [&] { benchmark::DoNotOptimize(run.start()); });
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    printRatios(reporter);
    benchmark::Shutdown();
    return 0;
}
