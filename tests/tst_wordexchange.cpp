// Word lists in and out: tab- and comma-separated text and KVTML, read into
// entry lines of a dictionary and written from them, without any window.
#include "support/fakes.h"
#include "support/wordlistoracle.h"

#include "data/dictionary.h"
#include "exchange/cellbytes.h"
#include "exchange/delimitedtext.h"
#include "exchange/kvtml.h"
#include "exchange/kvtmlwriter.h"
#include "exchange/textheaders.h"
#include "exchange/wordexport.h"
#include "exchange/wordimport.h"
#include "exchange/wordtable.h"

#include <QTest>
#include <QXmlStreamReader>

using namespace lexitka;
using namespace lexitka::testing;

// Declared before the fixtures: moc does not read past a raw string.
class TestWordExchange : public QObject {
    Q_OBJECT
private slots:
    void delimitedText();
    void onePassImport();
    void longCells();
    void kvtmlByHand();
    void kvtmlFormsAsKdeWritesThem();
    void textFileHeaders();
    void htmlCells();
    void roundTrips();
    void unrepresentable();
    void kvtmlStructure();
    void exportInPieces();
};

namespace {

// The entry lines without their keys, which a save renumbers anyway.
QList<QByteArray> values(const QList<QByteArray> &lines)
{
    QList<QByteArray> out;
    for (const QByteArray &line : lines)
        out.append(line.mid(line.indexOf('=') + 1));
    return out;
}

ImportResult importText(const QByteArray &bytes, int language, bool byLesson = false)
{
    const QString text = decodeWordList(bytes, CodePage::Cp1250);
    const QList<QStringList> rows = parseDelimited(text, guessSeparator(text));
    const WordTable table = tableFromDelimited(rows, !rows.isEmpty() && looksLikeHeader(rows.first()));
    return importRows(table, guessColumns(table, language), language, byLesson);
}

// German, as the word dialog stores it: nouns with article and plural, a
// verb with its forms, a word without an article, Czech letters in windows-1250.
const QList<QByteArray> kGermanLines{cz("0=0\\Hund\\Hunde\\pes"), cz("1=1\\Katze\\Katzen\\kočka"),
                                     cz("2=2\\Mädchen\\Mädchen\\dívka"), cz("3=3\\sehen\\sieht,sah,h gesehen\\vidět"),
                                     cz("4=3\\schnell\\\\rychlý")};

const QByteArray kKvtml = R"(<?xml version="1.0" encoding="UTF-8"?>
<!DOCTYPE kvtml PUBLIC "kvtml2.dtd" "http://edu.kde.org/kvtml/kvtml2.dtd">
<kvtml version="2.0">
  <information><generator>by hand</generator><title>Zvířata</title></information>
  <identifiers>
    <identifier id="0"><name>English</name><locale>en</locale></identifier>
    <identifier id="1">
      <name>Deutsch</name><locale>de</locale>
      <article><singular><definite><male>der</male><female>die</female><neutral>das</neutral></definite></singular></article>
    </identifier>
    <identifier id="2"><name>Čeština</name><locale>cs</locale></identifier>
  </identifiers>
  <entries>
    <entry id="0">
      <translation id="0"><text>dog</text></translation>
      <translation id="1"><text>Hund</text>
        <declension><plural><nominative><text>Hunde</text></nominative></plural></declension>
      </translation>
      <translation id="2"><text>pes</text></translation>
    </entry>
    <entry id="1">
      <translation id="0"><text>to see</text></translation>
      <translation id="1"><text>sehen</text>
        <conjugation><tense>Präsens</tense><singular><firstperson><text>sehe</text></firstperson>
          <thirdpersonmale><text>sieht</text></thirdpersonmale></singular></conjugation>
        <conjugation><tense>Präteritum</tense><singular><thirdpersonmale><text>sah</text></thirdpersonmale></singular></conjugation>
        <conjugation><tense>Perfekt</tense><singular><thirdpersonmale><text>h gesehen</text></thirdpersonmale></singular></conjugation>
      </translation>
      <translation id="2"><text>vidět</text></translation>
    </entry>
    <entry id="2">
      <translation id="1"><text>die Katze</text></translation>
      <translation id="2"><text>kočka</text></translation>
    </entry>
    <entry id="3">
      <translation id="0"><text>house</text></translation>
      <translation id="1"><text>Haus</text></translation>
      <translation id="2"><text>dům</text></translation>
    </entry>
  </entries>
  <lessons>
    <container><name>Zvířata</name>
      <entry id="0"/>
      <container><name>Kočky</name><entry id="2"/></container>
    </container>
    <container><name>Slovesa</name><entry id="1"/></container>
  </lessons>
  <wordtypes>
    <container><name>Noun</name><specialwordtype>noun</specialwordtype>
      <container><name>m</name><specialwordtype>noun/male</specialwordtype><entry id="0"><translation id="1"/></entry></container>
      <container><name>n</name><specialwordtype>noun/neutral</specialwordtype><entry id="3"><translation id="1"/></entry></container>
    </container>
  </wordtypes>
</kvtml>
)";

} // namespace

