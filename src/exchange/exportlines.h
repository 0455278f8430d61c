#pragma once

#include "data/dictionary.h"
#include "exchange/kvtml.h"

#include <QByteArrayView>
#include <QList>

namespace lexitka {

// What the word-list exports share.

// An entry line's fields as wordFields gives them (a line of fewer fields
// than the language has repeats its last one), the line looked through once:
// an export reads every line of the book.
WordFields entryFields(QByteArrayView line, int languageCode);

// About how many bytes the lessons take when exported with perLine bytes
// around each line's own, to take the room once; lines gets their count.
qsizetype exportedBytes(const QList<ExportLesson> &lessons, qsizetype perLine, qsizetype &lines);

} // namespace lexitka
