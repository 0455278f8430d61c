// Exporting and printing one big lesson: German-like entry lines with
// windows-1250 letters, every fourth word without an article.
#include "data/dictionary.h"
#include "editor/lessonprint.h"
#include "editor/rtfwriter.h"
#include "platform/fonts.h"

#include <QGuiApplication>
#include <QPrinter>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdio>

using namespace lexitka;

namespace {

QList<QByteArray> lessonLines(long count)
{
    QList<QByteArray> lines;
    lines.reserve(count);
    char line[128];
    for (long i = 0; i < count; ++i) {
        const int n = std::snprintf(line, sizeof line, "%ld=%ld\\Wort%07ld\\W\xF6rter%05ld\\slov\xED\xE8ko %06ld", i,
                                    i % 4, i, i % 100000, i);
        lines.append(QByteArray(line, n));
    }
    return lines;
}

QTemporaryDir &folder()
{
    static QTemporaryDir dir;
    return dir;
}

// From the lesson's lines to the file on disk, as the browser exports them.
void BM_ExportRtf(benchmark::State &state)
{
    const LineStore lines(lessonLines(state.range(0)));
    const QString path = folder().filePath(QStringLiteral("lesson.rtf"));
    for (auto _ : state) {
        if (!exportLessonLinesRtf(path, lines, LangGerman))
            state.SkipWithError("cannot write the RTF file");
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

void BM_PrintToPdf(benchmark::State &state)
{
    const QList<QByteArray> lines = lessonLines(state.range(0));
    const QString path = folder().filePath(QStringLiteral("lesson.pdf"));
    for (auto _ : state) {
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(path);
        if (printLesson(printer, "Lekce 1", lines, LangGerman) != PrintResult::Printed)
            state.SkipWithError("cannot print to PDF");
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

} // namespace

BENCHMARK(BM_ExportRtf)->Arg(10'000)->Arg(100'000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PrintToPdf)->Arg(10'000)->Arg(100'000)->Unit(benchmark::kMillisecond)->Iterations(2);

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    installFontSubstitutes();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
