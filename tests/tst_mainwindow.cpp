#include "app/fabout.h"
#include "app/fmain.h"
#include "data/codepage.h"
#include "data/dictionary.h"
#include "exam/ftestsingle.h"
#include "editor/fviewedit.h"
#include "app/lessonlist.h"
#include "platform/appicon.h"
#include "platform/fonts.h"
#include "platform/translation.h"
#include "support/fakes.h"
#include "support/modal.h"

#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QListView>
#include <QListWidget>
#include <QMap>
#include <QMessageBox>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QStyleOptionViewItem>
#include <QToolButton>
#include <QTest>

#include <unistd.h>

using namespace lexitka;
using namespace lexitka::testing;

namespace {

QString sample(const QString &name) { return QDir(QStringLiteral(LEXITKA_SAMPLE_DATA)).filePath(name); }

void copySample(const QString &name, const QString &target) { writeFile(target, readFile(sample(name))); }

void setTicks(QListWidget *list, const QList<bool> &ticks)
{
    for (int i = 0; i < ticks.size(); ++i)
        list->item(i)->setCheckState(ticks[i] ? Qt::Checked : Qt::Unchecked);
}

const QStringList kEnglishKinds = {"Anglicko - česky", "Česko - anglicky"};
const QStringList kGermanKinds = {"Nemecko - česky", "Česko - německy", "Množná čísla", "Slovesa"};

// Opens another dictionary the way the dictionary commands do.
void switchTo(LexitkaApp &app, const QString &path)
{
    TfrmMain &w = app.frmMain();
    w.CloseSlovnik(app.test().DictionaryPath);
    app.test().DictionaryPath = path;
    w.OpenSlovnik(path);
}

} // namespace

class TestMainWindow : public QObject {
    Q_OBJECT

private slots:
    void iconAsQtReadsItsFiles()
    {
        // The icon reads its files only when drawn, and draws as Qt's own
        // icon of the same files: every size, shape and mode.
        QIcon qts;
        for (int size : applicationIconSizes())
            qts.addFile(QStringLiteral(":/icons/%1.png").arg(size), QSize(size, size));
        const QIcon ours = applicationIcon();
        QCOMPARE(ours.availableSizes(QIcon::Disabled), qts.availableSizes(QIcon::Disabled));
        auto image = [](const QIcon &icon, QSize size, QIcon::Mode mode) {
            return icon.pixmap(size, mode).toImage().convertToFormat(QImage::Format_ARGB32);
        };
        for (const QSize size : {QSize(16, 16), QSize(20, 20), QSize(32, 32), QSize(40, 20), QSize(100, 100),
                                 QSize(256, 256), QSize(300, 300), QSize(7, 30)}) {
            QCOMPARE(ours.actualSize(size), qts.actualSize(size));
            for (const QIcon::Mode mode : {QIcon::Normal, QIcon::Disabled, QIcon::Selected})
                QCOMPARE(image(ours, size, mode), image(qts, size, mode));
        }
    }

