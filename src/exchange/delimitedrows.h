#pragma once

#include <QByteArray>
#include <QByteArrayView>

#include <array>
#include <bit>
#include <cstring>
#include <vector>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace lexitka {

// The rows of RFC 4180 text as parseDelimited finds them, one at a time,
// over its bytes (UTF-8, or any code page that keeps ASCII): a field in
// double quotes may hold separators, line breaks and doubled quotes; CR LF,
// LF and a lone CR end a row; a last empty line is no row. A cell without
// quotes is a view into the text; one with quotes is copied, its quotes
// undoubled.
class DelimitedRows {
public:
    DelimitedRows(QByteArrayView text, char separator);

    // Reads the next row; false at the end of the text.
    bool next()
    {
        const qsizetype n = m_text.size();
        qsizetype i = m_at;
        if (i >= n)
            return false;
        m_cells.clear();
        const char *p = m_text.data();
        for (;;) {
            if (i < n && p[i] == '"')
                return quotedRow(i); // the rare case, on its own path
            const qsizetype from = i;
            i = plainEnd(p, i, n);
            m_cells.emplace_back(p + from, i - from);
            if (!pastCellEnd(p, i, n))
                break;
        }
        m_at = i;
        return true;
    }

    // The cells of the row read last, valid until the next row is read.
    const std::vector<QByteArrayView> &cells() const { return m_cells; }

private:
    bool quotedRow(qsizetype i);
    // Steps i over what ends the cell there: true after a separator, false
    // after the row's line end or at the end of the text.
    bool pastCellEnd(const char *p, qsizetype &i, qsizetype n) const
    {
        if (i == n)
            return false;
        const char c = p[i++];
        if (c == m_separator)
            return true;
        if (c == '\r' && i < n && p[i] == '\n')
            ++i;
        return false;
    }

    // Where the cell from i ends: at the separator, a line end or n.
    qsizetype plainEnd(const char *p, qsizetype i, qsizetype n) const
    {
#ifdef __SSE2__
        // Sixteen bytes at a time where the processor has the instructions.
        const __m128i sep = _mm_set1_epi8(m_separator), lf = _mm_set1_epi8('\n'), cr = _mm_set1_epi8('\r');
        for (; i + 16 <= n; i += 16) {
            const __m128i w = _mm_loadu_si128(reinterpret_cast<const __m128i *>(p + i));
            const __m128i hit =
                _mm_or_si128(_mm_cmpeq_epi8(w, sep), _mm_or_si128(_mm_cmpeq_epi8(w, lf), _mm_cmpeq_epi8(w, cr)));
            if (const int mask = _mm_movemask_epi8(hit))
                return i + std::countr_zero(unsigned(mask));
        }
#endif
        // Eight bytes at a time: the lowest byte flagged is always a true
        // match, the first stop.
        constexpr quint64 ones = 0x0101010101010101u;
        constexpr quint64 highs = 0x8080808080808080u;
        for (; i + 8 <= n; i += 8) {
            quint64 w;
            std::memcpy(&w, p + i, sizeof w);
            const quint64 a = w ^ m_separatorBytes, b = w ^ (ones * '\n'), c = w ^ (ones * '\r');
            const quint64 found = ((a - ones) & ~a) | ((b - ones) & ~b) | ((c - ones) & ~c);
            if (found & highs) {
                if constexpr (std::endian::native == std::endian::little)
                    return i + std::countr_zero(found & highs) / 8;
                else
                    return i + std::countl_zero(found & highs) / 8;
            }
        }
        while (i < n && !m_stops[static_cast<unsigned char>(p[i])])
            ++i;
        return i;
    }

    QByteArrayView m_text;
    char m_separator;
    quint64 m_separatorBytes; // the separator in every byte
    qsizetype m_at = 0;
    std::array<bool, 256> m_stops{}; // the separator and the line ends
    std::vector<QByteArrayView> m_cells;
    QByteArray m_copies; // the row's cells that had quotes
};

// What a word list's bytes are: plain ASCII, UTF-8 (with a byte-order mark,
// or well-formed with a character beyond ASCII), or neither, which is read
// in a code page. The same answer as isUtf8Text, with ASCII told apart.
enum class WordListBytes { Ascii, Utf8, Other };
WordListBytes classifyWordList(QByteArrayView bytes);

} // namespace lexitka
