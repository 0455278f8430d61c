// The statistics window and the main window's statistics commands.
#include "app/fmain.h"
#include "stats/fstatistic.h"
#include "support/fakes.h"

#include <QAbstractItemModel>
#include <QApplication>
#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QCheckBox>
#include <QLabel>
#include <QLegend>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QHeaderView>
#include <QTreeView>
#include <QValueAxis>
#include <QtTest>

using namespace lexitka;
using namespace lexitka::testing;

namespace {

QString cell(const TfrmStatistic &w, int row, int column)
{
    const QAbstractItemModel *m = w.lsvItems->model();
    return m->data(m->index(row, column)).toString();
}

QList<qreal> bars(const TfrmStatistic &w)
{
    QList<qreal> out;
    for (int i = 0; i < w.barSet->count(); ++i)
        out.append(w.barSet->at(i));
    return out;
}

QByteArray german(const char *kind) { return cz(QString::fromUtf8(kind)); }

// Plays a test: the answers the user gave, as the engine counts them.
class PlayedTest final : public TestUi {
public:
    UTest *test = nullptr;
    int good = 0;
    int bad = 0;
    int runs = 0;
    void runTestWindow(int) override
    {
        ++runs;
        test->GoodCount = good;
        test->BadCount = bad;
    }
    void showMistake(const QByteArray &, const QByteArray &, int) override { }
};

void tick(QAbstractItemView *list, int row) { setTicked(list, row, true); }

} // namespace

class TestFStatistic : public QObject {
    Q_OBJECT
private slots:
    void tableAndAverages();
    void filterFollowsTheChartNotTheTable();
    void chbVseAndTheChart();
    void manyRecordsScroll();
    void listAsAReportList();
    void shownFromTheMainWindow();
    void recordsFromTheMainWindow();
    void clearingOneLanguage();
};

void TestFStatistic::tableAndAverages()
{
    TfrmStatistic w;
    QCOMPARE(w.windowTitle(), QStringLiteral("Statistika"));
    QCOMPARE(w.lblPrumer->text(), QStringLiteral("Průměr :  %"));
    const QAbstractItemModel *m = w.lsvItems->model();
    QCOMPARE(m->columnCount(), 4);
    QCOMPARE(m->headerData(0, Qt::Horizontal).toString(), QStringLiteral("Dne"));
    QCOMPARE(m->headerData(1, Qt::Horizontal).toString(), QStringLiteral("Hodnocení  "));
    QCOMPARE(m->headerData(2, Qt::Horizontal).toString(), QStringLiteral("Lekce"));
    QCOMPARE(m->headerData(3, Qt::Horizontal).toString(), QStringLiteral("Typ zkoušení"));
    QCOMPARE(w.lsvItems->columnWidth(1), 80);
    QCOMPARE(w.lsvItems->columnWidth(2), 190);
    QCOMPARE(w.lsvItems->columnWidth(3), 210);

    // Empty file: empty table and chart, the overall label stays.
    w.setLines({});
    w.FormShow();
    QCOMPARE(m->rowCount(), 0);
    QCOMPARE(w.barSet->count(), 0);
    QCOMPARE(w.lblPrumer->text(), QStringLiteral("Průměr: 0 %"));

    w.setLines({"6.12./67/Lekce 1/Anglicko - " + cz("česky"), "6.12./100/Lekce 2/K", "garbage", "7.12./50/Ja/ty/K",
                "8.12./abc/L/K"});
    w.FormShow();
    QCOMPARE(m->rowCount(), 5);
    QCOMPARE(cell(w, 0, 0), QStringLiteral("6.12."));
    QCOMPARE(cell(w, 0, 1), QStringLiteral("67 %"));
    QCOMPARE(cell(w, 0, 2), QStringLiteral("Lekce 1"));
    QCOMPARE(cell(w, 0, 3), QStringLiteral("Anglicko - česky"));
    QCOMPARE(m->data(m->index(0, 1), Qt::TextAlignmentRole).value<Qt::Alignment>() & Qt::AlignRight, Qt::AlignRight);
    // Lines that are no records show as they are.
    QCOMPARE(cell(w, 2, 0), QStringLiteral("garbage"));
    QCOMPARE(cell(w, 2, 1), QString());
    QCOMPARE(cell(w, 4, 1), QStringLiteral("abc"));
    // A "/" in a lesson name keeps the whole name under the lessons.
    QCOMPARE(cell(w, 3, 2), QStringLiteral("Ja/ty"));
    QCOMPARE(cell(w, 3, 3), QStringLiteral("K"));
    // 217 / 3 over the three records; the chart's label replaces the overall one.
    QCOMPARE(w.lblPrumer->text(), QStringLiteral("Průměr : 72 %"));
    QCOMPARE(bars(w), (QList<qreal>{67, 100, 50}));
    QCOMPARE(w.visibleDays(), (QStringList{"6.12.", "6.12.", "7.12."}));
    QCOMPARE(w.valueMarks(), (QStringList{"67", "100", "50"}));

    w.setLines({"1.1./45/L/K", "1.1./50/L/K"});
    w.FormShow();
    QCOMPARE(w.lblPrumer->text(), QStringLiteral("Průměr : 48 %"));
    w.setLines({"1.1./40/L/K", "1.1./45/L/K"});
    w.FormShow();
    QCOMPARE(w.lblPrumer->text(), QStringLiteral("Průměr : 42 %"));
    QCOMPARE(m->rowCount(), 2);

    // The chart's fixed set-up survives new data.
    QCOMPARE(w.barSet->color(), QColor(0, 0, 128));
    QCOMPARE(w.axisValues->min(), 0.0);
    QCOMPARE(w.axisValues->max(), 100.0);
    QVERIFY(!w.chart->legend()->isVisible());
    QVERIFY(w.chart->title().isEmpty());
}