void TestWordExchange::delimitedText()
{
    // Quotes with separators, doubled quotes and line breaks inside; CR LF
    // and LF mixed; empty cells; a last line without its end.
    const QString csv = QStringLiteral("a,\"b,c\",\"say \"\"hi\"\"\"\r\n\"two\nlines\",,x\n,,\n\"last\",y");
    QCOMPARE(parseDelimited(csv, u','),
             (QList<QStringList>{{"a", "b,c", "say \"hi\""}, {"two\nlines", "", "x"}, {"", "", ""}, {"last", "y"}}));
    QCOMPARE(parseDelimited(QStringLiteral("x\ty\r\n"), u'\t'), (QList<QStringList>{{"x", "y"}}));
    QCOMPARE(parseDelimited(QString(), u','), QList<QStringList>{});
    QCOMPARE(guessSeparator(QStringLiteral("a\tb,c\n")), QChar(u'\t'));
    QCOMPARE(guessSeparator(QStringLiteral("a,b\n")), QChar(u','));
    QCOMPARE(guessSeparator(QStringLiteral("a;b\n")), QChar(u';'));

    // Cells that need quoting come back as they were.
    const QStringList awkward{"tab\there", "quote \"q\"", "line\nbreak", "plain", ""};
    QCOMPARE(parseDelimited(tsvRow(awkward), u'\t'), QList<QStringList>{awkward});

    // UTF-8 with and without a byte-order mark, and windows-1250 otherwise.
    QCOMPARE(decodeWordList("\xEF\xBB\xBFk\xC5\xAF\xC5\x88", CodePage::Cp1250), QStringLiteral("kůň"));
    QCOMPARE(decodeWordList("k\xC5\xAF\xC5\x88", CodePage::Cp1250), QStringLiteral("kůň"));
    QCOMPARE(decodeWordList(cz("kůň"), CodePage::Cp1250), QStringLiteral("kůň"));

    // A header row of other names is taken as a header only when asked;
    // empty lines are no words; the first two columns are word and translation.
    const QByteArray sheet = "\xEF\xBB\xBF"
                             "English,Czech\r\ndog,pes\r\n,\r\n\"cat, tom\",\"kocour\"\r\n";
    const ImportResult guessed = importText(sheet, LangEnglish);
    QCOMPARE(values(guessed.lessons.value(0).lines),
             (QList<QByteArray>{"English\\Czech", "dog\\pes", "cat, tom\\kocour"}));
    const QList<QStringList> rows = parseDelimited(decodeWordList(sheet, CodePage::Cp1250), u',');
    const WordTable withHeader = tableFromDelimited(rows, true);
    QCOMPARE(withHeader.columns, (QStringList{"English", "Czech"}));
    QCOMPARE(withHeader.rows.size(), 2);
    QCOMPARE(withHeader.rows[1].line, 4);
}

void TestWordExchange::onePassImport()
{
    // The file's bytes read in one pass give what the rows read into a
    // table give: the same words, lessons and refusals, row for row.
    const QList<QByteArray> files{
        "a,\"b,c\",\"say \"\"hi\"\"\"\r\n\"two\nlines\",,x\n,,\n\"\"\"a\"b\"\",c\"d\n\"open",
        "\xEF\xBB\xBF"
        "Lekce\tSlovo\tP\xC5\x99"
        "eklad\n]x\ta\tb\nL \xC3\xB1\ta\tb\n\tc\td\t\t\te\n x \tf\tg\nx\tback\\slash\th\n",
        "\xC4\x8C"
        "len\tSlovo\tMno\xC5\xBEn\xC3\xA9 \xC4\x8D\xC3\xADslo (minul\xC3\xBD \xC4\x8D"
        "as)\tP\xC5\x99"
        "eklad\r\n DER \t Hund\xC2\xA0\t\xE2\x80\x83Hunde \tpes\r\nLAS\tse\xC3\xB1or\ty\tz\r\n",
        "k\xF9\xF2,p\xE8s\n \xA0 der ,x\n", // windows-1250
    };
    auto same = [](const ImportResult &a, const ImportResult &b) {
        QCOMPARE(a.lessons.size(), b.lessons.size());
        for (qsizetype i = 0; i < a.lessons.size(); ++i) {
            QCOMPARE(a.lessons[i].name, b.lessons[i].name);
            QCOMPARE(a.lessons[i].lines, b.lessons[i].lines);
        }
        QCOMPARE(a.refused.size(), b.refused.size());
        for (qsizetype i = 0; i < a.refused.size(); ++i) {
            QCOMPARE(a.refused[i].line, b.refused[i].line);
            QCOMPARE(a.refused[i].text, b.refused[i].text);
            QCOMPARE(a.refused[i].reason(), b.refused[i].reason());
        }
    };
    int refusals = 0;
    for (const QByteArray &file : files) {
        const QString text = decodeWordList(file, CodePage::Cp1250);
        const QList<QStringList> rows = parseDelimited(text, guessSeparator(text));
        const DelimitedHead head = readDelimitedHead(file, CodePage::Cp1250, 2);
        QCOMPARE(head.separator, guessSeparator(text));
        QCOMPARE(head.rows, rows.mid(0, 2));
        for (const int language : {LangGerman, LangSpanish, LangEnglish}) {
            for (const bool header : {false, true}) {
                const WordTable table = tableFromDelimited(rows, header);
                QCOMPARE(head.width, table.columns.size());
                const ColumnChoice choice = guessColumns(table, language);
                for (const bool byLesson : {false, true}) {
                    const ImportResult read = importRows(table, choice, language, byLesson);
                    refusals += int(read.refused.size());
                    same(importDelimited(file, head, header, choice, language, byLesson), read);
                    if (QTest::currentTestFailed())
                        return;
                }
            }
        }
    }
    QVERIFY(refusals > 0); // the refusals were compared too
}

