// The statistics file and record, without a window.
#include "data/savefile.h"
#include "stats/statistics.h"
#include "stats/statisticsrecording.h"
#include "stats/statisticsreport.h"
#include "support/logicfakes.h"

#include <QDir>
#include <QFileInfo>
#include <QtTest>

#include <functional>

using namespace lexitka;
using namespace lexitka::testing;

namespace {

const QDate kDay(2026, 12, 6);

QList<QByteArray> germanKinds()
{
    return {cz(QStringLiteral("Nemecko - česky")), cz(QStringLiteral("Česko - německy")),
            cz(QStringLiteral("Množná čísla")), cz(QStringLiteral("Slovesa"))};
}

// One run of the recording with a test that gives `good` and `bad`.
struct Run {
    bool collected = true;
    bool recording = true;
    int good = 0;
    int bad = 0;
    bool ran = false;
    std::function<void()> during{}; // what happens while the test runs

    void operator()(const QString &path, RecordingMessenger &messenger)
    {
        // As the main window goes about a test.
        StatisticsRecording statistics(path, messenger, nullptr);
        if (!collected)
            return;
        ran = true;
        if (during)
            during();
        statistics.append(statisticsRecord(recording, good, bad, kDay, "Lekce 1/Anglicko - " + cz("česky")));
    }
};

} // namespace

class TestStatistics : public QObject {
    Q_OBJECT
private slots:
    void recordLine();
    void lessonsAndKinds();
    void recordingAroundATest();
    void unreadableAndUnwritableFiles();
    void readingRecords();
    void averages();
    void reportOfTheFileBytes();
    void loadingTheFile();
    void filter();
};

void TestStatistics::recordLine()
{
    const QByteArray rest = "L/K";
    QCOMPARE(statisticsRecord(true, 2, 1, kDay, rest), QByteArray("6.12./67/L/K"));
    QCOMPARE(statisticsRecord(true, 1, 7, kDay, rest), QByteArray("6.12./12/L/K"));
    QCOMPARE(statisticsRecord(true, 3, 5, kDay, rest), QByteArray("6.12./38/L/K"));
    QCOMPARE(statisticsRecord(true, 0, 4, kDay, rest), QByteArray("6.12./0/L/K"));
    QCOMPARE(statisticsRecord(true, 9, 0, kDay, rest), QByteArray("6.12./100/L/K"));
    QCOMPARE(statisticsRecord(true, 23, 17, kDay, rest), QByteArray("6.12./58/L/K")); // exactly 57.5
    // No answer, or recording off: no line.
    QVERIFY(!statisticsRecord(true, 0, 0, kDay, rest));
    QVERIFY(!statisticsRecord(false, 2, 1, kDay, rest));

    QCOMPARE(statisticsDay(QDate(2024, 1, 1)), QByteArray("1.1."));
    QCOMPARE(statisticsDay(QDate(2025, 10, 31)), QByteArray("31.10."));
    // The year is not written: another year's 6 December reads the same.
    QCOMPARE(statisticsDay(QDate(1999, 12, 6)), statisticsDay(kDay));

    QCOMPARE(QFileInfo(statisticsFilePath(QStringLiteral("/prog"), LangGerman)).fileName(),
             QStringLiteral("statistic.des"));
    QCOMPARE(QFileInfo(statisticsFilePath(QStringLiteral("/prog"), LangLatin)).fileName(),
             QStringLiteral("statistic.lts"));
}

