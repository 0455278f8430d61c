#pragma once

#include "data/codepage.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <optional>

namespace lexitka {

// Word-list text byte by byte, without a QString per cell: the fields of a
// dictionary go out as UTF-8 and UTF-8 comes back into a field's code page.

// The field's bytes as UTF-8.
void appendUtf8(QByteArray &out, QByteArrayView bytes, CodePage cp);
// The same as XML character data, escaped as QXmlStreamWriter escapes it
// (", &, <, >), the characters XML cannot hold left out.
void appendXmlText(QByteArray &out, QByteArrayView bytes, CodePage cp);
void appendXmlText(QByteArray &out, const QString &text);

// UTF-8 into cp, appended to out. The first character cp has no place for
// is returned (out then holds what came before it); nullopt when all fit.
// Bytes that are no UTF-8 count as U+FFFD, as QString::fromUtf8 reads them.
std::optional<char32_t> appendFromUtf8(QByteArray &out, QByteArrayView utf8, CodePage cp);

// Without the blanks QString::trimmed removes at either end.
QByteArrayView trimmedUtf8(QByteArrayView utf8);

// The next character of UTF-8 text at i, moving i past it (U+FFFD for a
// broken sequence, one byte at a time).
char32_t nextUtf8(QByteArrayView utf8, qsizetype &i);

} // namespace lexitka
