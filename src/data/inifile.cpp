#include "inifile.h"

#include "codepage.h"

#include <algorithm>
#include <cstring>

namespace lexitka {
namespace {

inline bool isBlank(char c) { return c == ' ' || c == '\t'; }

inline char lowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? char(c + 32) : c; }

} // namespace

QByteArrayView trimmedBlanks(QByteArrayView v)
{
    qsizetype b = 0, e = v.size();
    while (b < e && isBlank(v[b]))
        ++b;
    while (e > b && isBlank(v[e - 1]))
        --e;
    return v.sliced(b, e - b);
}

bool equalsIgnoringCase(QByteArrayView a, QByteArrayView b)
{
    if (a.size() != b.size())
        return false;
    bool ascii = true;
    for (qsizetype i = 0; i < a.size(); ++i) {
        if (lowerAscii(a[i]) != lowerAscii(b[i])) {
            if ((static_cast<unsigned char>(a[i]) | static_cast<unsigned char>(b[i])) < 0x80)
                return false;
            ascii = false;
        }
    }
    if (ascii)
        return true;
    // Lesson names are Czech text: compare letters such as Ř and ř too.
    return decode(a.toByteArray(), CodePage::Cp1250)
               .compare(decode(b.toByteArray(), CodePage::Cp1250), Qt::CaseInsensitive)
           == 0;
}

IniLine classifyIniLine(const char *p, qsizetype n)
{
    qsizetype b = 0;
    while (b < n && isBlank(p[b]))
        ++b;
    if (b == n || p[b] == ';')
        return {};
    auto plain = [&] {
        qsizetype e = n;
        while (e > b && isBlank(p[e - 1]))
            --e;
        return IniLine{IniLine::Plain, {}, QByteArrayView(p + b, e - b)};
    };
    if (p[b] == '[') {
        const void *close = std::memchr(p + b + 1, ']', size_t(n - b - 1));
        if (!close)
            return plain(); // not a header, and never an entry
        const QByteArrayView name =
            trimmedBlanks(QByteArrayView(p + b + 1, static_cast<const char *>(close) - (p + b + 1)));
        return {IniLine::Section, name, {}};
    }
    const void *eqp = std::memchr(p + b, '=', size_t(n - b));
    if (!eqp)
        return plain();
    const qsizetype eq = static_cast<const char *>(eqp) - p;
    qsizetype keyEnd = eq;
    while (keyEnd > b && isBlank(p[keyEnd - 1]))
        --keyEnd;
    qsizetype v = eq + 1, e = n;
    while (v < e && isBlank(p[v]))
        ++v;
    while (e > v && isBlank(p[e - 1]))
        --e;
    return {IniLine::Entry, QByteArrayView(p + b, keyEnd - b), QByteArrayView(p + v, e - v)};
}

IniSectionSpan findIniSection(QByteArrayView bytes, QByteArrayView name)
{
    const char *data = bytes.data();
    const qsizetype size = bytes.size();
    IniSectionSpan found;
    forEachSectionHeader(data, size, [&](QByteArrayView header, qsizetype start, qsizetype lineEnd) {
        if (found.header >= 0) {
            found.end = start;
            return false;
        }
        if (!equalsIgnoringCase(header, name))
            return true;
        found.header = start;
        found.headerEnd = lineEnd;
        found.body = lineEnd < size && data[lineEnd] == '\r' && lineEnd + 1 < size && data[lineEnd + 1] == '\n'
                         ? lineEnd + 2
                         : std::min(lineEnd + 1, size);
        found.end = size;
        return true;
    });
    return found;
}

} // namespace lexitka
