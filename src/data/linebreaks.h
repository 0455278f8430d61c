#pragma once

#include <QtGlobal>

#include <algorithm>
#include <cstring>

namespace lexitka {

// The first byte c in [p, end), or end.
inline const char *findByte(const char *p, const char *end, char c)
{
    const void *hit = p < end ? std::memchr(p, c, size_t(end - p)) : nullptr;
    return hit ? static_cast<const char *>(hit) : end;
}

// The line ends (CR or LF) of one text, found going forward: each of the
// two bytes is looked for with memchr only once the last one found is
// passed, so a text of any line ends costs one pass.
class LineBreaks {
public:
    explicit LineBreaks(const char *end) : m_end(end) { }
    // The first CR or LF at or after p, or the end.
    const char *from(const char *p)
    {
        if (!m_cr || m_cr < p)
            m_cr = findByte(p, m_end, '\r');
        if (!m_lf || m_lf < p)
            m_lf = findByte(p, m_end, '\n');
        return std::min(m_cr, m_lf);
    }
    // Where the line after the end e starts: past CR LF, LF or a lone CR.
    const char *next(const char *e) const { return *e == '\r' && e + 1 < m_end && e[1] == '\n' ? e + 2 : e + 1; }

private:
    const char *m_end;
    const char *m_cr = nullptr; // none looked for yet
    const char *m_lf = nullptr;
};

} // namespace lexitka