void TestFStatistic::filterFollowsTheChartNotTheTable()
{
    TfrmStatistic w;
    w.setLines({"1.1./20/Lekce 10,Lekce 2/" + german("Nemecko - česky"), "2.1./60/Lekce 3/Slovesa",
                "3.1./90/Lekce 2/" + german("Množná čísla"), "4.1./31/Lekce 4/" + german("Česko - německy")});
    w.FormShow();
    QCOMPARE(w.lblPrumer->text(), QStringLiteral("Průměr : 50 %"));

    w.edtZ->setText(QStringLiteral("Lekce 1"));
    QTest::mouseClick(w.btnShow, Qt::LeftButton);
    QCOMPARE(bars(w), (QList<qreal>{20}));
    QCOMPARE(w.visibleDays(), (QStringList{"1.1."}));
    QCOMPARE(w.lblPrumer->text(), QStringLiteral("Průměr : 20 %"));
    QCOMPARE(w.lsvItems->model()->rowCount(), 4);

    w.edtZ->setText(QStringLiteral("Lekce 3,Množná"));
    w.btnShowClick();
    QCOMPARE(bars(w), (QList<qreal>{60, 90}));
    QCOMPARE(w.lblPrumer->text(), QStringLiteral("Průměr : 75 %"));

    // The blank before the second piece is part of it.
    w.edtZ->setText(QStringLiteral("Lekce 9, Lekce 2"));
    w.btnShowClick();
    QCOMPARE(bars(w), QList<qreal>());
    QCOMPARE(w.lblPrumer->text(), QStringLiteral("Průměr : 0 %"));

    w.edtZ->setText(QStringLiteral("slovesa"));
    w.btnShowClick();
    QVERIFY(bars(w).isEmpty());
    w.edtZ->setText(QStringLiteral("Slovesa"));
    w.btnShowClick();
    QCOMPARE(bars(w), (QList<qreal>{60}));
    QCOMPARE(w.lsvItems->model()->rowCount(), 4);

    // Showing again draws with the filter left in the field.
    w.FormShow();
    QCOMPARE(bars(w), (QList<qreal>{60}));
    QCOMPARE(w.lblPrumer->text(), QStringLiteral("Průměr : 60 %"));
}

void TestFStatistic::chbVseAndTheChart()
{
    TfrmStatistic w;
    QVERIFY(w.chbVse->isChecked());
    QVERIFY(w.edtZ->isEnabled());
    QVERIFY(w.edtZ->text().isEmpty());
    w.setLines({"1.1./20/A/K", "2.1./60/B/K"});
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QCOMPARE(bars(w), (QList<qreal>{20, 60}));

    QTest::mouseClick(w.chbVse, Qt::LeftButton, {}, QPoint(6, w.chbVse->height() / 2));
    QVERIFY(!w.chbVse->isChecked());
    QVERIFY(w.edtZ->isEnabled());
    QTest::keyClicks(w.edtZ, QStringLiteral("B"));
    QTest::mouseClick(w.btnShow, Qt::LeftButton);
    QCOMPARE(bars(w), (QList<qreal>{60}));

    // Ticking again empties and disables the field but redraws nothing.
    QTest::mouseClick(w.chbVse, Qt::LeftButton, {}, QPoint(6, w.chbVse->height() / 2));
    QVERIFY(w.chbVse->isChecked());
    QVERIFY(!w.edtZ->isEnabled());
    QVERIFY(w.edtZ->text().isEmpty());
    QCOMPARE(bars(w), (QList<qreal>{60}));
    QTest::mouseClick(w.btnShow, Qt::LeftButton);
    QCOMPARE(bars(w), (QList<qreal>{20, 60}));

    QTest::mouseClick(w.btnOK, Qt::LeftButton);
    QVERIFY(!w.isVisible());
}

