#include "app/fmain.h"
#include "editor/fviewedit.h"
#include "editor/lessonnames.h"
#include "stats/fstatistic.h"
#include "support/modal.h"
#include "exam/wordcollection.h"
#include "data/codepage.h"
#include "data/inifile.h"
#include "support/fakes.h"
#include "support/inireadings.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QDir>
#include <QGroupBox>
#include <QMenu>
#include <QListWidget>
#include <QRandomGenerator>
#include <QTest>

using namespace lexitka;
using namespace lexitka::testing;

namespace {

const QByteArray kGerman = cz("[Lekce A]\r\n"
                              "0=0\\Hund\\Hunde\\pes\r\n"
                              "1=3\\sehen\\sieht,sah,h gesehen\\vidět\r\n"
                              "2=1\\Milch\\\\mléko\r\n"
                              "3=3\\sein\\ist,war,i gewesen\\být\r\n"
                              "4=2\\Haus\\Häuser\\dům\r\n"
                              "\r\n"
                              "[Lekce B]\r\n"
                              "0=0\\Tisch\\Tische\\stůl\r\n"
                              "0=3\\gehen\\geht,ging,i gegangen\\jít\r\n"
                              "; 1=commented out\r\n"
                              "\r\n"
                              "[Prázdná]\r\n"
                              "\r\n"
                              "[Lekce A]\r\n"
                              "7=1\\Katze\\Katzen\\kočka\r\n");

struct German {
    Fixture f;
    std::unique_ptr<LexitkaApp> app;
    German()
    {
        writeFile(f.path("lekce.de"), kGerman);
        app = f.makeApp(QStringLiteral("lekce.de"));
    }
    TfrmMain &main() { return app->frmMain(); }
    UTest &test() { return app->test(); }
};

// Answers every question in place of the test window, each word right but
// those in missOnce, which are missed the first time.
class AnsweringUi final : public TestUi {
public:
    explicit AnsweringUi(UTest &test) : m_test(test) { }
    QList<QByteArray> missOnce; // by the Czech word
    QList<std::pair<int, QByteArray>> asked;
    void runTestWindow(int languageCode) override
    {
        for (int guard = 0; guard < 100; ++guard) {
            m_test.ChooseKindOfTwo();
            asked.append({m_test.AskedKind, m_test.CurrentLine});
            const WordRecord &w = m_test.CurrentWord;
            TypedAnswer typed;
            typed.text = missOnce.removeOne(w.Preklad)       ? QByteArray("?")
                         : m_test.AskedKind == KindToForeign ? w.Slovo
                                                             : w.Preklad;
            if (m_test.Answer(languageCode, typed).exhausted)
                return;
        }
    }
    void showMistake(const QByteArray &, const QByteArray &, int) override { }

private:
    UTest &m_test;
};

} // namespace

class TestLaunch : public QObject {
    Q_OBJECT
private slots:
    void germanFiltersOnEntryLines();
    void collectsTickedLessonsInOrder();
    void verbsOnly();
    void pluralsLeaveOutEmptyFieldsAndVerbs();
    void pluralsAndVerbsTogetherLeaveNothing();
    void nothingTickedGivesBothMessages();
    void otherLanguagesAreNeverFiltered();
    void mistakesTestCollection();
    void clearErrorsDeletesOnlyThatFile();
    void removingMasteredMistakesIsAnOption();
    void schedulingReviewsIsAnOption();
    void reviewsDayByDay();
};

