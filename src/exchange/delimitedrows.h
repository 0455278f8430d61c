#pragma once

#include <QByteArray>
#include <QByteArrayView>

#include <array>
#include <bit>
#include <cstring>
#include <vector>

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
        while (i < n && !m_stops[static_cast<unsigned char>(p[i])])
            ++i;
        return i;
    }

    QByteArrayView m_text;
    char m_separator;
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
