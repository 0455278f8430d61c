#pragma once

// The lines of a dictionary file in one look at each byte, as the INI reader
// finds them (scanIniLines): a plain "key=value" line, the rule in a
// dictionary, is handed on as it stands, and only other lines are
// classified line by line.

#include "data/inifile.h"

#include <QByteArrayView>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace lexitka {

// The end of the line at p (its CR or LF, or `end`) and the first "=" in
// it (null when none): one look at each byte, sixteen at a time where the
// processor can.
inline const char *lineEndAndEquals(const char *p, const char *end, const char *&equals)
{
    equals = nullptr;
#if defined(__SSE2__)
    const __m128i cr = _mm_set1_epi8('\r');
    const __m128i lf = _mm_set1_epi8('\n');
    const __m128i eq = _mm_set1_epi8('=');
    while (end - p >= 16) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i *>(p));
        const unsigned breaks = unsigned(_mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(v, cr), _mm_cmpeq_epi8(v, lf))));
        if (!equals) {
            unsigned signs = unsigned(_mm_movemask_epi8(_mm_cmpeq_epi8(v, eq)));
            if (breaks != 0)
                signs &= (breaks & (0u - breaks)) - 1; // those before the break
            if (signs != 0)
                equals = p + __builtin_ctz(signs);
        }
        if (breaks != 0)
            return p + __builtin_ctz(breaks);
        p += 16;
    }
#endif
    for (; p < end && *p != '\r' && *p != '\n'; ++p) {
        if (!equals && *p == '=')
            equals = p;
    }
    return p;
}

// The sections, entries and other lines of a dictionary's bytes, as
// scanIniLines() hands them on.
template <class OnSection, class OnEntry, class OnPlain>
void scanDictionaryLines(const char *data, qsizetype size, OnSection &&onSection, OnEntry &&onEntry, OnPlain &&onPlain)
{
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    const char *p = data;
    const char *const end = data + size;
    while (p < end) {
        const char *eq = nullptr;
        const char *const e = lineEndAndEquals(p, end, eq);
        if (eq && !blank(*p) && *p != ';' && *p != '[' && (eq == p || !blank(eq[-1])) && (eq + 1 == e || !blank(eq[1]))
            && !blank(e[-1])) {
            onEntry(QByteArrayView(p, eq - p), QByteArrayView(eq + 1, e - eq - 1));
        } else {
            handIniLine(classifyIniLine(p, e - p), onSection, onEntry, onPlain);
        }
        if (e == end)
            break;
        p = *e == '\r' && e + 1 < end && e[1] == '\n' ? e + 2 : e + 1; // CR LF, LF or a lone CR
    }
}

template <class OnSection, class OnEntry>
void scanDictionaryLines(const char *data, qsizetype size, OnSection &&onSection, OnEntry &&onEntry)
{
    scanDictionaryLines(data, size, onSection, onEntry, [](QByteArrayView) {});
}

} // namespace lexitka