void TestStatistics::lessonsAndKinds()
{
    const QList<QByteArray> english = {cz(QStringLiteral("Anglicko - česky")), cz(QStringLiteral("Česko - anglicky"))};
    const QList<QByteArray> lessons = {"Lekce 1", "Lekce 2", "Lekce 3"};
    QCOMPARE(makeLekceTypZK(lessons, {true, false, true}, english, {true, true}),
             "Lekce 1,Lekce 3/" + english[0] + ',' + english[1]);
    QCOMPARE(makeLekceTypZK(lessons, {false, false, false}, english, {false, false}), QByteArray("/"));

    const QList<QByteArray> de = germanKinds();
    const QList<QByteArray> one = {"L"};
    QCOMPARE(makeLekceTypZK(one, {true}, de, {false, false, false, true}), "L/" + de[3]);
    QCOMPARE(makeLekceTypZK(one, {true}, de, {false, true, false, true}), "L/" + de[3]);
    QCOMPARE(makeLekceTypZK(one, {true}, de, {true, false, true, false}), "L/" + de[2]);
    QCOMPARE(makeLekceTypZK(one, {true}, de, {true, true, true, true}), "L/" + de[2]);
    QCOMPARE(makeLekceTypZK(one, {true}, de, {true, true, false, false}), "L/" + de[0] + ',' + de[1]);
    QCOMPARE(de[2], QByteArray("Mno\x9e"
                               "n\xe1 \xe8\xedsla"));

    // Names are written as the dictionary holds them, "," and "/" included.
    const QList<QByteArray> odd = {"A,B", "C/D", "\xc8\xed\x9asla"};
    QCOMPARE(makeLekceTypZK(odd, {true, true, true}, english, {false, true}), "A,B,C/D,\xc8\xed\x9asla/" + english[1]);
}

void TestStatistics::recordingAroundATest()
{
    TestFolder fx;
    const QString path = fx.path(QStringLiteral("statistic.ens"));

    // A failed collection leaves even an absent file absent, and runs nothing.
    Run failed{.collected = false, .good = 2, .bad = 1};
    failed(path, fx.messenger);
    QVERIFY(!failed.ran);
    QVERIFY(!QFileInfo::exists(path));

    // Recording off: an empty file where there was none.
    Run off{.recording = false, .good = 2, .bad = 1};
    off(path, fx.messenger);
    QVERIFY(off.ran);
    QVERIFY(QFileInfo(path).isFile());
    QCOMPARE(readFile(path), QByteArray());

    Run first{.good = 2, .bad = 1};
    first(path, fx.messenger);
    Run second{.good = 1, .bad = 7};
    second(path, fx.messenger);
    const QByteArray two =
        "6.12./67/Lekce 1/Anglicko - " + cz("česky") + "\r\n6.12./12/Lekce 1/Anglicko - " + cz("česky") + "\r\n";
    QCOMPARE(readFile(path), two);

    // No answer given: the lines stay as they were.
    Run none;
    none(path, fx.messenger);
    QVERIFY(none.ran);
    QCOMPARE(readFile(path), two);
    failed(path, fx.messenger);
    QCOMPARE(readFile(path), two);

    // Lines written by another hand keep their bytes; a last line without
    // its end gets one before the new record.
    writeFile(path, "1.1./50/a/b\n2.1./60/c/d");
    off(path, fx.messenger);
    QCOMPARE(readFile(path), QByteArray("1.1./50/a/b\n2.1./60/c/d"));
    Run more{.good = 3, .bad = 5};
    more(path, fx.messenger);
    QCOMPARE(readFile(path), "1.1./50/a/b\n2.1./60/c/d\r\n6.12./38/Lekce 1/Anglicko - " + cz("česky") + "\r\n");

    // A test that ends in another window of the program meanwhile keeps its record.
    writeFile(path, "1.1./50/a/b\r\n");
    Run mine{.good = 1, .bad = 1};
    mine.during = [&] { writeFile(path, "1.1./50/a/b\r\n5.12./90/x/y\r\n"); };
    mine(path, fx.messenger);
    QCOMPARE(readFile(path), "1.1./50/a/b\r\n5.12./90/x/y\r\n6.12./50/Lekce 1/Anglicko - " + cz("česky") + "\r\n");
    QVERIFY(fx.messenger.messages.isEmpty());
}