    void controlsOfTheWindow()
    {
        Fixture f;
        auto app = f.makeApp();
        app->show();
        TfrmMain &w = app->frmMain();
        QCOMPARE(w.objectName(), QStringLiteral("frmMain"));

        struct Control {
            const char *name;
            const char *parent;
            QString caption;
            QRect geometry;
        };
        const QList<Control> controls = {
            {"btnAll", "client", "Vybrat všechny lekce", {5, 16, 110, 25}},
            {"btnReviews", "client", "Opakovat", {5, 48, 110, 25}},
            {"grbLekce", "client", "  Lekce:  ", {120, 8, 217, 185}},
            {"lbLekce", "grbLekce", {}, {8, 16, 201, 161}},
            {"btnNoAll", "client", "Zrušit všechny lekce", {346, 15, 109, 25}},
            {"btnTest", "client", "Zkoušej !", {16, 200, 137, 25}},
            {"btnView", "client", "Prohlížet a editovat lekce", {160, 200, 137, 25}},
            {"btnStatistika", "client", "Statistiky", {304, 200, 137, 25}},
            {"btnErrors", "client", "Zkoušet moje chyby", {16, 232, 137, 25}},
            {"btnShowErrors", "client", "Zobraz moje chyby", {160, 232, 137, 25}},
            {"btnAbout", "client", "O autorech", {304, 232, 137, 25}},
            {"Label1", "client", "Nastavení:", {}},
            {"grbTestDe", "client", "  Zkoušet:  ", {16, 283, 137, 81}},
            {"chbChoice", "client", {}, {20, 300, 128, 57}},
            {"grbChyby", "client", "  Chyby:  ", {160, 283, 137, 81}},
            {"chbSaveErrors", "grbChyby", "Ukládat chyby", {8, 21, 113, 17}},
            {"btnClearErrors", "grbChyby", "Vymazat databázi", {16, 48, 97, 25}},
            {"grbStatistika", "client", "  Statistika:  ", {304, 283, 137, 81}},
            {"chbStatistika", "grbStatistika", "Vést statistiku", {8, 21, 113, 17}},
            {"btnClearStatistika", "grbStatistika", "Vymazat databázi", {16, 48, 105, 25}},
        };
        for (const Control &c : controls) {
            auto *widget = w.findChild<QWidget *>(QString::fromLatin1(c.name));
            QVERIFY2(widget, c.name);
            QCOMPARE(widget->parentWidget()->objectName(), QString::fromLatin1(c.parent));
            QString caption;
            if (auto *b = qobject_cast<QAbstractButton *>(widget))
                caption = b->text();
            else if (auto *g = qobject_cast<QGroupBox *>(widget))
                caption = g->title();
            else if (auto *l = qobject_cast<QLabel *>(widget))
                caption = l->text();
            QCOMPARE(caption, c.caption);
            if (c.geometry.isValid())
                QCOMPARE(widget->geometry(), c.geometry);
            if (qobject_cast<QPushButton *>(widget) || qobject_cast<QGroupBox *>(widget)) {
                QCOMPARE(widget->font().family(), QStringLiteral("Tahoma"));
                QCOMPARE(widget->font().pixelSize(), 11);
            }
        }
        QCOMPARE(w.Label1->pos(), QPoint(8, 262));
        QCOMPARE(w.lbLekce->font().family(), QStringLiteral("Verdana"));
        QCOMPARE(w.lbLekce->font().pixelSize(), 13);
        QCOMPARE(w.chbChoice->font().family(), QStringLiteral("Verdana"));
        QCOMPARE(w.chbChoice->font().pixelSize(), 11);
        QCOMPARE(w.lbLekce->frameShape(), QFrame::NoFrame);
        QCOMPARE(w.chbChoice->frameShape(), QFrame::NoFrame);

        // The menu "Slovník" with its four items, each with its mnemonic,
        // and the option of the mistakes (and "Nápověda" after it).
        QCOMPARE(w.Slovnik1->title(), QStringLiteral("&Slovník"));
        QCOMPARE(w.menuBar()->actions().size(), 2);
        QStringList items;
        for (QAction *a : w.Slovnik1->actions())
            items.append(a->objectName() + u':' + a->text());
        QCOMPARE(items, (QStringList{"Vytvoitnov1:&Nový", "Otevt1:&Otevřít", "Uloitjako1:&Export...",
                                     "Import1:&Import...", ":", "mniRemoveMastered:Odebírat &zvládnuté chyby",
                                     "mniScheduleReviews:&Plánovat opakování", "mniReviews:Op&akovat",
                                     "mniClearReviews:&Vymazat opakování..."}));

        // The program's icon at every size it is drawn in, for each window.
        QList<QSize> sizes;
        for (int size : applicationIconSizes())
            sizes.append(QSize(size, size));
        QCOMPARE(w.windowIcon().availableSizes(), sizes);
        QCOMPARE(app->frmAbout().windowIcon().availableSizes(), sizes);
        for (const QSize &size : sizes)
            QCOMPARE(w.windowIcon().pixmap(size).size(), size);

        // 460 x 378 of client area under the menu bar, fixed, centred.
        QCOMPARE(w.centralWidget()->size(), QSize(460, 378));
        QCOMPARE(w.minimumSize(), w.maximumSize());
        QVERIFY(w.windowFlags() & Qt::WindowMinimizeButtonHint);
        QVERIFY(!(w.windowFlags() & Qt::WindowMaximizeButtonHint));
        const QPoint centre = QGuiApplication::primaryScreen()->availableGeometry().center();
        QVERIFY((w.frameGeometry().center() - centre).manhattanLength() <= 2);
    }

