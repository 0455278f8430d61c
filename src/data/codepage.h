#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

namespace lexitka {

// The three 8-bit code pages in which dictionary fields are stored.
enum class CodePage { Cp1250, Cp1251, Cp1252 };

// Font character-set numbers as the windows use them per field.
enum Charset : int { CharsetWestern = 0, CharsetCyrillic = 204, CharsetCentralEuropean = 238 };

CodePage codePageForCharset(int charset);
Charset charsetOf(CodePage cp);

// Every byte maps to one character and back, so decode/encode round-trips
// any byte string unchanged.
QString decode(const QByteArray &bytes, CodePage cp);
QByteArray encode(const QString &text, CodePage cp);
// The byte of one character in cp, or nullopt where cp has no place for it
// (encode writes "?" there).
std::optional<char> encodeChar(char32_t c, CodePage cp);

inline QString fromCp1250(const QByteArray &b) { return decode(b, CodePage::Cp1250); }
inline QByteArray toCp1250(const QString &s) { return encode(s, CodePage::Cp1250); }

} // namespace lexitka
