#include "support/inidocument.h"
#include "data/codepage.h"
#include "data/dictionary.h"
#include "data/inifile.h"
#include "support/logicfakes.h"

#include <QDir>
#include <QSet>
#include <QTest>

#include <iconv.h>

using namespace lexitka;
using namespace lexitka::testing;

namespace {

// The system's own conversion of one byte, or nullopt where the code page
// leaves the byte undefined.
std::optional<char32_t> systemDecode(const char *codePage, unsigned char byte)
{
    iconv_t cd = iconv_open("UTF-32LE", codePage);
    if (cd == iconv_t(-1))
        return std::nullopt;
    char in[1] = {char(byte)};
    char out[8] = {};
    char *inp = in, *outp = out;
    size_t inLeft = 1, outLeft = sizeof out;
    const size_t rc = iconv(cd, &inp, &inLeft, &outp, &outLeft);
    iconv_close(cd);
    if (rc == size_t(-1) || outLeft != 4)
        return std::nullopt;
    char32_t c = 0;
    std::memcpy(&c, out, 4);
    return c;
}

QString sampleFile(const QString &name) { return QDir(QStringLiteral(LEXITKA_SAMPLE_DATA)).filePath(name); }

} // namespace

class TestDictionary : public QObject {
    Q_OBJECT

private slots:
    void getField_data()
    {
        QTest::addColumn<QByteArray>("value");
        QTest::addColumn<int>("n");
        QTest::addColumn<QByteArray>("field");
        QTest::newRow("first") << QByteArray("a\\b\\c") << 1 << QByteArray("a");
        QTest::newRow("middle") << QByteArray("a\\b\\c") << 2 << QByteArray("b");
        QTest::newRow("last") << QByteArray("a\\b\\c") << 3 << QByteArray("c");
        QTest::newRow("past the last") << QByteArray("a\\b\\c") << 5 << QByteArray("c");
        QTest::newRow("no backslash") << QByteArray("cat") << 2 << QByteArray("cat");
        QTest::newRow("empty middle") << QByteArray("0\\Hund\\\\pes") << 3 << QByteArray("");
        QTest::newRow("trailing backslash") << QByteArray("a\\") << 2 << QByteArray("");
        QTest::newRow("trailing backslash, past") << QByteArray("a\\") << 4 << QByteArray("");
        QTest::newRow("empty value") << QByteArray("") << 1 << QByteArray("");
    }

    void getField()
    {
        QFETCH(QByteArray, value);
        QFETCH(int, n);
        QFETCH(QByteArray, field);
        QCOMPARE(GetField(value, n).toByteArray(), field);
    }

    void parseWord_data()
    {
        QTest::addColumn<int>("language");
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<QByteArray>("clen");
        QTest::addColumn<QByteArray>("slovo");
        QTest::addColumn<QByteArray>("mn");
        QTest::addColumn<QByteArray>("preklad");
        QTest::newRow("German noun without plural")
            << int(LangGerman) << QByteArray("0=0\\Hund\\\\pes") << QByteArray("0") << QByteArray("Hund")
            << QByteArray() << QByteArray("pes");
        QTest::newRow("German verb") << int(LangGerman) << cz("1=3\\sehen\\sieht,sah,h gesehen\\vidět")
                                     << QByteArray("3") << QByteArray("sehen") << QByteArray("sieht,sah,h gesehen")
                                     << cz("vidět");
        QTest::newRow("prefix before the key")
            << int(LangGerman) << QByteArray("1\\7=0\\Hund\\Hunde\\pes") << QByteArray("0") << QByteArray("Hund")
            << QByteArray("Hunde") << QByteArray("pes");
        QTest::newRow("only the first = ends the key")
            << int(LangEnglish) << QByteArray("3=E=mc2\\vzorec") << QByteArray() << QByteArray("E=mc2") << QByteArray()
            << QByteArray("vzorec");
        QTest::newRow("missing field repeats the last") << int(LangEnglish) << QByteArray("5=cat") << QByteArray()
                                                        << QByteArray("cat") << QByteArray() << QByteArray("cat");
        QTest::newRow("German, missing fields") << int(LangGerman) << QByteArray("4=0\\Hund") << QByteArray("0")
                                                << QByteArray("Hund") << QByteArray("Hund") << QByteArray("Hund");
        QTest::newRow("no = at all") << int(LangLatin) << QByteArray("canis\\pes") << QByteArray()
                                     << QByteArray("canis") << QByteArray() << QByteArray("pes");
        QTest::newRow("French") << int(LangFrench) << QByteArray("0=1\\f\xEAte\\sv\xE1tek") << QByteArray("1")
                                << QByteArray("f\xEAte") << QByteArray() << QByteArray("sv\xE1tek");
        QTest::newRow("Spanish las") << int(LangSpanish) << QByteArray("1=4\\mesas\\stoly") << QByteArray("4")
                                     << QByteArray("mesas") << QByteArray() << QByteArray("stoly");
        QTest::newRow("Russian") << int(LangRussian) << QByteArray("0=\xF1\xEE\xE1\xE0\xEA\xE0\\pes") << QByteArray()
                                 << QByteArray("\xF1\xEE\xE1\xE0\xEA\xE0") << QByteArray() << QByteArray("pes");
        QTest::newRow("article that is no number") << int(LangSpanish) << QByteArray("1=x\\y\\z") << QByteArray("x")
                                                   << QByteArray("y") << QByteArray() << QByteArray("z");
        QTest::newRow("blanks inside stay") << int(LangEnglish) << QByteArray("1= to go \\ jít ") << QByteArray()
                                            << QByteArray(" to go ") << QByteArray() << QByteArray(" jít ");
    }