void TestLaunch::germanFiltersOnEntryLines()
{
    QVERIFY(isVerbEntry("1=3\\sehen\\sieht,sah,h gesehen\\videt"));
    QVERIFY(isVerbEntry("3=3\\sein\\ist,war,i gewesen\\byt"));
    QVERIFY(!isVerbEntry("0=0\\Hund\\Hunde\\pes"));
    QVERIFY(!isVerbEntry("0=3\\x\\a,hb\\y")); // ",h" without its blank
    QVERIFY(isVerbEntry(",h at the very start"));

    QVERIFY(isPluralExcluded("2=1\\Milch\\\\mleko"));
    QVERIFY(isPluralExcluded("1=3\\sehen\\sieht,sah,h gesehen\\videt"));
    QVERIFY(isPluralExcluded("5=\\\\empty word")); // right after the first character still counts
    QVERIFY(!isPluralExcluded("0=0\\Hund\\Hunde\\pes"));
    // The first character itself is not looked at.
    QVERIFY(!isPluralExcluded("\\\\x"));
    QVERIFY(!isPluralExcluded(",h x"));
    QVERIFY(!isPluralExcluded(",i x"));
    QVERIFY(isPluralExcluded("a,i x"));

    const QList<QByteArray> pool = {"0=0\\Hund\\Hunde\\pes", "1=3\\sehen\\sieht,sah,h gesehen\\v", "2=1\\Milch\\\\m",
                                    "3=3\\sein\\ist,war,i gewesen\\b"};
    LineStore p = pool;
    filterByTestKinds(p, false, false);
    QCOMPARE(p.toList(), pool);
    p = pool;
    filterByTestKinds(p, false, true);
    QCOMPARE(p.toList(), (QList<QByteArray>{pool[1], pool[3]}));
    p = pool;
    filterByTestKinds(p, true, false);
    QCOMPARE(p.toList(), QList<QByteArray>{pool[0]});
    p = pool;
    filterByTestKinds(p, true, true);
    QVERIFY(p.isEmpty());
}

void TestLaunch::collectsTickedLessonsInOrder()
{
    const IniDocument doc = IniDocument::fromBytes(kGerman);
    const QList<QByteArray> names = doc.sectionNames();
    QCOMPARE(names.size(), 4);
    // Lessons in list order, then lines in file order; a duplicate key is
    // its own word; the second "Lekce A" has its own words.
    QCOMPARE(collectLessonEntries(doc, names, {false, true, false, true}),
             (QList<QByteArray>{"0=0\\Tisch\\Tische\\" + cz("stůl"), "0=3\\gehen\\geht,ging,i gegangen\\" + cz("jít"),
                                "7=1\\Katze\\Katzen\\" + cz("kočka")}));
    QCOMPARE(collectLessonEntries(doc, names, {true, false, false, false}).size(), 5);
    QVERIFY(collectLessonEntries(doc, names, {false, false, true, false}).isEmpty());
    QVERIFY(collectLessonEntries(doc, names, {}).isEmpty());

    // The file changed under the list: the lesson is found by its name.
    const IniDocument changed = IniDocument::fromBytes("[New]\r\n0=a\\b\r\n[lekce b]\r\n0=x\\y\r\n");
    QCOMPARE(collectLessonEntries(changed, names, {false, true, false, false}), QList<QByteArray>{"0=x\\y"});
    QVERIFY(collectLessonEntries(changed, names, {false, false, true, false}).isEmpty());

    // Read from the file, piece by piece or whole, the result is the same.
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("lekce.de"));
    writeFile(path, kGerman);
    for (const QList<bool> &ticks : QList<QList<bool>>{{false, true, false, true}, {true, true, true, true}, {}})
        QCOMPARE(collectLessonEntries(path, names, ticks).toList(), collectLessonEntries(doc, names, ticks));
    writeFile(path, "[New]\r\n0=a\\b\r\n[lekce b]\r\n0=x\\y\r\n");
    QCOMPARE(collectLessonEntries(path, names, {false, true, false, false}).toList(), QList<QByteArray>{"0=x\\y"});

    // Random files, lines with blanks around their "=" closed up in place:
    // the one reading of the file collects what the document reader does,
    // also for a lesson list that no longer fits the file.
    QRandomGenerator rng(99);
    const char alphabet[] = {'[', ']', '=', '=', ';', ' ', ' ', '\t', '\r', '\n', '\n', 'a', 'B', '\xE8', '\\'};
    for (int round = 0; round < 200; ++round) {
        QByteArray bytes;
        for (int i = 0, n = int(rng.bounded(300)); i < n; ++i)
            bytes.append(alphabet[rng.bounded(int(sizeof alphabet))]);
        writeFile(path, bytes);
        const IniDocument random = IniDocument::fromBytes(bytes);
        QList<QByteArray> listed = random.sectionNames();
        if (round % 3 == 0 && !listed.isEmpty())
            listed[rng.bounded(int(listed.size()))] = "a";
        QList<bool> ticks;
        for (qsizetype i = 0; i < listed.size() + 1; ++i)
            ticks.append(rng.bounded(2) == 1);
        QCOMPARE(collectLessonEntries(path, listed, ticks).toList(), collectLessonEntries(random, listed, ticks));
    }
}