// The list shows its rows as a one-level tree list in report style would:
// the same row and caption places, the focus on whole rows, Tab leaving it.
void TestFStatistic::listAsAReportList()
{
    TfrmStatistic w;
    w.setLines({"1.1./40/L/K", "2.1./50/M/K", "3.1./60/N/K"});
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QAbstractItemModel *m = w.lsvItems->model();

    QTreeView tree;
    tree.setFont(w.lsvItems->font());
    tree.setRootIsDecorated(false);
    tree.setUniformRowHeights(true);
    tree.setModel(m);
    tree.header()->setStretchLastSection(false);
    for (int c = 1; c < 4; ++c)
        tree.setColumnWidth(c, w.lsvItems->columnWidth(c));
    tree.resize(w.lsvItems->size());
    tree.show();
    QVERIFY(QTest::qWaitForWindowExposed(&tree));
    for (int c = 0; c < 4; ++c) {
        QCOMPARE(w.lsvItems->visualRect(m->index(2, c)), tree.visualRect(m->index(2, c)));
        QCOMPARE(w.lsvItems->horizontalHeader()->sectionViewportPosition(c), tree.header()->sectionViewportPosition(c));
    }
    QCOMPARE(w.lsvItems->horizontalHeader()->height(), tree.header()->height());
    QCOMPARE(w.lsvItems->horizontalHeader()->defaultAlignment() & Qt::AlignHorizontal_Mask, Qt::AlignLeft);
    QVERIFY(!w.lsvItems->verticalHeader()->isVisible());
    QVERIFY(!w.lsvItems->showGrid());

    // Whole rows, one at a time; left and right stay on the row, End and Home
    // go to the last and first record.
    w.activateWindow();
    w.lsvItems->setFocus();
    w.lsvItems->setCurrentIndex(m->index(1, 0));
    QCOMPARE(w.lsvItems->selectionModel()->selectedRows(), (QModelIndexList{m->index(1, 0)}));
    QTest::keyClick(w.lsvItems, Qt::Key_Right);
    QCOMPARE(w.lsvItems->currentIndex().row(), 1);
    QTest::keyClick(w.lsvItems, Qt::Key_End);
    QCOMPARE(w.lsvItems->currentIndex().row(), 2);
    QTest::keyClick(w.lsvItems, Qt::Key_Home);
    QCOMPARE(w.lsvItems->currentIndex().row(), 0);
    QCOMPARE(w.lsvItems->selectionModel()->selectedRows().size(), 1);
    QVERIFY(!w.lsvItems->tabKeyNavigation());
}

void TestFStatistic::manyRecordsScroll()
{
    TfrmStatistic w;
    QList<QByteArray> lines;
    for (int i = 0; i < 1000; ++i)
        lines.append(QByteArray::number(1 + i / 5 % 28) + ".1./" + QByteArray::number(i % 101) + "/L/K");
    lines.append("zzz");
    w.setLines(lines);
    w.resize(700, 600);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QCOMPARE(w.lsvItems->model()->rowCount(), 1001);
    QCOMPARE(w.chartData().rows.size(), 1000);

    const qsizetype shown = w.visibleBarCount();
    QVERIFY2(shown >= 5 && shown < 100, qPrintable(QString::number(shown)));
    QCOMPARE(w.barSet->count(), shown);
    QVERIFY(w.sbChart->isVisible());
    QCOMPARE(w.sbChart->maximum(), 1000 - shown);
    // The newest records are on screen first, in file order.
    QCOMPARE(w.firstVisibleBar(), 1000 - shown);
    QCOMPARE(w.barSet->at(shown - 1), qreal(999 % 101));
    QCOMPARE(w.valueMarks().last(), QString::number(999 % 101));
    // Repeated days keep their own labels.
    const QString lastDay = QStringLiteral("%1.1.").arg(1 + 999 / 5 % 28);
    QCOMPARE(w.visibleDays().last(), lastDay);
    QCOMPARE(w.visibleDays().count(lastDay), std::min<qsizetype>(shown, 5));

    w.sbChart->setValue(0);
    QCOMPARE(w.firstVisibleBar(), 0);
    QCOMPARE(bars(w).first(), 0.0);
    QCOMPARE(w.visibleDays().first(), QStringLiteral("1.1."));

    // A wider window shows more bars.
    w.resize(1200, 600);
    QTRY_VERIFY(w.visibleBarCount() > shown);
    QCOMPARE(w.barSet->count(), w.visibleBarCount());

    // Few passing records need no scrolling.
    w.edtZ->setText(QStringLiteral("nothing"));
    w.btnShowClick();
    QVERIFY(!w.sbChart->isVisible());
    QCOMPARE(w.barSet->count(), 0);
    QVERIFY(w.valueMarks().isEmpty());
}

