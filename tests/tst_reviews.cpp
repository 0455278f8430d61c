// Reviews scheduled per word: the FSRS-6 formulas against values worked out
// by hand for the default weights (no steps, no fuzz), and the review file.
#include "data/dictionary.h"
#include "exam/duereviews.h"
#include "exam/fsrs.h"
#include "exam/reviews.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace lexitka;
using fsrs::Grade;

class TestReviews : public QObject {
    Q_OBJECT
private slots:
    void schedulesByHand();
    void reviewFile();
    void dueCardsOfADictionary();
};

namespace {

struct Expected {
    double stability, difficulty;
    int interval;
};

// Answers one card with the grades, each review on the day the previous one
// set as due (or all on one day), through what the file stores.
void check(const QList<Grade> &grades, const QList<Expected> &expected, bool sameDay = false)
{
    std::optional<ReviewCard> card;
    QDate day(2026, 1, 1);
    for (qsizetype i = 0; i < grades.size(); ++i) {
        card = reviewed(card, {1, "1=dog\\pes", grades[i], day});
        QVERIFY2(qAbs(card->memory.stability - expected[i].stability) < 1e-9,
                 qPrintable(QStringLiteral("step %1: stability %2").arg(i).arg(card->memory.stability, 0, 'f', 4)));
        QVERIFY2(qAbs(card->memory.difficulty - expected[i].difficulty) < 1e-9,
                 qPrintable(QStringLiteral("step %1: difficulty %2").arg(i).arg(card->memory.difficulty, 0, 'f', 4)));
        QCOMPARE(day.daysTo(card->due), expected[i].interval);
        if (!sameDay)
            day = card->due;
    }
}

} // namespace

void TestReviews::schedulesByHand()
{
    const Grade G = Grade::Good, A = Grade::Again;
    // Good six times, a lapse, Good three times: S and D as stored (four
    // decimals), and the interval in days.
    check({G, G, G, G, G, G, A, G, G, G}, {{2.3065, 2.1181, 2},
                                           {10.9643, 2.1112, 11},
                                           {46.2802, 2.1043, 46},
                                           {162.8626, 2.0974, 163},
                                           {497.4498, 2.0905, 497},
                                           {1345.5401, 2.0836, 1346},
                                           {9.4447, 7.3832, 9},
                                           {21.6737, 7.3710, 22},
                                           {47.3293, 7.3589, 47},
                                           {95.9158, 7.3468, 96}});
    // Again twice (the second a day later), then Good four times.
    check({A, A, G, G, G, G}, {{0.2120, 6.4133, 1},
                               {0.1009, 8.8063, 1},
                               {0.6833, 8.7927, 1},
                               {1.8061, 8.7791, 2},
                               {3.9107, 8.7655, 4},
                               {7.7227, 8.7520, 8}});
    // Missed, then known the same day: the same-day rule.
    check({A, G}, {{0.2120, 6.4133, 1}, {0.2467, 6.4021, 1}}, true);

    // The interval is never below a day nor above a hundred years.
    QCOMPARE(fsrs::intervalDays(0.001), 1);
    QCOMPARE(fsrs::intervalDays(1e7), 36500);
    QVERIFY(qAbs(fsrs::retrievability(10.9643, 10.9643) - 0.9) < 1e-9);
}

