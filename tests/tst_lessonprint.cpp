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
using namespace Qt::StringLiterals;

namespace {

QByteArray ru(const QString &s) { return encode(s, CodePage::Cp1251); }
QByteArray fr(const QString &s) { return encode(s, CodePage::Cp1252); }
QString withoutTags(QString s) { return s.remove(QRegularExpression(u"<[^>]*>"_s)); }

// A text run of pdftohtml's XML: page, box, font size, and the text with its
// blanks as drawn and <b> around bold runs.
struct PdfText {
    int page, top, left, width, height, size;
    QString xml;
};

QList<PdfText> readPdf(const QString &path, QSize *pageSize = nullptr)
{
    static const QRegularExpression page(uR"re(<page number="(\d+)".*height="(\d+)" width="(\d+)")re"_s);
    static const QRegularExpression font(uR"re(<fontspec id="(\d+)" size="(\d+)")re"_s);
    static const QRegularExpression text(
        uR"re(<text top="(\d+)" left="(\d+)" width="(\d+)" height="(\d+)" font="(\d+)">(.*)</text>)re"_s);
    QList<PdfText> out;
    QHash<int, int> sizes;
    int pageNo = 0;
    for (const QString &line : runTool(u"pdftohtml"_s, {u"-xml"_s, u"-i"_s, u"-stdout"_s, path}).split(u'\n')) {
        if (auto m = page.match(line); m.hasMatch()) {
            pageNo = m.captured(1).toInt();
            if (pageSize)
                *pageSize = QSize(m.captured(3).toInt(), m.captured(2).toInt());
        } else if (auto f = font.match(line); f.hasMatch()) {
            sizes[f.captured(1).toInt()] = f.captured(2).toInt();
        } else if (auto t = text.match(line); t.hasMatch()) {
            const PdfText run{pageNo,
                              t.captured(1).toInt(),
                              t.captured(2).toInt(),
                              t.captured(3).toInt(),
                              t.captured(4).toInt(),
                              sizes.value(t.captured(5).toInt()),
                              t.captured(6)};
            // pdftohtml cuts a line where the face changes when the bold face
            // is a font of its own (Wine's Tahoma): one line is one text.
            if (!out.isEmpty() && out.back().page == run.page && out.back().top == run.top
                && out.back().left < run.left) {
                PdfText &last = out.back();
                last.width = run.left + run.width - last.left;
                last.height = std::max(last.height, run.height);
                last.size = std::max(last.size, run.size);
                last.xml += run.xml;
            } else {
                out.append(run);
            }
        }
    }
    return out;
}

// A paragraph as unrtf reads it: the text with blanks collapsed, the bold runs.
struct RtfParagraph {
    QString text;
    QStringList bold;
    bool operator==(const RtfParagraph &) const = default;
};

char *toString(const RtfParagraph &p) { return QTest::toString(p.text + u" | bold: "_s + p.bold.join(u'|')); }

QList<RtfParagraph> readRtf(const QString &path)
{
    QString html = runTool(u"unrtf"_s, {u"--html"_s, path});
    html = html.mid(html.indexOf(u"<body>"_s) + 6);
    html.truncate(html.indexOf(u"</body>"_s));
    static const QRegularExpression bold(u"<b>(.*?)</b>"_s);
    const auto plain = [](const QString &h) { return QTextDocumentFragment::fromHtml(h).toPlainText().simplified(); };
    QList<RtfParagraph> out;
    for (const QString &p : html.split(u"<br>"_s)) {
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

const QList<QByteArray> kGerman = {cz(u"0=1\\Katze\\Katzen\\kočka"_s), cz(u"1=3\\sehen\\\\vidět"_s),
                                   cz(u"2=3\\sein\\ist,war,i gewesen\\být"_s)};
const QList<QByteArray> kRussian = {ru(u"0=собака\\"_s) + "pes", ru(u"1=дом\\"_s) + cz(u"dům"_s)};

} // namespace

class TestLessonPrint : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    int m_files = 0;

    QString printToPdf(const QByteArray &name, const QList<QByteArray> &lines, int language)
    {
        const QString path = m_dir.filePath(u"lesson%1.pdf"_s.arg(++m_files));
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
                                << QStringList{u"     die  <b>Katze  </b>(Katzen)   kočka"_s,
                                               u"     <b>sehen  </b>vidět"_s,
                                               u"     <b>sein  </b>(ist,war,i gewesen)   být"_s};
        QTest::newRow("English") << int(LangEnglish) << QList<QByteArray>{"0=dog\\pes", cz(u"1=house\\dům"_s)}
                                 << QStringList{u"     <b>dog  </b>pes"_s, u"     <b>house  </b>dům"_s};
        QTest::newRow("Russian") << int(LangRussian) << kRussian
                                 << QStringList{u"     <b>собака  </b>pes"_s, u"     <b>дом  </b>dům"_s};
        QTest::newRow("French word in its own code page")
            << int(LangFrench) << QList<QByteArray>{fr(u"0=1\\tête\\hlava"_s)}
            << QStringList{u"     la  <b>tête  </b>hlava"_s};
        QTest::newRow("sorted, not saved")
            << int(LangGerman) << QList<QByteArray>{"7=2\\Auto\\Autos\\auto", "0=3\\Zug\\\\vlak"}
            << QStringList{u"     das  <b>Auto  </b>(Autos)   auto"_s, u"     <b>Zug  </b>vlak"_s};
        QTest::newRow("mistakes") << int(LangGerman) << QList<QByteArray>{"0\\4=0\\Hund\\Hunde\\pes"}
                                  << QStringList{u"     der  <b>Hund  </b>(Hunde)   pes"_s};
        QTest::newRow("no words") << int(LangGerman) << QList<QByteArray>{} << QStringList{};
    }

    void printedLesson()
    {
        if (!haveTools({u"pdftohtml"_s, u"pdftotext"_s, u"pdffonts"_s}))
            QSKIP("poppler-utils is not installed");
        QFETCH(int, language);
        QFETCH(QList<QByteArray>, lines);
        QFETCH(QStringList, printed);
        const QString pdf = printToPdf(cz(u"Zvířata a věci"_s), lines, language);

        const QList<PdfText> texts = readPdf(pdf);
        QCOMPARE(texts.size(), printed.size() + 1);
        QCOMPARE(texts[0].xml, u"     Zvířata a věci"_s);
        QStringList words, plain{u"Zvířata a věci"_s};
        for (const PdfText &t : texts.mid(1)) {
            words.append(t.xml);
            plain.append(withoutTags(t.xml).simplified());
            QCOMPARE(t.page, 1);
            QVERIFY(t.size < texts[0].size);
        }
        QCOMPARE(words, printed);
        if (texts.size() > 2) // an empty row between the title and the first word
            QVERIFY(texts[1].top - texts[0].top >= 2 * (texts[2].top - texts[1].top));

        QStringList layout = runTool(u"pdftotext"_s, {u"-layout"_s, pdf, u"-"_s}).split(u'\n');
        for (QString &l : layout)
            l = l.simplified();
        layout.removeAll(QString());
        QCOMPARE(layout, plain);

        // Every font embedded; one bold face for the words, one regular for the rest.
        const QStringList fonts = runTool(u"pdffonts"_s, {pdf}).split(u'\n', Qt::SkipEmptyParts).mid(2);
        QCOMPARE(fonts.size(), printed.isEmpty() ? 1 : 2);
        QCOMPARE(fonts.filter(u"Bold"_s).size(), printed.isEmpty() ? 0 : 1);
        QCOMPARE(fonts.filter(QRegularExpression(u" yes +(yes|no) +(yes|no) +\\d+ +\\d+$"_s)), fonts);
    }

    // Many words, a very long translation and a word wider than the page:
    // new pages start at the top, nothing runs off the paper or is lost.
    void longLesson()
    {
        if (!haveTools({u"pdftohtml"_s}))
            QSKIP("poppler-utils is not installed");
        QList<QByteArray> lines;
        for (int i = 0; i < 200; ++i)
            lines.append(u"%1=0\\Hund%1\\Hunde\\pes"_s.arg(i).toLatin1());
        lines.insert(40, cz(u"x=3\\sehen\\\\"_s + u"vidět, spatřit "_s.repeated(40)));
        lines.insert(90, "y=3\\" + QByteArray(600, 'w') + "\\\\w");
        QSize page;
        const QList<PdfText> texts = readPdf(printToPdf("Psi", lines, LangGerman), &page);

        QString printed, expected = u"Psi"_s;
        for (const PdfText &t : texts) {
            printed += withoutTags(t.xml);
            QVERIFY2(t.left + t.width <= page.width() && t.top + t.height <= page.height(), qPrintable(t.xml));
        }
        for (const GridRow &r : rowsOf(lines, LangGerman))
            expected += fromCp1250(r.article + r.word + '(' + r.forms + ')' + r.translation);
        QCOMPARE(printed.remove(u' '), expected.remove(u"()"_s).remove(u' '));
        QVERIFY(texts.back().page >= 3);
        for (qsizetype i = 1; i < texts.size(); ++i) {
            if (texts[i].page != texts[i - 1].page)
                QVERIFY(texts[i].top <= texts[0].top + texts[0].height);
        }
    }

    void printerOutcomes()
    {
        QCOMPARE(printLessonOn(QPrinterInfo(), "Psi", kGerman, LangGerman), PrintResult::NoPrinter);
        if (QPrinterInfo::defaultPrinter().isNull())
            QCOMPARE(printLessonOnDefaultPrinter("Psi", kGerman, LangGerman), PrintResult::NoPrinter);

        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(m_dir.filePath(u"missing/folder.pdf"_s));
        QTest::ignoreMessage(QtWarningMsg, "QPainter::begin(): Returned false");
        QCOMPARE(printLesson(printer, "Psi", kGerman, LangGerman), PrintResult::Failed);
    }

    // What a reader that knows \uN shows must be what a reader that knows
    // only \'hh and the font's character set shows: the letters once each.
    void rtfReadBack_data()
    {
        QTest::addColumn<int>("language");
        QTest::addColumn<QList<QByteArray>>("lines");
        QTest::addColumn<QStringList>("paragraphs");
        QTest::newRow("German") << int(LangGerman) << kGerman
                                << QStringList{u"die Katze (Katzen) kočka"_s, u"sehen vidět"_s,
                                               u"sein (ist,war,i gewesen) být"_s};
        QTest::newRow("Russian") << int(LangRussian) << kRussian << QStringList{u"собака pes"_s, u"дом dům"_s};
        QTest::newRow("French and every letter")
            << int(LangFrench) << QList<QByteArray>{fr(u"0=0\\être ÀÉÎÕÜàéîõüçñ\\"_s) + cz(u"být žluťoučký"_s)}
            << QStringList{u"le être ÀÉÎÕÜàéîõüçñ být žluťoučký"_s};
        QTest::newRow("no words") << int(LangGerman) << QList<QByteArray>{} << QStringList{};
    }

    void rtfReadBack()
    {
        if (!haveTools({u"unrtf"_s}))
            QSKIP("unrtf is not installed");
        QFETCH(int, language);
        QFETCH(QList<QByteArray>, lines);
        QFETCH(QStringList, paragraphs);
        const QList<GridRow> rows = rowsOf(lines, language);
        const QString path = m_dir.filePath(u"lesson%1.rtf"_s.arg(++m_files));
        QVERIFY(exportLessonRtf(path, rows, language));
        QList<RtfParagraph> expected;
        for (qsizetype i = 0; i < rows.size(); ++i)
            expected.append({paragraphs[i], {decode(rows[i].word, languageInfo(language).foreignCodePage)}});
        expected.append(RtfParagraph{}); // the closing empty paragraph
        QCOMPARE(readRtf(path), expected);

        const QString charsetOnly = path + u".old"_s;
        writeFile(charsetOnly,
                  QString::fromLatin1(readFile(path)).remove(QRegularExpression(u"\\\\u-?\\d+"_s)).toLatin1());
        QCOMPARE(readRtf(charsetOnly), expected);
    }

    void rtfFile()
    {
        const QList<GridRow> rows = rowsOf(kGerman.mid(0, 1) + QList<QByteArray>{"1=0\\{a}\\\\b"}, LangGerman);
        const QByteArray doc = lessonRtf(rows, LangGerman);
        QVERIFY(doc.startsWith("{\\rtf1\\ansi\\ansicpg1250\\deff0\\uc1{\\fonttbl{\\f0\\fnil\\fcharset238 Tahoma;}"
                               "{\\f1\\fnil\\fcharset204 Tahoma;}{\\f2\\fnil\\fcharset0 Tahoma;}}"));
        QVERIFY(doc.endsWith("\r\n{\\f0 die  }{\\f0\\b Katze  }{\\f0 (Katzen)  }{\\f0 ko\\u269\\'e8ka}\\par\r\n"
                             "{\\f0 der  }{\\f0\\b \\{a\\}  }{\\f0 b}\\par\r\n}\r\n"));
        QVERIFY(lessonRtf(rowsOf(kRussian.mid(0, 1), LangRussian), LangRussian)
                    .endsWith("\r\n{\\f1\\b \\u1089\\'f1\\u1086\\'ee\\u1073\\'e1\\u1072\\'e0\\u1082\\'ea\\u1072\\'e0"
                              "  }{\\f0 pes}\\par\r\n}\r\n"));
        QVERIFY(!lessonRtf({}, LangGerman).contains("\\par\r\n"));

        // Made straight from the lines: the document of the grid's rows, byte
        // for byte, with codes outside the list, no code, and a field longer
        // than the writer takes at once.
        const QByteArray longField = QByteArray(5000, '\xe8') + "{" + QByteArray(9000, 'a');
        const QList<std::pair<int, QList<QByteArray>>> samples = {
            {LangGerman, kGerman + QList<QByteArray>{"3=9\\x\\y\\z", "4=x\\a\\\\b", "5=\\" + longField}},
            {LangRussian, kRussian + QList<QByteArray>{"2=" + longField + "\\x"}},
            {LangFrench, {"0=1\\maison\\d\xf9m", "1=2\\chats\\ko\xe8ky", "2=7\\" + longField}},
            {LangEnglish, {"0=dog\\pes", "plain line", "2=" + longField}},
        };
        for (const auto &[language, lines] : samples)
            QCOMPARE(lessonLinesRtf(LineStore(lines), language), lessonRtf(rowsOf(lines, language), language));

        const QString path = m_dir.filePath(u"export.rtf"_s);
        QVERIFY(exportLessonRtf(path, rows, LangGerman));
        QCOMPARE(readFile(path), doc);
        QVERIFY(!exportLessonRtf(m_dir.filePath(u"missing/export.rtf"_s), rows, LangGerman));

        // A disk that fills up halfway leaves the earlier export as it was.
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit old{};
        getrlimit(RLIMIT_FSIZE, &old);
        rlimit small = old;
        small.rlim_cur = 64 * 1024;
        setrlimit(RLIMIT_FSIZE, &small);
        const bool written = exportLessonRtf(path, QList<GridRow>(20000, rows.front()), LangGerman);
        const bool linesWritten =
            exportLessonLinesRtf(path, LineStore(QList<QByteArray>(20000, kGerman[0])), LangGerman);
        setrlimit(RLIMIT_FSIZE, &old);
        QVERIFY(!written);
        QVERIFY(!linesWritten);
        QCOMPARE(readFile(path), doc);
        QVERIFY(exportLessonLinesRtf(path, LineStore(kGerman), LangGerman));
        QCOMPARE(readFile(path), lessonRtf(rowsOf(kGerman, LangGerman), LangGerman));
    }
};

QTEST_MAIN(TestLessonPrint)
#include "tst_lessonprint.moc"
