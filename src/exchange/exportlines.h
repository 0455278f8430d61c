#pragma once

#include "data/dictionary.h"
#include "data/linestore.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QList>

namespace lexitka {

// What the word-list exports share.

struct ExportLesson {
    QByteArray name; // windows-1250
    LineStore lines; // entry lines of the dictionary's language
};

// About how many bytes the lessons take when exported with perLine bytes
// around each line's own, to take the room once; lines gets their count.
qsizetype exportedBytes(const QList<ExportLesson> &lessons, qsizetype perLine, qsizetype &lines);

} // namespace lexitka