void TestStatistics::unreadableAndUnwritableFiles()
{
    TestFolder fx;
    // A statistics "file" that cannot be read: the test still runs, the user
    // is told, and what is there is not replaced.
    const QString path = fx.path(QStringLiteral("statistic.des"));
    QVERIFY(QDir(fx.folder()).mkdir(QStringLiteral("statistic.des")));
    writeFile(path + QStringLiteral("/keep"), "x");
    Run run{.good = 2, .bad = 1};
    run(path, fx.messenger);
    QVERIFY(run.ran);
    QCOMPARE(fx.messenger.messages.size(), 1);
    QCOMPARE(fx.messenger.messages[0].kind, QStringLiteral("error"));
    QVERIFY(fx.messenger.messages[0].text.contains(QDir::toNativeSeparators(path)));
    QVERIFY(fx.messenger.messages[0].text.contains(QStringLiteral("nelze přečíst")));
    QVERIFY(QFileInfo(path).isDir());
    QCOMPARE(readFile(path + QStringLiteral("/keep")), QByteArray("x"));

    // The message comes even when the collection then fails, and nothing is written.
    fx.messenger.messages.clear();
    Run failed{.collected = false, .good = 2, .bad = 1};
    failed(path, fx.messenger);
    QCOMPARE(fx.messenger.messages.size(), 1);
    QVERIFY(QFileInfo(path).isDir());

    // A folder that cannot be written: the write is reported, naming the file.
    fx.messenger.messages.clear();
    const QString lost = fx.path(QStringLiteral("gone/statistic.ens"));
    Run unwritable{.good = 1, .bad = 0};
    unwritable(lost, fx.messenger);
    QVERIFY(unwritable.ran);
    QCOMPARE(fx.messenger.messages.size(), 1);
    QVERIFY(fx.messenger.messages[0].text.contains(QDir::toNativeSeparators(lost)));
    QVERIFY(fx.messenger.messages[0].text.contains(QStringLiteral("nelze uložit")));
    QVERIFY(!QFileInfo::exists(lost));
}

void TestStatistics::readingRecords()
{
    const StatisticsRow plain("6.12./85/Lekce 1,Lekce 2/Anglicko - " + cz("česky"));
    QCOMPARE(plain.field(0), QByteArrayView("6.12."));
    QCOMPARE(plain.field(1), QByteArrayView("85"));
    QCOMPARE(plain.field(2), QByteArrayView("Lekce 1,Lekce 2"));
    QCOMPARE(plain.field(3).toByteArray(), "Anglicko - " + cz("česky"));
    QCOMPARE(plain.subject().toByteArray(), "Lekce 1,Lekce 2/Anglicko - " + cz("česky"));
    QCOMPARE(plain.value(), std::optional<int>(85));

    // A lesson name with "/" stays with the lessons; the kinds follow the last "/".
    const StatisticsRow slash("1.2./40/Ja/ty,On/Slovesa");
    QCOMPARE(slash.field(2), QByteArrayView("Ja/ty,On"));
    QCOMPARE(slash.field(3), QByteArrayView("Slovesa"));
    QCOMPARE(slash.subject(), QByteArrayView("Ja/ty,On/Slovesa"));
    QCOMPARE(slash.value(), std::optional<int>(40));

    // Lines that are no records: shown, but no value.
    for (const QByteArray &bad : {QByteArray("garbage"), QByteArray("6.12./85/Lekce 1"), QByteArray("6.12./x5/L/K"),
                                  QByteArray("6.12./101/L/K"), QByteArray("6.12./-5/L/K"), QByteArray("6.12.//L/K"),
                                  QByteArray("6.12./ 85/L/K"), QByteArray("")}) {
        const StatisticsRow row(bad);
        QVERIFY2(!row.value(), bad.constData());
    }
    const StatisticsRow garbage("garbage");
    QCOMPARE(garbage.field(0), QByteArrayView("garbage"));
    QVERIFY(garbage.field(1).isEmpty() && garbage.field(3).isEmpty() && garbage.subject().isEmpty());
    const StatisticsRow three("6.12./85/Lekce 1");
    QCOMPARE(three.field(2), QByteArrayView("Lekce 1"));
    QVERIFY(three.field(3).isEmpty());
    QCOMPARE(StatisticsRow("1.1./0/L/").value(), std::optional<int>(0));
    QCOMPARE(StatisticsRow("1.1./100/L/K").value(), std::optional<int>(100));
}