    void parseWord()
    {
        QFETCH(int, language);
        QFETCH(QByteArray, line);
        QFETCH(QByteArray, clen);
        QFETCH(QByteArray, slovo);
        QFETCH(QByteArray, mn);
        QFETCH(QByteArray, preklad);
        const WordRecord w = ParseWord(line, language);
        QCOMPARE(w.Clen, clen);
        QCOMPARE(w.Slovo, slovo);
        QCOMPARE(w.Mn, mn);
        QCOMPARE(w.Preklad, preklad);
    }

    void composeEntryRoundTrips()
    {
        const WordRecord full{"2", "Haus", cz("Häuser"), cz("dům (budova)")};
        QCOMPARE(ComposeEntry("7", full, LangGerman), QByteArray("7=2\\Haus\\") + cz("Häuser\\dům (budova)"));
        QCOMPARE(ComposeEntry("0", {"0", "Hund", "", "pes"}, LangGerman), QByteArray("0=0\\Hund\\\\pes"));
        QCOMPARE(ComposeEntry("1", {"4", "mesas", "", "stoly"}, LangSpanish), QByteArray("1=4\\mesas\\stoly"));
        QCOMPARE(ComposeEntry("0", {"", " cat ", "", "kočka"}, LangEnglish), QByteArray("0= cat \\kočka"));
        for (int code : allLanguageCodes()) {
            const WordRecord w{code == LangGerman || code == LangFrench || code == LangSpanish ? "1" : "",
                               "word, other (note)", code == LangGerman ? "a,b,h c" : "", cz("překlad, jiný")};
            const QByteArray line = ComposeEntry("12", w, code);
            QVERIFY(line.startsWith("12="));
            QCOMPARE(ParseWord(line, code), w);
            // Exactly the fields of the language.
            const int fields = code == LangGerman ? 4 : (code == LangFrench || code == LangSpanish) ? 3 : 2;
            QCOMPARE(line.count('\\'), fields - 1);
        }
    }

    void articles()
    {
        QCOMPARE(lexitka::articles(LangGerman), (QStringList{"der", "die", "das", "není"}));
        QCOMPARE(lexitka::articles(LangFrench), (QStringList{"le", "la", "les", "není"}));
        QCOMPARE(lexitka::articles(LangSpanish), (QStringList{"el", "la", "los", "není", "las"}));
        QVERIFY(lexitka::articles(LangEnglish).isEmpty());
        QCOMPARE(articleText(LangSpanish, 4), QStringLiteral("las"));
        QCOMPARE(articleText(LangGerman, 4), QStringLiteral("není"));
        QCOMPARE(articleText(LangFrench, -1), QStringLiteral("není"));
        QCOMPARE(articleText(LangEnglish, 0), QStringLiteral("není"));
        QCOMPARE(articleIndex("4"), 4);
        QCOMPARE(articleIndex("0"), 0);
        QCOMPARE(articleIndex("x"), kNoArticle);
        QCOMPARE(articleIndex(""), kNoArticle);
        QCOMPARE(kNoArticle, 3);
    }

