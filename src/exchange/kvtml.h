#pragma once

#include "data/linestore.h"
#include "data/savefile.h"
#include "exchange/wordtable.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QIODevice>
#include <QList>
#include <QString>

#include <optional>

namespace lexitka {

// KVTML 2.0, the XML word lists of KWordQuiz and Parley: each identifier
// (a language) a column, each entry a row, its lesson the path of the
// nested lesson containers it is in ("Lekce 1 / Zvířata"). A noun's article
// comes from its gender (word types noun/male, noun/female, noun/neutral and
// the identifier's definite articles) or from a definite article before the
// word; the plural from the nominative of its plural declension; a verb's
// forms from the third person singular of each tense, joined by ",".
// Nullopt and *error in Czech when the bytes are no KVTML 2.
std::optional<WordTable> readKvtml(QByteArrayView xml, QString *error = nullptr);
// The same read from a device open for reading (a file read as it goes).
std::optional<WordTable> readKvtml(QIODevice *device, QString *error = nullptr);

// The definite articles a locale's nouns take by gender when the file
// names none: male, female, neutral, then the same in the plural.
QStringList kvtmlDefaultArticles(const QString &locale);

struct ExportLesson {
    QByteArray name; // windows-1250
    LineStore lines; // entry lines of the dictionary's language
};

// The lessons as KVTML 2.0 (UTF-8): identifier 0 the foreign language,
// identifier 1 Czech.
QByteArray writeKvtml(const QList<ExportLesson> &lessons, int languageCode, const QString &title);
// The same bytes handed to sink piece by piece as they are made (a file
// through saveFileInPieces); false when the sink refused one.
bool writeKvtml(ByteSink &sink, const QList<ExportLesson> &lessons, int languageCode, const QString &title);

// The lessons as UTF-8 tab-separated text with a header row of the grid's
// titles; with more than one lesson a first column "Lekce" names each row's.
QByteArray writeTsv(const QList<ExportLesson> &lessons, int languageCode);
bool writeTsv(ByteSink &sink, const QList<ExportLesson> &lessons, int languageCode);
// The grid's four cells of an entry line, as Unicode.
QStringList wordCells(QByteArrayView line, int languageCode);

} // namespace lexitka