void TestStatistics::averages()
{
    QCOMPARE(StatisticsReport({"1.1./67/L/K", "1.1./100/L/K", "2.1./50/L/K"}).overallAverage(), 72);
    QCOMPARE(StatisticsReport({"1.1./67/L/K", "1.1./100/L/K", "2.1./50/L/K"}).chart("").average, 72);
    QCOMPARE(StatisticsReport({"1.1./45/L/K", "1.1./50/L/K"}).overallAverage(), 48);
    QCOMPARE(StatisticsReport({"1.1./40/L/K", "1.1./45/L/K"}).overallAverage(), 42);
    QCOMPARE(StatisticsReport({"1.1./57/L/K", "1.1./58/L/K"}).chart("").average, 58);
    QCOMPARE(StatisticsReport(QList<QByteArray>{}).overallAverage(), 0);
    QCOMPARE(StatisticsReport(QList<QByteArray>{}).chart("").average, 0);
    QVERIFY(StatisticsReport(QList<QByteArray>{}).chart("").rows.isEmpty());

    // Lines that are no records count neither in the average nor in the chart.
    const StatisticsReport mixed({"garbage", "1.1./40/L/K", "1.1./abc/L/K", "2.1./45/M/K", "3.1./999/L/K"});
    QCOMPARE(mixed.rows().size(), std::size_t(5));
    QCOMPARE(mixed.overallAverage(), 42);
    const StatisticsChart all = mixed.chart("");
    QCOMPARE(all.rows, (QList<qsizetype>{1, 3}));
    QCOMPARE(all.average, 42);
    QCOMPARE(mixed.chart("M").rows, (QList<qsizetype>{3}));
    QCOMPARE(mixed.chart("M").average, 45);
    QCOMPARE(StatisticsReport({"garbage"}).overallAverage(), 0);
}

// The window reads the file's bytes as they are: every way of ending lines
// gives the rows that the lines one by one give.
void TestStatistics::reportOfTheFileBytes()
{
    const QList<QByteArray> texts = {"",
                                     "\n",
                                     "\r\n",
                                     "1.1./40/L/K",
                                     "1.1./40/L/K\r\n2.1./60/M/K\r\n",
                                     "1.1./40/L/K\r2.1./60/M/K\n\n3.1./80/N/K",
                                     "garbage\r4.1./70/L\r\n1.1./abc/L/K\n1.1./100/a/b/K\r",
                                     "\r\r\n\n/40/x/",
                                     "12.11./100/Lekce s dlouhym jmenem 1,Lekce 2/Anglicko - cesky\r\n"
                                     "a first field longer than sixteen/77/and more/x\r\n"
                                     "no slash at all in this rather long line\r"
                                     "3.4./7/Lekce/a kind of test with a long caption",
                                     QByteArray("1.1./50/L\0/K\n", 13)};
    // Line ends and "/" anywhere against the 64-byte blocks the scan reads:
    // a CR LF split between two blocks, three "/" spread over two.
    QList<QByteArray> cases = texts;
    cases.append(QByteArray(63, 'x') + "\r\n1.1./5/L/K");
    cases.append(QByteArray(62, 'x') + "\r\r\n" + QByteArray(60, 'y') + "/\r");
    cases.append("1.1./5" + QByteArray(58, '0') + "/L/K\n" + QByteArray(55, 'z') + "/60/" + QByteArray(70, 'w') + "/K");
    const char alphabet[] = {'/', '/', '\r', '\n', '1', '0', '5', 'a', ' ', '.'};
    quint32 seed = 12345;
    for (int n = 0; n < 40; ++n) {
        QByteArray text;
        for (int i = 0; i < 20 + 9 * n; ++i) {
            seed = seed * 1103515245u + 12345u;
            text.append(alphabet[(seed >> 16) % sizeof alphabet]);
        }
        cases.append(text);
    }
    for (const QByteArray &text : cases) {
        const StatisticsReport bytes = StatisticsReport::fromText(text);
        const StatisticsReport lines(splitLines(text));
        QCOMPARE(bytes.size(), lines.size());
        for (qsizetype i = 0; i < bytes.size(); ++i) {
            QCOMPARE(bytes.row(i).line(), lines.row(i).line());
            QCOMPARE(bytes.value(i), lines.row(i).value());
            QCOMPARE(bytes.row(i).value(), StatisticsRow(lines.row(i).line().toByteArray()).value());
            for (int f = 0; f < 4; ++f)
                QCOMPARE(bytes.row(i).field(f), lines.row(i).field(f));
        }
        QCOMPARE(bytes.overallAverage(), lines.overallAverage());
        QCOMPARE(bytes.chart("L").rows, lines.chart("L").rows);
    }
    // The lines of a list stay whole, whatever bytes they hold.
    const StatisticsReport kept({"1.1./40/L/K", "", "2.1./60/M/K"});
    QCOMPARE(kept.size(), 3);
    QCOMPARE(kept.row(1).line(), QByteArrayView());
    QCOMPARE(kept.row(2).field(2), QByteArrayView("M"));
    QCOMPARE(kept.chart("").rows, (QList<qsizetype>{0, 2}));
    const StatisticsReport ends({"1.1./40/L/K\r\n", "\n"});
    QCOMPARE(ends.row(0).field(3), QByteArrayView("K\r\n"));
    QCOMPARE(ends.row(1).line(), QByteArrayView("\n"));

    // The chart over every record keeps no list, yet reads as one.
    const StatisticsReport all = StatisticsReport::fromText("1.1./40/L/K\n2.1./60/M/K\n3.1./80/L/K");
    const ChartSelection every = all.select("");
    QCOMPARE(every.rows.size(), 3);
    QCOMPARE(every.rows[2], 2);
    QCOMPARE(every.average, 60);
    const ChartSelection some = all.select("L");
    QCOMPARE(some.rows.size(), 2);
    QCOMPARE(some.rows[1], 2);
    QCOMPARE(some.average, 60);
    QVERIFY(all.select("Q").rows.isEmpty());
}

