#pragma once

#include <cstring>
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
    qsizetype pos = 0;
    qsizetype nextLf = -1; // cached, so files broken by lone CRs stay linear
    while (pos < size && (!go || *go)) {
        if (nextLf < pos) {
            const void *lf = std::memchr(data + pos, '\n', size_t(size - pos));
            nextLf = lf ? static_cast<const char *>(lf) - data : size;
        }
        const void *crp = std::memchr(data + pos, '\r', size_t(nextLf - pos));
        if (crp) {
            const qsizetype cr = static_cast<const char *>(crp) - data;
            if (cr + 1 < nextLf || nextLf == size) {
                // A lone CR ends the line (or a CR right before the end of data).
                const qsizetype next = (cr + 1 < size && data[cr + 1] == '\n') ? cr + 2 : cr + 1;
                f(pos, cr, next);
                pos = next;
                continue;
            }
            f(pos, cr, nextLf + 1); // CR LF
            pos = nextLf + 1;
            continue;
        }
        f(pos, nextLf, nextLf < size ? nextLf + 1 : size);
        pos = nextLf + 1;
    }
}

template <class OnSection, class OnEntry, class OnPlain>
void scanIniLines(const char *data, qsizetype size, OnSection &&onSection, OnEntry &&onEntry, OnPlain &&onPlain)
{
    forEachLine(data, size, [&](qsizetype begin, qsizetype end, qsizetype) {
        const IniLine line = classifyIniLine(data + begin, end - begin);
        if (line.kind == IniLine::Section)
            onSection(line.name);
        else if (line.kind == IniLine::Entry)
            onEntry(line.name, line.value);
        else if (line.kind == IniLine::Plain)
            onPlain(line.value);
    });
}

template <class OnSection, class OnEntry>
void scanIniLines(const char *data, qsizetype size, OnSection &&onSection, OnEntry &&onEntry)
{
    scanIniLines(data, size, onSection, onEntry, [](QByteArrayView) {});
}

template <class OnSection, class OnEntry>
bool scanIniFile(const QString &path, OnSection &&onSection, OnEntry &&onEntry)
{
    return forEachFileChunk(path,
                            [&](const char *data, qsizetype size) { scanIniLines(data, size, onSection, onEntry); });
}

template <class OnName>
void forEachSectionName(const char *data, qsizetype size, OnName &&onName)
{
    auto blank = [](char c) { return c == ' ' || c == '\t'; };
    qsizetype pos = 0;
    qsizetype nextLf = -1; // cached, so files broken by lone CRs stay linear
    while (pos < size) {
        const void *hit = std::memchr(data + pos, '[', size_t(size - pos));
        if (!hit)
            break;
        const qsizetype open = static_cast<const char *>(hit) - data;
        qsizetype lineStart = open;
        while (lineStart > pos && blank(data[lineStart - 1]))
            --lineStart;
        const bool atLineStart = lineStart == 0 || data[lineStart - 1] == '\n' || data[lineStart - 1] == '\r';
        if (nextLf < open) {
            const void *lf = std::memchr(data + open, '\n', size_t(size - open));
            nextLf = lf ? static_cast<const char *>(lf) - data : size;
        }
        qsizetype lineEnd = nextLf;
        if (const void *cr = std::memchr(data + open, '\r', size_t(lineEnd - open)))
            lineEnd = static_cast<const char *>(cr) - data;
        if (atLineStart) {
            const IniLine line = classifyIniLine(data + lineStart, lineEnd - lineStart);
            if (line.kind == IniLine::Section)
                onName(line.name);
        }
        pos = lineEnd;
    }
}

} // namespace lexitka
