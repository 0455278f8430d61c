#pragma once

#include "codepage.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace lexitka {

enum LanguageCode : int { // 20 to 25 on purpose: the numbers the files have always used
    LangEnglish = 20,
    LangGerman = 21,
    LangFrench = 22,
    LangRussian = 23,
    LangSpanish = 24,
    LangLatin = 25,
};

struct LanguageInfo {
    int code;
    const char *extension; // without the dot
    QString dialogName;    // "Anglické", the file-dialog filter label
    QString titlePrefix;   // "Lexitka - Anglické ["
    QStringList testKinds; // items of chbChoice, in order
    CodePage foreignCodePage;
};

bool isLanguageCode(int code);
// Unknown codes fall back to English.
const LanguageInfo &languageInfo(int code);
const QList<int> &allLanguageCodes();
// Extension with or without its dot, any case; nullopt for others.
std::optional<int> languageForExtension(const QString &extension);
// The settings section of a dictionary path: its extension in lower case
// without the dot, "en" when it has none. An extension that cannot name a
// section (see canNameSection) gives the section of languageCode instead.
QByteArray extensionSection(const QString &path, int languageCode);

struct WordRecord {
    QByteArray Clen;
    QByteArray Slovo;
    QByteArray Mn;
    QByteArray Preklad;
    bool operator==(const WordRecord &) const = default;
};

QByteArrayView GetField(QByteArrayView value, int n);
WordRecord ParseWord(QByteArrayView line, int languageCode);

// The same fields as views into the line, for the places that look at every
// line of a lesson (sorting, searching, the editor's grid).
struct WordFields {
    QByteArrayView Clen;
    QByteArrayView Slovo;
    QByteArrayView Mn;
    QByteArrayView Preklad;
};
WordFields wordFields(QByteArrayView line, int languageCode);
// key "=" the language's fields joined by "\".
QByteArray ComposeEntry(QByteArrayView key, const WordRecord &word, int languageCode);

// Article lists of German, French and Spanish (empty for the others).
const QStringList &articles(int languageCode);
// Shown text of an article code; codes outside the list give "není".
QString articleText(int languageCode, int index);
// The number in Clen; text that is not a decimal number counts as "no article" (3).
int articleIndex(QByteArrayView clen);
// What the editor's column "Člen", the printed lesson and the export show for
// Clen: the article of German, French and Spanish words unless the code is
// "3", "není" for a code with no article of its own; nothing otherwise.
QString articleCell(int languageCode, QByteArrayView clen);

constexpr int kNoArticle = 3;

} // namespace lexitka
