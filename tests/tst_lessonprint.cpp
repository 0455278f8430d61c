// Printing a lesson and exporting it as rich text, read back by independent
// readers: poppler for the printed PDF, unrtf for the RTF file.
#include "data/codepage.h"
#include "data/dictionary.h"
#include "editor/lessonprint.h"
#include "editor/rtfwriter.h"
#include "platform/fonts.h"
#include "support/externaltools.h"
#include "support/fakes.h"

#include <QPrinter>
#include <QPrinterInfo>
#include <QRegularExpression>
#include <QTextDocumentFragment>
#include <QtTest>

#include <sys/resource.h>

#include <csignal>

using namespace lexitka;
using namespace lexitka::testing;

namespace {

QByteArray ru(const QString &s) { return encode(s, CodePage::Cp1251); }
QByteArray fr(const QString &s) { return encode(s, CodePage::Cp1252); }

// One text run of pdftohtml's XML: its page, box, font size and content,
// blanks as drawn and <b> around bold text.
struct PdfText {
    int page, top, left, width, height, size;
    QString xml;
};

QList<PdfText> readPdf(const QString &path, QSize *pageSize = nullptr)
{
    const QString xml = QString::fromUtf8(runTool(QStringLiteral("pdftohtml"),
                                                  {QStringLiteral("-xml"), QStringLiteral("-i"),
                                                   QStringLiteral("-stdout"), path})
                                              .value_or(QByteArray()));
    static const QRegularExpression page(QString::fromUtf8(R"re(<page number="(\d+)".*height="(\d+)" width="(\d+)")re"));
    static const QRegularExpression font(QString::fromUtf8(R"re(<fontspec id="(\d+)" size="(\d+)")re"));
    static const QRegularExpression text(QString::fromUtf8(
        R"re(<text top="(\d+)" left="(\d+)" width="(\d+)" height="(\d+)" font="(\d+)">(.*)</text>)re"));
    QList<PdfText> out;
    QHash<int, int> sizes;
    int pageNo = 0;
    for (const QString &line : xml.split(u'\n')) {
        if (auto m = page.match(line); m.hasMatch()) {
            pageNo = m.captured(1).toInt();
            if (pageSize)
                *pageSize = QSize(m.captured(3).toInt(), m.captured(2).toInt());
        } else if (auto f = font.match(line); f.hasMatch()) {
            sizes[f.captured(1).toInt()] = f.captured(2).toInt();
        } else if (auto t = text.match(line); t.hasMatch()) {
            out.append({pageNo, t.captured(1).toInt(), t.captured(2).toInt(), t.captured(3).toInt(),
                        t.captured(4).toInt(), sizes.value(t.captured(5).toInt()), t.captured(6)});
        }
    }
    return out;
}

QString withoutTags(QString s) { return s.remove(QRegularExpression(QStringLiteral("<[^>]*>"))); }

// A paragraph of unrtf's HTML: its text with blanks collapsed, and its bold runs.
struct RtfParagraph {
    QString text;
    QStringList bold;
    bool operator==(const RtfParagraph &) const = default;
};

char *toString(const RtfParagraph &p)
{
    return QTest::toString(p.text + QStringLiteral(" | bold: ") + p.bold.join(u'|'));
}

QList<RtfParagraph> readRtf(const QString &path)
{
    QString html = QString::fromUtf8(runTool(QStringLiteral("unrtf"), {QStringLiteral("--html"), path})
                                         .value_or(QByteArray()));
    html = html.mid(html.indexOf(QStringLiteral("<body>")) + 6);
    html.truncate(html.indexOf(QStringLiteral("</body>")));
    static const QRegularExpression bold(QStringLiteral("<b>(.*?)</b>"));
    const auto plain = [](const QString &html) { return QTextDocumentFragment::fromHtml(html).toPlainText().simplified(); };
    QList<RtfParagraph> out;
    for (const QString &p : html.split(QStringLiteral("<br>"))) {
        RtfParagraph para{plain(p), {}};
        for (auto it = bold.globalMatch(p); it.hasNext();)
            para.bold.append(plain(it.next().captured(1)));
        out.append(para);
    }
    return out;
}

QList<GridRow> rowsOf(const QList<QByteArray> &lines, int language)
{
    QList<GridRow> rows;
    for (const QByteArray &l : lines)
        rows.append(gridRow(l, language));
    return rows;
}

const QList<QByteArray> kGerman = {cz(QStringLiteral("0=1\\Katze\\Katzen\\kočka")),
                                   cz(QStringLiteral("1=3\\sehen\\\\vidět")),
                                   cz(QStringLiteral("2=3\\sein\\ist,war,i gewesen\\být"))};
const QList<QByteArray> kRussian = {ru(QStringLiteral("0=собака\\")) + cz(QStringLiteral("pes")),
                                    ru(QStringLiteral("1=дом\\")) + cz(QStringLiteral("dům"))};

} // namespace

