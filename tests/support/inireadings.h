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

} // namespace lexitka::testing
