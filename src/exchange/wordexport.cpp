// Lessons out as tab-separated text, written byte by byte into one buffer
// or, for a file, a small one handed on as it fills: a field goes from its
// code page straight into UTF-8, with no text object per cell.
#include "kvtml.h"
#include "exchange/wordexport.h"

#include "exchange/cellbytes.h"
#include "exchange/delimitedtext.h"
#include "exchange/exportlines.h"

#include <array>

namespace lexitka {
namespace {

// Bytes per word beyond its own text, to reserve the buffer once.
constexpr qsizetype kTsvRowExtra = 16;

bool needsQuotes(QByteArrayView bytes)
{
    for (const char c : bytes)
        if (c == '\t' || c == '"' || c == '\n' || c == '\r')
            return true;
    return false;
}

// A cell as tsvRow writes it: quoted, with its quotes doubled, when it holds
// a tab, a quote or a line end.
void appendTsvCell(ByteWriter &out, QByteArrayView bytes, CodePage cp)
{
    if (!needsQuotes(bytes)) {
        appendUtf8(out, bytes, cp);
        return;
    }
    out.put('"');
    qsizetype from = 0;
    for (qsizetype q; (q = bytes.indexOf('"', from)) >= 0; from = q + 1) {
        appendUtf8(out, bytes.sliced(from, q + 1 - from), cp);
        out.put('"');
    }
    appendUtf8(out, bytes.sliced(from), cp);
    out.put('"');
}

// The column "Člen" of each article code as UTF-8, worked out once.
class ArticleCells {
public:
    explicit ArticleCells(int languageCode) : m_language(languageCode)
    {
        for (int i = 0; i < int(m_known.size()); ++i)
            m_known[i] = tsvRow({articleCell(languageCode, QByteArray::number(i))}).toUtf8();
    }
    QByteArrayView cell(QByteArrayView clen)
    {
        if (clen.size() == 1 && clen[0] >= '0' && clen[0] <= '9')
            return m_known[clen[0] - '0'];
        m_other = tsvRow({articleCell(m_language, clen)}).toUtf8();
        return m_other;
    }

private:
    int m_language;
    std::array<QByteArray, 10> m_known;
    QByteArray m_other;
};

} // namespace

QStringList wordCells(QByteArrayView line, int languageCode)
{
    const WordFields w = wordFields(line, languageCode);
    return {articleCell(languageCode, w.Clen),
            decode(w.Slovo.toByteArray(), languageInfo(languageCode).foreignCodePage),
            decode(w.Mn.toByteArray(), CodePage::Cp1250), decode(w.Preklad.toByteArray(), CodePage::Cp1250)};
}

namespace {

void tsvInto(ByteWriter &out, const QList<ExportLesson> &lessons, int languageCode)
{
    const bool named = lessons.size() > 1;
    const CodePage foreign = languageInfo(languageCode).foreignCodePage;
    ArticleCells articleCells(languageCode);
    QStringList header = wordColumnTitles();
    if (named)
        header.prepend(lessonColumnTitle());
    out.put(tsvRow(header).toUtf8());
    out.put('\n');
    for (const ExportLesson &lesson : lessons) {
        QByteArray name;
        if (named) {
            ByteWriter cell(lesson.name.size() * 2);
            appendTsvCell(cell, lesson.name, CodePage::Cp1250);
            cell.put('\t');
            name = cell.take();
        }
        for (const QByteArrayView line : lesson.lines) {
            const WordFields w = wordFields(line, languageCode);
            out.put(name);
            out.put(articleCells.cell(w.Clen));
            out.put('\t');
            appendTsvCell(out, w.Slovo, foreign);
            out.put('\t');
            appendTsvCell(out, w.Mn, CodePage::Cp1250);
            out.put('\t');
            appendTsvCell(out, w.Preklad, CodePage::Cp1250);
            out.put('\n');
        }
    }
}

} // namespace

QByteArray writeTsv(const QList<ExportLesson> &lessons, int languageCode)
{
    qsizetype lines = 0;
    ByteWriter out(exportedBytes(lessons, kTsvRowExtra, lines) + 64);
    tsvInto(out, lessons, languageCode);
    return out.take();
}

bool writeTsv(ByteSink &sink, const QList<ExportLesson> &lessons, int languageCode)
{
    ByteWriter out(sink);
    tsvInto(out, lessons, languageCode);
    return out.finish();
}

} // namespace lexitka
