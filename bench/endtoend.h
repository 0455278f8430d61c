#pragma once

// End to end, as a user waits: each measurement is a fresh process, the
// benchmark's own executable in a child mode that builds the real program,
// opens its real windows offscreen and presses their real buttons. The child
// times its operation (from the click to the window being ready, CPU of the
// main thread and wall) and prints it; the parent adds the process's own
// cost and peak memory as the kernel counts them, and sets it beside a plain
// read or write of the same file (`wc -l`, `cat`, `cp`) measured in the same
// run, and beside the same child over a small file.
//
// A benchmark file has child modes (name → function) and rows; its main()
// is `return e2e::run(argc, argv, children, rows);`. Medians of
// LEXITKA_E2E_REPS runs (3 when unset); LEXITKA_E2E_SCALE divides the sizes
// of the files for a quick check; LEXITKA_E2E_COMPARE runs the rows of
// another build of the same benchmark beside these.

#include "bench_messenger.h"
#include "fresh_process.h"
#include "generated_dictionary.h"
#include "statistics_records.h"

#include "app/application.h"
#include "app/fmain.h"
#include "platform/fonts.h"
#include "platform/services.h"
#include "platform/translation.h"
#include "stats/statistics.h"

#include <QApplication>
#include <QDir>
#include <QEvent>
#include <QPixmap>
#include <QTimer>
#include <QWidget>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <iostream>
#include <map>
#include <optional>
#include <set>
#include <vector>

#include <malloc.h>
#include <time.h>

