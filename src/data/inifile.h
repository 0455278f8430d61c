#pragma once

#include <QByteArray>
#include <QByteArrayView>

namespace lexitka {

// One line of the INI form. Lines end in CR LF, LF or a lone CR; blanks
// (space, tab) around section names, keys and values are trimmed; ";"
// lines and empty lines are Other. A key ends at the first "=". A line
// without "=", or with a "[" but no "]", is Plain, its trimmed text in
// value: only the lesson editor keeps those, the other readers skip them.
struct IniLine {
    enum Kind { Other, Section, Entry, Plain };
    Kind kind = Other;
    QByteArrayView name; // section name, or the entry's key
    QByteArrayView value;
};
IniLine classifyIniLine(const char *line, qsizetype size);

// Calls f(begin, end, next) for every line of data: [begin, end) is the line
// without its terminator, next is where the following line starts.
// A callback that returns bool ends the pass early by returning false.
template <class F>
void forEachLine(const char *data, qsizetype size, F &&f);
// The same, going on only while *go (when go is given) holds.
template <class F>
void forEachLine(const char *data, qsizetype size, F &&f, const bool *go);

// onHeader(name, lineStart, lineEnd) for every section header of data, in
// order, until it returns false.
template <class OnHeader>
void forEachSectionHeader(const char *data, qsizetype size, OnHeader &&onHeader);
// onName(name) for every section header of data, in order. Only lines that
// start with "[" after blanks can be headers, so it jumps from one "[" to
// the next instead of walking every line.
template <class OnName>
void forEachSectionName(const char *data, qsizetype size, OnName &&onName);

// The first section of the given name (case ignored) in the INI bytes: its
// header line [header, headerEnd), and its lines [body, end) up to the next
// header. Found by going from "[" to "[", so a file of millions of sections
// costs little more than finding them. header is -1 when there is none.
struct IniSectionSpan {
    qsizetype header = -1;
    qsizetype headerEnd = -1;
    qsizetype body = -1;
    qsizetype end = -1;
};
IniSectionSpan findIniSection(QByteArrayView bytes, QByteArrayView name);

bool equalsIgnoringCase(QByteArrayView a, QByteArrayView b);
QByteArrayView trimmedBlanks(QByteArrayView v);

} // namespace lexitka

#include "inifile_lines.h"
