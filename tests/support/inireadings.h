#pragma once

#include "data/inifile.h"

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

// Reads the file every way the program can and checks that they agree: the
// whole document, the names alone (from the file and from its bytes), the
// lines scanned from the file handed over in pieces of at most `readSize`
// bytes, and the entry lines of the lessons ticked in `ticks` (bit i % 32
// ticks lesson i), which are read in the program's own pieces. Returns the
// whole document's reading; `why` tells the first disagreement, or is left
// empty.
IniReading readIniEveryWay(const QString &path, qsizetype readSize, quint32 ticks, QString *why);

// Appends the entry lines ("key=value") of the sections whose position in
// file order is ticked in `wanted` to out, in line order, read piece by
// piece. Sections are taken by position, so two lessons of the same name
// stay apart.
bool appendEntryLines(const QString &path, const QList<bool> &wanted, QList<QByteArray> &out);

// The entry lines of the ticked lessons from a document read whole, as the
// program's own collectLessonEntries reads them from the file: lesson i of
// the list is section i, or, should the file have changed, the section of
// its name.
QList<QByteArray> collectLessonEntries(const IniDocument &dictionary, const QList<QByteArray> &lessonNames,
                                       const QList<bool> &ticked);

} // namespace lexitka::testing