void TestWordExchange::longCells()
{
    // Cells of every length up to past sixteen bytes, with a separator, a
    // line end, a "\\" or a letter beyond ASCII at every place in them: the
    // one-pass reading sees the rows, widths and refusals the table sees.
    QByteArray file = "Lekce\tSlovo\tP\xC5\x99"
                      "eklad\n";
    for (int len = 1; len <= 20; ++len) {
        for (int at = 0; at < len; ++at) {
            for (const char *odd : {"\\", "\xC5\x99", "\xE2\x80\x9E", "\t", "\r\n"}) {
                QByteArray cell(len, 'a');
                cell.replace(at, 1, odd);
                file += "L" + QByteArray::number(len % 3) + '\t' + cell + '\t' + QByteArray(len, 'b') + cell + '\n';
            }
        }
    }
    const QString text = decodeWordList(file, CodePage::Cp1250);
    const QList<QStringList> rows = parseDelimited(text, u'\t');
    const DelimitedHead head = readDelimitedHead(file, CodePage::Cp1250, 3);
    QVERIFY(head.utf8);
    QCOMPARE(head.rows, rows.mid(0, 3));
    const WordTable table = tableFromDelimited(rows, true);
    QCOMPARE(head.width, table.columns.size());
    const ColumnChoice choice = guessColumns(table, LangGerman);
    const ImportResult read = importRows(table, choice, LangGerman, true);
    const ImportResult once = importDelimited(file, head, true, choice, LangGerman, true);
    QVERIFY(!read.refused.isEmpty());
    QCOMPARE(once.lessons.size(), read.lessons.size());
    for (qsizetype i = 0; i < once.lessons.size(); ++i) {
        QCOMPARE(once.lessons[i].name, read.lessons[i].name);
        QCOMPARE(once.lessons[i].lines, read.lessons[i].lines);
    }
    QCOMPARE(once.refused.size(), read.refused.size());
    for (qsizetype i = 0; i < once.refused.size(); ++i)
        QCOMPARE(once.refused[i].reason(), read.refused[i].reason());

    // A byte-order mark is dropped at the start of the file only (and one
    // more right after it, as the text is decoded); in a cell it is a
    // character, of a word or of a lesson's name, which no code page holds.
    const QByteArray bom = "\xEF\xBB\xBF";
    const QByteArray marks = bom + bom
                             + "Lekce\tSlovo\tP\xC5\x99"
                               "eklad\n"
                             + bom + "L\ta\tb\nL\t" + bom + "c\td\nM\tder\t" + bom + "\n\n" + bom + bom;
    const QString markText = decodeWordList(marks, CodePage::Cp1250);
    const QList<QStringList> markRows = parseDelimited(markText, u'\t');
    const DelimitedHead markHead = readDelimitedHead(marks, CodePage::Cp1250, 9);
    QCOMPARE(markHead.rows, markRows);
    const WordTable markTable = tableFromDelimited(markRows, true);
    const ImportResult markRead = importRows(markTable, guessColumns(markTable, LangGerman), LangGerman, true);
    const ImportResult markOnce =
        importDelimited(marks, markHead, true, guessColumns(markTable, LangGerman), LangGerman, true);
    QCOMPARE(markOnce.refused.size(), 3);
    QCOMPARE(markOnce.refused.size(), markRead.refused.size());
    for (qsizetype i = 0; i < markOnce.refused.size(); ++i) {
        QCOMPARE(markOnce.refused[i].text, markRead.refused[i].text);
        QCOMPARE(markOnce.refused[i].reason(), markRead.refused[i].reason());
    }
}