void TestLaunch::verbsOnly()
{
    German g;
    QCOMPARE(rowCount(g.main().lbLekce), 4);
    QCOMPARE(g.main().chbChoice->count(), 4);
    tick(g.main().lbLekce, {0, 1});
    tick(g.main().chbChoice, {3});
    QVERIFY(g.main().LoadLekce());
    QCOMPARE(g.test().WordPool, (QList<QByteArray>{"1=3\\sehen\\sieht,sah,h gesehen\\" + cz("vidět"),
                                                   "3=3\\sein\\ist,war,i gewesen\\" + cz("být"),
                                                   "0=3\\gehen\\geht,ging,i gegangen\\" + cz("jít")}));
    QCOMPARE(g.test().TestKinds, (std::array<bool, 4>{false, false, false, true}));
    QVERIFY(g.f.messenger.messages.isEmpty());
}

void TestLaunch::pluralsLeaveOutEmptyFieldsAndVerbs()
{
    German g;
    tick(g.main().lbLekce, {0, 3});
    tick(g.main().chbChoice, {0, 1, 2});
    QVERIFY(g.main().LoadLekce());
    QCOMPARE(g.test().WordPool, (QList<QByteArray>{"0=0\\Hund\\Hunde\\pes", "4=2\\Haus\\" + cz("Häuser\\dům"),
                                                   "7=1\\Katze\\Katzen\\" + cz("kočka")}));
    QCOMPARE(g.test().TestKinds, (std::array<bool, 4>{true, true, true, false}));

    // Items 0 and 1 alone take every entry, nouns without plural and verbs too.
    tick(g.main().chbChoice, {0});
    QVERIFY(g.main().LoadLekce());
    QCOMPARE(g.test().WordPool.size(), 6);
}

void TestLaunch::pluralsAndVerbsTogetherLeaveNothing()
{
    German g;
    tick(g.main().lbLekce, {0, 1, 3});
    tick(g.main().chbChoice, {2, 3});
    QVERIFY(!g.main().LoadLekce());
    QVERIFY(g.test().WordPool.isEmpty());
    QCOMPARE(g.f.messenger.texts(), QStringList{QStringLiteral("Musíte vybrat lekce kde jsou lexitka !")});
}

void TestLaunch::nothingTickedGivesBothMessages()
{
    German g;
    tick(g.main().lbLekce, {});
    tick(g.main().chbChoice, {});
    QVERIFY(!g.main().LoadLekce());
    QCOMPARE(g.f.messenger.texts(), (QStringList{QStringLiteral("Musíte vybrat lekce kde jsou lexitka !"),
                                                 QStringLiteral("Musíte vybrat druh zkoušení !")}));

    // A ticked lesson without entries is no better.
    g.f.messenger.messages.clear();
    tick(g.main().lbLekce, {2});
    tick(g.main().chbChoice, {0});
    QVERIFY(!g.main().LoadLekce());
    QCOMPARE(g.f.messenger.texts(), QStringList{QStringLiteral("Musíte vybrat lekce kde jsou lexitka !")});

    // Words but no kind.
    g.f.messenger.messages.clear();
    tick(g.main().lbLekce, {0});
    tick(g.main().chbChoice, {});
    QVERIFY(!g.main().LoadLekce());
    QCOMPARE(g.f.messenger.texts(), QStringList{QStringLiteral("Musíte vybrat druh zkoušení !")});
}