    void languages()
    {
        struct Row {
            int code;
            const char *ext;
            const char *dialog;
            const char *title;
            QStringList kinds;
            CodePage cp;
        };
        const QList<Row> rows = {
            {20, "en", "Anglické", "Lexitka - Anglické [", {"Anglicko - česky", "Česko - anglicky"}, CodePage::Cp1250},
            {21,
             "de",
             "Německé",
             "Lexitka - Německé [",
             {"Nemecko - česky", "Česko - německy", "Množná čísla", "Slovesa"},
             CodePage::Cp1250},
            {22,
             "fr",
             "Francouzské",
             "Lexitka - Francouzské [",
             {"Franc. - česky", "Česko - franc."},
             CodePage::Cp1252},
            {23, "ru", "Ruské", "Lexitka - Ruské [", {"Rusko - česky", "Česko - rusky"}, CodePage::Cp1251},
            {24,
             "es",
             "Španělské",
             "Lexitka - Španělské [",
             {"Španělsko - česky", "Česko - španělsky"},
             CodePage::Cp1252},
            {25, "lt", "Latinské", "Lexitka - Latinské [", {"Latinsko - česky", "Česko - latinsky"}, CodePage::Cp1250},
        };
        QCOMPARE(allLanguageCodes().size(), rows.size());
        for (const Row &r : rows) {
            const LanguageInfo &l = languageInfo(r.code);
            QCOMPARE(l.code, r.code);
            QCOMPARE(QByteArray(l.extension), QByteArray(r.ext));
            QCOMPARE(l.dialogName, QString::fromUtf8(r.dialog));
            QCOMPARE(l.titlePrefix, QString::fromUtf8(r.title));
            QCOMPARE(l.testKinds, r.kinds);
            QCOMPARE(l.foreignCodePage, r.cp);
            QCOMPARE(languageForExtension(QString::fromLatin1(r.ext)), std::optional<int>(r.code));
            QCOMPARE(languageForExtension(u'.' + QString::fromLatin1(r.ext).toUpper()), std::optional<int>(r.code));
        }
        QCOMPARE(languageInfo(99).code, int(LangEnglish));
        for (const char *other : {"txt", "", ".", "e", "eng", ".d e"})
            QCOMPARE(languageForExtension(QString::fromLatin1(other)), std::nullopt);

        QCOMPARE(extensionSection("/a/b/x.EN", LangGerman), QByteArray("en"));
        QCOMPARE(extensionSection("lekce.txt", LangGerman), QByteArray("txt"));
        QCOMPARE(extensionSection("/a/b/noext", LangGerman), QByteArray("en"));
        QCOMPARE(extensionSection("/a/dir.de/noext", LangGerman), QByteArray("en"));
        QCOMPARE(extensionSection("/a/archiv.tar.De", LangEnglish), QByteArray("de"));
        // Extensions that would not read back as the same section: the language's.
        for (const char *odd : {"x.e]n", "x.en ", "x. en", "x.a\nb", "x.a\rb", "x.]"})
            QCOMPARE(extensionSection(QString::fromLatin1(odd), LangRussian), QByteArray("ru"));
    }

    void codePages()
    {
        const struct {
            CodePage cp;
            const char *name;
        } pages[] = {{CodePage::Cp1250, "CP1250"}, {CodePage::Cp1251, "CP1251"}, {CodePage::Cp1252, "CP1252"}};
        QByteArray all(256, '\0');
        for (int b = 0; b < 256; ++b)
            all[b] = char(b);
        for (const auto &p : pages) {
            const QString text = decode(all, p.cp);
            QCOMPARE(text.size(), 256);
            QCOMPARE(encode(text, p.cp), all);
            QCOMPARE(QSet<QChar>(text.begin(), text.end()).size(), 256);
            for (int b = 0; b < 256; ++b) {
                const auto expected = systemDecode(p.name, static_cast<unsigned char>(b));
                // Undefined bytes stand for the control character of the same number.
                QCOMPARE(char32_t(text[b].unicode()), expected.value_or(char32_t(b)));
                QCOMPARE(encodeChar(text[b].unicode(), p.cp), std::optional<char>(char(b)));
            }
            QCOMPARE(encodeChar(U'\U0001F600', p.cp), std::nullopt);
            QCOMPARE(encodeChar(U'\u72D7', p.cp), std::nullopt);
            QCOMPARE(encode(QStringLiteral("€ok☺"), p.cp).right(3), QByteArray("ok?"));
        }
        QCOMPARE(decode("\x9E\xE8\xF8\xCC", CodePage::Cp1250), QStringLiteral("žčřĚ"));
        QCOMPARE(decode("\xC0\xA8\xB8\xFF", CodePage::Cp1251), QStringLiteral("АЁёя"));
        QCOMPARE(decode("\xE9\x9C\xF1\xBF", CodePage::Cp1252), QStringLiteral("éœñ¿"));
        QCOMPARE(encode(QStringLiteral("Příliš žluťoučký kůň"), CodePage::Cp1250),
                 QByteArray("P\xF8\xEDli\x9A \x9Elu\x9Dou\xE8k\xFD k\xF9\xF2"));
        // A character of one code page has no place in the others.
        QCOMPARE(encodeChar(U'ř', CodePage::Cp1252), std::nullopt);
        QCOMPARE(encodeChar(U'ñ', CodePage::Cp1250), std::nullopt);
        QCOMPARE(encodeChar(U'я', CodePage::Cp1250), std::nullopt);
        QCOMPARE(encodeChar(U'ř', CodePage::Cp1251), std::nullopt);
        QCOMPARE(codePageForCharset(CharsetCentralEuropean), CodePage::Cp1250);
        QCOMPARE(codePageForCharset(CharsetCyrillic), CodePage::Cp1251);
        QCOMPARE(codePageForCharset(CharsetWestern), CodePage::Cp1252);
    }

