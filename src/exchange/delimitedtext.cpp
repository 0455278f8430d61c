#include "delimitedtext.h"

#include "data/utf8dictionary.h"

namespace lexitka {

QString decodeWordList(QByteArrayView bytes, CodePage otherwise)
{
    if (bytes.startsWith("\xEF\xBB\xBF"))
        return QString::fromUtf8(bytes.sliced(3));
    if (isUtf8Text(bytes))
        return QString::fromUtf8(bytes);
    return decode(bytes.toByteArray(), otherwise);
}

QChar guessSeparator(const QString &text)
{
    int lines = 0, tabs = 0, semicolons = 0, commas = 0;
    for (qsizetype from = 0; lines < 10 && from < text.size(); ++lines) {
        qsizetype end = text.indexOf(u'\n', from);
        if (end < 0)
            end = text.size();
        const QStringView line = QStringView(text).sliced(from, end - from);
        tabs += line.contains(u'\t');
        semicolons += line.contains(u';');
        commas += line.contains(u',');
        from = end + 1;
    }
    if (tabs > 0 && tabs * 2 >= lines)
        return u'\t';
    return semicolons > commas ? u';' : u',';
}

QList<QStringList> parseDelimited(const QString &text, QChar separator)
{
    QList<QStringList> rows;
    QStringList row;
    QString cell;
    bool quoted = false;     // inside a quoted field
    bool rowStarted = false; // anything of the current row seen
    const qsizetype n = text.size();
    auto endRow = [&] {
        row.append(cell);
        cell.clear();
        rows.append(row);
        row.clear();
        rowStarted = false;
    };
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = text.at(i);
        if (quoted) {
            if (c == u'"') {
                if (i + 1 < n && text.at(i + 1) == u'"') {
                    cell.append(u'"');
                    ++i;
                } else {
                    quoted = false;
                }
            } else {
                cell.append(c);
            }
            continue;
        }
        if (c == u'"' && cell.isEmpty()) {
            quoted = true;
            rowStarted = true;
        } else if (c == separator) {
            row.append(cell);
            cell.clear();
            rowStarted = true;
        } else if (c == u'\r' || c == u'\n') {
            if (c == u'\r' && i + 1 < n && text.at(i + 1) == u'\n')
                ++i;
            endRow();
        } else {
            cell.append(c);
            rowStarted = true;
        }
    }
    if (rowStarted || !cell.isEmpty() || !row.isEmpty())
        endRow();
    return rows;
}

QString tsvRow(const QStringList &cells)
{
    QString out;
    for (qsizetype i = 0; i < cells.size(); ++i) {
        if (i > 0)
            out.append(u'\t');
        const QString &cell = cells.at(i);
        if (cell.contains(u'\t') || cell.contains(u'"') || cell.contains(u'\n') || cell.contains(u'\r')) {
            QString quoted = cell;
            quoted.replace(QStringLiteral("\""), QStringLiteral("\"\""));
            out.append(u'"').append(quoted).append(u'"');
        } else {
            out.append(cell);
        }
    }
    return out;
}

} // namespace lexitka
