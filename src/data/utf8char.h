#pragma once

#include <QString>

namespace lexitka {

// Length of the UTF-8 character that starts at p, with its code point in c:
// 0 when the bytes there are not well-formed UTF-8 (overlong forms,
// surrogates and code points past U+10FFFF included), -1 when the n bytes
// available end inside it.
inline int utf8CharAt(const unsigned char *p, qsizetype n, char32_t &c)
{
    const unsigned char b = p[0];
    if (b < 0x80) {
        c = b;
        return 1;
    }
    int len = 0;
    unsigned char lo = 0x80, hi = 0xBF; // allowed range of the second byte
    if (b >= 0xC2 && b <= 0xDF) {
        len = 2;
        c = b & 0x1F;
    } else if (b >= 0xE0 && b <= 0xEF) {
        len = 3;
        c = b & 0x0F;
        if (b == 0xE0)
            lo = 0xA0;
        else if (b == 0xED)
            hi = 0x9F;
    } else if (b >= 0xF0 && b <= 0xF4) {
        len = 4;
        c = b & 0x07;
        if (b == 0xF0)
            lo = 0x90;
        else if (b == 0xF4)
            hi = 0x8F;
    } else {
        return 0;
    }
    for (int i = 1; i < len; ++i) {
        if (i >= n)
            return -1;
        const unsigned char t = p[i];
        if (t < (i == 1 ? lo : 0x80) || t > (i == 1 ? hi : 0xBF))
            return 0;
        c = (c << 6) | (t & 0x3F);
    }
    return len;
}

// Appends a code point as UTF-16: one unit, or a surrogate pair.
inline void appendCodePoint(QString &out, char32_t c)
{
    if (QChar::requiresSurrogates(c)) {
        out.append(QChar(QChar::highSurrogate(c)));
        out.append(QChar(QChar::lowSurrogate(c)));
    } else {
        out.append(QChar(char16_t(c)));
    }
}

} // namespace lexitka
