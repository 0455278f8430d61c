#pragma once

// Measures a command the way a user waits for it: a fresh process each time,
// so the first touch of every page of memory is paid as in real use, with
// its wall time, its CPU time (user + system) and its peak memory, as the
// kernel counts them for the child.

#include <benchmark/benchmark.h>

#include <QByteArray>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QList>
#include <QStringList>

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

extern char **environ;

namespace lexitka::bench {

struct ProcessCost {
    double wallMs = -1;
    double cpuMs = -1;
    double peakMiB = -1;
    QByteArray output; // the child's standard output
    bool ok = false;
};

// stdoutPath: where the child's output goes instead of to us (for a
// baseline like `cat` whose output is not the point).
inline ProcessCost runMeasured(const QStringList &command, const char *stdoutPath = nullptr)
{
    ProcessCost cost;
    QList<QByteArray> args;
    for (const QString &a : command)
        args.append(a.toLocal8Bit());
    std::vector<char *> argv;
    for (QByteArray &a : args)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    int out[2];
    if (::pipe(out) != 0)
        return cost;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (stdoutPath)
        posix_spawn_file_actions_addopen(&actions, 1, stdoutPath, O_WRONLY, 0);
    else
        posix_spawn_file_actions_adddup2(&actions, out[1], 1);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    QElapsedTimer wall;
    wall.start();
    pid_t pid = 0;
    const int spawned = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(out[1]);
    if (spawned != 0) {
        ::close(out[0]);
        return cost;
    }
    char buffer[4096];
    for (ssize_t n; (n = ::read(out[0], buffer, sizeof buffer)) > 0;)
        cost.output.append(buffer, n);
    ::close(out[0]);
    int status = 0;
    rusage usage{};
    if (::wait4(pid, &status, 0, &usage) != pid)
        return cost;
    cost.wallMs = double(wall.nsecsElapsed()) / 1e6;
    auto ms = [](const timeval &t) { return double(t.tv_sec) * 1e3 + double(t.tv_usec) / 1e3; };
    cost.cpuMs = ms(usage.ru_utime) + ms(usage.ru_stime);
    cost.peakMiB = double(usage.ru_maxrss) / 1024.0;
    cost.ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    return cost;
}

// Runs command once per iteration and reports its wall time as the
// iteration's time, with its CPU time and peak memory as counters.
inline void measureProcess(benchmark::State &state, const QStringList &command)
{
    double cpu = 0, peak = 0;
    for (auto _ : state) {
        const ProcessCost c = runMeasured(command);
        if (!c.ok) {
            state.SkipWithError(("failed: " + command.join(u' ').toStdString()).c_str());
            return;
        }
        state.SetIterationTime(c.wallMs / 1e3);
        cpu += c.cpuMs;
        peak = std::max(peak, c.peakMiB);
    }
    state.counters["cpu_ms"] = cpu / double(state.iterations());
    state.counters["peak_MiB"] = peak;
}

// The program under test: this benchmark's own executable in a child mode.
inline QStringList selfAsChild(const QStringList &args)
{
    return QStringList{QCoreApplication::applicationFilePath(), QStringLiteral("--child")} + args;
}

} // namespace lexitka::bench
