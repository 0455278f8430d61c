#pragma once

#include "data/codepage.h"
#include "data/savefile.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

#include <cstring>
#include <optional>

namespace lexitka {

// Bytes written one piece after another into one buffer, grown rarely:
// the room for the whole text is taken at the start when it can be told.
// Given a sink, the buffer is a small one handed on whenever it is full, so
// a big text never lies in memory whole.
class ByteWriter {
public:
    explicit ByteWriter(qsizetype expected);
    explicit ByteWriter(ByteSink &sink, qsizetype chunk = qsizetype(1) << 17);
    ByteWriter(const ByteWriter &) = delete;
    ByteWriter &operator=(const ByteWriter &) = delete;
    void put(const char *bytes, qsizetype size)
    {
        if (size == 0)
            return; // an empty view may have no bytes at all
        if (m_size + size > m_room && !grow(bytes, size))
            return;
        std::memcpy(m_data + m_size, bytes, size_t(size));
        m_size += size;
    }
    void put(char c)
    {
        if (m_size == m_room)
            grow(nullptr, 1);
        m_data[m_size++] = c;
    }
    void put(QByteArrayView bytes) { put(bytes.data(), bytes.size()); }
    template <size_t N>
    void put(const char (&literal)[N])
    {
        put(literal, qsizetype(N - 1));
    }
    void putCString(const char *text) { put(text, qsizetype(std::strlen(text))); }
    void putNumber(qsizetype n);
    // Without a sink: the bytes written.
    QByteArray take();
    // With a sink: hands it the rest; false when it refused any piece.
    bool finish();

private:
    // Room for size more bytes; false when the bytes went to the sink
    // straight, being more than its buffer holds.
    bool grow(const char *bytes, qsizetype size);
    QByteArray m_out;
    ByteSink *m_sink = nullptr;
    bool m_ok = true;
    char *m_data = nullptr;
    qsizetype m_size = 0;
    qsizetype m_room = 0;
};

// Word-list text byte by byte, without a QString per cell: the fields of a
// dictionary go out as UTF-8 and UTF-8 comes back into a field's code page.

// The field's bytes as UTF-8.
void appendUtf8(ByteWriter &out, QByteArrayView bytes, CodePage cp);
// The same as XML character data, escaped as QXmlStreamWriter escapes it
// (", &, <, >), the characters XML cannot hold left out.
void appendXmlText(ByteWriter &out, QByteArrayView bytes, CodePage cp);
void appendXmlText(ByteWriter &out, const QString &text);

// UTF-8 (or UTF-16) into cp, written at `to`, which has room for as many
// bytes as the text has (a character never takes more in cp). The end of
// what was written, or nullptr with the first character that cp has no
// place for, or that is "\\" or a line end when `entry` says the text is a
// field of an entry line, which they would split, in *refused.
char *toCodePage(QByteArrayView utf8, CodePage cp, char *to, bool entry, char32_t *refused);
char *toCodePage(QStringView text, CodePage cp, char *to, bool entry, char32_t *refused);

// Without the blanks QString::trimmed removes at either end.
QByteArrayView trimmedUtf8(QByteArrayView utf8);

// The next character of UTF-8 text at i, moving i past it (U+FFFD for a
// broken sequence, one byte at a time).
char32_t nextUtf8(QByteArrayView utf8, qsizetype &i);

} // namespace lexitka
