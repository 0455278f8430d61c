// Word lists of other programs: a text file imported in one pass over its
// bytes gives what its rows read into a table give; any bytes read as KVTML
// give a table as wide as its languages; lessons written as text and KVTML
// read back as many words as they had.
#include "fuzzsupport.h"

#include "data/dictionary.h"
#include "data/utf8dictionary.h"
#include "exchange/delimitedtext.h"
#include "exchange/kvtml.h"
#include "exchange/kvtmlwriter.h"
#include "exchange/wordexport.h"
#include "exchange/wordimport.h"
#include "support/wordlistoracle.h"

using namespace lexitka;
using namespace lexitka::fuzz;

namespace {

QString described(const ImportResult &r)
{
    QString out;
    for (const ImportedLesson &l : r.lessons)
        out += QStringLiteral("[%1] %2\n").arg(l.name, shown(l.lines));
    for (const RefusedRow &f : r.refused)
        out += QStringLiteral("refused %1 %2 %3\n").arg(f.line).arg(f.reason(), f.text);
    return out;
}

void checkDelimited(const QByteArray &input)
{
    // Broken UTF-8 after a byte-order mark is read a character at a time,
    // where Qt may take a broken sequence as one: not compared.
    if (input.startsWith("\xEF\xBB\xBF") && !isUtf8Text(QByteArrayView(input).sliced(3)))
        return;
    const DelimitedHead head = readDelimitedHead(input, CodePage::Cp1250, 3);
    // Header lines after a byte-order mark: the rest is UTF-8 however broken.
    if (head.bodyStart > 0 && input.startsWith("\xEF\xBB\xBF"))
        return;
    const QList<QStringList> rows = testing::rowsTheSlowWay(input, head);
    if (head.bodyStart == 0) {
        const QString text = decodeWordList(input, CodePage::Cp1250);
        FUZZ_CHECK(head.separator == guessSeparator(text), QStringLiteral("separator"));
    }
    FUZZ_CHECK(head.rows == rows.mid(0, 3), QStringLiteral("the first rows"));
    const int language = std::array{LangGerman, LangSpanish, LangRussian}[hashOf(input) % 3];
    for (const bool header : {false, true}) {
        const WordTable table = tableFromDelimited(rows, header, 0, head.titles);
        FUZZ_CHECK(head.width == table.columns.size() || (rows.isEmpty() && head.width == 0),
                   QStringLiteral("width %1 of %2 columns").arg(head.width).arg(table.columns.size()));
        ColumnChoice choice = guessColumns(table, language);
        choice.clen = int(hashOf(input) % 4) - 1;
        choice.mn = int(hashOf(input) / 4 % 4) - 1;
        for (const bool byLesson : {false, true}) {
            const QString expected = described(importRows(table, choice, language, byLesson));
            const QString got = described(importDelimited(input, head, header, choice, language, byLesson));
            FUZZ_CHECK(got == expected, got + QStringLiteral(" instead of ") + expected);
        }
    }
}

void checkKvtml(const QByteArray &input)
{
    const std::optional<WordTable> table = readKvtml(input);
    if (!table)
        return;
    FUZZ_CHECK(table->locales.size() == table->columns.size(), QStringLiteral("locales"));
    for (const WordTable::Row &row : table->rows)
        FUZZ_CHECK(row.cells.size() == table->columns.size(), QStringLiteral("a row of another width"));
    importRows(*table, guessColumns(*table, LangGerman), LangGerman, true);
}

void checkWritten(const QByteArray &input)
{
    // The input's lines as a lesson's entry lines.
    QList<QByteArray> lines = input.split('\n');
    for (QByteArray &l : lines)
        l.replace('\r', ' ');
    const int language = std::array{LangGerman, LangFrench, LangEnglish}[hashOf(input) % 3];
    const QList<ExportLesson> lessons{{"L", lines}, {"M\xE8", lines.mid(0, 1)}};
    const std::optional<WordTable> kvtml = readKvtml(writeKvtml(lessons, language, QStringLiteral("t")));
    FUZZ_CHECK(kvtml && kvtml->rows.size() == lines.size() + 1, QStringLiteral("KVTML not read back"));
    const QString text = QString::fromUtf8(writeTsv(lessons, language));
    const QList<QStringList> rows = parseDelimited(text, u'\t');
    FUZZ_CHECK(rows.size() == lines.size() + 2,
               QStringLiteral("%1 rows for %2 lines").arg(rows.size()).arg(lines.size()));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray input = bytesOf(data, size);
    checkDelimited(input);
    checkKvtml(input);
    checkWritten(input);
    return 0;
}
