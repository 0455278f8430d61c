#pragma once

#include <cstring>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif
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

// The first CR or LF at or after pos, or size: one pass over the line.
inline qsizetype findLineBreak(const char *data, qsizetype pos, qsizetype size)
{
#if defined(__SSE2__)
    const __m128i lf = _mm_set1_epi8('\n');
    const __m128i cr = _mm_set1_epi8('\r');
    for (; pos + 16 <= size; pos += 16) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i *>(data + pos));
        const int hits = _mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(v, lf), _mm_cmpeq_epi8(v, cr)));
        if (hits != 0)
            return pos + __builtin_ctz(unsigned(hits));
    }
#endif
    while (pos < size && data[pos] != '\n' && data[pos] != '\r')
        ++pos;
    return pos;
}

template <class F>
void forEachLine(const char *data, qsizetype size, F &&f, const bool *go)
{
    qsizetype pos = 0;
    while (pos < size && (!go || *go)) {
        const qsizetype end = findLineBreak(data, pos, size);
        // CR LF, LF or a lone CR ends a line.
        const qsizetype next =
            end == size ? size : (data[end] == '\r' && end + 1 < size && data[end + 1] == '\n' ? end + 2 : end + 1);
        f(pos, end, next);
        pos = next;
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

} // namespace lexitka
