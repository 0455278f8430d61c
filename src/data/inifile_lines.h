#pragma once

#include <cstring>
#include <type_traits>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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

// The first CR or LF in [p, end), or end: one look at each byte, sixteen
// at a time where the processor can, since most lines are short.
inline const char *findLineBreak(const char *p, const char *end)
{
#if defined(__SSE2__)
    const __m128i cr = _mm_set1_epi8('\r');
    const __m128i lf = _mm_set1_epi8('\n');
    while (end - p >= 16) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i *>(p));
        const int mask = _mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(v, cr), _mm_cmpeq_epi8(v, lf)));
        if (mask != 0)
            return p + __builtin_ctz(unsigned(mask));
        p += 16;
    }
#endif
    while (p < end && *p != '\r' && *p != '\n')
        ++p;
    return p;
}

template <class F>
void forEachLine(const char *data, qsizetype size, F &&f, const bool *go)
{
    qsizetype pos = 0;
    while (pos < size && (!go || *go)) {
        const qsizetype end = findLineBreak(data + pos, data + size) - data;
        if (end == size) {
            f(pos, size, size); // the last line, without a line end
            return;
        }
        // CR LF, LF, or a lone CR.
        const qsizetype next = data[end] == '\r' && end + 1 < size && data[end + 1] == '\n' ? end + 2 : end + 1;
        f(pos, end, next);
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

template <class OnSection, class OnEntry, class OnPlain>
void scanIniLines(const char *data, qsizetype size, OnSection &&onSection, OnEntry &&onEntry, OnPlain &&onPlain)
{
    forEachLine(data, size, [&](qsizetype begin, qsizetype end, qsizetype) {
        handIniLine(classifyIniLine(data + begin, end - begin), onSection, onEntry, onPlain);
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
    while (pos < size) {
        const void *hit = std::memchr(data + pos, '[', size_t(size - pos));
        if (!hit)
            break;
        const qsizetype open = static_cast<const char *>(hit) - data;
        qsizetype lineStart = open;
        while (lineStart > pos && blank(data[lineStart - 1]))
            --lineStart;
        const bool atLineStart = lineStart == 0 || data[lineStart - 1] == '\n' || data[lineStart - 1] == '\r';
        const qsizetype lineEnd = findLineBreak(data + open, data + size) - data;
        if (atLineStart) {
            const IniLine line = classifyIniLine(data + lineStart, lineEnd - lineStart);
            if (line.kind == IniLine::Section)
                onName(line.name);
        }
        pos = lineEnd;
    }
}

} // namespace lexitka
