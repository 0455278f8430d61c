// Inputs of megabytes where a few bytes are usual: a lesson name, a million
// lesson headers, a settings value, a statistics field. Each must open and
// paint; what a title, list or cell shows is shortened, the bytes are kept.
#include "app/fmain.h"
#include "data/settings.h"
#include "app/lessonlist.h"
#include "data/displaytext.h"
#include "stats/fstatistic.h"
#include "support/fakes.h"

#include <QCheckBox>
#include <QListView>
#include <QListWidget>
#include <QTreeView>
#include <QtTest>

using namespace lexitka;
using namespace lexitka::testing;

namespace {

constexpr qsizetype kMB = 1024 * 1024;

// Shortened to what a screen can show, and marked as cut.
bool isShortened(const QString &shown) { return shown.size() <= kDisplayChars + 1 && shown.endsWith(u'…'); }

} // namespace

class TestHugeInputs : public QObject {
    Q_OBJECT
private slots:
    void lessonNameOfMegabytesAndMillionLessons();
    void settingsValueOfMegabytes();
    void statisticsFieldOfMegabytes();
};

void TestHugeInputs::lessonNameOfMegabytesAndMillionLessons()
{
    Fixture f;
    const QByteArray name(50 * kMB, 'x');
    writeFile(f.path("long.en"), "[" + name + "]\r\n0=dog\\pes\r\n[Lekce 2]\r\n0=cat\\kocka\r\n");
    auto app = f.makeApp(f.path("long.en"));
    app->show();
    TfrmMain &w = app->frmMain();
    QVERIFY(!w.grab().isNull());
    QCOMPARE(w.lessons().rowCount(), 2);
    QVERIFY(isShortened(w.lessons().index(0).data().toString()));
    QCOMPARE(w.lessonNames().constFirst(), name); // the bytes themselves stay whole

    // The lesson is still found by its name when a test collects its words.
    tick(w.lbLekce, {0});
    tick(w.chbChoice, {0});
    QVERIFY(w.LoadLekce());
    QCOMPARE(app->test().WordPool, QList<QByteArray>{"0=dog\\pes"});

    // A million lessons, lines ended by lone CRs.
    QByteArray many;
    for (int i = 1; i <= 1'000'000; ++i)
        many.append("[L").append(QByteArray::number(i)).append("]\r");
    writeFile(f.path("many.en"), many);
    w.OpenSlovnik(f.path("many.en"));
    QVERIFY(!w.grab().isNull());
    QCOMPARE(w.lessons().rowCount(), 1'000'000);
    QCOMPARE(w.lessonNames().constLast(), QByteArray("L1000000"));
    w.btnAllClick();
    QCOMPARE(w.lessonTicks().count(true), 1'000'000);
    QVERIFY(f.messenger.messages.isEmpty());
}

void TestHugeInputs::settingsValueOfMegabytes()
{
    Fixture f;
    // No system opens a path of megabytes: the value counts as absent, is
    // never taken for a name (a section of it grew the file at every exit)
    // and is not written back; every other key still reads.
    const QByteArray file = f.folder().toLocal8Bit() + "/" + QByteArray(50 * kMB, 'a') + ".en";
    writeFile(f.path("lexitka.ini"), "[Slovnik]\r\nFile=" + file + "\r\nstatistic=0\r\n[en]\r\n0=0\r\n1=1\r\n");
    auto app = f.makeApp();
    app->show();
    TfrmMain &w = app->frmMain();
    QVERIFY(!w.grab().isNull());
    QCOMPARE(w.windowTitle(), QStringLiteral("Lexitka - Anglické [data.en]"));
    QVERIFY(!w.chbStatistika->isChecked());
    QCOMPARE(w.testKindTicks(), (QList<bool>{false, true}));
    w.close();
    const QByteArray after = readFile(f.path("lexitka.ini"));
    QVERIFY2(after.size() < 4096, QByteArray::number(after.size()));
    QCOMPARE(Settings::lookUp(after, "Slovnik", "File"), std::optional<QByteArray>(f.path("data.en").toLocal8Bit()));
    QCOMPARE(Settings::lookUp(after, "en", "1"), std::optional<QByteArray>("1"));
    QVERIFY(f.messenger.messages.isEmpty());

    // The longest path a system takes is still a path.
    const QByteArray longest = f.folder().toLocal8Bit() + "/" + QByteArray(200, 'b') + ".en";
    writeFile(f.path("lexitka.ini"), "[Slovnik]\r\nFile=" + longest + "\r\n");
    Settings settings(f.path("lexitka.ini"));
    settings.load();
    QCOMPARE(settings.file(), longest);
    writeFile(f.path("lexitka.ini"), "[Slovnik]\r\nFile=" + QByteArray(Settings::kMaxPathBytes + 1, 'c') + "\r\n");
    settings.load();
    QCOMPARE(settings.file(), QByteArray());
}

void TestHugeInputs::statisticsFieldOfMegabytes()
{
    const QByteArray big(10 * kMB, 'L');
    TfrmStatistic w;
    w.setLines({"6.12./50/" + big + "/Anglicko - cesky", big + "/70/Lekce 1/Anglicko - cesky", "7.12./90/a/b"});
    w.show();
    w.FormShow();
    QVERIFY(!w.grab().isNull());
    const QAbstractItemModel *m = w.lsvItems->model();
    QVERIFY(isShortened(m->index(0, 2).data().toString()));
    QVERIFY(isShortened(m->index(1, 0).data().toString()));
    QCOMPARE(m->index(2, 2).data().toString(), QStringLiteral("a"));
    // The whole field still counts for the filter and the average.
    QCOMPARE(w.chartData().rows.size(), 3);
    QCOMPARE(w.chartData().average, 70);
    QVERIFY(isShortened(w.visibleDays().value(1)));
}

QTEST_MAIN(TestHugeInputs)
#include "tst_hugeinputs.moc"
