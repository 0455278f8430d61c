// Dictionaries saved in UTF-8: recognising them, converting them into the
// program's code pages, and the question asked when one is opened.
#include "support/logicfakes.h"
#include "support/utf8samples.h"
#include "support/writeblocker.h"

#include "platform/utf8open.h"
#include "data/dictionary.h"
#include "data/utf8dictionary.h"

#include <QDir>
#include <QFile>
#include <QTest>

using namespace lexitka;
using namespace lexitka::testing;

namespace {

const QByteArray kBom = "\xEF\xBB\xBF";

bool recognisedByteByByte(const QByteArray &bytes)
{
    Utf8Recogniser r;
    for (const char c : bytes)
        r.feed(QByteArrayView(&c, 1));
    return r.isUtf8();
}

} // namespace

class TestUtf8 : public QObject {
    Q_OBJECT
private slots:
    void recognition();
    void decoding();
    void conversion();
    void characterWithoutAPlace();
    void questionOnOpening();
};

void TestUtf8::recognition()
{
    QTemporaryDir dir;
    for (const SampleDictionary &s : sampleDictionaries()) {
        const QByteArray inUtf8 = dictionaryInUtf8(readFile(s.path()), s.languageCode);
        QVERIFY2(!isUtf8File(s.path()) && isUtf8Text(inUtf8) && recognisedByteByByte(inUtf8), qPrintable(s.name));
    }
    // A byte-order mark at the start decides alone; pure ASCII needs nothing.
    for (const QByteArray &yes : {kBom + "a", kBom + "\xE8", QByteArray("k\xC5\xAF\xC5\x88"),
                                  QByteArray("\xF0\x9F\x98\x80"), QByteArray("\xF4\x8F\xBF\xBF\xED\x9F\xBF")})
        QVERIFY2(isUtf8Text(yes) && recognisedByteByByte(yes), yes.toHex().constData());
    // Czech in windows-1250, ill-formed UTF-8 (overlong, surrogate, past
    // U+10FFFF, cut short) and a mark not at the start.
    for (const QByteArray &no :
         {QByteArray("[L]\r\n0=dog\\pes\r\n"), QByteArray("k\xF9\xF2"), QByteArray("\xC0\xAF"),
          QByteArray("\xE0\x80\xAF"), QByteArray("\xED\xA0\x80"), QByteArray("\xF4\x90\x80\x80"), QByteArray("\x80"),
          QByteArray("\xC3\xA9\xE2\x82"), QByteArray("\xC3\xA9\xE8\xA9"), "x" + kBom + "\xE8"})
        QVERIFY2(!isUtf8Text(no) && !recognisedByteByByte(no), no.toHex().constData());

    // Files are read in pieces: a character cut by a piece's end is whole.
    const QString big = dir.filePath(QStringLiteral("big.en"));
    writeFile(big, QByteArray(64 * 1024 - 1, 'a') + "\xC5\xBE" + QByteArray(70000, 'b'));
    QVERIFY(isUtf8File(big));
    writeFile(big, readFile(big) + "\xFF");
    QVERIFY(!isUtf8File(big));
    QVERIFY(!isUtf8File(dir.filePath(QStringLiteral("none.en"))));
    QVERIFY(!isUtf8File(dir.path()));
}

void TestUtf8::decoding()
{
    // Text from the settings is decoded by the rules that recognise a dictionary.
    for (const QByteArray &good : {QByteArray(), QByteArray("C:/Slovniky/a.en"), QByteArray("k\xC5\xAF\xC5\x88"),
                                   QByteArray("\xF0\x9F\x98\x80"), QByteArray("\xF4\x8F\xBF\xBF\xED\x9F\xBF")}) {
        const std::optional<QString> text = decodeUtf8(good);
        QVERIFY2(text && *text == QString::fromUtf8(good), good.toHex().constData());
    }
    QCOMPARE(decodeUtf8(kBom + "k\xC5\xAF\xC5\x88").value_or(QString()), QStringLiteral("kůň"));
    for (const QByteArray &bad :
         {QByteArray("k\xF9\xF2"), QByteArray("\xC0\xAF"), QByteArray("\xE0\x80\xAF"), QByteArray("\xED\xA0\x80"),
          QByteArray("\xF4\x90\x80\x80"), QByteArray("\x80"), QByteArray("\xC3\xA9\xE2\x82"), "x" + kBom + "\xE8"})
        QVERIFY2(!decodeUtf8(bad), bad.toHex().constData());
}

