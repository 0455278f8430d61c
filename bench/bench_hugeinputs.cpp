// Hostile inputs, measured as a user waits for them (a fresh process each
// time, beside `wc -l` and `cp` of the same file in the same run): the lesson
// browser over a million lessons against the main window over the same
// file, and the program started and closed with a settings file of 67 MB in
// three million sections.

#include "bench_messenger.h"
#include "fresh_process.h"
#include "generated_dictionary.h"

#include "app/application.h"
#include "app/fmain.h"
#include "editor/fviewedit.h"
#include "platform/services.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>

#include <iostream>

#include <malloc.h>

using namespace lexitka;
using namespace lexitka::bench;

namespace {

// A million lessons of one word each.
QString millionLessons()
{
    const QString path = benchFolder().filePath(QStringLiteral("million_lessons.en"));
    if (QFileInfo::exists(path))
        return path;
    QByteArray bytes;
    bytes.reserve(1'000'000 * 32);
    for (int l = 1; l <= 1'000'000; ++l)
        bytes.append("[Lekce ").append(QByteArray::number(l)).append("]\r\n0=dog\\pes\r\n");
    QFile out(path);
    if (out.open(QIODevice::WriteOnly))
        out.write(bytes);
    return path;
}

// A program folder whose lexitka.ini has the program's own section first
// and three million others after it, the dictionary's extension last.
QString hugeSettingsFolder()
{
    const QString folder = benchFolder().filePath(QStringLiteral("huge_settings"));
    const QString ini = folder + QStringLiteral("/lexitka.ini");
    if (QFileInfo::exists(ini))
        return folder;
    QDir().mkpath(folder);
    QFile::copy(generatedDictionary(10'000, 10), folder + QStringLiteral("/small.de"));
    QByteArray bytes = "[Slovnik]\r\nFile=" + QFile::encodeName(folder) + "/small.de\r\nstatistic=1\r\nerrors=1\r\n";
    bytes.reserve(70'000'000);
    for (int s = 0; s < 3'000'000; ++s)
        bytes.append("[s").append(QByteArray::number(s)).append("]\r\nk=v\r\n");
    bytes.append("[de]\r\n0=1\r\n1=0\r\n2=0\r\n3=0\r\n");
    QFile out(ini);
    if (out.open(QIODevice::WriteOnly))
        out.write(bytes);
    return folder;
}

struct Program {
    PrintingMessenger messenger;
    NullKeyboardLayoutService keyboard;
    StdRandomSource random;
    SystemClock clock;
};

// The children: what the user waits for, from the program's start on.
int runChild(const QStringList &args)
{
    Program p;
    const QString what = args.value(0);
    QTemporaryDir scratch;
    const QString folder = what == QLatin1String("settings") ? args.value(1) : scratch.path();
    const Services services{folder, &p.messenger, &p.keyboard, &p.random, &p.clock};
    const QString dictionary = what == QLatin1String("settings") ? QString() : args.value(1);
    LexitkaApp app(services, dictionary);
    app.show();
    QCoreApplication::processEvents();
    app.frmMain().grab();
    if (what == QLatin1String("browser")) {
        TfrmViewEdt &view = app.frmViewEdt();
        view.ViewLessonIndex = 0;
        view.setDictionary(app.test().dictionary());
        if (!view.FormShow())
            return 1;
        view.show();
        QCoreApplication::processEvents();
        view.grab();
        if (view.WordLists.count() != 1'000'001)
            return 1;
    } else if (what == QLatin1String("settings")) {
        // A change, so that closing really writes the file.
        app.frmMain().chbStatistika->toggle();
    }
    app.frmMain().close();
    return 0;
}

void BM_WcL(benchmark::State &state, const QString &path)
{
    measureProcess(state, {QStringLiteral("wc"), QStringLiteral("-l"), path});
}

void BM_Cp(benchmark::State &state, const QString &path)
{
    const QString copy = benchFolder().filePath(QStringLiteral("copy"));
    measureProcess(state, {QStringLiteral("cp"), path, copy});
}

void BM_MainWindowMillionLessons(benchmark::State &state)
{
    measureProcess(state, selfAsChild({QStringLiteral("main"), millionLessons()}));
}

void BM_BrowserMillionLessons(benchmark::State &state)
{
    measureProcess(state, selfAsChild({QStringLiteral("browser"), millionLessons()}));
}

void BM_StartAndCloseWithHugeSettings(benchmark::State &state)
{
    measureProcess(state, selfAsChild({QStringLiteral("settings"), hugeSettingsFolder()}));
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (argc > 1 && qstrcmp(argv[1], "--child") == 0) {
        QApplication qapp(argc, argv);
        return runChild(QCoreApplication::arguments().mid(2));
    }
    QApplication qapp(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    const QString lessons = millionLessons();
    const QString ini = hugeSettingsFolder() + QStringLiteral("/lexitka.ini");
    // A child's peak memory counts what it shares of ours until its exec.
    malloc_trim(0);
    // The floor of the peak memory: what a child shares of this process.
    benchmark::RegisterBenchmark("true",
                                 [](benchmark::State &state) { measureProcess(state, {QStringLiteral("true")}); })
        ->UseManualTime()
        ->Iterations(3);
    benchmark::RegisterBenchmark("wc -l, a million lessons", BM_WcL, lessons)->UseManualTime()->Iterations(3);
    benchmark::RegisterBenchmark("main window, a million lessons", BM_MainWindowMillionLessons)
        ->UseManualTime()
        ->Iterations(3)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("lesson browser, a million lessons", BM_BrowserMillionLessons)
        ->UseManualTime()
        ->Iterations(3)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("wc -l, 67 MB lexitka.ini", BM_WcL, ini)->UseManualTime()->Iterations(3);
    benchmark::RegisterBenchmark("cp, 67 MB lexitka.ini", BM_Cp, ini)->UseManualTime()->Iterations(3);
    benchmark::RegisterBenchmark("start and close, 67 MB lexitka.ini", BM_StartAndCloseWithHugeSettings)
        ->UseManualTime()
        ->Iterations(3)
        ->Unit(benchmark::kMillisecond);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