void TestReviews::reviewFile()
{
    QCOMPARE(reviewFilePath(QStringLiteral("/p"), LangEnglish), QStringLiteral("/p/review.enr"));
    QCOMPARE(reviewFilePath(QStringLiteral("/p"), LangGerman), QStringLiteral("/p/review.der"));

    // A value keeps any bytes, tabs and "=" included.
    ReviewCard card = reviewed(std::nullopt, {2, "0\\Haus\t\xE4\\H\xE4user=\\d\xF9m", Grade::Good, QDate(2026, 12, 6)});
    const QByteArray line = reviewLine(card);
    QCOMPARE(line, QByteArray("2\t2026-12-08\t2026-12-06\t2.3065\t2.1181\t1\t0\t0\\Haus\t\xE4\\H\xE4user=\\d\xF9m"));
    const std::optional<ReviewCard> back = parseReviewLine(line);
    QVERIFY(back);
    QCOMPARE(reviewLine(*back), line);

    // Damaged lines are skipped when read and kept when the file is rewritten.
    const QByteArray damaged[] = {"",
                                  "x",
                                  "9\t2026-12-08\t2026-12-06\t2.3\t2.1\t1\t0\tv", // no such kind
                                  "0\t2026-13-08\t2026-12-06\t2.3\t2.1\t1\t0\tv", // no such date
                                  "0\t2026-12-08\t2026-12-06\tx\t2.1\t1\t0\tv",
                                  "0\t2026-12-08\t2026-12-06\t2.3\t2.1\t1\t2\tv", // more lapses than reviews
                                  "0\t2026-12-08\t2026-12-06\t2.3\t2.1\t1\t0\t",  // no value
                                  "0\t20x6-12-08\t2026-12-06\t2.3\t2.1\t1\t0\tv", // a year that is not one
                                  "0\t2026-12-08\t2026-12-06\tinf\t2.1\t1\t0\tv",
                                  "0\t2026-12-08\t2026-12-06\tnan\t2.1\t1\t0\tv",
                                  "0\t2026-12-08\t2026-12-06\t2.3\t2.1\t+1\t0\tv",
                                  "0\t2026-12-08\t2026-12-06\t 2.3\t2.1\t1\t0\tv"};
    for (const QByteArray &d : damaged)
        QVERIFY2(!parseReviewLine(d), d.constData());
    const QByteArray file = line + "\r\nbroken line\r\n";
    QCOMPARE(parseReviewFile(file).size(), 1);

    // Reviews change a card where it stands and add new ones at the end:
    // the Haus card reviewed on its due day, a dog missed and then known.
    const QDate due(2026, 12, 8);
    const QByteArray after = withReviews(
        file,
        {{2, card.value, Grade::Good, due}, {0, "1=dog\\pes", Grade::Again, due}, {0, "1=dog\\pes", Grade::Good, due}});
    QCOMPARE(after, QByteArray("2\t2026-12-19\t2026-12-08\t10.9643\t2.1112\t2\t0\t0\\Haus\t\xE4\\H\xE4user=\\d\xF9m\r\n"
                               "broken line\r\n"
                               "0\t2026-12-09\t2026-12-08\t0.2467\t6.4021\t2\t1\t1=dog\\pes\r\n"));
    // The same word in another kind is another card.
    QCOMPARE(parseReviewFile(withReviews(after, {{1, "1=dog\\pes", Grade::Good, due}})).size(), 3);
    // An entry without a value ("5=") has no card: its line could never be
    // read back, and every test would add another.
    QCOMPARE(withReviews(after, {{0, {}, Grade::Good, due}, {9, "x", Grade::Good, due}}), after);
    // A clock put back counts as the same day.
    const ReviewCard early = reviewed(card, {2, card.value, Grade::Good, QDate(2026, 12, 1)});
    QCOMPARE(early.last, QDate(2026, 12, 1));
    QVERIFY(early.memory.stability >= card.memory.stability);
}