    void hiddenWindowsMakeTheirControlsWhenFirstUsed()
    {
        // Every window exists from the start; a hidden one makes its
        // controls when it is reached or shown, and is then whole.
        Fixture f;
        copySample("data.en", f.path("data.en"));
        auto app = f.makeApp();
        QMap<QString, QWidget *> windows;
        for (QWidget *w : QApplication::topLevelWidgets()) {
            if (w->objectName().startsWith(QLatin1String("frm")))
                windows.insert(w->objectName(), w);
        }
        QStringList names = {"frmMain",   "frmTestEn", "frmTestLt",  "frmTestDe", "frmTestEs",
                             "frmTestRu", "frmError",  "frmViewEdt", "frmWord",   "frmStatistic",
                             "frmAbout",  "frmTestFr", "frmFind"};
        names.sort();
        QCOMPARE(windows.keys(), names);
        for (const char *name : {"frmTestEn", "frmTestLt", "frmTestDe", "frmTestEs", "frmTestRu", "frmWord", "frmAbout",
                                 "frmTestFr", "frmFind"})
            QVERIFY2(windows[name]->findChildren<QWidget *>().isEmpty(), name);
        QCOMPARE(windows["frmViewEdt"]->findChildren<QWidget *>(Qt::FindDirectChildrenOnly),
                 (QList<QWidget *>{windows["frmFind"]}));

        // Reached: the voices that changed before are shown too.
        f.speaker.allReady();
        TfrmTestRu &ru = app->frmTestRu();
        QVERIFY(ru.btnOK && ru.edtPreklad && ru.btnSpeak);
        QVERIFY(!ru.btnSpeak->isEnabled());
        QCOMPARE(ru.btnSpeak->toolTip(), QStringLiteral("Slovo zazní až po odpovědi."));
        QCOMPARE(&app->frmViewEdt(), windows["frmViewEdt"]);
        QVERIFY(windows["frmViewEdt"]->findChild<QWidget *>(QStringLiteral("sgList")));

        // Shown without being reached: laid out as always.
        QWidget *word = windows["frmWord"];
        word->show();
        QVERIFY(QTest::qWaitForWindowExposed(word));
        const auto *ok = word->findChild<QPushButton *>(QStringLiteral("Button1"));
        QVERIFY(ok);
        QCOMPARE(ok->geometry().right() + 1, word->width() - 12);
        word->hide();
    }

    void firstStart()
    {
        Fixture f;
        copySample("data.en", f.path("data.en"));
        auto app = f.makeApp();
        TfrmMain &w = app->frmMain();
        QCOMPARE(w.windowTitle(), QStringLiteral("Lexitka - Anglické [data.en]"));
        QCOMPARE(app->test().DictionaryPath, f.path("data.en"));
        QCOMPARE(app->test().LanguageCode, int(LangEnglish));
        QCOMPARE(itemTexts(w.lbLekce), (QStringList{"Zvířata", "Rodina", "Cestování"}));
        QCOMPARE(w.lessonNames().first(), cz("Zvířata"));
        QCOMPARE(w.lessonTicks(), (QList<bool>{false, false, false}));
        QCOMPARE(itemTexts(w.chbChoice), kEnglishKinds);
        QCOMPARE(w.testKindTicks(), (QList<bool>{true, false}));
        QVERIFY(w.chbStatistika->isChecked());
        QVERIFY(w.chbSaveErrors->isChecked());
        QCOMPARE(w.dictionaryFolder(), f.path("Slovniky"));
        QVERIFY(f.messenger.messages.isEmpty());
        QVERIFY(!QFileInfo::exists(f.path("lexitka.ini"))); // created by the first write only

        // Closing writes the settings in the form of the first run.
        w.close();
        QCOMPARE(readFile(f.path("lexitka.ini")), "[Slovnik]\r\nFile=" + QFile::encodeName(f.path("data.en"))
                                                      + "\r\nstatistic=1\r\nerrors=1\r\n[en]\r\n0=1\r\n1=0\r\n");
        QVERIFY(f.messenger.messages.isEmpty());
    }

    void startWithoutDictionary()
    {
        // No data.en either: an empty list, the title still names the file.
        Fixture f;
        const QString elsewhere = QDir::currentPath();
        QTemporaryDir cwd;
        copySample("data.en", cwd.filePath("data.en"));
        QDir::setCurrent(cwd.path()); // a data.en in the current folder is not the one meant
        auto app = f.makeApp();
        QDir::setCurrent(elsewhere);
        QCOMPARE(app->frmMain().windowTitle(), QStringLiteral("Lexitka - Anglické [data.en]"));
        QCOMPARE(rowCount(app->frmMain().lbLekce), 0);
        QCOMPARE(app->test().DictionaryPath, f.path("data.en"));
        QVERIFY(f.messenger.messages.isEmpty());
    }