void TestFStatistic::shownFromTheMainWindow()
{
    Fixture fx;
    auto app = fx.makeApp();
    TfrmMain &main = app->frmMain();
    TfrmStatistic &window = app->frmStatistic();
    const QByteArray file = "1.1./40/Lekce 1/Slovesa\r\n2.1./80/Lekce 2/K\r\n";
    writeFile(fx.path(QStringLiteral("statistic.ens")), file);
    writeFile(fx.path(QStringLiteral("statistic.des")), "9.9./10/X/Y\r\n");

    int shown = 0;
    auto inspect = [&](const std::function<void()> &check) {
        QTimer::singleShot(0, &window, [&, check] {
            ++shown;
            check();
            QTest::mouseClick(window.btnOK, Qt::LeftButton);
        });
    };
    inspect([&] {
        QVERIFY(window.isVisible());
        QCOMPARE(window.lsvItems->model()->rowCount(), 2);
        QCOMPARE(bars(window), (QList<qreal>{40, 80}));
        QCOMPARE(window.lblPrumer->text(), QStringLiteral("Průměr : 60 %"));
        window.edtZ->setText(QStringLiteral("Slovesa"));
        QTest::mouseClick(window.btnShow, Qt::LeftButton);
    });
    main.btnStatistika->click();
    QCOMPARE(shown, 1);
    QCOMPARE(readFile(fx.path(QStringLiteral("statistic.ens"))), file);

    // The filter is still there at the next showing.
    writeFile(fx.path(QStringLiteral("statistic.ens")), file + "3.1./70/Lekce 3/Slovesa\r\n");
    inspect([&] {
        QCOMPARE(window.edtZ->text(), QStringLiteral("Slovesa"));
        QCOMPARE(window.lsvItems->model()->rowCount(), 3);
        QCOMPARE(bars(window), (QList<qreal>{40, 70}));
        QCOMPARE(window.lblPrumer->text(), QStringLiteral("Průměr : 55 %"));
    });
    main.btnStatistikaClick();
    QCOMPARE(shown, 2);

    // No file: an empty window.
    QFile::remove(fx.path(QStringLiteral("statistic.ens")));
    inspect([&] {
        QCOMPARE(window.lsvItems->model()->rowCount(), 0);
        QCOMPARE(window.lblPrumer->text(), QStringLiteral("Průměr: 0 %"));
    });
    main.btnStatistikaClick();
    QCOMPARE(shown, 3);
    QVERIFY(!QFileInfo::exists(fx.path(QStringLiteral("statistic.ens"))));

    // A file that cannot be read is reported and the window stays closed.
    QVERIFY(QDir(fx.folder()).mkdir(QStringLiteral("statistic.ens")));
    bool opened = false;
    QTimer::singleShot(0, &window, [&] {
        if (window.isVisible()) {
            opened = true;
            window.btnOKClick();
        }
    });
    main.btnStatistikaClick();
    QVERIFY(!opened);
    QCOMPARE(fx.messenger.messages.size(), 1);
    QVERIFY(fx.messenger.messages[0].text.contains(QDir::toNativeSeparators(fx.path(QStringLiteral("statistic.ens")))));
    QTest::qWait(10);
}

