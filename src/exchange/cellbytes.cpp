#include "cellbytes.h"

#include "data/utf8char.h"

#include <QChar>

#include <array>
#include <bit>
#include <cstring>

namespace lexitka {
namespace {

// Each byte of a code page as UTF-8 (at most 3 bytes) and as XML text
// (at most 6: "&quot;").
struct ByteForms {
    std::array<std::array<char, 6>, 256> utf8{};
    std::array<quint8, 256> utf8Size{};
    std::array<std::array<char, 6>, 256> xml{};
    std::array<quint8, 256> xmlSize{};
};

ByteForms buildForms(CodePage cp)
{
    ByteForms f;
    for (int b = 0; b < 256; ++b) {
        const QString c = decode(QByteArray(1, char(b)), cp);
        const QByteArray u = c.toUtf8();
        std::copy(u.begin(), u.end(), f.utf8[b].begin());
        f.utf8Size[b] = quint8(u.size());
        QByteArray x = u;
        const char16_t ch = c.at(0).unicode();
        if (ch == u'"')
            x = "&quot;";
        else if (ch == u'&')
            x = "&amp;";
        else if (ch == u'<')
            x = "&lt;";
        else if (ch == u'>')
            x = "&gt;";
        else if ((ch < 0x20 && ch != u'\t' && ch != u'\n' && ch != u'\r') || ch == 0xFFFE || ch == 0xFFFF)
            x.clear(); // no character of XML
        std::copy(x.begin(), x.end(), f.xml[b].begin());
        f.xmlSize[b] = quint8(x.size());
    }
    return f;
}

const ByteForms &forms(CodePage cp)
{
    // One guard for the three: every field of an export asks.
    static const std::array<ByteForms, 3> all{buildForms(CodePage::Cp1250), buildForms(CodePage::Cp1251),
                                              buildForms(CodePage::Cp1252)};
    switch (cp) {
    case CodePage::Cp1251: return all[1];
    case CodePage::Cp1252: return all[2];
    case CodePage::Cp1250: break;
    }
    return all[0];
}

// Plain ASCII goes out as it is; a run of it is copied in one piece.
bool plain(unsigned char b, bool xml)
{
    return b >= 0x20 && b < 0x80 && !(xml && (b == '"' || b == '&' || b == '<' || b == '>'));
}

template <bool Xml>
void appendBytes(ByteWriter &out, QByteArrayView bytes, CodePage cp)
{
    const ByteForms &f = forms(cp);
    const char *p = bytes.data();
    const char *end = p + bytes.size();
    while (p < end) {
        const char *run = p;
        while (p < end && plain(static_cast<unsigned char>(*p), Xml))
            ++p;
        if (p > run)
            out.put(run, p - run);
        if (p == end)
            break;
        const auto b = static_cast<unsigned char>(*p++);
        if constexpr (Xml)
            out.put(f.xml[b].data(), f.xmlSize[b]);
        else
            out.put(f.utf8[b].data(), f.utf8Size[b]);
    }
}

} // namespace

ByteWriter::ByteWriter(qsizetype expected) : m_out(std::max<qsizetype>(expected, 64), Qt::Uninitialized)
{
    m_data = m_out.data();
    m_room = m_out.size();
}

ByteWriter::ByteWriter(ByteSink &sink, qsizetype chunk)
    : m_out(std::max<qsizetype>(chunk, 1), Qt::Uninitialized), m_sink(&sink)
{
    m_data = m_out.data();
    m_room = m_out.size();
}

bool ByteWriter::grow(const char *bytes, qsizetype size)
{
    if (m_sink) {
        // The same few pages again and again, never fresh ones.
        m_ok = m_ok && (m_size == 0 || m_sink->write(QByteArrayView(m_data, m_size)));
        m_size = 0;
        if (size <= m_room)
            return true;
        m_ok = m_ok && m_sink->write(QByteArrayView(bytes, size));
        return false;
    }
    m_out.resize(std::max(m_room * 2, m_size + size));
    m_data = m_out.data();
    m_room = m_out.size();
    return true;
}

void ByteWriter::putNumber(qsizetype n)
{
    // Two digits at a time: a file of many entries names every one.
    static constexpr char pairs[] = "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
                                    "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
                                    "8081828384858687888990919293949596979899";
    char digits[24];
    int at = sizeof digits;
    const bool negative = n < 0;
    quint64 v = negative ? quint64(0) - quint64(n) : quint64(n);
    while (v >= 100) {
        const auto pair = size_t(v % 100) * 2;
        v /= 100;
        digits[--at] = pairs[pair + 1];
        digits[--at] = pairs[pair];
    }
    if (v >= 10) {
        digits[--at] = pairs[v * 2 + 1];
        digits[--at] = pairs[v * 2];
    } else {
        digits[--at] = char('0' + v);
    }
    if (negative)
        digits[--at] = '-';
    put(digits + at, qsizetype(sizeof digits) - at);
}

QByteArray ByteWriter::take()
{
    m_out.resize(m_size);
    m_data = nullptr;
    m_size = m_room = 0;
    return std::move(m_out);
}

bool ByteWriter::finish()
{
    if (m_sink)
        grow(nullptr, 0);
    return m_ok;
}

void appendUtf8(ByteWriter &out, QByteArrayView bytes, CodePage cp) { appendBytes<false>(out, bytes, cp); }

void appendXmlText(ByteWriter &out, QByteArrayView bytes, CodePage cp) { appendBytes<true>(out, bytes, cp); }

void appendXmlText(ByteWriter &out, const QString &text)
{
    const QStringView all(text);
    qsizetype run = 0;
    for (qsizetype i = 0; i <= all.size(); ++i) {
        const char16_t ch = i < all.size() ? all[i].unicode() : u'\0';
        const char *escaped = ch == u'"'   ? "&quot;"
                              : ch == u'&' ? "&amp;"
                              : ch == u'<' ? "&lt;"
                              : ch == u'>' ? "&gt;"
                                           : "";
        const bool dropped = (ch < 0x20 && ch != u'\t' && ch != u'\n' && ch != u'\r') || ch == 0xFFFE || ch == 0xFFFF;
        if (i < all.size() && !*escaped && !dropped)
            continue;
        out.put(all.sliced(run, i - run).toUtf8());
        out.putCString(escaped);
        run = i + 1;
    }
}

char32_t nextUtf8(QByteArrayView utf8, qsizetype &i)
{
    char32_t c = 0;
    const int len = utf8CharAt(reinterpret_cast<const unsigned char *>(utf8.data()) + i, utf8.size() - i, c);
    if (len <= 0) {
        ++i;
        return 0xFFFD;
    }
    i += len;
    return c;
}

namespace {

// The byte of each character of two bytes in UTF-8 (U+0080 to U+07FF, the
// accented Latin letters and Cyrillic), -1 where the code page has none.
struct TwoByteTable {
    std::array<qint16, 0x800> byteOf{};
};

TwoByteTable buildTwoByte(CodePage cp)
{
    TwoByteTable t;
    for (char32_t c = 0; c < 0x800; ++c) {
        const std::optional<char> b = encodeChar(c, cp);
        t.byteOf[c] = b ? qint16(static_cast<unsigned char>(*b)) : qint16(-1);
    }
    return t;
}

const TwoByteTable &twoByte(CodePage cp)
{
    // One guard for the three: every field of an import asks.
    static const std::array<TwoByteTable, 3> tables{buildTwoByte(CodePage::Cp1250), buildTwoByte(CodePage::Cp1251),
                                                    buildTwoByte(CodePage::Cp1252)};
    switch (cp) {
    case CodePage::Cp1251: return tables[1];
    case CodePage::Cp1252: return tables[2];
    case CodePage::Cp1250: break;
    }
    return tables[0];
}

// Bytes that a field of an entry line cannot hold as they are.
bool splitsEntry(char32_t c) { return c == U'\\' || c == U'\n' || c == U'\r'; }

} // namespace

char *toCodePage(QByteArrayView utf8, CodePage cp, char *to, bool entry, char32_t *refused)
{
    const TwoByteTable &table = twoByte(cp);
    const char *p = utf8.data();
    const qsizetype n = utf8.size();
    for (qsizetype i = 0; i < n;) {
        const char c = p[i];
        if (static_cast<unsigned char>(c) < 0x80) {
            if (entry && splitsEntry(char32_t(c))) {
                *refused = char32_t(c);
                return nullptr;
            }
            *to++ = c;
            ++i;
            continue;
        }
        char32_t u = 0;
        const auto lead = static_cast<unsigned char>(c);
        const auto next = i + 1 < n ? static_cast<unsigned char>(p[i + 1]) : 0;
        if (lead >= 0xC2 && lead <= 0xDF && (next & 0xC0) == 0x80) {
            // Two bytes, the accented letters and Cyrillic: read here.
            u = char32_t(lead & 0x1F) << 6 | (next & 0x3F);
            i += 2;
        } else {
            u = nextUtf8(utf8, i);
        }
        qint16 b = -1;
        if (u < 0x800) {
            b = table.byteOf[u];
        } else if (const std::optional<char> e = encodeChar(u, cp)) {
            b = static_cast<unsigned char>(*e);
        }
        if (b < 0) {
            *refused = u;
            return nullptr;
        }
        *to++ = char(b);
    }
    return to;
}

char *toCodePage(QStringView text, CodePage cp, char *to, bool entry, char32_t *refused)
{
    const TwoByteTable &table = twoByte(cp);
    for (qsizetype i = 0; i < text.size(); ++i) {
        char32_t c = text[i].unicode();
        qint16 b = -1;
        if (c < 0x800) {
            b = entry && splitsEntry(c) ? qint16(-1) : table.byteOf[c];
        } else {
            if (QChar::isHighSurrogate(c) && i + 1 < text.size() && text[i + 1].isLowSurrogate())
                c = QChar::surrogateToUcs4(char16_t(c), text[++i].unicode());
            if (const std::optional<char> e = encodeChar(c, cp))
                b = static_cast<unsigned char>(*e);
        }
        if (b < 0) {
            *refused = c;
            return nullptr;
        }
        *to++ = char(b);
    }
    return to;
}

QByteArrayView trimmedUtf8(QByteArrayView utf8)
{
    qsizetype begin = 0;
    qsizetype end = utf8.size();
    while (begin < end) {
        const auto b = static_cast<unsigned char>(utf8[begin]);
        if (b < 0x80) {
            if (!QChar::isSpace(b))
                break;
            ++begin;
            continue;
        }
        qsizetype next = begin;
        const char32_t c = nextUtf8(utf8, next);
        if (!QChar::isSpace(c))
            break;
        begin = next;
    }
    while (end > begin) {
        const auto b = static_cast<unsigned char>(utf8[end - 1]);
        if (b < 0x80) {
            if (!QChar::isSpace(b))
                break;
            --end;
            continue;
        }
        // Back to the lead byte of the last character.
        qsizetype start = end - 1;
        while (start > begin && (static_cast<unsigned char>(utf8[start]) & 0xC0) == 0x80 && end - start < 4)
            --start;
        qsizetype next = start;
        const char32_t c = nextUtf8(utf8, next);
        if (next != end || !QChar::isSpace(c))
            break;
        end = start;
    }
    return utf8.sliced(begin, end - begin);
}

} // namespace lexitka
