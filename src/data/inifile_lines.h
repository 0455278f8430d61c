#pragma once

#include "data/linebreaks.h"

#include <type_traits>

namespace lexitka {

template <class F>
void forEachLine(const char *data, qsizetype size, F &&f)
{
    // A callback that returns bool stops the pass by returning false.
    if constexpr (std::is_same_v<std::invoke_result_t<F &, qsizetype, qsizetype, qsizetype>, bool>) {
        bool go = true;
        forEachLine(
            data, size, [&](qsizetype begin, qsizetype end, qsizetype next) -> void { go = f(begin, end, next); }, &go);
    } else {
        forEachLine(data, size, f, static_cast<const bool *>(nullptr));
    }
}

template <class F>
void forEachLine(const char *data, qsizetype size, F &&f, const bool *go)
{
    LineBreaks breaks(data + size);
    qsizetype pos = 0;
    while (pos < size && (!go || *go)) {
        const char *e = breaks.from(data + pos);
        if (e == data + size) {
            f(pos, size, size); // the last line, without a line end
            return;
        }
        const qsizetype next = breaks.next(e) - data;
        f(pos, e - data, next);
        pos = next;
    }
}

// A classified line to the callback of its kind; other lines go nowhere.
template <class OnSection, class OnEntry, class OnPlain>
void handIniLine(const IniLine &line, OnSection &&onSection, OnEntry &&onEntry, OnPlain &&onPlain)
{
    if (line.kind == IniLine::Section)
        onSection(line.name);
    else if (line.kind == IniLine::Entry)
        onEntry(line.name, line.value);
    else if (line.kind == IniLine::Plain)
        onPlain(line.value);
}

template <class OnHeader>
void forEachSectionHeader(const char *data, qsizetype size, OnHeader &&onHeader)
{
    auto blank = [](char c) { return c == ' ' || c == '\t'; };
    const char *const end = data + size;
    LineBreaks breaks(end);
    qsizetype pos = 0;
    while (pos < size) {
        const qsizetype open = findByte(data + pos, end, '[') - data;
        if (open == size)
            break;
        qsizetype lineStart = open;
        while (lineStart > pos && blank(data[lineStart - 1]))
            --lineStart;
        const bool atLineStart = lineStart == 0 || data[lineStart - 1] == '\n' || data[lineStart - 1] == '\r';
        const qsizetype lineEnd = breaks.from(data + open) - data;
        if (atLineStart) {
            const IniLine line = classifyIniLine(data + lineStart, lineEnd - lineStart);
            if (line.kind == IniLine::Section && !onHeader(line.name, lineStart, lineEnd))
                return;
        }
        pos = lineEnd;
    }
}

template <class OnName>
void forEachSectionName(const char *data, qsizetype size, OnName &&onName)
{
    forEachSectionHeader(data, size, [&](QByteArrayView name, qsizetype, qsizetype) {
        onName(name);
        return true;
    });
}

} // namespace lexitka
