#pragma once

#include <QtGlobal>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace lexitka {

// Bit i set where p[i] is a, b or c, over the 64 bytes from p: a scanner
// passes over the bytes it need not look at 64 at a time.
inline quint64 bytesMarked(const char *p, char a, char b, char c)
{
    quint64 marks = 0;
#if defined(__SSE2__)
    const __m128i va = _mm_set1_epi8(a);
    const __m128i vb = _mm_set1_epi8(b);
    const __m128i vc = _mm_set1_epi8(c);
    for (int i = 0; i < 4; ++i) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i *>(p + 16 * i));
        const __m128i hits =
            _mm_or_si128(_mm_cmpeq_epi8(v, va), _mm_or_si128(_mm_cmpeq_epi8(v, vb), _mm_cmpeq_epi8(v, vc)));
        marks |= quint64(unsigned(_mm_movemask_epi8(hits))) << (16 * i);
    }
#else
    for (int i = 0; i < 64; ++i)
        marks |= quint64(p[i] == a || p[i] == b || p[i] == c) << i;
#endif
    return marks;
}

} // namespace lexitka
