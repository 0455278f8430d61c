// The lesson editor's logic without a window: reading, the saved bytes,
// names of new lessons, sorting and searching.
#include "support/logicfakes.h"

#include "data/codepage.h"
#include "data/dictionary.h"
#include "editor/findsearch.h"
#include "editor/lessonbook.h"

#include <QtTest>

#include <cstring>
#include <random>

using namespace lexitka;
using namespace lexitka::testing;

namespace {

QList<QByteArray> names(const LessonBook &book)
{
    QList<QByteArray> out;
    for (qsizetype i = 0; i < book.count(); ++i)
        out.append(book.name(i));
    return out;
}

LessonBook bookOf(const QByteArray &dictionary, const QByteArray &mistakes = {})
{
    LessonBook book;
    book.load(dictionary, mistakes);
    return book;
}

QByteArray w1251(const QString &s) { return encode(s, CodePage::Cp1251); }

// Keeps the pieces it is given; refuses the n-th and all after it (n < 0: none).
class PieceSink final : public ByteSink {
public:
    explicit PieceSink(int refuseFrom = -1) : m_refuseFrom(refuseFrom) { }
    QList<QByteArray> pieces;
    bool write(QByteArrayView piece) override
    {
        if (m_refuseFrom >= 0 && pieces.size() >= m_refuseFrom)
            return false;
        pieces.append(piece.toByteArray());
        return true;
    }

private:
    int m_refuseFrom;
};

} // namespace

class TestLessonBook : public QObject {
    Q_OBJECT
private slots:
    void readingKeepsEveryLine();
    void savedBytes();
    void fieldsAsParseWordGivesThem();
    void sortOrder();
    void newLessonNames();
    void search();
};

void TestLessonBook::readingKeepsEveryLine()
{
    const LessonBook book = bookOf("before=nothing\r\n"
                                   "[ Lekce 1 ]\r\n"
                                   "  0 = dog\\pes  \r\n"
                                   "; 1=comment\r\n"
                                   "\r\n"
                                   "1=cat\\kocka\n"
                                   "1=cow\\krava\r"
                                   "no equals sign\r\n"
                                   "[half a header\r\n"
                                   "[Empty]\r\n"
                                   "[lekce 1]\r\n"
                                   "0=second\\druha",
                                   "0\\3=dog\\pes\r\n\r\n1\\x=cat\\kocka\r\n");
    QCOMPARE(names(book), (QList<QByteArray>{"Lekce 1", "Empty", "lekce 1", "Chyby"}));
    QCOMPARE(book.mistakesIndex(), 3);
    QCOMPARE(book.lines(0),
             (QList<QByteArray>{"0=dog\\pes", "1=cat\\kocka", "1=cow\\krava", "no equals sign", "[half a header"}));
    QVERIFY(book.lines(1).isEmpty());
    // Two sections of one name stay two lessons, each with its own lines.
    QCOMPARE(book.lines(2), QList<QByteArray>{"0=second\\druha"});
    QCOMPARE(book.lines(3), (QList<QByteArray>{"0\\3=dog\\pes", "", "1\\x=cat\\kocka"}));
    QCOMPARE(book.lineCount(), 9);

    // A line without "=" just before one with it, blanks and tabs about the
    // "=", an empty key or value, and a "[" inside a value.
    const LessonBook close = bookOf("[L]\nab\ncd=e\n\tk\t=v\r\nk=\t\r\n=v\nx=[y] z\nlast");
    QCOMPARE(close.lines(0), (QList<QByteArray>{"ab", "cd=e", "k=v", "k=", "=v", "x=[y] z", "last"}));

    const LessonBook empty = bookOf("; nothing\r\n\r\n");
    QCOMPARE(names(empty), QList<QByteArray>{"Chyby"});
}

