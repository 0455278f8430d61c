#include "wordlistoracle.h"

#include "exchange/delimitedtext.h"
#include "exchange/textheaders.h"

namespace lexitka::testing {

QList<QStringList> rowsTheSlowWay(const QByteArray &bytes, const DelimitedHead &head)
{
    const QByteArrayView body = QByteArrayView(bytes).sliced(head.bodyStart);
    const QString text =
        head.bodyStart > 0 && head.utf8 ? QString::fromUtf8(body) : decodeWordList(body, head.otherwise);
    QList<QStringList> rows = parseDelimited(text, head.separator);
    for (QStringList &row : rows) {
        for (qsizetype c = 0; c < row.size(); ++c) {
            if (head.html)
                row[c] = QString::fromUtf8(plainFromHtml(row[c].toUtf8()));
            if (c == head.deckColumn)
                row[c] = QString::fromUtf8(deckAsLesson(row[c].toUtf8()));
        }
    }
    return rows;
}

} // namespace lexitka::testing
