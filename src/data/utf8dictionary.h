#pragma once

#include "data/codepage.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <optional>

namespace lexitka {

// Recognises UTF-8 text fed to it in pieces of any size. UTF-8 means: a
// byte-order mark at the start, or well-formed UTF-8 throughout with at least
// one character beyond ASCII. A windows-1250 text with Czech letters is
// practically never well-formed UTF-8, and pure ASCII needs no conversion.
class Utf8Recogniser {
public:
    void feed(QByteArrayView bytes);
    // Nothing more can change the answer: a byte-order mark, or bytes that
    // are not UTF-8.
    bool decided() const { return m_bom || m_malformed; }
    // The answer once everything has been fed.
    bool isUtf8() const;

private:
    QByteArray m_pending; // the start of a character cut by the end of a piece
    qsizetype m_seen = 0;
    bool m_bom = false;
    bool m_malformed = false;
    bool m_beyondAscii = false;
};

bool isUtf8Text(QByteArrayView bytes);
// The text of well-formed UTF-8 (a leading byte-order mark dropped);
// nullopt for bytes that are not.
std::optional<QString> decodeUtf8(QByteArrayView bytes);
// Reads only as far as needed; a missing or unreadable file is not UTF-8.
bool isUtf8File(const QString &path);

// Why a UTF-8 dictionary cannot be converted.
struct Utf8Problem {
    enum Kind { NoPlace, Malformed };
    Kind kind = NoPlace;
    std::optional<QByteArray> lesson; // UTF-8; none before the first lesson
    qsizetype line = 0;               // counted from 1
    char32_t character = 0;           // NoPlace: the character without a place
    CodePage codePage = CodePage::Cp1250;
};

struct Utf8Conversion {
    QByteArray bytes; // the dictionary in the program's code pages
    std::optional<Utf8Problem> problem;
};

// Converts a UTF-8 dictionary line by line into the code pages of the
// language's fields: the foreign word of each entry (the field ParseWord
// takes as Slovo) in the language's code page, everything else, lesson names,
// translations, German forms, keys, comments and other lines, in
// windows-1250. Line ends and every ASCII byte stay as they are; a leading
// byte-order mark goes. The first character that has no place in its code
// page, or a byte that is not UTF-8, stops the conversion.
Utf8Conversion convertUtf8Dictionary(QByteArrayView utf8, int languageCode);

// Where saveOriginalBeside would write now; empty when every name is taken.
QString originalCopyPath(const QString &path);
// Writes bytes to a new file beside path named "<file name>.utf8", or
// ".utf8.1", ".utf8.2", … when that exists: an existing file is never
// replaced. The path written, or empty when none could be.
QString saveOriginalBeside(const QString &path, const QByteArray &bytes);

} // namespace lexitka