void TestWordExchange::kvtmlByHand()
{
    QString error;
    const std::optional<WordTable> table = readKvtml(kKvtml, &error);
    QVERIFY2(table, qPrintable(error));
    QCOMPARE(table->columns, (QStringList{"English", "Deutsch", "Čeština"}));
    QCOMPARE(table->locales, (QStringList{"en", "de", "cs"}));
    QCOMPARE(table->rows.size(), 4);
    QCOMPARE(table->rows[2].lesson, QStringLiteral("Zvířata / Kočky"));
    QCOMPARE(table->rows[3].lesson, QString());

    // German and Czech are found by their locales.
    const ColumnChoice de = guessColumns(*table, LangGerman);
    QCOMPARE(de.slovo, 1);
    QCOMPARE(de.preklad, 2);
    const ImportResult german = importRows(*table, de, LangGerman, true);
    QVERIFY(german.refused.isEmpty());
    QCOMPARE(german.lessons.size(), 4);
    QCOMPARE(german.lessons[0].name, QStringLiteral("Zvířata"));
    QCOMPARE(values(german.lessons[0].lines), QList<QByteArray>{cz("0\\Hund\\Hunde\\pes")});
    QCOMPARE(german.lessons[1].name, QStringLiteral("Slovesa"));
    QCOMPARE(values(german.lessons[1].lines), QList<QByteArray>{cz("3\\sehen\\sieht,sah,h gesehen\\vidět")});
    QCOMPARE(values(german.lessons[2].lines), QList<QByteArray>{cz("1\\Katze\\\\kočka")}); // "die" before the word
    QCOMPARE(german.lessons[3].name, QString());                                           // in no lesson: the target
    QCOMPARE(values(german.lessons[3].lines), QList<QByteArray>{cz("2\\Haus\\\\dům")});

    // English from the same file, all into one lesson; an entry without
    // English keeps its Czech.
    const ImportResult english = importRows(*table, guessColumns(*table, LangEnglish), LangEnglish, false);
    QCOMPARE(english.lessons.size(), 1);
    QCOMPARE(values(english.lessons[0].lines),
             (QList<QByteArray>{"dog\\pes", cz("to see\\vidět"), cz("\\kočka"), cz("house\\dům")}));

    QVERIFY(!readKvtml("<kvtml version=\"2.0\"><entries>", &error)); // cut short
    QVERIFY(!readKvtml("<html/>", &error));
    QCOMPARE(error, QStringLiteral("Soubor není ve formátu KVTML."));
    QVERIFY(!readKvtml("not xml at all", &error));
}

void TestWordExchange::kvtmlFormsAsKdeWritesThem()
{
    // Plurals under the gender, tenses sorted by their names and the perfect
    // with its auxiliary, as KDE's library writes them; a plural given
    // directly in the declension still counts; tenses of names not known
    // keep the file's order.
    const QByteArray xml = R"(<?xml version="1.0" encoding="UTF-8"?>
<kvtml version="2.0">
 <identifiers>
  <identifier id="0"><name>Deutsch</name><locale>de</locale></identifier>
  <identifier id="1"><name>Čeština</name><locale>cs</locale></identifier>
 </identifiers>
 <entries>
  <entry id="0"><translation id="0"><text>Hund</text>
   <declension><male><singular><nominative><text>Hund</text></nominative></singular>
    <plural><genitive><text>Hunde</text></genitive><nominative><text>Hunde</text></nominative></plural></male></declension>
   </translation><translation id="1"><text>pes</text></translation></entry>
  <entry id="1"><translation id="0"><text>Pferd</text>
   <declension><neutral><plural><nominative><text>Pferde</text></nominative></plural></neutral></declension>
   </translation><translation id="1"><text>kůň</text></translation></entry>
  <entry id="2"><translation id="0"><text>sehen</text>
   <conjugation><tense>Perfekt</tense><singular><thirdpersonmale><text>hat gesehen</text></thirdpersonmale></singular></conjugation>
   <conjugation><tense>Präsens</tense><singular><firstperson><text>sehe</text></firstperson><thirdpersonmale><text>sieht</text></thirdpersonmale></singular></conjugation>
   <conjugation><tense>Präteritum</tense><singular><thirdpersonmale><text>sah</text></thirdpersonmale></singular></conjugation>
   </translation><translation id="1"><text>vidět</text></translation></entry>
  <entry id="3"><translation id="0"><text>gehen</text>
   <conjugation><tense>Perfect</tense><singular><thirdpersonfemale><text>ist gegangen</text></thirdpersonfemale></singular></conjugation>
   <conjugation><tense>Present</tense><singular><thirdpersonmale><text>geht</text></thirdpersonmale></singular></conjugation>
   <conjugation><tense>Simple past</tense><singular><thirdpersonmale><text>ging</text></thirdpersonmale></singular></conjugation>
   </translation><translation id="1"><text>jít</text></translation></entry>
  <entry id="4"><translation id="0"><text>laufen</text>
   <conjugation><tense>A</tense><singular><thirdpersonmale><text>läuft</text></thirdpersonmale></singular></conjugation>
   <conjugation><tense>B</tense><singular><thirdpersonmale><text>lief</text></thirdpersonmale></singular></conjugation>
   <conjugation><tense>Perfekt</tense><singular><thirdpersonmale><text>i gelaufen</text></thirdpersonmale></singular></conjugation>
   </translation><translation id="1"><text>běžet</text></translation></entry>
  <entry id="5"><translation id="0"><text>Haus</text>
   <declension><plural><nominative><text>Häuser</text></nominative></plural></declension>
   </translation><translation id="1"><text>dům</text></translation></entry>
 </entries>
 <wordtypes><container><name>Substantiv</name><specialwordtype>noun</specialwordtype>
  <container><name>m</name><specialwordtype>noun/male</specialwordtype><entry id="0"><translation id="0"/></entry></container>
  <container><name>n</name><specialwordtype>noun/neutral</specialwordtype><entry id="1"><translation id="0"/></entry><entry id="5"><translation id="0"/></entry></container>
 </container></wordtypes>
</kvtml>
)";
    QString error;
    const std::optional<WordTable> table = readKvtml(xml, &error);
    QVERIFY2(table, qPrintable(error));
    const ImportResult german = importRows(*table, guessColumns(*table, LangGerman), LangGerman, false);
    QVERIFY(german.refused.isEmpty());
    QCOMPARE(german.lessons.size(), 1);
    QCOMPARE(values(german.lessons[0].lines),
             (QList<QByteArray>{cz("0\\Hund\\Hunde\\pes"), cz("2\\Pferd\\Pferde\\kůň"),
                                cz("3\\sehen\\sieht,sah,h gesehen\\vidět"), cz("3\\gehen\\geht,ging,i gegangen\\jít"),
                                cz("3\\laufen\\läuft,lief,i gelaufen\\běžet"), cz("2\\Haus\\Häuser\\dům")}));
}