    void argumentWithoutFolder()
    {
        // The current folder first, as a shell user means it.
        Fixture f;
        copySample("Slovniky/nemcina.de", f.path("lekce.de"));
        QTemporaryDir cwd;
        writeFile(cwd.filePath("lekce.de"), "[This one]\r\n");
        const QString elsewhere = QDir::currentPath();
        QDir::setCurrent(cwd.path());
        auto here = f.makeApp("lekce.de");
        QCOMPARE(here->test().DictionaryPath, QFileInfo(cwd.filePath("lekce.de")).absoluteFilePath());
        QCOMPARE(itemTexts(here->frmMain().lbLekce), QStringList{"This one"});

        // Only a name that is not there comes from the program folder.
        QVERIFY(QFile::remove(cwd.filePath("lekce.de")));
        auto app = f.makeApp("lekce.de");
        QDir::setCurrent(elsewhere);
        TfrmMain &w = app->frmMain();
        QCOMPARE(app->test().DictionaryPath, f.path("lekce.de"));
        QCOMPARE(app->test().LanguageCode, int(LangGerman));
        QCOMPARE(w.windowTitle(), QStringLiteral("Lexitka - Německé [lekce.de]"));
        QCOMPARE(rowCount(w.lbLekce), 4);
        QCOMPARE(itemTexts(w.chbChoice), kGermanKinds);
        QCOMPARE(w.testKindTicks(), (QList<bool>{true, false, false, false}));
        QVERIFY(f.messenger.messages.isEmpty());
    }