void TestFStatistic::recordsFromTheMainWindow()
{
    Fixture fx;
    const QString dict = fx.path(QStringLiteral("lekce.de"));
    writeFile(dict, "[A,B]\r\n0=1\\Hund\\Hunde\\pes\r\n[C/D]\r\n0=2\\Katze\\Katzen\\ko"
                    "\x9a"
                    "ka\r\n"
                    "[Pr\xe1zdn\xe1]\r\n");
    auto app = fx.makeApp(dict);
    TfrmMain &main = app->frmMain();
    const QString stats = fx.path(QStringLiteral("statistic.des"));

    // The lessons as the dictionary holds them, the German kinds by their rule.
    tick(main.lbLekce, 0);
    tick(main.lbLekce, 1);
    for (int i = 0; i < 4; ++i)
        main.chbChoice->item(i)->setCheckState(i == 1 || i == 3 ? Qt::Checked : Qt::Unchecked);
    QCOMPARE(main.MakeLekceTypZK(), QByteArray("A,B,C/D/Slovesa"));
    main.chbChoice->item(0)->setCheckState(Qt::Checked);
    main.chbChoice->item(1)->setCheckState(Qt::Unchecked);
    main.chbChoice->item(2)->setCheckState(Qt::Checked);
    main.chbChoice->item(3)->setCheckState(Qt::Unchecked);
    tick(main.lbLekce, 2);
    QCOMPARE(main.MakeLekceTypZK(), "A,B,C/D,Pr\xe1zdn\xe1/" + german("Množná čísla"));
    main.chbChoice->item(2)->setCheckState(Qt::Unchecked);
    main.chbChoice->item(1)->setCheckState(Qt::Checked);
    QCOMPARE(main.MakeLekceTypZK(), "A,B,C/D,Pr\xe1zdn\xe1/" + german("Nemecko - česky,Česko - německy"));

    PlayedTest played;
    played.test = &app->test();
    app->test().setUi(&played);

    // Nothing ticked: no test, and the file stays absent.
    main.btnNoAllClick();
    main.btnTest->click();
    QCOMPARE(played.runs, 0);
    QVERIFY(!QFileInfo::exists(stats));

    tick(main.lbLekce, 0);
    QVERIFY(main.LoadLekce());
    fx.messenger.messages.clear();
    played.good = 2;
    played.bad = 1;
    main.btnTest->click();
    QCOMPARE(played.runs, 1);
    const QByteArray first = "6.12./67/A,B/" + german("Nemecko - česky,Česko - německy") + "\r\n";
    QCOMPARE(readFile(stats), first);

    // Switched off: the lines stay as they were.
    main.chbStatistika->setChecked(false);
    main.btnTest->click();
    QCOMPARE(played.runs, 2);
    QCOMPARE(readFile(stats), first);
    main.chbStatistika->setChecked(true);
    fx.clock.date = QDate(2027, 1, 2);
    played.good = 1;
    played.bad = 7;
    main.btnTest->click();
    QCOMPARE(readFile(stats), first + "2.1./12/A,B/" + german("Nemecko - česky,Česko - německy") + "\r\n");
    QVERIFY(fx.messenger.messages.isEmpty());
}

void TestFStatistic::clearingOneLanguage()
{
    Fixture fx;
    auto app = fx.makeApp();
    for (const char *name : {"statistic.ens", "statistic.des", "statistic.rus", "errors.ene"})
        writeFile(fx.path(QString::fromLatin1(name)), "1.1./50/L/K\r\n");
    // Asked first; No keeps everything.
    fx.messenger.answer = false;
    app->frmMain().btnClearStatistika->click();
    QCOMPARE(fx.messenger.messages.size(), 1);
    QCOMPARE(fx.messenger.messages[0].text, QStringLiteral("Opravdu smazat ?"));
    QCOMPARE(fx.messenger.messages[0].caption, QStringLiteral("Vymazat databázi"));
    QVERIFY(fx.messenger.messages[0].byDefault == Messenger::Default::No);
    QVERIFY(QFileInfo::exists(fx.path(QStringLiteral("statistic.ens"))));
    fx.messenger.answer = true;
    app->frmMain().btnClearStatistika->click();
    QVERIFY(!QFileInfo::exists(fx.path(QStringLiteral("statistic.ens"))));
    QVERIFY(QFileInfo::exists(fx.path(QStringLiteral("statistic.des"))));
    QVERIFY(QFileInfo::exists(fx.path(QStringLiteral("statistic.rus"))));
    QVERIFY(QFileInfo::exists(fx.path(QStringLiteral("errors.ene"))));
    // Again, with no file: no error, only the question.
    fx.messenger.messages.clear();
    app->frmMain().btnClearStatistikaClick();
    QCOMPARE(fx.messenger.texts(), QStringList{QStringLiteral("Opravdu smazat ?")});
}

QTEST_MAIN(TestFStatistic)
#include "tst_fstatistic.moc"
