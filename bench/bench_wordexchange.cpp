// Importing and exporting 100,000 words as tab-separated text and KVTML,
// measured as a user waits for them: a fresh process each time, beside
// `cat` (reading the same bytes) and `cp` (reading and writing them) in the
// same run. Import: from the file on disk to the words in the book, the
// preview included. Export: from the book to the file on disk through the
// save path. The children start the toolkit and, for an export, load the
// dictionary first; those floors are measured alone too, and the ratios are
// printed with and without them. A warm in-process run of the work alone
// follows.

#include "bench_messenger.h"
#include "fresh_process.h"
#include "generated_dictionary.h"

#include "data/fileread.h"
#include "data/linestore.h"
#include "data/savefile.h"
#include "editor/fimport.h"
#include "editor/lessonbook.h"
#include "exchange/kvtml.h"
#include "exchange/kvtmlwriter.h"
#include "exchange/wordexport.h"
#include "exchange/wordimport.h"

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QXmlStreamReader>

#include <cstdio>
#include <iostream>
#include <map>

#include <malloc.h>

using namespace lexitka;
using namespace lexitka::bench;

namespace {

constexpr long kWords = 100'000;
constexpr long kLessons = 100;
constexpr int kRuns = 5;

QString dictionary() { return generatedDictionary(kWords, kLessons); }
QString wordFile(const char *suffix)
{
    return benchFolder().filePath(QStringLiteral("words.") + QLatin1String(suffix));
}

LessonBook loadBook(const QString &path)
{
    LessonBook book;
    book.load(readWholeFile(path), QByteArray());
    return book;
}

QList<ExportLesson> exportedLessons(const LessonBook &book)
{
    QList<ExportLesson> lessons;
    for (qsizetype i = 0; i < book.mistakesIndex(); ++i)
        lessons.append({book.name(i), book.lines(i)});
    return lessons;
}

// What the export does once the file is chosen: the lessons written
// through the safe save path as they are made.
bool exportTo(const QString &path, const LessonBook &book, bool kvtml)
{
    const QList<ExportLesson> lessons = exportedLessons(book);
    return saveFileInPieces(path, [&](ByteSink &sink) {
        return kvtml ? writeKvtml(sink, lessons, LangGerman, QStringLiteral("words"))
                     : writeTsv(sink, lessons, LangGerman);
    });
}

// What "Importovat slovíčka…" does once the file is chosen: the preview of
// the file and its guesses taken as they are, one lesson per lesson of the
// file, the words put into the book. The number of words that arrived.
qsizetype importInto(LessonBook &book, const QString &path)
{
    const bool kvtml = path.endsWith(QLatin1String(".kvtml"));
    QByteArray file;
    std::optional<WordTable> table;
    DelimitedHead head;
    if (kvtml) {
        QFile device(path);
        if (device.open(QIODevice::ReadOnly))
            table = readKvtml(&device);
    } else {
        file = readWholeFile(path);
        head = readDelimitedHead(QByteArrayView(file), CodePage::Cp1250, TfrmImport::kPreviewRows + 1);
    }
    const QByteArrayView bytes(file);
    ImportResult result;
    {
        TfrmImport preview(nullptr, path, LangGerman, head, nullptr, table, QStringLiteral("Lekce"), false,
                           QStringLiteral("Import"));
        const bool byLesson = preview.target() == TfrmImport::Target::LessonPerFileLesson;
        result = kvtml ? importRows(preview.table(), preview.choice(), LangGerman, byLesson)
                       : importDelimited(bytes, head, preview.header(), preview.choice(), LangGerman, byLesson);
    }
    qsizetype words = 0;
    for (const ImportedLesson &lesson : std::as_const(result.lessons)) {
        book.insertLesson(book.mistakesIndex(), {lesson.name.toUtf8(), LineStore(lesson.lines)});
        words += lesson.lines.size();
    }
    return words;
}

// The children. Exit code 0 only when the work was all done.
int runChild(const QStringList &args)
{
    const QString what = args.value(0);
    if (what == QLatin1String("start"))
        return 0;
    if (what == QLatin1String("book"))
        return loadBook(args.value(1)).lineCount() == kWords ? 0 : 1;
    if (what == QLatin1String("import")) {
        LessonBook book;
        return importInto(book, args.value(1)) == kWords ? 0 : 1;
    }
    if (what == QLatin1String("reader")) {
        // QXmlStreamReader's own loop over the file and nothing else: the
        // floor of reading KVTML with it, fed the file as a device or as
        // one array of its bytes.
        QFile device(args.value(2));
        if (!device.open(QIODevice::ReadOnly))
            return 1;
        QByteArray bytes;
        QXmlStreamReader xml;
        if (args.value(1) == QLatin1String("array")) {
            bytes = device.readAll();
            xml.addData(bytes);
        } else {
            xml.setDevice(&device);
        }
        qsizetype tokens = 0;
        while (!xml.atEnd()) {
            xml.readNext();
            ++tokens;
        }
        return !xml.hasError() && tokens > kWords ? 0 : 1;
    }
    if (what == QLatin1String("prepare")) { // the word lists, written once per run
        const LessonBook book = loadBook(args.value(1));
        return exportTo(args.value(2), book, false) && exportTo(args.value(3), book, true) ? 0 : 1;
    }
    if (what == QLatin1String("export")) {
        const LessonBook book = loadBook(args.value(1));
        const QString out = args.value(2);
        return exportTo(out, book, out.endsWith(QLatin1String(".kvtml"))) ? 0 : 1;
    }
    return 2;
}

struct Measured {
    double wallMs = 0, cpuMs = 0, peakMiB = 0;
};
std::map<std::string, Measured> &results()
{
    static std::map<std::string, Measured> r;
    return r;
}

void measured(benchmark::State &state, const std::string &name, const QStringList &command, bool quiet)
{
    Measured sum;
    for (auto _ : state) {
        const ProcessCost c = runMeasured(command, quiet ? "/dev/null" : nullptr);
        if (!c.ok) {
            state.SkipWithError(("failed: " + command.join(u' ').toStdString()).c_str());
            return;
        }
        state.SetIterationTime(c.wallMs / 1e3);
        sum.wallMs += c.wallMs;
        sum.cpuMs += c.cpuMs;
        sum.peakMiB = std::max(sum.peakMiB, c.peakMiB);
    }
    const double n = double(state.iterations());
    results()[name] = {sum.wallMs / n, sum.cpuMs / n, sum.peakMiB};
    state.counters["cpu_ms"] = sum.cpuMs / n;
    state.counters["peak_MiB"] = sum.peakMiB;
}

// quiet: the output goes to /dev/null rather than through a pipe to us.
void registerProcess(const std::string &name, const QStringList &command, bool quiet = false)
{
    benchmark::RegisterBenchmark(name.c_str(),
                                 [name, command, quiet](benchmark::State &s) { measured(s, name, command, quiet); })
        ->UseManualTime()
        ->Iterations(kRuns)
        ->Unit(benchmark::kMillisecond);
}

void printRatio(const char *what, const std::string &work, const std::string &floor, const std::string &base)
{
    const auto &r = results();
    if (!r.count(work) || !r.count(floor) || !r.count(base))
        return;
    const Measured &w = r.at(work), &f = r.at(floor), &b = r.at(base);
    std::printf("%-14s wall %6.1fx  cpu %6.1fx   without the start: wall %5.1fx  cpu %5.1fx   peak %6.1f MiB\n", what,
                w.wallMs / b.wallMs, w.cpuMs / std::max(b.cpuMs, 0.1), (w.wallMs - f.wallMs) / b.wallMs,
                (w.cpuMs - f.cpuMs) / std::max(b.cpuMs, 0.1), w.peakMiB);
}

// The work alone, warm, in this process.
void BM_WarmImport(benchmark::State &state, const char *suffix)
{
    const QString path = wordFile(suffix);
    for (auto _ : state) {
        LessonBook book;
        if (importInto(book, path) != kWords)
            state.SkipWithError("words lost");
    }
    state.SetItemsProcessed(state.iterations() * kWords);
}

void BM_WarmExport(benchmark::State &state, bool kvtml)
{
    const LessonBook book = loadBook(dictionary());
    const QString out = benchFolder().filePath(kvtml ? QStringLiteral("warm.kvtml") : QStringLiteral("warm.tsv"));
    for (auto _ : state)
        benchmark::DoNotOptimize(exportTo(out, book, kvtml));
    state.SetItemsProcessed(state.iterations() * kWords);
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication qapp(argc, argv);
    if (argc > 1 && qstrcmp(argv[1], "--child") == 0)
        return runChild(QCoreApplication::arguments().mid(2));
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    // The word lists are made by a child: a child's peak memory counts what
    // it shares of ours until its exec, so this process stays small.
    const QString dict = dictionary();
    if (!runMeasured(selfAsChild({QStringLiteral("prepare"), dict, wordFile("tsv"), wordFile("kvtml")})).ok) {
        std::cerr << "the word lists could not be written\n";
        return 1;
    }
    malloc_trim(0);
    const QString copy = benchFolder().filePath(QStringLiteral("copy"));
    // The floor of the peak memory: what a child shares of this process.
    registerProcess("true", {QStringLiteral("true")});
    for (const char *suffix : {"tsv", "kvtml"}) {
        const QString file = wordFile(suffix);
        const std::string s(suffix);
        registerProcess("cat " + s, {QStringLiteral("cat"), file}, true);
        registerProcess("cp " + s, {QStringLiteral("cp"), file, copy});
        registerProcess("import " + s, selfAsChild({QStringLiteral("import"), file}));
        registerProcess("export " + s,
                        selfAsChild({QStringLiteral("export"), dict,
                                     benchFolder().filePath(QStringLiteral("out.") + QLatin1String(suffix))}));
    }
    for (const char *feed : {"file", "array"})
        registerProcess(std::string("kvtml reader alone, ") + feed,
                        selfAsChild({QStringLiteral("reader"), QLatin1String(feed), wordFile("kvtml")}));
    registerProcess("child start", selfAsChild({QStringLiteral("start")}));
    registerProcess("child start, book loaded", selfAsChild({QStringLiteral("book"), dict}));
    benchmark::RegisterBenchmark("warm import tsv", BM_WarmImport, "tsv")->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("warm import kvtml", BM_WarmImport, "kvtml")->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("warm export tsv", BM_WarmExport, false)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("warm export kvtml", BM_WarmExport, true)->Unit(benchmark::kMillisecond);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();

    std::printf("\n%lu words; TSV %lld bytes, KVTML %lld bytes. Against cat (import) and cp (export):\n", kWords,
                qint64(QFileInfo(wordFile("tsv")).size()), qint64(QFileInfo(wordFile("kvtml")).size()));
    printRatio("import tsv", "import tsv", "child start", "cat tsv");
    printRatio("import kvtml", "import kvtml", "child start", "cat kvtml");
    printRatio("reader, file", "kvtml reader alone, file", "child start", "cat kvtml");
    printRatio("reader, array", "kvtml reader alone, array", "child start", "cat kvtml");
    printRatio("export tsv", "export tsv", "child start, book loaded", "cp tsv");
    printRatio("export kvtml", "export kvtml", "child start, book loaded", "cp kvtml");
    return 0;
}