void TestWordExchange::textFileHeaders()
{
    // Anki's "Notes in Plain Text": the headers say tab, HTML, and which
    // columns hold the note type, the deck and the tags; a comma inside a
    // field stays in it; the deck becomes the lesson.
    const QByteArray anki =
        "#separator:tab\n#html:true\n#notetype column:1\n#deck column:2\n#tags column:5\n"
        "#guid column:6\n#deck:Default\n"
        "Basic\tN\xC4\x9Bm\xC4\x8Dina::Lekce 1\t<b>Hund</b>&nbsp;\tpes\tzv\xC3\xAD\xC5\x99"
        "e\tq1\n"
        "Basic\tN\xC4\x9Bm\xC4\x8Dina::Lekce 1\tPferd\t\"k\xC5\xAF\xC5\x88, o\xC5\x99\"\t\tq2\r\n"
        "Basic\tN\xC4\x9Bm\xC4\x8Dina::Lekce 2\t\"gehen<br>laufen\"\t\"j\xC3\xADt; \"\"b\xC4\x9B\xC5\xBE"
        "et\"\"\"\t\tq3\n";
    const DelimitedHead head = readDelimitedHead(anki, CodePage::Cp1250, 20);
    QCOMPARE(head.separator, QChar(u'\t'));
    QVERIFY(head.html);
    QCOMPARE(head.deckColumn, 1);
    QCOMPARE(head.titles, (QStringList{"Typ poznámky", "Lekce", "", "", "Štítky", "GUID"}));
    QCOMPARE(head.rows.size(), 3);
    QCOMPARE(head.rows[0], (QStringList{"Basic", "Němčina / Lekce 1", "Hund", "pes", "zvíře", "q1"}));
    const WordTable table = tableFromDelimited(head.rows, false, head.width, head.titles);
    const ColumnChoice choice = guessColumns(table, LangGerman);
    QCOMPARE(choice.slovo, 2);
    QCOMPARE(choice.preklad, 3);
    const ImportResult result = importDelimited(anki, head, false, choice, LangGerman, true);
    QVERIFY(result.refused.isEmpty());
    QCOMPARE(result.lessons.size(), 2);
    QCOMPARE(result.lessons[0].name, QStringLiteral("Němčina / Lekce 1"));
    QCOMPARE(values(result.lessons[0].lines), (QList<QByteArray>{cz("3\\Hund\\\\pes"), cz("3\\Pferd\\\\kůň, oř")}));
    QCOMPARE(values(result.lessons[1].lines), QList<QByteArray>{cz("3\\gehen laufen\\\\jít; \"běžet\"")});
    // The slow way over the same rows agrees.
    const ImportResult slow = importRows(tableFromDelimited(testing::rowsTheSlowWay(anki, head), false, 0, head.titles),
                                         choice, LangGerman, true);
    QCOMPARE(slow.lessons.size(), result.lessons.size());
    for (qsizetype i = 0; i < slow.lessons.size(); ++i)
        QCOMPARE(slow.lessons[i].lines, result.lessons[i].lines);

    // Named separator and columns, HTML off: tags stay as they are typed.
    const QByteArray named = "#separator:Comma\n#html:false\n#columns:P\xC5\x99"
                             "eklad,Slovo\npes,dog\n"
                             "\"k\xC5\xAF\xC5\x88, o\xC5\x99\",<b>horse</b>\n#hashtag,x\n";
    const DelimitedHead namedHead = readDelimitedHead(named, CodePage::Cp1250, 20);
    QCOMPARE(namedHead.separator, QChar(u','));
    QVERIFY(!namedHead.html);
    const WordTable namedTable = tableFromDelimited(namedHead.rows, false, namedHead.width, namedHead.titles);
    QCOMPARE(namedTable.columns, (QStringList{"Překlad", "Slovo"}));
    const ImportResult english =
        importDelimited(named, namedHead, false, guessColumns(namedTable, LangEnglish), LangEnglish, false);
    QCOMPARE(values(english.lessons[0].lines),
             (QList<QByteArray>{"dog\\pes", cz("<b>horse</b>\\kůň, oř"), "x\\#hashtag"}));

    // Without headers the separator is guessed from the first rows, not
    // the first line alone; the window may choose another.
    const QByteArray guessed = "Slov\xC3\xAD\xC4\x8Dka z Anki\ndog\tpes\ncat\tko\xC4\x8Dka, ko\xC4\x8Di\xC4\x8Dka\n";
    const DelimitedHead guessedHead = readDelimitedHead(guessed, CodePage::Cp1250, 20);
    QCOMPARE(guessedHead.separator, QChar(u'\t'));
    QCOMPARE(guessedHead.rows.value(2), (QStringList{"cat", "kočka, kočička"}));
    QCOMPARE(guessSeparator(QStringLiteral("a,b\nc;d\ne;f\n")), QChar(u';'));
    QCOMPARE(guessSeparator(QStringLiteral("a;b,c\n")), QChar(u','));
    const DelimitedHead chosen = readDelimitedHead(guessed, CodePage::Cp1250, 20, QChar(u','));
    QCOMPARE(chosen.separator, QChar(u','));
    QCOMPARE(chosen.rows.value(2), (QStringList{"cat\tkočka", " kočička"}));

    // A first row that only looks like a header line is a word.
    const DelimitedHead word = readDelimitedHead("#1: hash\tk\xC5\x99\xC3\xAD\xC5\xBE"
                                                 "ek\ndog\tpes\n",
                                                 CodePage::Cp1250, 20);
    QCOMPARE(word.bodyStart, 0);
    QCOMPARE(word.rows.value(0), (QStringList{"#1: hash", "křížek"}));
}

