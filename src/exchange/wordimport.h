#pragma once

#include "exchange/wordtable.h"

#include <QByteArrayView>
#include <QChar>
#include <QList>
#include <QStringList>

namespace lexitka {

// A word list's text as read for the preview: its first rows as cells, and
// the widest row of the whole file, so that every column can be chosen.
struct DelimitedHead {
    QList<QStringList> rows;
    qsizetype width = 0;
    QChar separator = u',';
};
DelimitedHead readDelimitedHead(QByteArrayView bytes, CodePage otherwise, qsizetype rows);

// The whole word list imported in one pass over its bytes, with the same
// outcome as parseDelimited, tableFromDelimited and importRows one after
// the other, but without a text object per cell: UTF-8 goes straight into
// the fields' code pages. Bytes that are no UTF-8 are in `otherwise`.
ImportResult importDelimited(QByteArrayView bytes, CodePage otherwise, QChar separator, bool header,
                             const ColumnChoice &choice, int languageCode, bool byLesson);

} // namespace lexitka