void TestUtf8::conversion()
{
    // The samples come back byte for byte (questionOnOpening); a mark goes.
    QCOMPARE(convertUtf8Dictionary(kBom + "[A]\r\n0=a\\b\r\n", LangEnglish).bytes, "[A]\r\n0=a\\b\r\n");
    // The word in its language's code page, everything else in windows-1250:
    // comments, junk, lines before the first lesson, keys, blanks, lone CRs.
    QCOMPARE(convertUtf8Dictionary("; p\xC5\x99"
                                   "ed\r\nx=\xC3\xA9\xC4\x8D\n[D\xC4\x9Bti]\r"
                                   "  kl\xC3\xAD\xC4\x8D = 1\\c\xC5\x93ur \\ srdce, \xC5\xBE\xC3\xADt \r\n"
                                   "nesmysl \xC4\x8D\r\n1=jen slovo \xC3\xAA\r\n3=1\\\\\\\\\xC4\x8D",
                                   LangFrench)
                 .bytes,
             "; p\xF8"
             "ed\r\nx=\xE9\xE8\n[D\xECti]\r  kl\xED\xE8 = 1\\c\x9C"
             "ur \\ srdce, \x9E\xEDt \r\n"
             "nesmysl \xE8\r\n1=jen slovo \xEA\r\n3=1\\\\\\\\\xE8");
    QCOMPARE(convertUtf8Dictionary("[A]\n0=0\\ni\xC3\xB1o\\d\xC3\xADt\xC4\x9B\n", LangSpanish).bytes,
             "[A]\n0=0\\ni\xF1o\\d\xEDt\xEC\n");
    QCOMPARE(convertUtf8Dictionary("[A]\r\n0=\xD1\x91\xD0\xB6\\je\xC5\xBE"
                                   "ek\r\n",
                                   LangRussian)
                 .bytes,
             "[A]\r\n0=\xB8\xE6\\je\x9E"
             "ek\r\n");
    QCOMPARE(convertUtf8Dictionary("[A]\r\n0=0\\V\xC3\xB6gel\\V\xC3\xB6gel\\pt\xC3\xA1k\r\n", LangGerman).bytes,
             "[A]\r\n0=0\\V\xF6gel\\V\xF6gel\\pt\xE1k\r\n");
}

void TestUtf8::characterWithoutAPlace()
{
    struct Case {
        QByteArray text;
        int language;
        std::optional<QByteArray> lesson;
        qsizetype line;
        char32_t character;
        CodePage cp;
    };
    const QList<Case> cases = {
        {"[A]\r\n0=dog\\pes\r\n[Lekce \xC4\x8D. 2]\r\n0=cat\\ko\xC4\x8Dka \xF0\x9F\x98\x80\r\n", LangEnglish,
         "Lekce \xC4\x8D. 2", 4, U'\U0001F600', CodePage::Cp1250},
        {"[A]\n0=\xD1\x81\\pes\n1=\xE7\x8B\x97\\pes\n", LangRussian, "A", 3, U'\u72D7', CodePage::Cp1251},
        {"[A]\r\n0=0\\\xC5\x99"
         "eka\\\xC5\x99"
         "eka\r\n",
         LangFrench, "A", 2, U'\u0159', CodePage::Cp1252},
        {"; \xE2\x98\x83\r\n[A]\r\n", LangLatin, std::nullopt, 1, U'\u2603', CodePage::Cp1250},
    };
    for (const Case &c : cases) {
        const Utf8Conversion r = convertUtf8Dictionary(c.text, c.language);
        QVERIFY(r.problem && r.bytes.isEmpty());
        QCOMPARE(r.problem->kind, Utf8Problem::NoPlace);
        QCOMPARE(r.problem->lesson, c.lesson);
        QCOMPARE(r.problem->line, c.line);
        QCOMPARE(r.problem->character, c.character);
        QVERIFY(r.problem->codePage == c.cp);
    }
    // After a byte-order mark the rest must still be UTF-8.
    const Utf8Conversion bad = convertUtf8Dictionary(kBom + "[A]\r\n0=a\\b\r\n1=k\xF9\xF2\\kun\r\n", LangEnglish);
    QVERIFY(bad.problem && bad.problem->kind == Utf8Problem::Malformed);
    QCOMPARE(bad.problem->line, 3);
}

