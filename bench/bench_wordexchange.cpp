// Importing and exporting 100,000 words as tab-separated text and KVTML,
// against reading and writing the same bytes alone (the baselines).
#include "data/dictionary.h"
#include "data/savefile.h"
#include "exchange/delimitedtext.h"
#include "exchange/kvtml.h"
#include "exchange/wordtable.h"

#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdio>

using namespace lexitka;

namespace {

constexpr long kWords = 100000;

const QList<ExportLesson> &lessons()
{
    static const QList<ExportLesson> all = [] {
        QList<ExportLesson> out;
        char line[128];
        for (long l = 0; l < 100; ++l) {
            ExportLesson lesson{QByteArray("Lekce ") + QByteArray::number(l), {}};
            for (long i = 0; i < kWords / 100; ++i) {
                const long n = l * 1000 + i;
                const int len =
                    std::snprintf(line, sizeof line, "%ld=%ld\\Wort%07ld\\W\xF6rter%05ld\\slov\xED\xE8ko %06ld", i,
                                  n % 4, n, n % 100000, n);
                lesson.lines.append(QByteArray(line, len));
            }
            out.append(lesson);
        }
        return out;
    }();
    return all;
}

QTemporaryDir &folder()
{
    static QTemporaryDir dir;
    return dir;
}

QString written(const char *name, const QByteArray &bytes)
{
    const QString path = folder().filePath(QString::fromLatin1(name));
    saveWholeFile(path, bytes);
    return path;
}

QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void BM_ReadBytes_Tsv(benchmark::State &state)
{
    const QString path = written("words.tsv", writeTsv(lessons(), LangGerman));
    for (auto _ : state)
        benchmark::DoNotOptimize(readAll(path));
    state.SetItemsProcessed(state.iterations() * kWords);
}

void BM_ImportTsv(benchmark::State &state)
{
    const QString path = written("words.tsv", writeTsv(lessons(), LangGerman));
    for (auto _ : state) {
        const QString text = decodeWordList(readAll(path), CodePage::Cp1250);
        const QList<QStringList> rows = parseDelimited(text, guessSeparator(text));
        const WordTable table = tableFromDelimited(rows, true);
        const ImportResult r = importRows(table, guessColumns(table, LangGerman), LangGerman, true);
        if (r.lessons.size() != 100)
            state.SkipWithError("lessons lost");
    }
    state.SetItemsProcessed(state.iterations() * kWords);
}

void BM_ReadBytes_Kvtml(benchmark::State &state)
{
    const QString path = written("words.kvtml", writeKvtml(lessons(), LangGerman, QStringLiteral("b")));
    for (auto _ : state)
        benchmark::DoNotOptimize(readAll(path));
    state.SetItemsProcessed(state.iterations() * kWords);
}

void BM_ImportKvtml(benchmark::State &state)
{
    const QString path = written("words.kvtml", writeKvtml(lessons(), LangGerman, QStringLiteral("b")));
    for (auto _ : state) {
        const std::optional<WordTable> table = readKvtml(readAll(path));
        if (!table) {
            state.SkipWithError("not read");
            break;
        }
        benchmark::DoNotOptimize(importRows(*table, guessColumns(*table, LangGerman), LangGerman, true));
    }
    state.SetItemsProcessed(state.iterations() * kWords);
}

void BM_WriteBytes(benchmark::State &state)
{
    const QByteArray bytes = writeTsv(lessons(), LangGerman);
    for (auto _ : state)
        benchmark::DoNotOptimize(written("plain.tsv", bytes));
    state.SetItemsProcessed(state.iterations() * kWords);
}

void BM_ExportTsv(benchmark::State &state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(written("out.tsv", writeTsv(lessons(), LangGerman)));
    state.SetItemsProcessed(state.iterations() * kWords);
}

void BM_WriteBytes_Kvtml(benchmark::State &state)
{
    const QByteArray bytes = writeKvtml(lessons(), LangGerman, QStringLiteral("b"));
    for (auto _ : state)
        benchmark::DoNotOptimize(written("plain.kvtml", bytes));
    state.SetItemsProcessed(state.iterations() * kWords);
}

void BM_ExportKvtml(benchmark::State &state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(written("out.kvtml", writeKvtml(lessons(), LangGerman, QStringLiteral("b"))));
    state.SetItemsProcessed(state.iterations() * kWords);
}

} // namespace

BENCHMARK(BM_ReadBytes_Tsv)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ImportTsv)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadBytes_Kvtml)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ImportKvtml)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WriteBytes)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExportTsv)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WriteBytes_Kvtml)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExportKvtml)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
