#pragma once

#include "data/savefile.h"
#include "exchange/exportlines.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QStringList>

namespace lexitka {

// The lessons as UTF-8 tab-separated text with a header row of the grid's
// titles; with more than one lesson a first column "Lekce" names each row's.
QByteArray writeTsv(const QList<ExportLesson> &lessons, int languageCode);
bool writeTsv(ByteSink &sink, const QList<ExportLesson> &lessons, int languageCode);
// The grid's four cells of an entry line, as Unicode.
QStringList wordCells(QByteArrayView line, int languageCode);

} // namespace lexitka