void TestWordExchange::htmlCells()
{
    const std::pair<const char *, const char *> cases[] = {
        {"<b>Hund</b>", "Hund"},
        {"&lt;b&gt; &amp; &quot;x&quot; &apos;", "<b> & \"x\" '"},
        {"&#353;&#x161;&#X160;", "\xC5\xA1\xC5\xA1\xC5\xA0"},
        {"a&unknown;b &#0; &#xD800; &", "a&unknown;b &#0; &#xD800; &"},
        {"gehen<br>laufen<br/>rennen<div>x</div>", "gehen laufen rennen x"},
        {"  k\xC5\xAF\xC5\x88&nbsp;\xC2\xA0 \n o\xC5\x99  ", "k\xC5\xAF\xC5\x88 o\xC5\x99"},
        {"<span style=\"color: red\">red</span>der", "redder"},
        {"5 < 6", "5 < 6"},
    };
    for (const auto &[html, plain] : cases)
        QCOMPARE(plainFromHtml(html), QByteArray(plain));
    QCOMPARE(deckAsLesson("A::B::C"), QByteArray("A / B / C"));

    // A name the code page cannot hold, with its letters as near as it can.
    QCOMPARE(encodableLookalike(QStringLiteral("español"), CodePage::Cp1250), QStringLiteral("espanol"));
    QCOMPARE(encodableLookalike(QStringLiteral("Čeština 日本"), CodePage::Cp1250), QStringLiteral("Čeština __"));

    // A KVTML entry that cannot be stored is named by its word, not a line.
    const QByteArray xml = R"(<kvtml version="2.0"><identifiers>
<identifier id="0"><locale>en</locale></identifier><identifier id="1"><locale>cs</locale></identifier></identifiers>
<entries><entry id="0"><translation id="0"><text>dog</text></translation><translation id="1"><text>pes</text></translation></entry>
<entry id="1"><translation id="0"><text>Japan</text></translation><translation id="1"><text>日本</text></translation></entry>
</entries></kvtml>)";
    const std::optional<WordTable> table = readKvtml(xml);
    QVERIFY(table);
    const ImportResult result = importRows(*table, guessColumns(*table, LangEnglish), LangEnglish, false);
    QCOMPARE(result.refused.size(), 1);
    QVERIFY2(result.refused[0].reason().startsWith(QStringLiteral("„Japan“: znak „日“")),
             qPrintable(result.refused[0].reason()));
}

