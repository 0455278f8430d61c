// Recognising and converting a dictionary of a million words saved in UTF-8:
// the question on opening must not keep the user waiting, nor the conversion
// after Yes.

#include "generated_dictionary.h"

#include "data/codepage.h"
#include "data/dictionary.h"
#include "data/fileread.h"
#include "data/utf8dictionary.h"

#include <benchmark/benchmark.h>

using namespace lexitka;
using namespace lexitka::bench;

namespace {

// The German test dictionary as a text editor saves it.
QString utf8Dictionary()
{
    const QString path = benchFolder().filePath(QStringLiteral("utf8_1000000.de"));
    if (!QFileInfo::exists(path)) {
        QFile out(path);
        if (out.open(QIODevice::WriteOnly))
            out.write(decode(readWholeFile(generatedDictionary(1'000'000, 1'000)), CodePage::Cp1250).toUtf8());
    }
    return path;
}

// Every byte read: an 8-bit file gives itself away at once, a UTF-8 one never does.
void BM_RecogniseUtf8File(benchmark::State &state)
{
    const QString path = utf8Dictionary();
    for (auto _ : state) {
        if (!isUtf8File(path))
            state.SkipWithError("not recognised");
    }
    state.SetBytesProcessed(state.iterations() * fileSize(path));
}

void BM_ConvertUtf8Dictionary(benchmark::State &state)
{
    const QString path = utf8Dictionary();
    const QByteArray bytes = readWholeFile(path);
    for (auto _ : state) {
        const Utf8Conversion c = convertUtf8Dictionary(bytes, LangGerman);
        if (c.problem)
            state.SkipWithError("conversion failed");
        benchmark::DoNotOptimize(c.bytes.data());
    }
    state.SetBytesProcessed(state.iterations() * bytes.size());
}

} // namespace

BENCHMARK(BM_RecogniseUtf8File)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ConvertUtf8Dictionary)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
