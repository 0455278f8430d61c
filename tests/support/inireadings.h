#pragma once

#include "support/inidocument.h"

#include <QByteArray>
#include <QList>
#include <QString>

namespace lexitka::testing {

// What a reader makes of an INI file: the lesson names in file order and,
// per lesson, its entry lines ("key=value").
struct IniReading {
    QList<QByteArray> names;
    QList<QList<QByteArray>> lines;
    bool operator==(const IniReading &) const = default;
};

IniReading readingOf(const IniDocument &doc);

// Reads the file every way the program can and checks that they agree with
// the whole document read line by line: the lesson names (from the file
// and from its bytes), the dictionary scanner, the lines of the file handed
// over in pieces of at most `readSize` bytes, and the word collection of
// the lessons ticked in `ticks` (bit i % 32 ticks lesson i). Returns the
// whole document's reading; `why` tells the first disagreement, or is left
// empty.
IniReading readIniEveryWay(const QString &path, qsizetype readSize, quint32 ticks, QString *why);

// The entry lines of the ticked lessons from a document read whole, as the
// program's own collectLessonEntries reads them from the file: lesson i of
// the list is section i, or, should the file have changed, the section of
// its name.
QList<QByteArray> collectLessonEntries(const IniDocument &dictionary, const QList<QByteArray> &lessonNames,
                                       const QList<bool> &ticked);

} // namespace lexitka::testing
