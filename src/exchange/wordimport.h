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
    // How the bytes are read: UTF-8, or (no UTF-8) in the code page given.
    bool utf8 = true;
    CodePage otherwise = CodePage::Cp1250;
};
DelimitedHead readDelimitedHead(QByteArrayView bytes, CodePage otherwise, qsizetype rows);

// The whole word list imported in one pass over its bytes, read as its head
// says, with the same outcome as parseDelimited, tableFromDelimited and
// importRows one after the other, but without a text object per cell: UTF-8
// goes straight into the fields' code pages.
ImportResult importDelimited(QByteArrayView bytes, const DelimitedHead &head, bool header, const ColumnChoice &choice,
                             int languageCode, bool byLesson);

} // namespace lexitka
