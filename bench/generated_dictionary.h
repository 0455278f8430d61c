#pragma once

// Large dictionaries for the benchmarks, written once per run into a
// temporary folder: lines of about 45 bytes, entries spread evenly over
// the lessons, German-like values with windows-1250 bytes.

#include <QByteArray>
#include <QFile>
#include <QFileInfo>
#include <QString>
#include <QTemporaryDir>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>

namespace lexitka::bench {

// Kept after the run when LEXITKA_BENCH_KEEP is set, to profile a child
// over the same files.
inline QTemporaryDir &benchFolder()
{
    static QTemporaryDir dir;
    static const bool kept = [] {
        if (qEnvironmentVariableIsEmpty("LEXITKA_BENCH_KEEP"))
            return false;
        dir.setAutoRemove(false);
        std::fprintf(stderr, "benchmark files kept in %s\n", qPrintable(dir.path()));
        return true;
    }();
    (void)kept;
    return dir;
}

// Writes (once) a dictionary of `entries` lines in `lessons` lessons and returns its path.
inline QString generatedDictionary(long entries, long lessons)
{
    const QString path = benchFolder().filePath(QStringLiteral("gen_%1_%2.de").arg(entries).arg(lessons));
    if (QFileInfo::exists(path))
        return path;
    QFile out(path);
    if (!out.open(QIODevice::WriteOnly))
        return path;
    QByteArray chunk;
    chunk.reserve(1 << 20);
    const long perLesson = entries / lessons;
    char line[128];
    for (long l = 0; l < lessons; ++l) {
        const int n = std::snprintf(line, sizeof line, "[Lekce %ld - slov\xED\xE8ko]\r\n", l + 1);
        chunk.append(line, n);
        for (long e = 0; e < perLesson; ++e) {
            const long id = l * perLesson + e;
            const int m =
                std::snprintf(line, sizeof line, "%ld=%ld\\Wort%07ld\\W\xF6rter%05ld\\slov\xED\xE8ko %06ld\r\n", e,
                              id % 4, id, id % 100000, id);
            chunk.append(line, m);
            if (chunk.size() > (1 << 20) - 256) {
                out.write(chunk);
                chunk.clear();
            }
        }
        chunk.append("\r\n");
    }
    out.write(chunk);
    return path;
}

// Writes (once) a dictionary of `lessons` lesson headers and nothing else,
// lines ended by CR LF or, with loneCr, by a CR alone.
inline QString generatedHeaders(long lessons, bool loneCr)
{
    const QString path =
        benchFolder().filePath(QStringLiteral("headers_%1_%2.en").arg(lessons).arg(loneCr ? "cr" : "crlf"));
    if (QFileInfo::exists(path))
        return path;
    QFile out(path);
    if (!out.open(QIODevice::WriteOnly))
        return path;
    QByteArray bytes;
    bytes.reserve(lessons * 20);
    for (long l = 0; l < lessons; ++l)
        bytes.append("[Lekce ").append(QByteArray::number(qlonglong(l) + 1)).append(loneCr ? "]\r" : "]\r\n");
    out.write(bytes);
    return path;
}

// Writes (once) a dictionary whose first lesson has a name of `bytes` bytes.
inline QString generatedLongName(qint64 bytes)
{
    const QString path = benchFolder().filePath(QStringLiteral("longname_%1.en").arg(bytes));
    if (QFileInfo::exists(path))
        return path;
    QFile out(path);
    if (out.open(QIODevice::WriteOnly))
        out.write("[" + QByteArray(bytes, 'x') + "]\r\n0=dog\\pes\r\n[Lekce 2]\r\n0=cat\\kocka\r\n");
    return path;
}

inline qint64 fileSize(const QString &path) { return QFileInfo(path).size(); }

// Peak resident memory of this process since the last reset, in bytes.
inline qint64 peakRss()
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmHWM:", 0) == 0)
            return std::stoll(line.substr(6)) * 1024;
    }
    return -1;
}

inline qint64 currentRss()
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmRSS:", 0) == 0)
            return std::stoll(line.substr(6)) * 1024;
    }
    return -1;
}

// Lets the next peakRss() start from the present resident size.
inline bool resetPeakRss()
{
    std::ofstream clear("/proc/self/clear_refs");
    clear << "5";
    return bool(clear);
}

} // namespace lexitka::bench