void TestLessonBook::savedBytes()
{
    LessonBook book = bookOf("; header comment\r\n"
                             "[A]\r\n"
                             "5=one\\jedna\r\n"
                             "5=two\\dva\r\n"
                             "\r\n"
                             "x = three\\tri\r\n"
                             "plain\r\n"
                             "E=mc2\\vzorec=energie\r\n"
                             "[Empty]\r\n"
                             "[B]\n"
                             "9=b\\c\n"
                             "[A]\r\n"
                             "0=again\\znovu\r\n",
                             "0\\3=dog\\pes\r\n1\\4=cat\\kocka\r\n2\\5=cow\\krava");
    const QByteArray expected = "[A]\r\n"
                                "0=one\\jedna\r\n"
                                "1=two\\dva\r\n"
                                "2=three\\tri\r\n"
                                "3=plain\r\n"
                                "4=mc2\\vzorec=energie\r\n"
                                "\r\n"
                                "[B]\r\n"
                                "0=b\\c\r\n"
                                "\r\n"
                                "[A]\r\n"
                                "0=again\\znovu\r\n"
                                "\r\n";
    QCOMPARE(book.dictionaryBytes(), expected);
    // Saved, read and saved again: nothing moves.
    QCOMPARE(bookOf(expected).dictionaryBytes(), expected);

    // Mistakes are written back as they stand, edits and deletions included.
    QCOMPARE(book.mistakesBytes(), QByteArray("0\\3=dog\\pes\r\n1\\4=cat\\kocka\r\n2\\5=cow\\krava\r\n"));
    const qsizetype mistakes = book.mistakesIndex();
    QCOMPARE(mistakes, 4);
    QCOMPARE(book.replaceLine(mistakes, 1, "1\\2=kitten\\kote"), QByteArray("1\\4=cat\\kocka"));
    QCOMPARE(book.takeLine(mistakes, 0), QByteArray("0\\3=dog\\pes"));
    QCOMPARE(book.mistakesBytes(), QByteArray("1\\2=kitten\\kote\r\n2\\5=cow\\krava\r\n"));
    book.takeLine(mistakes, 0);
    book.takeLine(mistakes, 0);
    QCOMPARE(book.mistakesBytes(), QByteArray());

    // A new lesson stands before the mistakes and is saved once it has a word.
    book.insertLesson(book.mistakesIndex(), Lesson{"New", {}});
    QCOMPARE(names(book).last(2), (QList<QByteArray>{"New", "Chyby"}));
    QCOMPARE(book.dictionaryBytes(), expected);
    book.insertLine(4, 0, "7=n\\nove");
    QCOMPARE(book.dictionaryBytes(), expected + "[New]\r\n0=n\\nove\r\n\r\n");

    // Keys past 9, 99 and 999 and a value longer than the writer's buffer:
    // the same bytes gathered whole and handed to a sink in pieces.
    QByteArray big = "[Big]\r\n", saved = "[Big]\r\n";
    for (int i = 0; i < 1001; ++i) {
        const QByteArray value = i == 500 ? QByteArray(300'000, 'v') : "w" + QByteArray::number(i);
        big += "k=" + value + "\r\n";
        saved += QByteArray::number(i) + "=" + value + "\r\n";
    }
    saved += "\r\n";
    const LessonBook bigBook = bookOf(big);
    QCOMPARE(bigBook.dictionaryBytes(), saved);
    PieceSink sink;
    QVERIFY(bigBook.writeDictionary(sink));
    QVERIFY(sink.pieces.size() > 1);
    QCOMPARE(sink.pieces.join(), saved);
    PieceSink refusing(1);
    QVERIFY(!bigBook.writeDictionary(refusing));
    QCOMPARE(refusing.pieces.size(), 1);

    // Every lesson deleted: an empty file.
    while (book.mistakesIndex() > 0)
        book.takeLesson(0);
    QCOMPARE(book.dictionaryBytes(), QByteArray());
    QCOMPARE(names(book), QList<QByteArray>{"Chyby"});
}

void TestLessonBook::fieldsAsParseWordGivesThem()
{
    const QList<QByteArray> lines = {"0=0\\Hund\\\\pes",
                                     "1=3\\sehen\\sieht,sah,h gesehen\\videt",
                                     "1\\7=0\\Hund\\Hunde\\pes",
                                     "3=E=mc2\\vzorec",
                                     "5=cat",
                                     "4=0\\Hund",
                                     "no equals\\x",
                                     "",
                                     "=\\\\\\\\\\"};
    for (const int language : allLanguageCodes()) {
        for (const QByteArray &line : lines) {
            const WordFields f = wordFields(line, language);
            const WordRecord w = ParseWord(line, language);
            const WordRecord viewed{f.Clen.toByteArray(), f.Slovo.toByteArray(), f.Mn.toByteArray(),
                                    f.Preklad.toByteArray()};
            QVERIFY2(viewed == w, qPrintable(QString::number(language) + u' ' + QString::fromLatin1(line)));
        }
    }
    QCOMPARE(lineValue("3=E=mc2"), QByteArrayView("E=mc2"));
    QCOMPARE(lineValue("plain"), QByteArrayView("plain"));
}

void TestLessonBook::sortOrder()
{
    LineStore lines = {"0=3\\zebra\\\\z", "1=0\\Apfel\\\\a", cz("2=0\\Äpfel\\\\ä"), "3=0\\apfel\\\\b",
                       "4=0\\Zug\\\\c",   "5=0\\ap\\\\d",    "6=0\\[x\\\\e",        "7=0\\_y\\\\f"};
    sortBySlovo(lines, LangGerman);
    QList<QByteArray> words;
    for (QByteArrayView l : lines)
        words.append(ParseWord(l, LangGerman).Slovo);
    // "a".."z" count as capitals, so "[" and "_" (between Z and a) come after
    // every letter; Ä is a byte above 127 and comes last; a prefix first.
    QCOMPARE(words.first(), QByteArray("ap"));
    QCOMPARE(words.mid(3), (QList<QByteArray>{"zebra", "Zug", "[x", "_y", cz("Äpfel")}));
    QCOMPARE(QSet<QByteArray>(words.begin() + 1, words.begin() + 3), (QSet<QByteArray>{"Apfel", "apfel"}));
    // Words alike in their first 16 bytes are told apart by the rest.
    LineStore longer = {"0=abcdefghijklmnopq\\x", "1=ABCDEFGHIJKLMNOPa\\y", "2=abcdefghijklmnop\\z"};
    sortBySlovo(longer, LangEnglish);
    QCOMPARE(longer.toList(),
             (QList<QByteArray>{"2=abcdefghijklmnop\\z", "1=ABCDEFGHIJKLMNOPa\\y", "0=abcdefghijklmnopq\\x"}));
    QCOMPARE(CompareBySlovo("1=0\\Apfel\\\\a", "9=3\\apfel\\\\b", LangGerman), 0);
    QVERIFY(CompareBySlovo("0=abc\\x", "0=abd\\a", LangEnglish) < 0);
    QVERIFY(CompareBySlovo("0=0\\b\\x", "0=0\\a\\y", LangFrench) > 0); // by the word, not the article

    // Every kind of line, long or short, sorts as one comparison after the
    // other would sort it, in every language, and equal words keep their order.
    QList<QByteArray> odd;
    for (const QByteArray &word : {QByteArray("apfel"), QByteArray("Apfel"), QByteArray("ap\0fel", 6), QByteArray("ap"),
                                   QByteArray(70, 'b'), QByteArray(70, 'b') + 'a', cz("Äpfel"), QByteArray()}) {
        odd += {"1=0\\" + word + "\\x\\y",
                "2=" + word + "\\0\\y",
                word,
                "k=" + word,
                QByteArray(62, 'k') + "=0\\" + word,
                QByteArray(63, 'k') + "=" + word + "\\z",
                QByteArray(70, 'k') + "=0\\" + word + "\\",
                "=\\" + word};
    }
    for (int language : {LangEnglish, LangGerman, LangFrench, LangRussian, LangSpanish, LangLatin}) {
        for (int copies : {1, 20}) { // few lines, and enough to be put into buckets
            QList<QByteArray> many;
            for (int c = 0; c < copies; ++c)
                many += odd;
            LineStore sorted(many);
            sortBySlovo(sorted, language);
            std::stable_sort(many.begin(), many.end(), [language](const QByteArray &a, const QByteArray &b) {
                return CompareBySlovo(a, b, language) < 0;
            });
            QCOMPARE(sorted.toList(), many);
        }
    }

    // Many words that share their start (by 6 bytes, by more than 8), with
    // and without a line far down that shares nothing, in shuffled order.
    for (const char *start : {"Wort", "wortschatzkiste"}) {
        for (bool stranger : {false, true}) {
            QList<QByteArray> many;
            for (int i = 0; i < 600; ++i) {
                const QByteArray number = QByteArray::number((i * 7919) % 1000).rightJustified(7, '0');
                many.append(QByteArray::number(i) + "=0\\" + start + number + "\\x");
            }
            if (stranger)
                many.insert(500, "500=1\\Zebra\\y");
            LineStore sorted(many);
            sortBySlovo(sorted, LangGerman);
            std::stable_sort(many.begin(), many.end(), [](const QByteArray &a, const QByteArray &b) {
                return CompareBySlovo(a, b, LangGerman) < 0;
            });
            QCOMPARE(sorted.toList(), many);
        }
    }

    // Large lessons of random words, as the one comparison after the other
    // would sort them: words of a few letters in either case with a zero
    // byte or one above 127; words that share a start but in a few lines;
    // digits that vary more in a few lines than in the rest; long words
    // alike but for their ends.
    std::mt19937 random(23);
    const auto pick = [&random](const char *from) {
        return from[std::uniform_int_distribution<size_t>(0, std::strlen(from) - 1)(random)];
    };
    const auto randomWord = [&](int shape, int i) {
        QByteArray word;
        switch (shape) {
        case 0:
            for (int k = std::uniform_int_distribution<int>(0, 6)(random); k > 0; --k)
                word += k == 3 && i % 7 == 0 ? char(i % 2 ? '\0' : '\xC4') : pick("aAbBzZ_");
            break;
        case 1:
            word = i % 1000 != 999 ? "Haus" : (i % 2 ? "Hau" : "haus\xE4");
            for (int k = 0; k < 3; ++k)
                word += pick("aeiou");
            break;
        case 2:
            word = "Wort";
            for (int k = 0; k < 7; ++k)
                word += i % 1000 != 999 ? pick("0123") : pick("0123456789");
            break;
        default: word = QByteArray(40, 'x') + pick("ab") + pick("ab") + pick("ab"); break;
        }
        return word;
    };
    for (int shape = 0; shape < 4; ++shape) {
        QList<QByteArray> many;
        for (int i = 0; i < 6000; ++i)
            many.append(QByteArray::number(i) + "=" + QByteArray::number(i % 4) + "\\" + randomWord(shape, i) + "\\x");
        LineStore sorted(many);
        sortBySlovo(sorted, LangGerman);
        std::stable_sort(many.begin(), many.end(),
                         [](const QByteArray &a, const QByteArray &b) { return CompareBySlovo(a, b, LangGerman) < 0; });
        QCOMPARE(sorted.toList(), many);
        // Sorted again, the order stays.
        sortBySlovo(sorted, LangGerman);
        QCOMPARE(sorted.toList(), many);
    }

    // Cyrillic is ordered by its windows-1251 bytes.
    LineStore russian = {"0=" + w1251(QStringLiteral("собака")) + "\\pes",
                         "1=" + w1251(QStringLiteral("кот")) + "\\kocour", "2=zz\\z"};
    sortBySlovo(russian, LangRussian);
    QCOMPARE(russian.toList(), (QList<QByteArray>{"2=zz\\z", "1=" + w1251(QStringLiteral("кот")) + "\\kocour",
                                                  "0=" + w1251(QStringLiteral("собака")) + "\\pes"}));
}

void TestLessonBook::newLessonNames()
{
    const LessonBook book = bookOf(cz("[Lekce 1]\r\n[Žluťoučký kůň]\r\n"));
    QCOMPARE(book.checkNewName("Lekce 2"), LessonNameProblem::None);
    QCOMPARE(book.checkNewName(""), LessonNameProblem::Empty);
    QCOMPARE(book.checkNewName(" \t "), LessonNameProblem::Empty);
    QCOMPARE(book.checkNewName("a]b"), LessonNameProblem::BadCharacter);
    QCOMPARE(book.checkNewName("a\nb"), LessonNameProblem::BadCharacter);
    QCOMPARE(book.checkNewName("a\rb"), LessonNameProblem::BadCharacter);
    QCOMPARE(book.checkNewName(" LEKCE 1 "), LessonNameProblem::Taken);
    QCOMPARE(book.checkNewName(cz("ŽLUŤOUČKÝ KŮŇ")), LessonNameProblem::Taken);
    QCOMPARE(book.checkNewName("chyby"), LessonNameProblem::Taken);
    QCOMPARE(book.checkNewName("[x"), LessonNameProblem::None);
}

void TestLessonBook::search()
{
    const LessonBook book = bookOf("[One]\r\n"
                                   "0=Dog\\pes\r\n"
                                   "1=hotdog\\parek\r\n"
                                   "2=dog\\dog\r\n"
                                   "[Empty]\r\n"
                                   "[Two]\r\n"
                                   "0=cat\\kocka\r\n"
                                   "1=x\\bulldog\r\n",
                                   "1\\0=dog\\pes\r\n");
    FindPosition pos;
    QList<FindPosition> hits;
    auto next = [&](QByteArrayView text) {
        const auto hit = findNext(book, LangEnglish, text, pos);
        return hit ? FindPosition{hit->lesson, hit->row} : FindPosition{-1, -1};
    };
    // Case matters; a row with two occurrences is found once.
    QCOMPARE(next("dog"), (FindPosition{0, 2}));
    QCOMPARE(next("dog"), (FindPosition{0, 3}));
    QCOMPARE(pos, (FindPosition{0, 4}));
    // The empty lesson is passed over; the translation column is searched.
    QCOMPARE(next("dog"), (FindPosition{2, 2}));
    QCOMPARE(next("dog"), (FindPosition{3, 1}));
    // After a hit in the mistakes, the next search starts at the first lesson.
    QCOMPARE(pos, (FindPosition{3, 2}));
    QCOMPARE(next("dog"), (FindPosition{0, 2}));
    // A new text goes on from there; nothing further: back to the start.
    QCOMPARE(next("cat"), (FindPosition{2, 1}));
    QCOMPARE(next("cat"), (FindPosition{-1, -1}));
    QCOMPARE(pos, FindPosition{});
    QCOMPARE(next("Dog"), (FindPosition{0, 1}));
    // An empty text does nothing; a position past the end finds nothing.
    QCOMPARE(next(""), (FindPosition{-1, -1}));
    QCOMPARE(pos, (FindPosition{0, 2}));
    pos = {1, 50};
    QCOMPARE(next("bulldog"), (FindPosition{2, 2}));
    pos = {9, 1};
    QCOMPARE(next("cat"), (FindPosition{-1, -1}));
    QCOMPARE(pos, FindPosition{});
    // German plurals are searched; the article code is not.
    const LessonBook german = bookOf("[L]\r\n0=0\\Hund\\Hunde\\pes\r\n");
    pos = {};
    QVERIFY(findNext(german, LangGerman, "unde", pos));
    pos = {};
    QVERIFY(!findNext(german, LangGerman, "0", pos));

    // Lines as the file has them, ended every way, one with blanks around
    // its "=" and one added later: a text across a line end, in a key or
    // in a word that is not searched belongs to no row.
    LessonBook mixed = bookOf("[L]\r\n"
                              "0=ab\\cd\r\n"     // "cd\r\n1=ef" and "1=ef" are in no field
                              "1=ef\\gh\r"       // a lone CR
                              "gh=x\\y\n"        // "gh" only in a key
                              "3 = ij \\ kl\r\n" // closed up in place
                              "4=z\\ghost\r\n");
    mixed.insertLine(0, 2, "9=added\\cd");
    const auto rowOf = [&](QByteArrayView text) {
        pos = {};
        const auto hit = findNext(mixed, LangEnglish, text, pos);
        return hit ? hit->row : 0;
    };
    QCOMPARE(rowOf("cd\r\n1=ef"), 0);
    QCOMPARE(rowOf("1=ef"), 0);
    QCOMPARE(rowOf("cd"), 1);
    pos = {0, 2};
    QCOMPARE(findNext(mixed, LangEnglish, "cd", pos)->row, 3); // the added line
    QCOMPARE(rowOf("gh"), 2);
    pos = {0, 3};
    QCOMPARE(findNext(mixed, LangEnglish, "gh", pos)->row, 6); // past the key "gh"
    QCOMPARE(rowOf("kl"), 5);
    QCOMPARE(rowOf("ij \\ kl"), 0);
    QCOMPARE(rowOf("ghost"), 6);
}

QTEST_GUILESS_MAIN(TestLessonBook)
#include "tst_lessonbook.moc"
