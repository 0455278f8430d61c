#pragma once

// The lines of a dictionary file as the INI reader finds them
// (scanIniLines): a plain "key=value" line, the rule in a dictionary, is
// handed on as it stands, and only other lines are classified.

#include "data/inifile.h"

#include <QByteArrayView>

namespace lexitka {

// The sections, entries and other lines of a dictionary's bytes, as
// scanIniLines() hands them on.
template <class OnSection, class OnEntry, class OnPlain>
void scanDictionaryLines(const char *data, qsizetype size, OnSection &&onSection, OnEntry &&onEntry, OnPlain &&onPlain)
{
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    const char *p = data;
    const char *const end = data + size;
    LineBreaks breaks(end);
    while (p < end) {
        const char *const e = breaks.from(p);
        const char *const eq = findByte(p, e, '=');
        if (eq != e && !blank(*p) && *p != ';' && *p != '[' && (eq == p || !blank(eq[-1]))
            && (eq + 1 == e || !blank(eq[1])) && !blank(e[-1])) {
            onEntry(QByteArrayView(p, eq - p), QByteArrayView(eq + 1, e - eq - 1));
        } else {
            handIniLine(classifyIniLine(p, e - p), onSection, onEntry, onPlain);
        }
        if (e == end)
            break;
        p = breaks.next(e);
    }
}

template <class OnSection, class OnEntry>
void scanDictionaryLines(const char *data, qsizetype size, OnSection &&onSection, OnEntry &&onEntry)
{
    scanDictionaryLines(data, size, onSection, onEntry, [](QByteArrayView) {});
}

} // namespace lexitka
