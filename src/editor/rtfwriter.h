#pragma once

#include "data/linestore.h"
#include "editor/gridrow.h"

#include <QByteArray>
#include <QList>
#include <QString>

namespace lexitka {

// Shown by the browser when the export cannot be written; %1 is the file.
inline const QString kRtfSaveFailedText =
    QStringLiteral("Soubor %1 nelze uložit. Pokud už existoval, zůstal beze změny.");

// A rich-text document of the grid's rows, one paragraph per row and an
// empty one at the end: the article and two blanks, the bold word and two
// blanks, "(" forms ")" and two blanks, the translation. Every byte above
// 127 is written as \uN followed by \'hh of the stored byte, so readers that
// know Unicode and readers that only know the font's character set both
// show the right letter, and each shows it once.
QByteArray lessonRtf(const QList<GridRow> &rows, int languageCode);
// The same document of the rows that the grid shows for these lines
// (gridRow), made straight from the lines.
QByteArray lessonLinesRtf(const LineStore &lines, int languageCode);

// Writes lessonRtf() to path through a temporary file; an existing file of
// that name stays as it was when the write fails. False on failure.
bool exportLessonRtf(const QString &path, const QList<GridRow> &rows, int languageCode);
// The same for lessonLinesRtf(), written to the file as it is made.
bool exportLessonLinesRtf(const QString &path, const LineStore &lines, int languageCode);

} // namespace lexitka