class TestLessonPrint : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    int m_pdfs = 0;

    QString printToPdf(const QByteArray &name, const QList<QByteArray> &lines, int language)
    {
        const QString path = m_dir.filePath(QStringLiteral("lesson%1.pdf").arg(++m_pdfs));
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(path);
        [&] { QCOMPARE(printLesson(printer, name, lines, language), PrintResult::Printed); }();
        return path;
    }

private slots:
    void initTestCase() { installFontSubstitutes(); }

    void printedLesson_data()
    {
        QTest::addColumn<int>("language");
        QTest::addColumn<QList<QByteArray>>("lines");
        QTest::addColumn<QStringList>("printed");
        QTest::newRow("German") << int(LangGerman) << kGerman
                                << QStringList{QStringLiteral("     die  <b>Katze  </b>(Katzen)   kočka"),
                                               QStringLiteral("     <b>sehen  </b>vidět"),
                                               QStringLiteral("     <b>sein  </b>(ist,war,i gewesen)   být")};
        QTest::newRow("English") << int(LangEnglish)
                                 << QList<QByteArray>{"0=dog\\pes", cz(QStringLiteral("1=house\\dům"))}
                                 << QStringList{QStringLiteral("     <b>dog  </b>pes"),
                                                QStringLiteral("     <b>house  </b>dům")};
        QTest::newRow("Russian") << int(LangRussian) << kRussian
                                 << QStringList{QStringLiteral("     <b>собака  </b>pes"),
                                                QStringLiteral("     <b>дом  </b>dům")};
        QTest::newRow("French, word in its own code page")
            << int(LangFrench) << QList<QByteArray>{fr(QStringLiteral("0=1\\tête\\")) + "hlava"}
            << QStringList{QStringLiteral("     la  <b>tête  </b>hlava")};
        QTest::newRow("sorted, keys out of order")
            << int(LangGerman) << QList<QByteArray>{"7=2\\Auto\\Autos\\auto", "0=3\\Zug\\\\vlak"}
            << QStringList{QStringLiteral("     das  <b>Auto  </b>(Autos)   auto"),
                           QStringLiteral("     <b>Zug  </b>vlak")};
        QTest::newRow("mistakes") << int(LangGerman) << QList<QByteArray>{"0\\4=0\\Hund\\Hunde\\pes"}
                                  << QStringList{QStringLiteral("     der  <b>Hund  </b>(Hunde)   pes")};
        QTest::newRow("no words") << int(LangGerman) << QList<QByteArray>{} << QStringList{};
    }

    void printedLesson()
    {
        if (!haveTools({QStringLiteral("pdftohtml"), QStringLiteral("pdftotext"), QStringLiteral("pdffonts")}))
            QSKIP("poppler-utils is not installed");
        QFETCH(int, language);
        QFETCH(QList<QByteArray>, lines);
        QFETCH(QStringList, printed);
        const QByteArray name = cz(QStringLiteral("Zvířata a věci"));
        const QString pdf = printToPdf(name, lines, language);

        const QList<PdfText> texts = readPdf(pdf);
        QCOMPARE(texts.size(), printed.size() + 1);
        QCOMPARE(texts[0].xml, QStringLiteral("     Zvířata a věci"));
        QStringList words;
        for (qsizetype i = 1; i < texts.size(); ++i) {
            words.append(texts[i].xml);
            QCOMPARE(texts[i].page, 1);
            QVERIFY(texts[i].size < texts[0].size);
        }
        QCOMPARE(words, printed);
        if (texts.size() > 2) { // an empty row between the title and the first word
            const int row = texts[2].top - texts[1].top;
            QVERIFY(texts[1].top - texts[0].top >= 2 * row);
        }

        QStringList plain{withoutTags(texts[0].xml).simplified()};
        for (const QString &p : printed)
            plain.append(withoutTags(p).simplified());
        const QString layout = QString::fromUtf8(
            runTool(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")}).value_or(""));
        QStringList layoutLines;
        for (const QString &l : layout.split(u'\n'))
            if (!l.simplified().isEmpty() && l != u'\f')
                layoutLines.append(l.simplified());
        QCOMPARE(layoutLines, plain);

        // Every font embedded; the word's font bold, the rest regular.
        const QStringList fonts = QString::fromUtf8(runTool(QStringLiteral("pdffonts"), {pdf}).value_or(""))
                                      .split(u'\n', Qt::SkipEmptyParts)
                                      .mid(2);
        QCOMPARE(fonts.filter(QStringLiteral("Bold")).size(), printed.isEmpty() ? 0 : 1);
        QCOMPARE(fonts.size() - fonts.filter(QStringLiteral("Bold")).size(), 1);
        for (const QString &f : fonts)
        {
            const QStringList columns = f.split(u' ', Qt::SkipEmptyParts);
            QCOMPARE(columns.at(columns.size() - 5), QStringLiteral("yes"));
        }
    }

    // Many words, a very long translation and a word wider than the page:
    // new pages start at the top, nothing runs off the paper or is lost.
    void longLesson()
    {
        if (!haveTools({QStringLiteral("pdftohtml")}))
            QSKIP("poppler-utils is not installed");
        QList<QByteArray> lines;
        for (int i = 0; i < 200; ++i)
            lines.append(cz(QStringLiteral("%1=0\\Hund%1\\Hunde\\pes").arg(i)));
        lines.insert(40, cz(QStringLiteral("x=3\\sehen\\\\") + QStringLiteral("vidět, spatřit ").repeated(40)));
        lines.insert(90, "y=3\\" + QByteArray(600, 'w') + "\\\\w");
        QSize page;
        const QList<PdfText> texts = readPdf(printToPdf("Psi", lines, LangGerman), &page);

        QString printed, expected = QStringLiteral("Psi");
        for (const PdfText &t : texts) {
            printed += withoutTags(t.xml);
            QVERIFY2(t.left + t.width <= page.width() && t.top + t.height <= page.height(), qPrintable(t.xml));
        }
        for (const QByteArray &l : lines) {
            const GridRow r = gridRow(l, LangGerman);
            expected += fromCp1250(r.article + r.word + '(' + r.forms + ')' + r.translation);
        }
        expected.remove(QStringLiteral("()"));
        QCOMPARE(printed.remove(u' '), expected.remove(u' '));
        QVERIFY(texts.back().page >= 3);
        for (qsizetype i = 1; i < texts.size(); ++i) {
            if (texts[i].page != texts[i - 1].page)
                QVERIFY(texts[i].top < texts[i - 1].top && texts[i].top <= texts[0].top + texts[0].height);
        }
    }

    void printerOutcomes()
    {
        QCOMPARE(printLessonOn(QPrinterInfo(), "Psi", kGerman, LangGerman), PrintResult::NoPrinter);
        if (QPrinterInfo::defaultPrinter().isNull())
            QCOMPARE(printLessonOnDefaultPrinter("Psi", kGerman, LangGerman), PrintResult::NoPrinter);

        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(m_dir.filePath(QStringLiteral("missing/folder.pdf")));
        QTest::ignoreMessage(QtWarningMsg, "QPainter::begin(): Returned false");
        QCOMPARE(printLesson(printer, "Psi", kGerman, LangGerman), PrintResult::Failed);
    }

    void rtfBytes()
    {
        const QByteArray doc = lessonRtf(rowsOf(kGerman.mid(0, 1) + QList<QByteArray>{"1=0\\{a}\\\\b"}, LangGerman),
                                         LangGerman);
        QVERIFY(doc.startsWith("{\\rtf1\\ansi\\ansicpg1250\\deff0\\uc1{\\fonttbl{\\f0\\fnil\\fcharset238 Tahoma;}"
                               "{\\f1\\fnil\\fcharset204 Tahoma;}{\\f2\\fnil\\fcharset0 Tahoma;}}"));
        QVERIFY(doc.contains("\r\n{\\f0 die  }{\\f0\\b Katze  }{\\f0 (Katzen)  }{\\f0 ko\\u269\\'e8ka}\\par\r\n"
                             "{\\f0 der  }{\\f0\\b \\{a\\}  }{\\f0 b}\\par\r\n}"));
        const QByteArray russian = lessonRtf(rowsOf(kRussian.mid(0, 1), LangRussian), LangRussian);
        QVERIFY(russian.contains("\r\n{\\f1\\b \\u1089\\'f1\\u1086\\'ee\\u1073\\'e1\\u1072\\'e0\\u1082\\'ea\\u1072\\'e0"
                                 "  }{\\f0 pes}\\par\r\n}"));
        QVERIFY(!lessonRtf({}, LangGerman).contains("\\par\r\n"));
    }

    // What a reader that knows \uN shows must be what a reader that knows
    // only \'hh and the font's character set shows: the letters once each.
    void rtfReadBack_data()
    {
        QTest::addColumn<int>("language");
        QTest::addColumn<QList<QByteArray>>("lines");
        QTest::addColumn<QStringList>("paragraphs");
        QTest::newRow("German") << int(LangGerman) << kGerman
                                << QStringList{QStringLiteral("die Katze (Katzen) kočka"), QStringLiteral("sehen vidět"),
                                               QStringLiteral("sein (ist,war,i gewesen) být")};
        QTest::newRow("Russian") << int(LangRussian) << kRussian
                                 << QStringList{QStringLiteral("собака pes"), QStringLiteral("дом dům")};
        QTest::newRow("French and every letter")
            << int(LangFrench)
            << QList<QByteArray>{fr(QStringLiteral("0=0\\être ÀÉÎÕÜàéîõüçñ\\")) + cz(QStringLiteral("být žluťoučký"))}
            << QStringList{QStringLiteral("le être ÀÉÎÕÜàéîõüçñ být žluťoučký")};
        QTest::newRow("no words") << int(LangGerman) << QList<QByteArray>{} << QStringList{};
    }

    void rtfReadBack()
    {
        if (!haveTools({QStringLiteral("unrtf")}))
            QSKIP("unrtf is not installed");
        QFETCH(int, language);
        QFETCH(QList<QByteArray>, lines);
        QFETCH(QStringList, paragraphs);
        const QList<GridRow> rows = rowsOf(lines, language);
        const QString path = m_dir.filePath(QStringLiteral("lesson.rtf"));
        QVERIFY(exportLessonRtf(path, rows, language));
        QList<RtfParagraph> expected;
        for (qsizetype i = 0; i < rows.size(); ++i)
            expected.append({paragraphs[i], {decode(rows[i].word, languageInfo(language).foreignCodePage)}});
        expected.append(RtfParagraph{}); // the closing empty paragraph
        QCOMPARE(readRtf(path), expected);

        const QString charsetOnly = m_dir.filePath(QStringLiteral("charset-only.rtf"));
        const QString unicode = QString::fromLatin1(readFile(path));
        writeFile(charsetOnly, QString(unicode).remove(QRegularExpression(QStringLiteral("\\\\u-?\\d+"))).toLatin1());
        QCOMPARE(readRtf(charsetOnly), expected);
    }

    void rtfFileWrite()
    {
        const QString path = m_dir.filePath(QStringLiteral("export.rtf"));
        const QList<GridRow> rows = rowsOf(kGerman, LangGerman);
        QVERIFY(exportLessonRtf(path, rows, LangGerman));
        QCOMPARE(readFile(path), lessonRtf(rows, LangGerman));
        QVERIFY(!exportLessonRtf(m_dir.filePath(QStringLiteral("missing/export.rtf")), rows, LangGerman));

        // A disk that fills up halfway leaves the earlier export as it was.
        const QList<GridRow> many(20000, rows.front());
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit old{};
        getrlimit(RLIMIT_FSIZE, &old);
        rlimit small = old;
        small.rlim_cur = 64 * 1024;
        setrlimit(RLIMIT_FSIZE, &small);
        const bool written = exportLessonRtf(path, many, LangGerman);
        setrlimit(RLIMIT_FSIZE, &old);
        QVERIFY(!written);
        QCOMPARE(readFile(path), lessonRtf(rows, LangGerman));
    }
};

QTEST_MAIN(TestLessonPrint)
#include "tst_lessonprint.moc"
