#pragma once

#include "exchange/wordtable.h"

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
// word; the plural from the nominative of its plural declension (under the
// gender or not); a verb's forms from the third person singular of each
// tense, placed by the tenses' names and joined by ",".
// Nullopt and *error in Czech when the bytes are no KVTML 2.
std::optional<WordTable> readKvtml(QByteArrayView xml, QString *error = nullptr);
// The same read from a device open for reading (a file read as it goes).
std::optional<WordTable> readKvtml(QIODevice *device, QString *error = nullptr);

// The definite articles a locale's nouns take by gender when the file
// names none: male, female, neutral, then the same in the plural.
QStringList kvtmlDefaultArticles(const QString &locale);

} // namespace lexitka