// The file as the window gets it: every byte, however long; a file that is
// not there is no error, one that cannot be read is.
void TestStatistics::loadingTheFile()
{
    TestFolder fx;
    const QString path = fx.path(QStringLiteral("statistic.ens"));
    QCOMPARE(loadStatisticsFile(path).state, StatisticsFile::State::Missing);
    QByteArray bytes;
    for (int i = 0; bytes.size() < (5 << 20) + 321; ++i)
        bytes.append(QByteArray::number(i % 31) + "./" + QByteArray::number(i % 101) + "/Lekce " + QByteArray::number(i)
                     + "/K\r\n");
    writeFile(path, bytes);
    const StatisticsFile read = loadStatisticsFile(path);
    QCOMPARE(read.state, StatisticsFile::State::Read);
    QVERIFY(read.bytes == bytes);
    QVERIFY(QDir(fx.folder()).mkdir(QStringLiteral("statistic.des")));
    const StatisticsFile folder = loadStatisticsFile(fx.path(QStringLiteral("statistic.des")));
    QCOMPARE(folder.state, StatisticsFile::State::Unreadable);
    QVERIFY(folder.bytes.isEmpty());
}

void TestStatistics::filter()
{
    const QByteArray subject = "Lekce 10,Lekce 2/Anglicko - " + cz("česky");
    QVERIFY(passesFilter(subject, ""));
    QVERIFY(passesFilter(subject, "Lekce 1"));          // inside "Lekce 10"
    QVERIFY(passesFilter(subject, "Anglicko"));         // the kinds count too
    QVERIFY(passesFilter(subject, "Lekce 2/Anglicko")); // across the "/"
    QVERIFY(passesFilter(subject, "Lekce 3,Lekce 2"));  // the second piece
    QVERIFY(!passesFilter(subject, "Lekce 3"));
    QVERIFY(!passesFilter(subject, "lekce 1")); // case matters
    // A piece with a leading blank needs that blank in the subject.
    QVERIFY(!passesFilter(subject, "Lekce 3, Lekce 2"));
    QVERIFY(passesFilter("Lekce 3, Lekce 2/K", "Lekce 4, Lekce 2"));
    // Empty pieces never match, though every text contains the empty text.
    QVERIFY(!passesFilter(subject, ","));
    QVERIFY(!passesFilter(subject, ",,Lekce 3,"));
    QVERIFY(passesFilter(subject, ",,Lekce 2,"));

    const QList<QByteArray> lines = {"1.1./20/Lekce 1/" + germanKinds()[3], "2.1./30/Lekce 2/" + germanKinds()[2],
                                     "3.1./40/Lekce 10/" + germanKinds()[0]};
    const StatisticsReport report(lines);
    QCOMPARE(report.chart("Slovesa").rows, (QList<qsizetype>{0}));
    QVERIFY(report.chart("slovesa").rows.isEmpty());
    QCOMPARE(report.chart("slovesa").average, 0);
    QCOMPARE(report.chart("Lekce 1").rows, (QList<qsizetype>{0, 2}));
    QCOMPARE(report.chart("Lekce 1").average, 30);
    QCOMPARE(report.chart(cz(QStringLiteral("čísla"))).rows, (QList<qsizetype>{1}));
}

QTEST_GUILESS_MAIN(TestStatistics)
#include "tst_statistics.moc"