void TestWordExchange::roundTrips()
{
    struct Case {
        int language;
        QList<QByteArray> lines;
    };
    const QList<Case> cases{
        {LangGerman, kGermanLines},
        {LangRussian, {"0=\xF1\xEE\xE1\xE0\xEA\xE0\\pes", cz("1=\xEA\xEE\xF8\xEA\xE0\\kočka")}},
        {LangSpanish,
         {"0=4\\mesas\\stoly", "1=0\\se\xF1or\\p\xE1n", "2=1\\casa\\d\xF9m", "3=2\\libros\\knihy", "4=3\\y\\a"}},
        {LangFrench,
         {"0=2\\enfants\\d\xEC"
          "ti",
          "1=0\\\xE9t\xE9\\l\xE9to", "2=1\\for\xEAt\\les"}},
        {LangEnglish, {cz("0=tab\tand \"quote\"\\tabulátor")}},
    };
    for (const Case &c : cases) {
        const QList<ExportLesson> one{{cz("Lekce 1"), c.lines}};
        // TSV of one lesson.
        const ImportResult tsv = importText(writeTsv(one, c.language), c.language);
        QVERIFY(tsv.refused.isEmpty());
        QCOMPARE(tsv.lessons.size(), 1);
        QCOMPARE(values(tsv.lessons[0].lines), values(c.lines));
        // KVTML of two lessons, one lesson each back.
        const QList<ExportLesson> two{{cz("Lekce 1"), c.lines}, {cz("Žluťoučký"), c.lines.mid(0, 1)}};
        const std::optional<WordTable> table = readKvtml(writeKvtml(two, c.language, QStringLiteral("t")));
        QVERIFY(table);
        const ImportResult kvtml = importRows(*table, guessColumns(*table, c.language), c.language, true);
        QVERIFY(kvtml.refused.isEmpty());
        QCOMPARE(kvtml.lessons.size(), 2);
        QCOMPARE(kvtml.lessons[0].name, QStringLiteral("Lekce 1"));
        QCOMPARE(values(kvtml.lessons[0].lines), values(c.lines));
        QCOMPARE(kvtml.lessons[1].name, QStringLiteral("Žluťoučký"));
        // A whole dictionary as text keeps the lessons in a column of their own.
        const ImportResult all = importText(writeTsv(two, c.language), c.language, true);
        QCOMPARE(all.lessons.size(), 2);
        QCOMPARE(all.lessons[1].name, QStringLiteral("Žluťoučký"));
        QCOMPARE(values(all.lessons[0].lines), values(c.lines));
    }
}

void TestWordExchange::unrepresentable()
{
    // "ñ" has no place in the code page of English words; "\" would split
    // the entry. Those rows are listed; the rest come in.
    const QByteArray text = "Slovo\tP\xC5\x99"
                            "eklad\nse\xC3\xB1or\tp\xC3\xA1n\nback\\slash\tx\ndog\tpes\n"
                            "cat\t\xC3\xA6\n";
    const ImportResult r = importText(text, LangEnglish);
    QCOMPARE(values(r.lessons.value(0).lines), QList<QByteArray>{"dog\\pes"});
    QCOMPARE(r.refused.size(), 3);
    QCOMPARE(r.refused[0].line, 2);
    QCOMPARE(r.refused[0].character, char32_t(0xF1));
    QCOMPARE(r.refused[0].field, QStringLiteral("Slovo"));
    QCOMPARE(r.refused[0].reason(),
             QStringLiteral("Řádek 2: znak „ñ“ (U+00F1) v poli „Slovo“ nelze uložit v kódové stránce slovníku."));
    QCOMPARE(r.refused[1].reason(), QStringLiteral("Řádek 3: pole „Slovo“ obsahuje znak „\\“, který slovník "
                                                   "používá jako oddělovač."));
    QCOMPARE(r.refused[2].field, QStringLiteral("Překlad"));
    QCOMPARE(r.refused[2].character, U'æ');
    // The same word is welcome in Spanish, whose words are windows-1252.
    const ImportResult es = importText(text, LangSpanish);
    QCOMPARE(values(es.lessons.value(0).lines).value(0), QByteArray("3\\se\xF1or\\p\xE1n"));

    const Encoded lesson = encodeField(QStringLiteral("Lekce ñ"), CodePage::Cp1250);
    QCOMPARE(lesson.missing, std::optional<char32_t>(U'ñ'));
    QCOMPARE(encodeField(QStringLiteral("Lekce č"), CodePage::Cp1250).bytes, cz("Lekce č"));
}

