// Opening a dictionary of 1,000,000 entries in 1,000 lessons in the main
// window, offscreen: the lesson list must fill without a visible stall.

#include "generated_dictionary.h"

#include "app/application.h"
#include "app/fmain.h"
#include "platform/messenger.h"
#include "platform/services.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QListWidget>

#include <iostream>

using namespace lexitka;
using namespace lexitka::bench;

namespace {

// A message box would wait for a click that never comes.
class PrintingMessenger final : public Messenger {
public:
    void information(QWidget *, const QString &text) override { print(text); }
    void error(QWidget *, const QString &text) override { print(text); }
    bool question(QWidget *, const QString &text) override
    {
        print(text);
        return false;
    }

private:
    static void print(const QString &text) { std::cerr << "message: " << text.toStdString() << "\n"; }
};

struct Program {
    QTemporaryDir folder;
    PrintingMessenger messenger;
    NullKeyboardLayoutService keyboard;
    StdRandomSource random;
    SystemClock clock;
    Services services() { return Services{folder.path(), &messenger, &keyboard, &random, &clock}; }
};

void BM_OpenSlovnik(benchmark::State &state)
{
    const QString path = generatedDictionary(1'000'000, 1'000);
    Program program;
    LexitkaApp app(program.services(), path);
    app.show();
    TfrmMain &w = app.frmMain();
    for (auto _ : state) {
        w.OpenSlovnik(path);
        QCoreApplication::processEvents(); // let the list lay itself out
    }
    if (w.lbLekce->count() != 1000)
        state.SkipWithError("wrong lesson count");
    state.SetBytesProcessed(state.iterations() * fileSize(path));
}

void BM_StartWithDictionary(benchmark::State &state)
{
    const QString path = generatedDictionary(1'000'000, 1'000);
    Program program;
    for (auto _ : state) {
        LexitkaApp app(program.services(), path);
        app.show();
        QCoreApplication::processEvents();
        benchmark::DoNotOptimize(app.frmMain().lbLekce->count());
    }
}

BENCHMARK(BM_OpenSlovnik)->Unit(benchmark::kMillisecond);
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