void TestLaunch::otherLanguagesAreNeverFiltered()
{
    Fixture f;
    writeFile(f.path("lexitka.ini"), "[en]\r\n0=1\r\n1=0\r\n2=1\r\n3=1\r\n");
    writeFile(f.path("data.en"), "[L]\r\n0=go\\jit,h pesky\r\n1=milk\\\\\r\n");
    auto app = f.makeApp();
    tick(app->frmMain().lbLekce, {0});
    QVERIFY(app->frmMain().LoadLekce());
    QCOMPARE(app->test().WordPool, (QList<QByteArray>{"0=go\\jit,h pesky", "1=milk\\\\"}));
    QCOMPARE(app->test().TestKinds, (std::array<bool, 4>{true, false, false, false}));
}

void TestLaunch::mistakesTestCollection()
{
    German g;
    UTest &test = g.test();
    tick(g.main().lbLekce, {0});
    tick(g.main().chbChoice, {0});

    // No mistakes file.
    g.main().btnErrorsClick();
    QCOMPARE(g.f.messenger.texts(), QStringList{QStringLiteral("Nemáte žádné chyby !")});
    QVERIFY(!test.ErrorsMode);

    // An empty one: nothing to ask.
    g.f.messenger.messages.clear();
    writeFile(g.f.path("errors.dee"), "");
    g.main().btnErrorsClick();
    QCOMPARE(g.f.messenger.texts(), QStringList{QStringLiteral("Musíte vybrat lekce kde jsou lexitka !")});
    QVERIFY(!test.ErrorsMode);

    // Lines of the file in file order; the plural filter works on them too.
    g.f.messenger.messages.clear();
    writeFile(g.f.path("errors.dee"), "1\\0=0\\Hund\\Hunde\\pes\r\n0\\2=1\\Milch\\\\m\r\n2\\4=2\\Haus\\Hauser\\d\r\n");
    QVERIFY(g.main().LoadLekce(TestMode::Mistakes));
    QCOMPARE(test.WordPool.size(), 3);
    QCOMPARE(test.WordPool[1], QByteArray("0\\2=1\\Milch\\\\m"));
    tick(g.main().chbChoice, {2});
    QVERIFY(g.main().LoadLekce(TestMode::Mistakes));
    QCOMPARE(test.WordPool, (QList<QByteArray>{"1\\0=0\\Hund\\Hunde\\pes", "2\\4=2\\Haus\\Hauser\\d"}));

    // The kinds of the main window still decide whether a test may start.
    g.f.messenger.messages.clear();
    tick(g.main().chbChoice, {});
    QVERIFY(!g.main().LoadLekce(TestMode::Mistakes));
    QCOMPARE(g.f.messenger.texts(), QStringList{QStringLiteral("Musíte vybrat druh zkoušení !")});

    // Something that is there but cannot be read is named, not called "no mistakes".
    g.f.messenger.messages.clear();
    QFile::remove(g.f.path("errors.dee"));
    QVERIFY(QDir(g.f.folder()).mkdir(QStringLiteral("errors.dee")));
    tick(g.main().chbChoice, {0});
    g.main().btnErrorsClick();
    QCOMPARE(g.f.messenger.messages.size(), 1);
    QCOMPARE(g.f.messenger.messages[0].kind, QStringLiteral("error"));
    QVERIFY(g.f.messenger.messages[0].text.contains(QDir::toNativeSeparators(g.f.path("errors.dee"))));
    QVERIFY(!test.ErrorsMode);
}

