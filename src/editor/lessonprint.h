#pragma once

#include "data/linestore.h"
#include "editor/gridrow.h"

#include <QByteArray>
#include <QList>
#include <QString>

class QPaintDevice;
class QPrinter;
class QPrinterInfo;

namespace lexitka {

// Shown by the browser after printLessonOnDefaultPrinter().
inline const QString kNoDefaultPrinterText =
    QStringLiteral("Není nastavena žádná výchozí tiskárna. Lekci nelze vytisknout.");
inline const QString kPrintFailedText = QStringLiteral("Tisk lekce se nezdařil. Lekce nebyla vytištěna.");

enum class PrintStyle { Title, Regular, Bold };

// A piece of a printed line: its text, decoded by its own code page, and
// its font (Tahoma 14, Tahoma 9 or Tahoma 9 bold).
struct PrintPiece {
    QString text;
    PrintStyle style;
    bool operator==(const PrintPiece &) const = default;
};
using PrintLine = QList<PrintPiece>;

// Five blanks and the lesson's name.
PrintLine titleLine(QByteArrayView lessonName);
// The empty line under the title.
PrintLine gapLine();
// Five blanks, the article and two blanks, the bold word and two blanks,
// "(" forms ")" and three blanks for German, the translation.
PrintLine wordLine(const GridRow &row, int languageCode);

// Draws the title, the gap and one line per entry line from the top of the
// device's page. A line too wide for the page goes on under itself; a full
// page is followed by a new one on a paged device (a printer or a PDF).
// Returns the number of pages, 0 when painting could not start or a new
// page could not be had.
int paintLesson(QPaintDevice &device, QByteArrayView lessonName, const LineStore &lines, int languageCode);

enum class PrintResult { NoPrinter, Failed, Printed };

// Prints on the given printer with the program's margins.
PrintResult printLesson(QPrinter &printer, QByteArrayView lessonName, const LineStore &lines, int languageCode);
// NoPrinter for a null printer; nothing is opened then.
PrintResult printLessonOn(const QPrinterInfo &printer, QByteArrayView lessonName, const LineStore &lines,
                          int languageCode);
// The system's default printer, no dialog.
PrintResult printLessonOnDefaultPrinter(QByteArrayView lessonName, const LineStore &lines, int languageCode);

} // namespace lexitka
