#pragma once

#include "data/savefile.h"
#include "exchange/exportlines.h"

#include <QByteArray>
#include <QList>
#include <QString>

namespace lexitka {

// The lessons as KVTML 2.0 (UTF-8): identifier 0 the foreign language,
// identifier 1 Czech.
QByteArray writeKvtml(const QList<ExportLesson> &lessons, int languageCode, const QString &title);
// The same bytes handed to sink piece by piece as they are made (a file
// through saveFileInPieces); false when the sink refused one.
bool writeKvtml(ByteSink &sink, const QList<ExportLesson> &lessons, int languageCode, const QString &title);

} // namespace lexitka
