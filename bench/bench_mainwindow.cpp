// Opening dictionaries in the main window, offscreen: the lesson list must
// fill and paint without a visible stall, however many lessons there are and
// however long their names.

#include "bench_messenger.h"
#include "generated_dictionary.h"

#include "app/application.h"
#include "app/fmain.h"
#include "app/lessonlist.h"
#include "platform/messenger.h"
#include "platform/services.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QListView>

using namespace lexitka;
using namespace lexitka::bench;

namespace {

struct Program {
    QTemporaryDir folder;
    PrintingMessenger messenger;
    NullKeyboardLayoutService keyboard;
    StdRandomSource random;
    SystemClock clock;
    Services services() { return Services{folder.path(), &messenger, &keyboard, &random, &clock}; }
};

// Opens path in a shown main window, lets the list lay itself out and paints it.
void openAndPaint(benchmark::State &state, const QString &path, int lessons)
{
    Program program;
    LexitkaApp app(program.services(), {});
    app.show();
    TfrmMain &w = app.frmMain();
    for (auto _ : state) {
        w.OpenSlovnik(path);
        QCoreApplication::processEvents();
        benchmark::DoNotOptimize(w.grab());
    }
    if (w.lessons().rowCount() != lessons)
        state.SkipWithError("wrong lesson count");
    state.SetBytesProcessed(state.iterations() * fileSize(path));
}

void BM_OpenSlovnik(benchmark::State &state) { openAndPaint(state, generatedDictionary(1'000'000, 1'000), 1000); }

void BM_OpenManyLessons(benchmark::State &state)
{
    const long lessons = long(state.range(0));
    openAndPaint(state, generatedHeaders(lessons, state.range(1) != 0), int(lessons));
    state.SetLabel(state.range(1) ? "lone CR" : "CR LF");
}

void BM_OpenLongLessonName(benchmark::State &state) { openAndPaint(state, generatedLongName(state.range(0)), 2); }

void BM_StartWithDictionary(benchmark::State &state)
{
    const QString path = generatedDictionary(1'000'000, 1'000);
    Program program;
    for (auto _ : state) {
        LexitkaApp app(program.services(), path);
        app.show();
        QCoreApplication::processEvents();
        benchmark::DoNotOptimize(app.frmMain().grab());
    }
}

BENCHMARK(BM_OpenSlovnik)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpenManyLessons)->ArgsProduct({{100'000, 1'000'000}, {0, 1}})->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpenLongLessonName)->Arg(10'000'000)->Arg(50'000'000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StartWithDictionary)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication qapp(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