void TestUtf8::questionOnOpening()
{
    for (const SampleDictionary &s : sampleDictionaries()) {
        TestFolder f;
        const QByteArray original = readFile(s.path());
        const QByteArray inUtf8 = dictionaryInUtf8(original, s.languageCode);
        const QString path = f.path(s.fileName());
        writeFile(path, inUtf8);
        QCOMPARE(offerUtf8Conversion(path, s.languageCode, f.messenger, nullptr), Utf8Offer::Converted);
        QCOMPARE(readFile(path), original);
        QCOMPARE(readFile(path + ".utf8"), inUtf8);
        // Converted once, it is the program's own.
        QCOMPARE(offerUtf8Conversion(path, s.languageCode, f.messenger, nullptr), Utf8Offer::NotUtf8);
        QCOMPARE(f.messenger.messages.size(), 1);
        QCOMPARE(f.messenger.messages[0].caption, QStringLiteral("Slovník v UTF-8"));
        QVERIFY(f.messenger.messages[0].byDefault == Messenger::Default::Yes);
        QCOMPARE(f.messenger.messages[0].text,
                 QStringLiteral("Slovník %1 je uložen v kódování UTF-8. Bez převodu by Lexitka jeho slova zobrazila "
                                "chybně a správné odpovědi by uznala za špatné.\n\nPřevést slovník do kódování "
                                "Lexitky? Původní soubor zůstane uložen jako %2.utf8.")
                     .arg(QDir::toNativeSeparators(path), s.fileName()));
    }

    TestFolder f;
    const QString path = f.path(QStringLiteral("rustina.ru"));
    const QByteArray text = "[A]\r\n0=\xD1\x81\\pes\r\n\r\n[Lekce 2]\r\n0=\xD0\xBA\\kocour \xF0\x9F\x90\xB1\r\n";
    const auto files = [&] { return QDir(f.folder()).entryList(QDir::Files | QDir::System); };
    writeFile(path, text);

    // No, and a character without a place: the file as it was, no copy.
    f.messenger.answer = false;
    QCOMPARE(offerUtf8Conversion(path, LangRussian, f.messenger, nullptr), Utf8Offer::Declined);
    f.messenger.answer = true;
    QCOMPARE(offerUtf8Conversion(path, LangRussian, f.messenger, nullptr), Utf8Offer::Failed);
    QCOMPARE(readFile(path), text);
    QCOMPARE(files(), QStringList{"rustina.ru"});
    QCOMPARE(f.messenger.messages.size(), 3);
    QCOMPARE(f.messenger.messages[2].kind, QStringLiteral("error"));
    QCOMPARE(f.messenger.messages[2].text,
             QStringLiteral("Slovník %1 nelze převést: v lekci „Lekce 2“ na řádku 5 je znak „🐱“ (U+1F431), který "
                            "v kódování windows-1250 není. Soubor zůstal beze změny a otevře se bez převodu.")
                 .arg(QDir::toNativeSeparators(path)));

    // The original cannot be kept (the blocker lets only the smaller
    // converted file through): the dictionary is not rewritten either.
    writeFile(path, text.left(text.indexOf("\r\n\r\n")));
    f.messenger.messages.clear();
    {
        WriteBlocker blocker(f.folder(), rlim_t(readFile(path).size() - 1));
        QCOMPARE(offerUtf8Conversion(path, LangRussian, f.messenger, nullptr), Utf8Offer::Failed);
    }
    QCOMPARE(readFile(path), text.left(text.indexOf("\r\n\r\n")));
    QCOMPARE(files(), QStringList{"rustina.ru"});
    QCOMPARE(f.messenger.messages[1].text,
             QStringLiteral("Původní slovník %1 nelze uložit do souboru %1.utf8. Soubor zůstal beze změny a otevře "
                            "se bez převodu.")
                 .arg(QDir::toNativeSeparators(path)));

    // A kept original is never replaced, not even a dangling link, nor a
    // file made while the question was up: the next free number is taken.
    writeFile(path + ".utf8", "older copy");
    QVERIFY(QFile::link(f.path(QStringLiteral("nowhere")), path + ".utf8.1"));
    f.messenger.messages.clear();
    f.messenger.onMessage = [&](const RecordingMessenger::Message &m) {
        if (m.kind == QLatin1String("question"))
            writeFile(path + ".utf8.2", "made meanwhile");
    };
    QCOMPARE(offerUtf8Conversion(path, LangRussian, f.messenger, nullptr), Utf8Offer::Converted);
    QVERIFY(f.messenger.messages[0].text.endsWith(QStringLiteral("uložen jako rustina.ru.utf8.2.")));
    QCOMPARE(f.messenger.messages[1].text,
             QStringLiteral("Původní soubor je uložen jako %1.3.").arg(QDir::toNativeSeparators(path + ".utf8")));
    QCOMPARE(readFile(path + ".utf8"), QByteArray("older copy"));
    QVERIFY(!QFileInfo::exists(f.path(QStringLiteral("nowhere"))));
    QCOMPARE(readFile(path + ".utf8.2"), QByteArray("made meanwhile"));
    QCOMPARE(readFile(path + ".utf8.3"), text.left(text.indexOf("\r\n\r\n")));
    QCOMPARE(readFile(path), QByteArray("[A]\r\n0=\xF1\\pes"));
}

QTEST_GUILESS_MAIN(TestUtf8)
#include "tst_utf8.moc"