void TestLaunch::clearErrorsDeletesOnlyThatFile()
{
    German g;
    for (const char *name : {"errors.dee", "errors.dee.mastery", "errors.ene", "statistic.des"})
        writeFile(g.f.path(name), "0\\0=a\\b\r\n");
    // A dictionary of no known language keeps German, and its mistakes file.
    writeFile(g.f.path("words.txt"), "[L]\r\n0=a\\b\r\n");
    g.main().OpenSlovnik(g.f.path("words.txt"));
    // Asked first; No keeps the file.
    g.f.messenger.answer = false;
    g.main().btnClearErrorsClick();
    QCOMPARE(g.f.messenger.messages.size(), 1);
    QCOMPARE(g.f.messenger.messages[0].caption, QStringLiteral("Vymazat databázi"));
    QVERIFY(QFileInfo::exists(g.f.path("errors.dee")));
    g.f.messenger.answer = true;
    g.main().btnClearErrorsClick();
    QVERIFY(!QFileInfo::exists(g.f.path("errors.dee")));
    QVERIFY(!QFileInfo::exists(g.f.path("errors.dee.mastery"))); // its counts go with it
    QVERIFY(QFileInfo::exists(g.f.path("errors.ene")));
    QVERIFY(QFileInfo::exists(g.f.path("statistic.des")));
    // Again, with nothing left to delete: only the question.
    g.f.messenger.messages.clear();
    g.main().btnClearErrorsClick();
    QCOMPARE(g.f.messenger.texts(), QStringList{QStringLiteral("Opravdu smazat ?")});
}

void TestLaunch::removingMasteredMistakesIsAnOption()
{
    German g;
    QAction *option = g.main().mniRemoveMastered;
    QCOMPARE(option->text(), QStringLiteral("Odebírat &zvládnuté chyby"));
    QVERIFY(g.main().Slovnik1->actions().contains(option));
    QVERIFY(g.main().grbChyby->actions().contains(option));
    QVERIFY(option->isCheckable() && !option->isChecked());
    QVERIFY(!g.test().RemoveMastered);
    QCOMPARE(g.test().MasteredAfter, 2);

    option->trigger();
    QVERIFY(g.test().RemoveMastered);
    QVERIFY(readFile(g.f.path("lexitka.ini")).contains("removeMastered=1\r\n"));
    g.app.reset();

    // Remembered; the threshold is set by hand in the file.
    writeFile(g.f.path("lexitka.ini"),
              readFile(g.f.path("lexitka.ini")).replace("[Slovnik]\r\n", "[Slovnik]\r\nmasteredAfter=3\r\n"));
    g.app = g.f.makeApp(QStringLiteral("lekce.de"));
    QVERIFY(g.main().mniRemoveMastered->isChecked());
    QVERIFY(g.test().RemoveMastered);
    QCOMPARE(g.test().MasteredAfter, 3);
    g.main().mniRemoveMastered->trigger();
    QVERIFY(!g.test().RemoveMastered);
    QVERIFY(readFile(g.f.path("lexitka.ini")).contains("removeMastered=0\r\n"));
}

void TestLaunch::schedulingReviewsIsAnOption()
{
    // On at first.
    German g;
    QAction *option = g.main().mniScheduleReviews;
    QCOMPARE(option->text(), QStringLiteral("&Plánovat opakování"));
    QVERIFY(g.main().Slovnik1->actions().contains(option));
    QVERIFY(option->isCheckable() && option->isChecked());
    QVERIFY(g.test().ScheduleReviews);

    // Off: remembered, and a test leaves no review file behind.
    option->trigger();
    QVERIFY(!g.test().ScheduleReviews);
    QVERIFY(readFile(g.f.path("lexitka.ini")).contains("scheduleReviews=0\r\n"));
    g.app.reset();
    g.app = g.f.makeApp(QStringLiteral("lekce.de"));
    QVERIFY(!g.main().mniScheduleReviews->isChecked());
    QVERIFY(!g.test().ScheduleReviews);
    QVERIFY(!QFile::exists(g.test().ReviewFilePath()));
}