    void sampleLessonNamesFitTheirColumn()
    {
        // Every sample lesson's name whole in the list, as the list's font
        // and grid lay it out: no "…", no tooltip needed.
        installFontSubstitutes();
        const QStringList samples{"data.en",
                                  "Slovniky/francouzstina.fr",
                                  "Slovniky/latina.lt",
                                  "Slovniky/nemcina.de",
                                  "Slovniky/rustina.ru",
                                  "Slovniky/spanelstina.es"};
        int measured = 0;
        for (const QString &sample : samples) {
            Fixture f;
            const QString file = f.path(QFileInfo(sample).fileName());
            copySample(sample, file);
            auto app = f.makeApp(file);
            app->show();
            QListView *list = app->frmMain().lbLekce;
            auto *delegate = qobject_cast<LessonListDelegate *>(list->itemDelegate());
            QVERIFY(delegate);
            QVERIFY(list->model()->rowCount() >= 3);
            const int textMargin = list->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, list) + 1;
            for (int row = 0; row < list->model()->rowCount(); ++row) {
                const QModelIndex index = list->model()->index(row, 0);
                const QString name = index.data().toString();
                QCOMPARE(index.data(Qt::ToolTipRole).toString(), name); // the whole name
                QStyleOptionViewItem opt;
                opt.initFrom(list);
                opt.rect = list->visualRect(index);
                QCOMPARE(opt.rect.width(), list->gridSize().width());
                QVERIFY2(delegate->toolTip(list, opt, index).isEmpty(), qPrintable(name));
                // As the style draws it: the text rectangle less its margins.
                opt.features = QStyleOptionViewItem::HasCheckIndicator | QStyleOptionViewItem::HasDisplay;
                opt.text = name;
                opt.font = list->font();
                opt.fontMetrics = QFontMetrics(opt.font);
                const QRect text = list->style()->subElementRect(QStyle::SE_ItemViewItemText, &opt, list);
                QVERIFY2(opt.fontMetrics.horizontalAdvance(name) <= text.width() - 2 * textMargin,
                         qPrintable(sample + u' ' + name));
                ++measured;
            }
        }
        QCOMPARE(measured, 19);
    }

    void argumentWithFolder()
    {
        Fixture f;
        QTemporaryDir cwd;
        QVERIFY(QDir(cwd.path()).mkdir("sub"));
        copySample("Slovniky/rustina.ru", cwd.filePath("sub/r.ru"));
        const QString elsewhere = QDir::currentPath();
        QDir::setCurrent(cwd.path());
        auto app = f.makeApp("sub/r.ru");
        QDir::setCurrent(elsewhere);
        // Kept as a full path, so that the next start finds it from anywhere.
        QCOMPARE(app->test().DictionaryPath, QFileInfo(cwd.filePath("sub/r.ru")).absoluteFilePath());
        QCOMPARE(app->frmMain().windowTitle(), QStringLiteral("Lexitka - Ruské [r.ru]"));
        QCOMPARE(rowCount(app->frmMain().lbLekce), 3);
        QCOMPARE(itemTexts(app->frmMain().chbChoice), (QStringList{"Rusko - česky", "Česko - rusky"}));
        app->frmMain().close();
        auto again = f.makeApp();
        QCOMPARE(again->test().DictionaryPath, app->test().DictionaryPath);
        QCOMPARE(rowCount(again->frmMain().lbLekce), 3);
    }

    void startFromSettings()
    {
        Fixture f;
        copySample("Slovniky/francouzstina.fr", f.path("fr.fr"));
        writeFile(f.path("lexitka.ini"), "[Slovnik]\r\nFile=" + QFile::encodeName(f.path("fr.fr"))
                                             + "\r\nDir=/srv/slovniky\\\r\nstatistic=0\r\nerrors=0x0\r\n"
                                               "[fr]\r\n0=0\r\n1=1\r\n");
        auto app = f.makeApp();
        TfrmMain &w = app->frmMain();
        QCOMPARE(w.windowTitle(), QStringLiteral("Lexitka - Francouzské [fr.fr]"));
        QCOMPARE(app->test().LanguageCode, int(LangFrench));
        QCOMPARE(w.dictionaryFolder(), QStringLiteral("/srv/slovniky")); // a trailing "\\" names the same folder
        QVERIFY(!w.chbStatistika->isChecked());
        QVERIFY(!w.chbSaveErrors->isChecked());
        QCOMPARE(itemTexts(w.chbChoice), (QStringList{"Franc. - česky", "Česko - franc."}));
        QCOMPARE(w.testKindTicks(), (QList<bool>{false, true}));

        // The argument wins over "File"; unreadable values give defaults.
        writeFile(f.path("lexitka.ini"), "[Slovnik]\r\nFile=" + QFile::encodeName(f.path("fr.fr"))
                                             + "\r\nstatistic=yes\r\nerrors=\r\n[en]\r\n0=x\r\n1=2\r\n");
        copySample("data.en", f.path("data.en"));
        auto second = f.makeApp("data.en");
        QCOMPARE(second->test().DictionaryPath, f.path("data.en"));
        QVERIFY(second->frmMain().chbStatistika->isChecked());
        QVERIFY(second->frmMain().chbSaveErrors->isChecked());
        QCOMPARE(second->frmMain().testKindTicks(), (QList<bool>{true, true}));
    }

    void ticksStoredPerExtension()
    {
        Fixture f;
        copySample("Slovniky/nemcina.de", f.path("n.de"));
        copySample("data.en", f.path("a.en"));
        {
            auto app = f.makeApp("n.de");
            TfrmMain &w = app->frmMain();
            setTicks(w.chbChoice, {false, true, true, false});
            w.chbStatistika->setChecked(false);
            w.close();
        }
        QByteArray ini = readFile(f.path("lexitka.ini"));
        QVERIFY(ini.contains("[de]\r\n0=0\r\n1=1\r\n2=1\r\n3=0\r\n"));
        QVERIFY(ini.contains("statistic=0\r\n"));
        {
            // "File" reopens the German dictionary with the same four ticks.
            auto app = f.makeApp();
            TfrmMain &w = app->frmMain();
            QCOMPARE(app->test().DictionaryPath, f.path("n.de"));
            QCOMPARE(w.testKindTicks(), (QList<bool>{false, true, true, false}));
            QVERIFY(!w.chbStatistika->isChecked());
            setTicked(w.lbLekce, 1, true);

            // An English one shows the ticks of "en", untouched by the German ones.
            setTicks(w.chbChoice, {true, true, false, true});
            switchTo(*app, f.path("a.en"));
            QCOMPARE(itemTexts(w.chbChoice), kEnglishKinds);
            QCOMPARE(w.testKindTicks(), (QList<bool>{true, false}));
            QCOMPARE(w.windowTitle(), QStringLiteral("Lexitka - Anglické [a.en]"));
            QVERIFY(readFile(f.path("lexitka.ini")).contains("[de]\r\n0=1\r\n1=1\r\n2=0\r\n3=1\r\n"));

            // Back to German: its ticks were stored; lesson ticks never are.
            switchTo(*app, f.path("n.de"));
            QCOMPARE(w.testKindTicks(), (QList<bool>{true, true, false, true}));
            QCOMPARE(w.lessonTicks(), (QList<bool>{false, false, false, false}));
        }
    }

    void unusualExtensions()
    {
        Fixture f;
        copySample("Slovniky/nemcina.de", f.path("n.de"));
        copySample("data.en", f.path("lekce.txt"));
        copySample("data.en", f.path("x.EN"));
        copySample("data.en", f.path("bez"));
        writeFile(f.path("lexitka.ini"), "[de]\r\n0=1\r\n1=1\r\n2=1\r\n3=1\r\n[txt]\r\n0=0\r\n1=1\r\n2=1\r\n3=1\r\n");
        auto app = f.makeApp("n.de");
        TfrmMain &w = app->frmMain();
        QCOMPARE(w.testKindTicks(), (QList<bool>{true, true, true, true}));

        // txt keeps German, but its ticks come from "txt", items 2 and 3 unticked.
        switchTo(*app, f.path("lekce.txt"));
        QCOMPARE(app->test().LanguageCode, int(LangGerman));
        QCOMPARE(w.windowTitle(), QStringLiteral("Lexitka - Německé [lekce.txt]"));
        QCOMPARE(itemTexts(w.chbChoice), kGermanKinds);
        QCOMPARE(w.testKindTicks(), (QList<bool>{false, true, false, false}));
        QCOMPARE(rowCount(w.lbLekce), 3);

        // Leaving it stores keys 0 and 1 only.
        setTicks(w.chbChoice, {true, false, true, true});
        switchTo(*app, f.path("x.EN"));
        QVERIFY(readFile(f.path("lexitka.ini")).endsWith("[txt]\r\n0=1\r\n1=0\r\n2=1\r\n3=1\r\n"));

        // EN in capitals is English and uses section "en".
        QCOMPARE(app->test().LanguageCode, int(LangEnglish));
        QCOMPARE(w.windowTitle(), QStringLiteral("Lexitka - Anglické [x.EN]"));
        setTicks(w.chbChoice, {false, true});
        switchTo(*app, f.path("bez"));
        const QByteArray ini = readFile(f.path("lexitka.ini"));
        QVERIFY(ini.contains("[en]\r\n0=0\r\n1=1\r\n"));
        QVERIFY(!ini.contains("[EN]"));

        // No extension: language as before, section "en".
        QCOMPARE(app->test().LanguageCode, int(LangEnglish));
        QCOMPARE(w.windowTitle(), QStringLiteral("Lexitka - Anglické [bez]"));
        QCOMPARE(w.testKindTicks(), (QList<bool>{false, true}));
    }

    void settingsThatWouldNotReadBack()
    {
        // A file name with a line break or a blank at its end would come back
        // as another file; the last good one stays in the settings.
        for (const char *odd : {"a\nb.en", "lekce.en ", "lekce.en\t"}) {
            Fixture f;
            const QByteArray ini = "[Slovnik]\r\nFile=" + QFile::encodeName(f.path("data.en")) + "\r\n";
            writeFile(f.path("lexitka.ini"), ini);
            writeFile(f.path(odd), "[L]\r\n0=a\\b\r\n");
            auto app = f.makeApp(f.path(odd));
            QCOMPARE(app->test().DictionaryPath, f.path(odd));
            app->frmMain().close();
            QVERIFY2(readFile(f.path("lexitka.ini")).startsWith(ini + "statistic=1\r\n"), odd);
            QVERIFY(f.messenger.messages.isEmpty());
        }

        // An extension that cannot name a section stores its ticks under its
        // language's, and the file does not grow from one exit to the next.
        Fixture f;
        copySample("data.en", f.path("lekce.e]n"));
        QByteArray after;
        for (int run = 0; run < 3; ++run) {
            auto app = f.makeApp(f.path("lekce.e]n"));
            TfrmMain &w = app->frmMain();
            QCOMPARE(w.testKindTicks(), (QList<bool>{true, run > 0}));
            setTicks(w.chbChoice, {true, true});
            w.close();
            if (run > 0)
                QCOMPARE(readFile(f.path("lexitka.ini")), after);
            after = readFile(f.path("lexitka.ini"));
        }
        QVERIFY(after.endsWith("[en]\r\n0=1\r\n1=1\r\n"));
        QVERIFY(!after.contains("[e]n]"));
    }

    void pathsFromSettingsAndArguments()
    {
        Fixture f;
        copySample("data.en", f.path("data.en"));
        copySample("Slovniky/nemcina.de", f.path("n.de"));
        // An empty "File" is the default; "Dir" ending in "/" is the folder itself.
        writeFile(f.path("lexitka.ini"), "[Slovnik]\r\nFile=\r\nDir=" + QFile::encodeName(f.path("slov")) + "/\r\n");
        {
            auto app = f.makeApp();
            QCOMPARE(app->test().DictionaryPath, f.path("data.en"));
            QCOMPARE(app->frmMain().dictionaryFolder(), f.path("slov"));
            QCOMPARE(rowCount(app->frmMain().lbLekce), 3);
        }
        // Paths that are no UTF-8 were written on another system, in windows-1250.
        writeFile(f.path("lekce ř.de"), readFile(f.path("n.de")));
        writeFile(f.path("lexitka.ini"), "[Slovnik]\r\nFile=" + QFile::encodeName(f.path("lekce "))
                                             + "\xF8.de\r\n"
                                               "Dir=/srv/slovn\xEDky\r\n");
        {
            auto app = f.makeApp();
            QCOMPARE(app->test().DictionaryPath, f.path("lekce ř.de"));
            QCOMPARE(app->frmMain().dictionaryFolder(), QStringLiteral("/srv/slovníky"));
            QCOMPARE(app->test().LanguageCode, int(LangGerman));
        }
        // A dictionary named on the command line that is not there: said so,
        // the remembered one opens, and the missing one is not remembered.
        writeFile(f.path("lexitka.ini"), "[Slovnik]\r\nFile=" + QFile::encodeName(f.path("n.de")) + "\r\n");
        {
            auto app = f.makeApp(f.path("gone.en"));
            QCOMPARE(app->test().DictionaryPath, f.path("n.de"));
            QCOMPARE(f.messenger.messages.size(), 1);
            QCOMPARE(f.messenger.messages[0].kind, QStringLiteral("error"));
            QVERIFY(f.messenger.messages[0].text.contains(QDir::toNativeSeparators(f.path("gone.en"))));
            app->frmMain().close();
        }
        QVERIFY(readFile(f.path("lexitka.ini")).startsWith("[Slovnik]\r\nFile=" + QFile::encodeName(f.path("n.de"))));
    }

    void lessonNamesAndQtTextsForTheUser()
    {
        Fixture f;
        const QString longName = QStringLiteral("Lekce s velmi dlouhým jménem, které se do sloupce nevejde");
        writeFile(f.path("data.en"), cz("[Krátká]\r\n0=a\\b\r\n[" + longName + "]\r\n0=c\\d\r\n"));
        auto app = f.makeApp();
        app->show();
        QListView *list = app->frmMain().lbLekce;
        auto *delegate = qobject_cast<LessonListDelegate *>(list->itemDelegate());
        QVERIFY(delegate);
        QStyleOptionViewItem option;
        option.initFrom(list);
        option.rect = list->visualRect(list->model()->index(0, 0));
        QVERIFY(delegate->toolTip(list, option, list->model()->index(0, 0)).isEmpty());
        option.rect = list->visualRect(list->model()->index(1, 0));
        QCOMPARE(delegate->toolTip(list, option, list->model()->index(1, 0)), longName);

        // Qt's own buttons speak Czech.
        QVERIFY(installCzechTranslation());
        QStringList buttons;
        ModalDriver driver([&](QWidget *modal) {
            if (auto *box = qobject_cast<QMessageBox *>(modal)) {
                for (QAbstractButton *b : box->buttons())
                    buttons.append(b->text().remove(u'&'));
                box->reject();
            }
        });
        QtMessenger().question(nullptr, QStringLiteral("Soubor x již existuje. Přepsat ?"));
        buttons.sort();
        QCOMPARE(buttons, (QStringList{"Ano", "Ne"}));
    }

    void tickAllLessons()
    {
        Fixture f;
        copySample("Slovniky/nemcina.de", f.path("n.de"));
        auto app = f.makeApp("n.de");
        app->show();
        TfrmMain &w = app->frmMain();
        setTicked(w.lbLekce, 2, true);
        QTest::mouseClick(w.btnAll, Qt::LeftButton);
        QCOMPARE(w.lessonTicks(), (QList<bool>{true, true, true, true}));
        QTest::mouseClick(w.btnNoAll, Qt::LeftButton);
        QCOMPARE(w.lessonTicks(), (QList<bool>{false, false, false, false}));
        // Test kinds are not lessons.
        QCOMPARE(w.testKindTicks(), (QList<bool>{true, false, false, false}));

        writeFile(f.path("empty.de"), "");
        app->test().DictionaryPath = f.path("empty.de");
        w.OpenSlovnik(f.path("empty.de"));
        QTest::mouseClick(w.btnAll, Qt::LeftButton);
        QTest::mouseClick(w.btnNoAll, Qt::LeftButton);
        QCOMPARE(rowCount(w.lbLekce), 0);
    }

    void settingsCannotBeWritten()
    {
        Fixture f;
        QVERIFY(QDir(f.folder()).mkdir("lexitka.ini"));
        copySample("data.en", f.path("data.en"));
        auto app = f.makeApp();
        TfrmMain &w = app->frmMain();
        app->show();
        QVERIFY(f.messenger.messages.isEmpty());

        // Closing a dictionary alone reports it once.
        QVERIFY(!w.CloseSlovnik(app->test().DictionaryPath));
        QCOMPARE(f.messenger.messages.size(), 1);
        f.messenger.messages.clear();

        // The program still ends, after one Czech message naming the file.
        QVERIFY(w.close());
        QVERIFY(!w.isVisible());
        QCOMPARE(f.messenger.messages.size(), 1);
        QCOMPARE(f.messenger.messages[0].kind, QStringLiteral("error"));
        QVERIFY(f.messenger.messages[0].text.contains(QDir::toNativeSeparators(f.path("lexitka.ini"))));
        QVERIFY(f.messenger.messages[0].text.contains(QStringLiteral("Nastavení")));
    }

    void badDictionariesOpenQuietly()
    {
        Fixture f;
        QByteArray garbage(10000, '\0');
        for (int i = 0; i < garbage.size(); ++i)
            garbage[i] = char((i * 7919) % 251);
        QByteArray longLine(50 * 1024 * 1024, 'w');
        longLine.prepend("[Lekce A]\r\n0=");
        longLine.append("\r\n[Lekce B]\r\n");
        const struct {
            const char *name;
            QByteArray bytes;
            QStringList lessons;
        } files[] = {
            {"empty.en", "", {}},
            {"comments.en", ";x\r\n\r\n  ; [Lekce]\r\n", {}},
            {"cr.en", "[A]\r0=a\\b\r[B]\r", {"A", "B"}},
            {"lf.en", "[A]\n0=a\\b\n[B]\n", {"A", "B"}},
            {"mixed.en", "[A]\r\n0=a\\b\r[B]\n", {"A", "B"}},
            {"nofinal.en", "[A]\r\n0=a\r\n[B]", {"A", "B"}},
            {"nobracket.en", "[A\r\n0=a\r\n[B]\r\n", {"B"}},
            {"nul.en", QByteArray("\0[A]\r\n[B\0]\r\n", 12), {QString::fromLatin1("B\0", 2)}},
            {"garbage.en", garbage, {}},
            {"long.en", longLine, {"Lekce A", "Lekce B"}},
        };
        auto app = f.makeApp();
        TfrmMain &w = app->frmMain();
        for (const auto &file : files) {
            writeFile(f.path(file.name), file.bytes);
            switchTo(*app, f.path(file.name));
            if (qstrcmp(file.name, "garbage.en") != 0)
                QCOMPARE(itemTexts(w.lbLekce), file.lessons);
            QCOMPARE(w.windowTitle(), QStringLiteral("Lexitka - Anglické [") + QString::fromLatin1(file.name) + u']');
        }
        QVERIFY(QDir(f.folder()).mkdir("folder.en"));
        switchTo(*app, f.path("folder.en"));
        QCOMPARE(rowCount(w.lbLekce), 0);

        writeFile(f.path("locked.en"), "[A]\r\n");
        QFile::setPermissions(f.path("locked.en"), QFileDevice::Permissions());
        const bool readable = ::access(QFile::encodeName(f.path("locked.en")).constData(), R_OK) == 0;
        switchTo(*app, f.path("locked.en"));
        QCOMPARE(rowCount(w.lbLekce), readable ? 1 : 0);
        QVERIFY(f.messenger.messages.isEmpty());
    }
};

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
