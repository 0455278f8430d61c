#include "lessonprint.h"

#include "data/codepage.h"
#include "data/dictionary.h"
#include "data/displaytext.h"
#include "platform/fonts.h"

#include <QFontMetricsF>
#include <QPageLayout>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QVarLengthArray>

#include <algorithm>
#include <array>

namespace lexitka {

namespace {

const QString kLead = QStringLiteral("     ");
const QString kAfterWord = QStringLiteral("  ");

// Lays out lines of pieces from the top of the page down, breaking a line
// that is wider than the page at blanks (or anywhere in a word wider than
// the page) and starting a new page when the next row does not fit.
class PagePrinter {
public:
    PagePrinter(QPainter &painter, QPaintDevice &device)
        : m_painter(painter), m_paged(dynamic_cast<QPagedPaintDevice *>(&device)), m_width(device.width()),
          m_height(device.height()), m_fonts{tahomaPoints(14), tahomaPoints(9), tahomaPoints(9, true)},
          m_metrics{QFontMetricsF(m_fonts[0], &device), QFontMetricsF(m_fonts[1], &device),
                    QFontMetricsF(m_fonts[2], &device)}
    { }

    void print(const PrintLine &line)
    {
        qreal height = 0;
        m_ascent = 0;
        QVarLengthArray<qreal, 4> widths;
        qreal total = 0;
        for (const PrintPiece &p : line) {
            const QFontMetricsF &fm = metrics(p.style);
            height = std::max(height, fm.lineSpacing());
            m_ascent = std::max(m_ascent, fm.ascent());
            widths.append(fm.horizontalAdvance(p.text));
            total += widths.back();
        }
        beginRow(height);
        if (total <= m_width) {
            qreal x = 0;
            for (qsizetype i = 0; i < line.size(); ++i) {
                draw(x, line[i].text, line[i].style);
                x += widths[i];
            }
        } else {
            printWrapped(line, height);
        }
        m_y += height;
    }

    int pages() const { return m_failed ? 0 : m_pages; }

private:
    const QFontMetricsF &metrics(PrintStyle s) const { return m_metrics[int(s)]; }

    void beginRow(qreal height)
    {
        if (m_paged && m_y > 0 && m_y + height > m_height) {
            if (!m_paged->newPage())
                m_failed = true;
            ++m_pages;
            m_y = 0;
            m_font = -1; // set it again on the new page
        }
    }

    void draw(qreal x, const QString &text, PrintStyle style)
    {
        if (text.isEmpty())
            return;
        if (m_font != int(style)) {
            m_font = int(style);
            m_painter.setFont(m_fonts[m_font]);
        }
        m_painter.drawText(QPointF(x, m_y + m_ascent), text);
    }

    void printWrapped(const PrintLine &line, qreal height)
    {
        // Rows after the first start under the text, not under the blanks.
        const QString &first = line.front().text;
        qsizetype lead = 0;
        while (lead < first.size() && first[lead] == u' ')
            ++lead;
        qreal indent = metrics(line.front().style).horizontalAdvance(first.left(lead));
        if (indent > m_width / 2)
            indent = 0;

        qreal x = 0;
        for (const PrintPiece &p : line) {
            const QFontMetricsF &fm = metrics(p.style);
            const QString &t = p.text;
            qsizetype i = 0;
            while (i < t.size()) {
                qsizetype j = i;
                while (j < t.size() && t[j] != u' ')
                    ++j;
                qsizetype k = j;
                while (k < t.size() && t[k] == u' ')
                    ++k;
                const QString word = t.mid(i, j - i);
                const qreal wordWidth = fm.horizontalAdvance(word);
                if (x + wordWidth <= m_width) {
                    const QString token = t.mid(i, k - i);
                    draw(x, token, p.style);
                    x += fm.horizontalAdvance(token);
                    i = k;
                } else if (x <= indent) {
                    // Wider than a row: cut it where the row ends.
                    const qsizetype cut = fittingChars(fm, QStringView(word), m_width - x);
                    draw(x, word.left(cut), p.style);
                    nextRow(height);
                    x = indent;
                    i += cut;
                } else {
                    nextRow(height);
                    x = indent;
                    if (word.isEmpty())
                        i = k; // blanks at a break are not carried over
                }
            }
        }
    }