void TestLaunch::reviewsDayByDay()
{
    Fixture f;
    f.clock.date = QDate(2026, 12, 6);
    writeFile(f.path("lekce.en"),
              cz("[Zvířata]\r\n0=dog\\pes\r\n1=cat\\kocka\r\n2=cow\\krava\r\n[Barvy]\r\n0=red\\cervena\r\n"));
    auto app = f.makeApp(QStringLiteral("lekce.en"));
    TfrmMain &main = app->frmMain();
    AnsweringUi ui(app->test());
    app->test().setUi(&ui);
    main.show();
    QApplication::setActiveWindow(&main);
    QVERIFY(main.Slovnik1->actions().contains(main.mniReviews));
    QCOMPARE(main.mniReviews->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_R));
    auto state = [&] {
        return QStringList{main.btnReviews->text(), main.btnReviews->isEnabled() ? "on" : "off",
                           main.btnReviews->toolTip(), main.lblProgress->toolTip()};
    };
    // The window's controls stay where they were; the status line is below them all.
    const QPoint lowest = main.grbStatistika->mapTo(&main, main.grbStatistika->rect().bottomLeft());
    QVERIFY(main.lblProgress->mapTo(&main, QPoint(0, 0)).y() > lowest.y());

    // Day 0: nothing asked yet.
    QCOMPARE(state(), (QStringList{"Opakovat", "off", "Dnes nemáte co opakovat.",
                                   "Zvířata: 3 slova · zkoušeno 0 · k opakování 0"}));
    QVERIFY(!main.mniReviews->isEnabled());
    // An ordinary test of the animals, the cat missed once.
    tick(main.lbLekce, {0});
    main.chbChoice->item(0)->setCheckState(Qt::Checked);
    main.chbChoice->item(1)->setCheckState(Qt::Unchecked);
    ui.missOnce = {"kocka"};
    main.btnTest->click();
    QCOMPARE(ui.asked.size(), 4);
    QCOMPARE(state(), (QStringList{"Opakovat", "off", "Dnes nemáte co opakovat. Další opakování: 7. 12. 2026.",
                                   "Zvířata: 3 slova · zkoušeno 3 · k opakování 0"}));
    main.lbLekce->setCurrentIndex(main.lbLekce->model()->index(1, 0));
    QCOMPARE(main.lblProgress->toolTip(), QStringLiteral("Barvy: 1 slovo · zkoušeno 0 · k opakování 0"));
    main.lbLekce->setCurrentIndex(main.lbLekce->model()->index(0, 0));

    // Day 1, the program still running: coming back to the window counts again.
    f.clock.date = QDate(2026, 12, 7);
    QApplication::setActiveWindow(nullptr);
    QApplication::setActiveWindow(&main);
    QCOMPARE(state(), (QStringList{"Opakovat (1)", "on", "Zkoušet slovíčka, která máte dnes zopakovat.",
                                   "Zvířata: 3 slova · zkoušeno 3 · k opakování 1"}));
    QVERIFY(main.mniReviews->isEnabled());
    // The review test, from the menu: the cat alone, in its kind, whatever
    // kinds are ticked; a statistics line for it.
    main.chbChoice->item(0)->setCheckState(Qt::Unchecked);
    ui.asked.clear();
    main.mniReviews->trigger();
    QCOMPARE(ui.asked, (QList<std::pair<int, QByteArray>>{{KindToCzech, "1=cat\\kocka"}}));
    const QByteArray kind = encode(main.chbChoice->item(0)->text(), CodePage::Cp1250);
    QCOMPARE(readFile(f.path("statistic.ens")),
             cz("6.12./75/Zvířata/") + kind + "\r\n" + cz("7.12./100/Opakování/") + kind + "\r\n");
    QCOMPARE(state(), (QStringList{"Opakovat", "off", "Dnes nemáte co opakovat. Další opakování: 8. 12. 2026.",
                                   "Zvířata: 3 slova · zkoušeno 3 · k opakování 0"}));

    // Day 2: the dog and the cow, known at once on day 0, are due; the cat,
    // known a day after its lapse, waits till the day after.
    f.clock.date = QDate(2026, 12, 8);
    QApplication::setActiveWindow(nullptr);
    QApplication::setActiveWindow(&main);
    QCOMPARE(state(), (QStringList{"Opakovat (2)", "on", "Zkoušet slovíčka, která máte dnes zopakovat.",
                                   "Zvířata: 3 slova · zkoušeno 3 · k opakování 2"}));

    // The browser's lesson box and the statistics' forecast say the same.
    QStringList boxTexts;
    QStringList forecast;
    {
        ModalDriver driver([&](QWidget *modal) {
            if (auto *browser = qobject_cast<TfrmViewEdt *>(modal)) {
                for (int i = 0; i < browser->cmbLekce->count(); ++i)
                    boxTexts.append(LessonCountDelegate::shownText(browser->cmbLekce->model()->index(i, 0)));
                browser->close();
            } else if (auto *stats = qobject_cast<TfrmStatistic *>(modal)) {
                for (int i = 0; i < 3; ++i)
                    forecast.append(stats->lblForecastDay[size_t(i)]->text() + u'='
                                    + stats->lblForecastCount[size_t(i)]->text());
                QVERIFY(stats->grbForecast->isVisible());
                stats->close();
            }
        });
        main.btnView->click();
        main.btnStatistika->click();
        QVERIFY(!driver.timedOut());
    }
    QCOMPARE(boxTexts.value(0), QStringLiteral("Zvířata  (3, k opakování 2)"));
    QCOMPARE(boxTexts.value(1), QStringLiteral("Barvy  (1)"));
    QCOMPARE(forecast, (QStringList{"dnes=2", "9. 12.=1", "10. 12.=0"}));

    // The dictionary saved without the cow (as the browser would, or another
    // window): back at the window, the count follows.
    writeFile(f.path("lekce.en"), cz("[Zvířata]\r\n0=dog\\pes\r\n1=cat\\kocka\r\n[Barvy]\r\n0=red\\cervena\r\n"));
    QApplication::setActiveWindow(nullptr);
    QApplication::setActiveWindow(&main);
    QCOMPARE(state(), (QStringList{"Opakovat (1)", "on", "Zkoušet slovíčka, která máte dnes zopakovat.",
                                   "Zvířata: 2 slova · zkoušeno 2 · k opakování 1"}));

    // The mistakes database goes without the reviews.
    QVERIFY(QFile::exists(app->test().MistakesFilePath()));
    f.messenger.answer = true;
    main.btnClearErrors->click();
    QVERIFY(!QFile::exists(app->test().MistakesFilePath()));
    QVERIFY(QFile::exists(app->test().ReviewFilePath()));
    QCOMPARE(main.btnReviews->text(), QStringLiteral("Opakovat (1)"));
    f.messenger.messages.clear();

    // Forgetting every review takes a Yes.
    f.messenger.answer = false;
    main.mniClearReviews->trigger();
    QVERIFY(QFile::exists(app->test().ReviewFilePath()));
    QCOMPARE(main.btnReviews->text(), QStringLiteral("Opakovat (1)"));
    f.messenger.answer = true;
    main.mniClearReviews->trigger();
    QVERIFY(!QFile::exists(app->test().ReviewFilePath()));
    QCOMPARE(state(), (QStringList{"Opakovat", "off", "Dnes nemáte co opakovat.",
                                   "Zvířata: 2 slova · zkoušeno 0 · k opakování 0"}));
    QCOMPARE(f.messenger.messages.size(), 2);
    QCOMPARE(f.messenger.messages[0].caption, QStringLiteral("Vymazat opakování"));
    // Nothing left to forget is no failure.
    main.mniClearReviews->trigger();
    QCOMPARE(f.messenger.messages.size(), 3);

    // Switched off: words alone.
    main.mniScheduleReviews->trigger();
    QCOMPARE(main.lblProgress->toolTip(), QStringLiteral("Zvířata: 2 slova"));
    QVERIFY(!main.btnReviews->isEnabled() && !main.mniReviews->isEnabled() && !main.mniClearReviews->isEnabled());
}

QTEST_MAIN(TestLaunch)
#include "tst_launch.moc"
