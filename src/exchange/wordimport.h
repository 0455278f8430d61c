#pragma once

#include "exchange/wordtable.h"

#include <QByteArrayView>
#include <QChar>
#include <QList>
#include <QStringList>

#include <optional>

namespace lexitka {

// A word list's text as read for the preview: its first rows as cells (as
// plain text when the file says they are HTML), and the widest row of the
// whole file, so that every column can be chosen.
struct DelimitedHead {
    QList<QStringList> rows;
    qsizetype width = 0;
    QChar separator = u',';
    // How the bytes are read: UTF-8, or (no UTF-8) in the code page given.
    bool utf8 = true;
    CodePage otherwise = CodePage::Cp1250;
    // What the file's "#key:value" lines say (textheaders.h): where the rows
    // begin, whether cells are HTML, the columns' titles and the deck's.
    qsizetype bodyStart = 0;
    bool html = false;
    QStringList titles;
    int deckColumn = -1;
};
// The separator is the one given, else the one the file names, else
// guessed from its first rows.
DelimitedHead readDelimitedHead(QByteArrayView bytes, CodePage otherwise, qsizetype rows,
                                std::optional<QChar> separator = std::nullopt);

// The whole word list imported in one pass over its bytes, read as its head
// says, with the same outcome as parseDelimited, tableFromDelimited and
// importRows one after the other, but without a text object per cell: UTF-8
// goes straight into the fields' code pages.
ImportResult importDelimited(QByteArrayView bytes, const DelimitedHead &head, bool header, const ColumnChoice &choice,
                             int languageCode, bool byLesson);

} // namespace lexitka