    void nextRow(qreal height)
    {
        m_y += height;
        beginRow(height);
    }

    // At least one character, so that every row makes progress.
    static qsizetype fittingChars(const QFontMetricsF &fm, QStringView text, qreal room)
    {
        qreal used = 0;
        qsizetype n = 0;
        while (n < text.size()) {
            used += fm.horizontalAdvance(text[n]);
            if (used > room)
                break;
            ++n;
        }
        return std::max<qsizetype>(n, 1);
    }

    QPainter &m_painter;
    QPagedPaintDevice *m_paged;
    qreal m_width;
    qreal m_height;
    std::array<QFont, 3> m_fonts;
    std::array<QFontMetricsF, 3> m_metrics;
    int m_font = -1;
    qreal m_y = 0;
    qreal m_ascent = 0;
    int m_pages = 1;
    bool m_failed = false;
};

} // namespace

PrintLine titleLine(QByteArrayView lessonName)
{
    return {{kLead + fromCp1250(lessonName.toByteArray()), PrintStyle::Title}};
}

PrintLine gapLine() { return {{QString(), PrintStyle::Regular}}; }

PrintLine wordLine(const GridRow &row, int languageCode)
{
    PrintLine line;
    QString lead = kLead;
    if (!row.article.isEmpty())
        lead += fromCp1250(row.article) + kAfterWord;
    line.append({lead, PrintStyle::Regular});
    line.append({decode(row.word, languageInfo(languageCode).foreignCodePage) + kAfterWord, PrintStyle::Bold});
    if (languageCode == LangGerman && !row.forms.isEmpty())
        line.append({u'(' + fromCp1250(row.forms) + QStringLiteral(")   "), PrintStyle::Regular});
    line.append({fromCp1250(row.translation), PrintStyle::Regular});
    return line;
}

int paintLesson(QPaintDevice &device, QByteArrayView lessonName, const LineStore &lines, int languageCode)
{
    QPainter painter;
    if (!painter.begin(&device))
        return 0;
    PagePrinter out(painter, device);
    out.print(titleLine(lessonName));
    out.print(gapLine());
    for (QByteArrayView line : lines)
        out.print(wordLine(gridRow(line, languageCode), languageCode));
    if (!painter.end())
        return 0;
    return out.pages();
}

PrintResult printLesson(QPrinter &printer, QByteArrayView lessonName, const LineStore &lines, int languageCode)
{
    printer.setDocName(QStringLiteral("Lexitka - ") + displayText(lessonName, CodePage::Cp1250, 80));
    printer.setPageMargins(QMarginsF(20, 15, 15, 15), QPageLayout::Millimeter);
    const int pages = paintLesson(printer, lessonName, lines, languageCode);
    if (pages == 0 || printer.printerState() == QPrinter::Error || printer.printerState() == QPrinter::Aborted)
        return PrintResult::Failed;
    return PrintResult::Printed;
}

PrintResult printLessonOn(const QPrinterInfo &printer, QByteArrayView lessonName, const LineStore &lines,
                          int languageCode)
{
    if (printer.isNull())
        return PrintResult::NoPrinter;
    QPrinter device(printer, QPrinter::HighResolution);
    return printLesson(device, lessonName, lines, languageCode);
}

PrintResult printLessonOnDefaultPrinter(QByteArrayView lessonName, const LineStore &lines, int languageCode)
{
    return printLessonOn(QPrinterInfo::defaultPrinter(), lessonName, lines, languageCode);
}

} // namespace lexitka