void TestReviews::dueCardsOfADictionary()
{
    const QDate today(2026, 12, 9);
    auto card = [](int kind, const char *due, const QByteArray &value) {
        return QByteArray::number(kind) + '\t' + due + "\t2026-12-01\t3.0000\t5.0000\t2\t1\t" + value + "\r\n";
    };
    const QByteArray dog = "0\\Hund\\Hunde\\pes", walk = "3\\gehen\\geht,ging,i gegangen\\jit",
                     milk = "2\\Milch\\\\mleko";
    const QByteArray dictionary = "0=stray\\before any lesson\r\n"
                                  "[Tiere]\r\n0="
                                  + dog + "\r\n1 = " + milk + "\r\n2=0\\Neu\\Neue\\novy\r\n[Verben]\r\n0=" + walk
                                  + "\r\n1=" + dog + "\r\n[Leer]\r\n";
    const QByteArray reviews = card(0, "2026-12-09", dog) + card(1, "2026-12-01", dog) // due, overdue
                               + card(2, "2026-12-10", dog)                            // tomorrow
                               + card(0, "2026-12-30", dog)          // a second line of a card: the first counts
                               + card(2, "2026-12-01", walk)         // a verb has no plural to ask
                               + card(3, "2026-12-05", walk)         // its forms are due
                               + card(3, "2026-12-01", milk)         // no verb
                               + card(0, "2026-12-23", milk)         // a day past the forecast
                               + card(1, "2026-12-12", "gone\\word") // no longer in the dictionary
                               + "0\t2026-12-01\tdamaged\r\n" + card(0, "2026-12-01", "stray\\before any lesson");

    const ReviewOverview de = reviewOverview(dictionary, reviews, LangGerman, today);
    // Each due card once (the dog is in two lessons), in dictionary order.
    QCOMPARE(de.due.toList(), (QList<QByteArray>{"0\\0=" + dog, "1\\0=" + dog, "3\\0=" + walk}));
    QCOMPARE(de.kinds, (std::array<bool, 4>{true, true, false, true}));
    QCOMPARE(de.dueValues, (QSet<QByteArray>{dog, walk}));
    QCOMPARE(de.nextDue, QDate(2026, 12, 10));
    std::array<int, kForecastDays> forecast{};
    forecast[0] = 3;
    forecast[1] = 1;
    QCOMPARE(de.forecast, forecast);
    QCOMPARE(reviewOverview(dictionary, reviews, LangGerman, today.addDays(1)).forecast[13], 1); // the milk
    QCOMPARE(de.lessons.size(), 3);
    // Words, asked at least once (a card of any kind), due today.
    QCOMPARE((std::array{de.lessons[0].words, de.lessons[0].asked, de.lessons[0].due}), (std::array{3, 2, 1}));
    QCOMPARE((std::array{de.lessons[1].words, de.lessons[1].asked, de.lessons[1].due}), (std::array{2, 2, 2}));
    QCOMPARE((std::array{de.lessons[2].words, de.lessons[2].asked, de.lessons[2].due}), (std::array{0, 0, 0}));

    // Other languages ask no plurals or verb forms: those cards are not due.
    const ReviewOverview en = reviewOverview(dictionary, reviews, LangEnglish, today);
    QCOMPARE(en.due.toList(), (QList<QByteArray>{"0\\0=" + dog, "1\\0=" + dog}));
    QCOMPARE(en.lessons[1].due, 1);

    // Days later everything has come due; nothing is due without a file.
    const ReviewOverview later = reviewOverview(dictionary, reviews, LangGerman, QDate(2027, 1, 1));
    QCOMPARE(later.due.size(), 5);
    QVERIFY(!later.nextDue);
    QCOMPARE(later.forecast[0], 5);
    // Read from a file piece by piece, a dictionary bigger than a piece
    // counts the same as whole.
    QByteArray big;
    QByteArray bigReviews;
    for (int lesson = 0; lesson < 600; ++lesson) {
        big += "[Lekce " + QByteArray::number(lesson) + "]\r\n";
        for (int word = 0; word < 150; ++word) {
            const QByteArray value = "0\\Wort" + QByteArray::number(lesson * 1000 + word) + "\\W\\slovo";
            big += QByteArray::number(word) + '=' + value + (word % 7 ? "\r\n" : "\n");
            if (word % 3 == 0)
                bigReviews += card(word % 2, word % 5 ? "2026-12-09" : "2026-12-11", value);
        }
    }
    QVERIFY(big.size() > 2 * (1 << 20));
    QTemporaryDir dir;
    const QString bigPath = dir.filePath(QStringLiteral("big.de"));
    {
        QFile out(bigPath);
        QVERIFY(out.open(QIODevice::WriteOnly) && out.write(big) == big.size());
    }
    const ReviewOverview whole = reviewOverview(big, bigReviews, LangGerman, today);
    const ReviewOverview pieces = reviewOverviewOfFile(bigPath, bigReviews, LangGerman, today);
    QCOMPARE(pieces.dueCount, whole.dueCount);
    QCOMPARE(pieces.due.toList(), whole.due.toList());
    QCOMPARE(pieces.forecast, whole.forecast);
    QCOMPARE(pieces.lessons.size(), 600);
    for (qsizetype i = 0; i < whole.lessons.size(); ++i)
        QVERIFY(pieces.lessons[i].words == 150 && pieces.lessons[i].asked == whole.lessons[i].asked
                && pieces.lessons[i].due == whole.lessons[i].due);
    QCOMPARE(whole.dueCount, 600 * 40);

    const ReviewOverview none = reviewOverview(dictionary, {}, LangGerman, today);
    QVERIFY(none.due.isEmpty() && !none.nextDue);
    QCOMPARE(none.lessons[0].words, 3);
    QCOMPARE(none.lessons[0].asked, 0);
}

QTEST_GUILESS_MAIN(TestReviews)
#include "tst_reviews.moc"
