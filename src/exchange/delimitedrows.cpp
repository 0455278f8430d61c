#include "delimitedrows.h"

#include "data/utf8char.h"

#include <bit>
#include <cstring>

namespace lexitka {

DelimitedRows::DelimitedRows(QByteArrayView text, char separator) : m_text(text), m_separator(separator)
{
    m_stops[static_cast<unsigned char>(separator)] = true;
    m_stops['\r'] = true;
    m_stops['\n'] = true;
}

// The rest of a row from a cell that starts with a quote. After a closing
// quote the cell goes on as plain text; a quote opens again only while the
// cell is still empty.
bool DelimitedRows::quotedRow(qsizetype i)
{
    struct Copied {
        size_t cell;
        qsizetype from, size;
    };
    std::vector<Copied> copied; // views into m_copies are made once it stops growing
    m_copies.resize(0);
    const char *p = m_text.data();
    const qsizetype n = m_text.size();
    const char sep = m_separator;
    for (;;) {
        const qsizetype from = i;
        bool isCopy = false;
        qsizetype copyFrom = 0;
        bool quoted = false;
        while (i < n) {
            if (quoted) {
                qsizetype run = i;
                while (run < n && p[run] != '"')
                    ++run;
                m_copies.append(p + i, run - i);
                i = run;
                if (i == n)
                    break;
                if (i + 1 < n && p[i + 1] == '"') {
                    m_copies.append('"');
                    i += 2;
                } else {
                    quoted = false;
                    ++i;
                }
                continue;
            }
            const char c = p[i];
            if (c == '"' && (isCopy ? m_copies.size() == copyFrom : i == from)) {
                if (!isCopy) {
                    isCopy = true;
                    copyFrom = m_copies.size();
                }
                quoted = true;
                ++i;
                continue;
            }
            if (c == sep || c == '\r' || c == '\n')
                break;
            qsizetype run = i + 1;
            while (run < n && p[run] != sep && p[run] != '\r' && p[run] != '\n' && p[run] != '"')
                ++run;
            if (isCopy)
                m_copies.append(p + i, run - i);
            i = run;
        }
        if (isCopy) {
            copied.push_back({m_cells.size(), copyFrom, m_copies.size() - copyFrom});
            m_cells.emplace_back();
        } else {
            m_cells.emplace_back(p + from, i - from);
        }
        if (!pastCellEnd(p, i, n))
            break;
    }
    for (const Copied &c : copied)
        m_cells[c.cell] = QByteArrayView(m_copies).sliced(c.from, c.size);
    m_at = i;
    return true;
}

WordListBytes classifyWordList(QByteArrayView bytes)
{
    if (bytes.startsWith("\xEF\xBB\xBF"))
        return WordListBytes::Utf8;
    const auto *p = reinterpret_cast<const unsigned char *>(bytes.data());
    const qsizetype n = bytes.size();
    bool beyondAscii = false;
    qsizetype i = 0;
    while (i < n) {
        if (p[i] < 0x80) {
            ++i;
            continue;
        }
        if (p[i] >= 0xC2 && p[i] <= 0xDF && i + 1 < n && (p[i + 1] & 0xC0) == 0x80) {
            beyondAscii = true; // two bytes, the most common
            i += 2;
            continue;
        }
        char32_t c = 0;
        const int len = utf8CharAt(p + i, n - i, c);
        if (len <= 0)
            return WordListBytes::Other;
        beyondAscii = true;
        i += len;
    }
    return beyondAscii ? WordListBytes::Utf8 : WordListBytes::Ascii;
}

} // namespace lexitka
