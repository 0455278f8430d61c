#pragma once

#include <QtGlobal>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace lexitka {

// 64 bytes loaded once and marked for byte values in turn: bit i of
// marked(c) is set where byte i is c. A scanner passes over the bytes it
// need not look at 64 at a time.
class Bytes64 {
public:
    Q_ALWAYS_INLINE explicit Bytes64(const char *p)
    {
#if defined(__SSE2__)
        const auto *q = reinterpret_cast<const __m128i *>(p);
        m_v0 = _mm_loadu_si128(q);
        m_v1 = _mm_loadu_si128(q + 1);
        m_v2 = _mm_loadu_si128(q + 2);
        m_v3 = _mm_loadu_si128(q + 3);
#else
        m_p = p;
#endif
    }

    // Bit i set where byte i is any of the values: one mark for them all.
    template <class... Chars>
    Q_ALWAYS_INLINE quint64 marked(Chars... values) const
    {
#if defined(__SSE2__)
        // Written out, not looped: the shifts stay constants.
        const auto sixteen = [&](__m128i bytes) {
            __m128i hits = _mm_setzero_si128();
            ((hits = _mm_or_si128(hits, _mm_cmpeq_epi8(bytes, _mm_set1_epi8(values)))), ...);
            return quint64(unsigned(_mm_movemask_epi8(hits)));
        };
        return sixteen(m_v0) | sixteen(m_v1) << 16 | sixteen(m_v2) << 32 | sixteen(m_v3) << 48;
#else
        quint64 marks = 0;
        for (int i = 0; i < 64; ++i)
            marks |= quint64(((m_p[i] == values) || ...)) << i;
        return marks;
#endif
    }

private:
#if defined(__SSE2__)
    __m128i m_v0, m_v1, m_v2, m_v3;
#else
    const char *m_p;
#endif
};

// Bit i set where p[i] is a, b or c, over the 64 bytes from p.
inline quint64 bytesMarked(const char *p, char a, char b, char c) { return Bytes64(p).marked(a, b, c); }

} // namespace lexitka