namespace lexitka::bench::e2e {

// ---- the files, written once per run into the benchmark's temporary folder

inline long scale()
{
    const long s = qEnvironmentVariableIntValue("LEXITKA_E2E_SCALE");
    return s > 1 ? s : 1;
}

inline long scaled(long n) { return std::max(1L, n / scale()); }

// Lessons of one word each, lines of 25 to 30 bytes.
inline QString oneWordLessons(long lessons)
{
    const QString path = benchFolder().filePath(QStringLiteral("one_word_%1.de").arg(lessons));
    if (QFileInfo::exists(path))
        return path;
    QFile out(path);
    if (!out.open(QIODevice::WriteOnly))
        return path;
    QByteArray chunk;
    chunk.reserve(1 << 20);
    char line[128];
    for (long l = 1; l <= lessons; ++l) {
        const int n =
            std::snprintf(line, sizeof line, "[Lekce %ld - slov\xED\xE8ko]\r\n0=Wort%07ld\\slovo %ld\r\n", l, l, l);
        chunk.append(line, n);
        if (chunk.size() > (1 << 20) - 256) {
            out.write(chunk);
            chunk.clear();
        }
    }
    out.write(chunk);
    return path;
}

// A statistics file of `records` lines, five tests a day.
inline QString statisticsRecords(long records)
{
    const QString path = benchFolder().filePath(QStringLiteral("statistic_%1.des").arg(records));
    if (QFileInfo::exists(path))
        return path;
    QByteArray bytes;
    bytes.reserve(records * 64);
    for (const QByteArray &line : statisticsRecordLines(records))
        bytes.append(line).append("\r\n");
    QFile out(path);
    if (out.open(QIODevice::WriteOnly))
        out.write(bytes);
    return path;
}

// A program folder of its own (settings, mistakes, statistics) for a row,
// kept for the whole run; `files` are copied in under their new names.
inline QString programFolder(const QString &name, const std::map<QString, QString> &files = {})
{
    const QString folder = benchFolder().filePath(QStringLiteral("program_") + name);
    QDir().mkpath(folder);
    for (const auto &[target, source] : files) {
        const QString to = folder + u'/' + target;
        if (!QFileInfo::exists(to))
            QFile::copy(source, to);
    }
    return folder;
}

// ---- the child side

// CPU time of the calling thread, and the monotonic clock, in milliseconds.
inline double threadCpuMs()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

inline double monotonicMs()
{
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

// The windows painted since the operation began: a window the event loop has
// already painted is ready, and painting it again would count twice.
inline std::set<const QWidget *> &paintedSinceStart()
{
    static std::set<const QWidget *> windows;
    return windows;
}

class PaintWatch final : public QObject {
public:
    bool eventFilter(QObject *object, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && object->isWidgetType())
            paintedSinceStart().insert(static_cast<QWidget *>(object)->window());
        return false;
    }
};

// The operation the user waits for: start() at the click, stop() when the
// window is ready. Set by the child's main() to its entry, so that a child
// that never calls start() is timed from its start.
struct Stopwatch {
    double cpuStart = 0, wallStart = 0, cpu = -1, wall = -1;
    void start()
    {
        paintedSinceStart().clear();
        cpuStart = threadCpuMs();
        wallStart = monotonicMs();
    }
    void stop()
    {
        cpu = threadCpuMs() - cpuStart;
        wall = monotonicMs() - wallStart;
    }
};

inline Stopwatch &stopwatch()
{
    static Stopwatch s;
    return s;
}

// What the real program gets in main(), with message boxes printed and
// every question answered No.
struct Program {
    PrintingMessenger messenger;
    NullKeyboardLayoutService keyboard;
    StdRandomSource random;
    SystemClock clock;
    Services services(const QString &folder) { return {folder, &messenger, &keyboard, &random, &clock}; }
};

// Runs `step` from the event loop once a modal window other than `except`
// is up (a modal window's exec() returns only when it closes).
inline void whenModalOpens(std::function<void(QWidget *)> step, const QWidget *except = nullptr)
{
    auto *timer = new QTimer(qApp);
    timer->setInterval(0);
    QObject::connect(timer, &QTimer::timeout, timer, [timer, step = std::move(step), except] {
        QWidget *modal = QApplication::activeModalWidget();
        if (!modal || modal == except || !modal->isVisible())
            return;
        timer->stop();
        timer->deleteLater();
        step(modal);
    });
    timer->start();
}

// Until a window is painted as the user sees it: what "ready" means. The
// event loop paints what changed; a window it has not painted since the
// operation began is drawn whole.
inline void paintNow(QWidget &window)
{
    QCoreApplication::processEvents();
    if (paintedSinceStart().count(&window))
        return;
    const QPixmap shot = window.grab();
    benchmark::DoNotOptimize(shot.cacheKey());
}

// A child mode: its arguments after the mode's name; 0 when all went well.
using Child = std::function<int(const QStringList &args)>;
using Children = std::map<QString, Child>;

// ---- the parent side

struct Sample {
    double opCpuMs = -1, opWallMs = -1, cpuMs = -1, wallMs = -1, peakMiB = -1;
};

inline double median(std::vector<double> v)
{
    if (v.empty())
        return -1;
    std::sort(v.begin(), v.end());
    const size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

inline int repetitions()
{
    const int r = qEnvironmentVariableIntValue("LEXITKA_E2E_REPS");
    return r > 0 ? r : 3;
}

// One fresh process; a child reports its operation as "e2e-op CPU WALL".
inline bool runOnce(const QStringList &command, Sample &s)
{
    const ProcessCost c = runMeasured(command);
    if (!c.ok)
        return false;
    s.cpuMs = c.cpuMs;
    s.wallMs = c.wallMs;
    s.peakMiB = c.peakMiB;
    s.opCpuMs = c.cpuMs;
    s.opWallMs = c.wallMs;
    for (const QByteArray &line : c.output.split('\n')) {
        if (line.startsWith("e2e-op ")) {
            const QList<QByteArray> f = line.split(' ');
            s.opCpuMs = f.value(1).toDouble();
            s.opWallMs = f.value(2).toDouble();
        }
    }
    return true;
}

// Medians of `reps` runs, each field on its own; empty when a run failed.
inline std::optional<Sample> runMedian(const QStringList &command, int reps)
{
    std::vector<double> opCpu, opWall, cpu, wall, peak;
    for (int i = 0; i < reps; ++i) {
        Sample s;
        if (!runOnce(command, s))
            return std::nullopt;
        opCpu.push_back(s.opCpuMs);
        opWall.push_back(s.opWallMs);
        cpu.push_back(s.cpuMs);
        wall.push_back(s.wallMs);
        peak.push_back(s.peakMiB);
    }
    return Sample{median(opCpu), median(opWall), median(cpu), median(wall), median(peak)};
}

// Plain commands over a file: the floors a row is measured against.
inline QStringList wcL(const QString &file) { return {QStringLiteral("wc"), QStringLiteral("-l"), file}; }
inline QStringList cat(const QString &file)
{
    return {QStringLiteral("sh"), QStringLiteral("-c"), QStringLiteral("exec cat \"$1\" >/dev/null"),
            QStringLiteral("sh"), file};
}
inline QStringList cp(const QString &file)
{
    return {QStringLiteral("cp"), file,
            benchFolder().filePath(QStringLiteral("copy_of_") + QFileInfo(file).fileName())};
}

// A row: the child's arguments over the big file and over a small one, and
// the plain command over the big file it is set beside.
struct Row {
    std::string name;
    QStringList child;      // mode and arguments
    QStringList smallChild; // the same over a small file: the floor of memory
    QStringList baseline;   // e.g. wcL(file)
    QString file;           // whose size the memory is measured against
};

// A child command: this executable's, or another build's when named.
inline QStringList childCommand(const QString &executable, const QStringList &args)
{
    if (executable.isEmpty())
        return selfAsChild(args);
    return QStringList{executable, QStringLiteral("--child")} + args;
}

// The names of the counters every row reports.
namespace counter {
inline constexpr const char *cpuMs = "cpu_ms";     // the operation's CPU, main thread
inline constexpr const char *cpuRatio = "cpu_x";   // over the baseline's CPU
inline constexpr const char *wallRatio = "wall_x"; // the operation's wall over the baseline's
inline constexpr const char *processCpuMs = "proc_cpu_ms";
inline constexpr const char *peakMiB = "peak_MiB"; // whole process
inline constexpr const char *riseMiB = "rise_MiB"; // peak above the same child on a small file
inline constexpr const char *riseRatio = "rise_x"; // that rise over the file's size
inline constexpr const char *baseCpuMs = "base_cpu_ms";
inline constexpr const char *baseWallMs = "base_wall_ms";
} // namespace counter

struct Result {
    Row row;
    Sample big, small, base;
};

// Baselines and floors, measured once each and kept for the run.
inline std::optional<Sample> measured(const QStringList &command)
{
    static std::map<QStringList, std::optional<Sample>> cache;
    const auto it = cache.find(command);
    if (it != cache.end())
        return it->second;
    return cache[command] = runMedian(command, repetitions());
}

inline std::vector<Result> &results()
{
    static std::vector<Result> all;
    return all;
}

// The row with the child modes of `executable` (this one's when empty).
inline void measureRowOf(benchmark::State &state, const Row &row, const QString &executable)
{
    const std::optional<Sample> base = measured(row.baseline);
    const std::optional<Sample> small = measured(childCommand(executable, row.smallChild));
    if (!base || !small) {
        state.SkipWithError("a baseline or the small run failed");
        return;
    }
    std::vector<double> opCpu, opWall, cpu, wall, peak;
    for (auto _ : state) {
        Sample s;
        if (!runOnce(childCommand(executable, row.child), s)) {
            state.SkipWithError(("failed: " + row.name).c_str());
            return;
        }
        state.SetIterationTime(s.opWallMs / 1e3);
        opCpu.push_back(s.opCpuMs);
        opWall.push_back(s.opWallMs);
        cpu.push_back(s.cpuMs);
        wall.push_back(s.wallMs);
        peak.push_back(s.peakMiB);
    }
    const Sample big{median(opCpu), median(opWall), median(cpu), median(wall), median(peak)};
    const double fileMiB = double(fileSize(row.file)) / (1024.0 * 1024.0);
    state.counters[counter::cpuMs] = big.opCpuMs;
    state.counters[counter::cpuRatio] = big.opCpuMs / std::max(base->cpuMs, 0.001);
    state.counters[counter::wallRatio] = big.opWallMs / std::max(base->wallMs, 0.001);
    state.counters[counter::processCpuMs] = big.cpuMs;
    state.counters[counter::peakMiB] = big.peakMiB;
    state.counters[counter::riseMiB] = big.peakMiB - small->peakMiB;
    state.counters[counter::riseRatio] = (big.peakMiB - small->peakMiB) / std::max(fileMiB, 0.001);
    state.counters[counter::baseCpuMs] = base->cpuMs;
    state.counters[counter::baseWallMs] = base->wallMs;
    results().push_back({row, big, *small, *base});
}

inline void measureRow(benchmark::State &state, const Row &row) { measureRowOf(state, row, {}); }

// The rows again as one table, after the runs.
inline void printTable()
{
    std::printf("\n%-52s %8s %8s %7s %7s %9s %8s %9s %8s %7s\n", "operation (median)", "cpu ms", "base ms", "cpu x",
                "wall x", "small ms", "extra x", "peak MiB", "rise MiB", "rise x");
    for (const Result &r : results()) {
        const double fileMiB = double(fileSize(r.row.file)) / (1024.0 * 1024.0);
        const double base = std::max(r.base.cpuMs, 0.001);
        std::printf("%-52s %8.1f %8.1f %7.2f %7.2f %9.1f %8.2f %9.1f %8.1f %7.2f\n", r.row.name.c_str(), r.big.opCpuMs,
                    r.base.cpuMs, r.big.opCpuMs / base, r.big.opWallMs / std::max(r.base.wallMs, 0.001),
                    r.small.opCpuMs, (r.big.opCpuMs - r.small.opCpuMs) / base, r.big.peakMiB,
                    r.big.peakMiB - r.small.peakMiB, (r.big.peakMiB - r.small.peakMiB) / std::max(fileMiB, 0.001));
    }
    std::printf("(cpu x: the operation's CPU over the baseline's; small ms: the same operation over a small file;\n"
                " extra x: the CPU it takes over that, over the baseline's;\n"
                " rise: peak memory above the same child over a small file, x the file's size)\n");
    std::fflush(stdout);
}

// The child's report, read by runOnce().
inline void reportOperation()
{
    const Stopwatch &s = stopwatch();
    std::printf("e2e-op %.3f %.3f\n", s.cpu, s.wall);
    std::fflush(stdout);
}

// main() of an end-to-end benchmark: a child mode when started with
// --child MODE ARGS..., else the rows (made after the application object:
// making them writes the files).
inline int run(int argc, char **argv, const Children &children, const std::function<std::vector<Row>()> &rows)
{
    stopwatch().start();
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (argc > 2 && qstrcmp(argv[1], "--child") == 0) {
        QApplication qapp(argc, argv);
        // As main() does before the windows are made: their fonts and texts.
        installFontSubstitutes();
        installCzechTranslation();
        PaintWatch paints;
        qapp.installEventFilter(&paints);
        const QStringList args = QCoreApplication::arguments().mid(2);
        const auto it = children.find(args.value(0));
        if (it == children.end())
            return 2;
        const int status = it->second(args.mid(1));
        if (stopwatch().cpu < 0)
            stopwatch().stop();
        reportOperation();
        return status;
    }
    QApplication qapp(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    // LEXITKA_E2E_COMPARE names the same benchmark of another build: each
    // row runs its children too, in the same run, beside the same baselines.
    const QString other = qEnvironmentVariable("LEXITKA_E2E_COMPARE");
    for (const Row &row : rows()) {
        if (!other.isEmpty()) {
            Row compared = row;
            compared.name += " [compared]";
            benchmark::RegisterBenchmark(compared.name.c_str(), measureRowOf, compared, other)
                ->UseManualTime()
                ->Iterations(repetitions())
                ->Unit(benchmark::kMillisecond);
        }
        benchmark::RegisterBenchmark(row.name.c_str(), measureRow, row)
            ->UseManualTime()
            ->Iterations(repetitions())
            ->Unit(benchmark::kMillisecond);
    }
    // A child's peak memory counts what it shares of ours until its exec.
    malloc_trim(0);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    printTable();
    return 0;
}

} // namespace lexitka::bench::e2e