void TestWordExchange::kvtmlStructure()
{
    // The documented structure: kvtml 2.0 with information, identifiers,
    // entries, lessons and word types in that order; every entry with its
    // translations by identifier; every reference to an entry that exists.
    const QByteArray xml = writeKvtml({{cz("Zvířata"), kGermanLines}}, LangGerman, QStringLiteral("Zvířata"));
    QVERIFY(xml.contains("<!DOCTYPE kvtml PUBLIC \"kvtml2.dtd\" \"http://edu.kde.org/kvtml/kvtml2.dtd\">"));
    QXmlStreamReader r(xml);
    QStringList top;
    QSet<QString> entries;
    QStringList refs;
    QStringList path;
    while (!r.atEnd()) {
        r.readNext();
        if (r.isStartElement()) {
            const QString name = r.name().toString();
            if (path.isEmpty()) {
                QCOMPARE(name, QStringLiteral("kvtml"));
                QCOMPARE(r.attributes().value(QStringLiteral("version")).toString(), QStringLiteral("2.0"));
            } else if (path.size() == 1) {
                top.append(name);
            }
            if (name == u"entry" && path.size() == 2 && path[1] == u"entries")
                entries.insert(r.attributes().value(QStringLiteral("id")).toString());
            else if (name == u"entry")
                refs.append(r.attributes().value(QStringLiteral("id")).toString());
            if (name == u"translation" && path.size() == 3 && path[1] == u"entries") {
                const QString id = r.attributes().value(QStringLiteral("id")).toString();
                QVERIFY(id == u"0" || id == u"1");
            }
            path.append(name);
        } else if (r.isEndElement()) {
            path.removeLast();
        }
    }
    QVERIFY2(!r.hasError(), qPrintable(r.errorString()));
    QCOMPARE(top, (QStringList{"information", "identifiers", "entries", "lessons", "wordtypes"}));
    QCOMPARE(entries.size(), kGermanLines.size());
    QCOMPARE(refs.size(), kGermanLines.size() + 4); // the lesson's, the three genders' and the verb's
    // Plurals under the noun's gender, the perfect's auxiliary written out.
    QVERIFY(
        xml.contains("<declension>\n     <female>\n      <plural>\n       <nominative>\n        <text>Katzen</text>"));
    QVERIFY(xml.contains("<tense>Perfekt</tense>\n     <singular>\n      <thirdpersonmale>\n       <text>hat "
                         "gesehen</text>"));
    for (const QString &ref : refs)
        QVERIFY(entries.contains(ref));

    // Nothing to export is still a document of the two languages.
    const std::optional<WordTable> empty = readKvtml(writeKvtml({}, LangFrench, QString()));
    QVERIFY(empty);
    QCOMPARE(empty->locales, (QStringList{"fr", "cs"}));
    QVERIFY(empty->rows.isEmpty());
}

namespace {

// Keeps every piece apart; refuses the pieces from `failAt` on.
class PieceSink final : public ByteSink {
public:
    QList<QByteArray> pieces;
    qsizetype failAt = -1;
    bool write(QByteArrayView piece) override
    {
        if (failAt >= 0 && pieces.size() >= failAt)
            return false;
        pieces.append(piece.toByteArray());
        return true;
    }
};

} // namespace

void TestWordExchange::exportInPieces()
{
    // A small buffer handed on whenever it fills: pieces longer than the
    // buffer, bytes beyond ASCII and numbers arrive whole and in order, each
    // piece at most the buffer but a single longer one, handed on as it is.
    PieceSink small;
    ByteWriter w(small, 8);
    w.put("abc");
    w.put(QByteArrayView("0123456789ABCDEFGHIJ"));
    appendUtf8(w, cz("Žluťoučký kůň"), CodePage::Cp1250);
    w.putNumber(-1234567890123);
    w.put('!');
    QVERIFY(w.finish());
    QCOMPARE(small.pieces.join(),
             QByteArray("abc0123456789ABCDEFGHIJ") + QStringLiteral("Žluťoučký kůň").toUtf8() + "-1234567890123!");
    QVERIFY(small.pieces.size() > 4);
    for (const QByteArray &piece : std::as_const(small.pieces))
        QVERIFY(piece.size() <= 8 || piece == "0123456789ABCDEFGHIJ" || piece == "-1234567890123");

    // The exports give a sink the very bytes they give whole.
    const QList<ExportLesson> two{{cz("Zvířata"), kGermanLines}, {cz("Druhá"), kGermanLines.mid(1, 2)}};
    PieceSink tsv, kvtml;
    QVERIFY(writeTsv(tsv, two, LangGerman));
    QVERIFY(writeKvtml(kvtml, two, LangGerman, QStringLiteral("t")));
    QCOMPARE(tsv.pieces.join(), writeTsv(two, LangGerman));
    QCOMPARE(kvtml.pieces.join(), writeKvtml(two, LangGerman, QStringLiteral("t")));

    // Lines of fewer fields than the language has, or none, or no key,
    // give the cells the grid shows for them.
    const QList<QByteArray> short_{"0=Hund",        "1=0\\Katze", "2=x\\y\\z", "3=", "no key\\a\\b\\c\\d\\e",
                                   cz("4=2\\kůň\\")};
    for (const int language : {LangGerman, LangFrench, LangEnglish}) {
        QString expected = tsvRow(wordColumnTitles()) + u'\n';
        for (const QByteArray &line : short_)
            expected += tsvRow(wordCells(line, language)) + u'\n';
        QCOMPARE(QString::fromUtf8(writeTsv({{"L", short_}}, language)), expected);
    }

    // A sink that refuses a piece fails the export.
    PieceSink refusing;
    refusing.failAt = 0;
    QVERIFY(!writeKvtml(refusing, two, LangGerman, QStringLiteral("t")));
    ByteWriter late(refusing, 4);
    late.put("0123456789");
    QVERIFY(!late.finish());
}

QTEST_MAIN(TestWordExchange)
#include "tst_wordexchange.moc"
