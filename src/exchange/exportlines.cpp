#include "exportlines.h"

#include <bit>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace lexitka {
namespace {

// Where the next c is in p[from, n), n for none.
qsizetype nextByte(const char *p, qsizetype from, qsizetype n, char c)
{
#ifdef __SSE2__
    const __m128i wanted = _mm_set1_epi8(c);
    for (; from + 16 <= n; from += 16) {
        const __m128i w = _mm_loadu_si128(reinterpret_cast<const __m128i *>(p + from));
        if (const int hit = _mm_movemask_epi8(_mm_cmpeq_epi8(w, wanted)))
            return from + std::countr_zero(unsigned(hit));
    }
#endif
    while (from < n && p[from] != c)
        ++from;
    return from;
}

} // namespace

WordFields entryFields(QByteArrayView line, int languageCode)
{
    const int count = languageCode == LangGerman                                  ? 4
                      : languageCode == LangFrench || languageCode == LangSpanish ? 3
                                                                                  : 2;
    const char *p = line.data();
    const qsizetype n = line.size();
    const qsizetype eq = nextByte(p, 0, n, '=');
    QByteArrayView f[4];
    int found = 0;
    for (qsizetype from = eq == n ? 0 : eq + 1;;) { // no key: the whole line is the value
        const qsizetype end = nextByte(p, from, n, '\\');
        f[found++] = QByteArrayView(p + from, end - from);
        if (end == n || found == count)
            break;
        from = end + 1;
    }
    for (int k = found; k < count; ++k)
        f[k] = f[found - 1];
    switch (count) {
    case 4: return {f[0], f[1], f[2], f[3]};
    case 3: return {f[0], f[1], {}, f[2]};
    default: return {{}, f[0], {}, f[1]};
    }
}

qsizetype exportedBytes(const QList<ExportLesson> &lessons, qsizetype perLine, qsizetype &lines)
{
    qsizetype bytes = 0;
    lines = 0;
    for (const ExportLesson &lesson : lessons) {
        lines += lesson.lines.size();
        for (const QByteArrayView line : lesson.lines)
            bytes += line.size() + perLine + lesson.name.size();
    }
    // Letters beyond ASCII take two or three bytes in UTF-8.
    return bytes + bytes / 4;
}

} // namespace lexitka