    void sampleDictionaries()
    {
        const QStringList files = {"data.en",
                                   "Slovniky/nemcina.de",
                                   "Slovniky/francouzstina.fr",
                                   "Slovniky/spanelstina.es",
                                   "Slovniky/rustina.ru",
                                   "Slovniky/latina.lt"};
        QSet<int> seen;
        for (const QString &name : files) {
            const QString path = sampleFile(name);
            const auto code = languageForExtension(QFileInfo(path).suffix());
            QVERIFY2(code, qPrintable(name));
            seen.insert(*code);
            const IniDocument doc = IniDocument::fromFile(path);
            QVERIFY2(doc.sectionCount() >= 3, qPrintable(name));
            QList<QByteArray> lines;
            for (qsizetype s = 0; s < doc.sectionCount(); ++s) {
                QVERIFY(doc.entryCount(s) > 0);
                lines += doc.entryLines(s);
            }
            QVERIFY2(lines.size() >= 30, qPrintable(name));
            const int fields = *code == LangGerman ? 4 : (*code == LangFrench || *code == LangSpanish) ? 3 : 2;
            bool hasRemark = false, hasAlternative = false, foreignHigh = false;
            for (const QByteArray &line : lines) {
                const QByteArray value = line.mid(line.indexOf('=') + 1);
                QVERIFY2(value.count('\\') == fields - 1, line.constData());
                const WordRecord w = ParseWord(line, *code);
                QVERIFY2(!w.Slovo.isEmpty() && !w.Preklad.isEmpty(), line.constData());
                if (fields > 2)
                    QVERIFY2(articleIndex(w.Clen) < lexitka::articles(*code).size(), line.constData());
                hasRemark |= w.Preklad.contains('(') || w.Slovo.contains('(');
                hasAlternative |= w.Preklad.contains(',');
                foreignHigh |= std::any_of(w.Slovo.begin(), w.Slovo.end(), [](char c) { return uchar(c) >= 0xC0; });
            }
            QVERIFY2(hasRemark && hasAlternative, qPrintable(name));
            if (*code == LangRussian)
                QVERIFY(foreignHigh); // Cyrillic letters are bytes 0xC0 and up in windows-1251
            if (*code == LangGerman) {
                const auto verbs = std::count_if(lines.begin(), lines.end(), [](const QByteArray &l) {
                    return l.contains(",h ") || l.contains(",i ");
                });
                const auto noPlural =
                    std::count_if(lines.begin(), lines.end(), [](const QByteArray &l) { return l.contains("\\\\"); });
                QVERIFY(verbs >= 3);
                QVERIFY(noPlural >= 1);
                QVERIFY(lines.size() - verbs - noPlural >= 3);
            }
            if (*code == LangSpanish) {
                QVERIFY(std::any_of(lines.begin(), lines.end(),
                                    [](const QByteArray &l) { return ParseWord(l, LangSpanish).Clen == "4"; }));
            }
        }
        QCOMPARE(seen.size(), 6);
    }
};

QTEST_GUILESS_MAIN(TestDictionary)
#include "tst_dictionary.moc"
