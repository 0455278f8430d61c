// The menu "Slovník": Nový, Otevřít, Export and Import through the real main
// window, with the file dialogs answered by the test.
#include "support/inidocument.h"
#include "support/fakes.h"
#include "support/utf8samples.h"

#include "app/fmain.h"
#include "data/filecopy.h"
#include "data/inifile.h"
#include "data/profile.h"

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QLineEdit>
#include <QMenu>
#include <QListWidget>
#include <QTimer>
#include <QtTest>

using namespace lexitka;
using namespace lexitka::testing;

namespace {

// Answers the modal file dialogs as they come: each step accepts a name
// (relative to the folder the dialog shows, or absolute) or cancels.
class DialogAnswerer : public QObject {
public:
    struct Seen {
        QString objectName;
        QString directory;
        QString fileName; // what the name box proposed
        QString filter;
        QStringList filters;
        QString defaultSuffix;
    };

    explicit DialogAnswerer(QStringList answers) : m_answers(std::move(answers))
    {
        connect(&m_timer, &QTimer::timeout, this, &DialogAnswerer::poll);
        m_timer.start(5);
    }

    static QString cancel() { return QStringLiteral("<cancel>"); }
    qsizetype remaining() const { return m_answers.size(); }
    QList<Seen> seen;
    int unexpected = 0;

private:
    void poll()
    {
        auto *dlg = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
        if (!dlg || !dlg->isVisible())
            return;
        if (m_answers.isEmpty()) {
            ++unexpected;
            dlg->reject();
            return;
        }
        // The name box, as the user types into it.
        auto *name = dlg->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
        if (!name) {
            ++unexpected;
            dlg->reject();
            return;
        }
        seen.append({dlg->objectName(), QDir(dlg->directory()).absolutePath(), name->text(), dlg->selectedNameFilter(),
                     dlg->nameFilters(), dlg->defaultSuffix()});
        const QString answer = m_answers.takeFirst();
        if (answer == cancel()) {
            dlg->reject();
        } else {
            // As after a click into the name box: a row still selected in the
            // file list would win over the typed name.
            if (auto *list = dlg->findChild<QAbstractItemView *>(QStringLiteral("listView")))
                list->clearSelection();
            name->setFocus();
            name->setText(answer);
            static_cast<QDialog *>(dlg)->accept(); // QFileDialog's own checks run
        }
    }

    QStringList m_answers;
    QTimer m_timer;
};

QString sample(const QString &name) { return QStringLiteral(LEXITKA_SAMPLE_DATA "/") + name; }

void copySample(const QString &name, const QString &to) { writeFile(to, readFile(sample(name))); }

QList<bool> ticks(const TfrmMain &frm) { return frm.testKindTicks(); }

void setTicks(TfrmMain &frm, const QList<bool> &values)
{
    for (int i = 0; i < values.size(); ++i)
        frm.chbChoice->item(i)->setCheckState(values[i] ? Qt::Checked : Qt::Unchecked);
}

// Lines of an earlier test that no later test may draw.
void fillLists(LexitkaApp &app)
{
    app.test().WordPool = {"0=old\\word", "1=older\\word"};
    app.test().ErrorList = {"0=old\\word|x|0"};
}

// After a command that opened path, a test draws only from path's entries.
void checkDrawsOnlyFrom(LexitkaApp &app, const QString &path)
{
    QVERIFY(app.test().WordPool.isEmpty());
    QVERIFY(app.test().ErrorList.isEmpty());
    const IniDocument doc = IniDocument::fromFile(path);
    QCOMPARE(app.frmMain().lessonNames(), doc.sectionNames());
    QList<QByteArray> lines;
    for (qsizetype s = 0; s < doc.sectionCount(); ++s)
        lines += doc.entryLines(s);
    app.frmMain().btnAllClick();
    if (app.frmMain().LoadLekce()) {
        QVERIFY(!app.test().WordPool.isEmpty());
        for (QByteArrayView line : app.test().WordPool)
            QVERIFY2(lines.contains(line.toByteArray()), line.toByteArray().constData());
    }
    app.frmMain().btnNoAllClick();
}

} // namespace

class TestDictionaryMenu : public QObject {
    Q_OBJECT
private slots:
    void newDictionary();
    void newDictionaryAsksAndFails();
    void openDictionary();
    void exportDictionary();
    void importDictionary();
    void copyHelpers();
    void utf8DictionariesOnOpening();
    void keyboardReachesTheMenu();
};

void TestDictionaryMenu::newDictionary()
{
    Fixture f;
    const QString slovniky = f.path("Slovniky");
    QDir().mkpath(slovniky);
    const QString german = slovniky + "/nemcina.de";
    copySample("Slovniky/nemcina.de", german);
    writeFile(f.path("lexitka.ini"), "[de]\r\n0=1\r\n1=0\r\n2=0\r\n3=0\r\n");
    auto app = f.makeApp(german);
    TfrmMain &frm = app->frmMain();
    QVERIFY(rowCount(frm.lbLekce) > 0);
    setTicks(frm, {false, true, true, true});
    fillLists(*app);

    {
        DialogAnswerer answers({"novy"});
        frm.Vytvoitnov1Click();
        QCOMPARE(answers.remaining(), 0);
        const DialogAnswerer::Seen &seen = answers.seen.at(0);
        QCOMPARE(seen.objectName, QStringLiteral("dlgSave"));
        QCOMPARE(seen.directory, QDir(slovniky).absolutePath());
        QCOMPARE(seen.filters,
                 (QStringList{"Slovniky (*.en *.de *.fr *.ru *.es *.lt)", "Anglické (*.en)", "Německé (*.de)",
                              "Francouzské (*.fr)", "Ruské (*.ru)", "Španělské (*.es)", "Latinské (*.lt)"}));
        QCOMPARE(seen.filter, QStringLiteral("Slovniky")); // shown without its patterns
        QCOMPARE(seen.defaultSuffix, QStringLiteral("en"));
    }
    const QString novy = slovniky + "/novy.en";
    QVERIFY(QFileInfo::exists(novy));
    QCOMPARE(QFileInfo(novy).size(), 0);
    QCOMPARE(app->test().DictionaryPath, novy);
    QCOMPARE(app->test().LanguageCode, int(LangEnglish));
    QCOMPARE(frm.windowTitle(), QStringLiteral("Lexitka - Anglické [novy.en]"));
    QCOMPARE(rowCount(frm.lbLekce), 0);
    // The German list's first two ticks went to the new file's section and came back.
    QCOMPARE(ticks(frm), (QList<bool>{false, true}));
    const ProfileFile settings(f.path("lexitka.ini"));
    QCOMPARE(settings.readBool("en", "0", true), false);
    QCOMPARE(settings.readBool("en", "1", false), true);
    // Nothing was stored for the German dictionary that was left.
    QCOMPARE(settings.readBool("de", "1", true), false);
    QCOMPARE(settings.readBool("de", "2", true), false);
    checkDrawsOnlyFrom(*app, novy);

    // German, chosen under another filter, which is remembered with the name.
    setTicks(frm, {true, false});
    fillLists(*app);
    {
        DialogAnswerer answers({"slovnik.de"});
        QString proposed;
        QTimer::singleShot(0, [&] {
            if (auto *dlg = qobject_cast<QFileDialog *>(QApplication::activeModalWidget())) {
                proposed = dlg->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"))->text();
                dlg->selectNameFilter(QStringLiteral("Německé (*.de)"));
            }
        });
        frm.Vytvoitnov1Click();
        QCOMPARE(answers.remaining(), 0);
        QCOMPARE(proposed, QStringLiteral("novy.en"));
    }
    const QString slovnik = slovniky + "/slovnik.de";
    QCOMPARE(app->test().DictionaryPath, slovnik);
    QCOMPARE(app->test().LanguageCode, int(LangGerman));
    QCOMPARE(frm.chbChoice->count(), 4);
    QCOMPARE(ticks(frm), (QList<bool>{true, false, false, false}));
    QCOMPARE(rowCount(frm.lbLekce), 0);
    checkDrawsOnlyFrom(*app, slovnik);

    // "Zkoušej !" on the empty dictionary starts no test.
    f.messenger.messages.clear();
    frm.btnTestClick();
    QVERIFY(app->test().WordPool.isEmpty());
    QCOMPARE(app->test().GoodCount + app->test().BadCount, 0);
    for (const QString &text : f.messenger.texts())
        QCOMPARE(text, QStringLiteral("Musíte vybrat lekce kde jsou lexitka !"));

    // A cancelled dialog changes nothing, and is not remembered.
    {
        DialogAnswerer answers({DialogAnswerer::cancel(), DialogAnswerer::cancel()});
        QTimer::singleShot(0, [&] {
            if (auto *dlg = qobject_cast<QFileDialog *>(QApplication::activeModalWidget()))
                dlg->selectNameFilter(QStringLiteral("Ruské (*.ru)"));
        });
        frm.Vytvoitnov1Click();
        frm.Vytvoitnov1Click();
        QCOMPARE(answers.remaining(), 0);
        QCOMPARE(answers.seen.at(1).fileName, QStringLiteral("slovnik.de"));
        QCOMPARE(answers.seen.at(1).filter, QStringLiteral("Německé"));
    }
    QCOMPARE(app->test().DictionaryPath, slovnik);
}

void TestDictionaryMenu::newDictionaryAsksAndFails()
{
    Fixture f;
    const QString slovniky = f.path("Slovniky");
    QDir().mkpath(slovniky);
    const QString stary = slovniky + "/stary.en";
    const QByteArray content = "[Lekce]\r\n0=dog\\pes\r\n";
    writeFile(stary, content);
    copySample("data.en", f.path("data.en"));
    auto app = f.makeApp();
    TfrmMain &frm = app->frmMain();
    const QString opened = app->test().DictionaryPath;
    const int lessons = rowCount(frm.lbLekce);
    QVERIFY(lessons > 0);
    fillLists(*app);

    // No to "replace?": the dialog comes again; cancelling it keeps the file.
    f.messenger.answer = false;
    {
        DialogAnswerer answers({"stary.en", DialogAnswerer::cancel()});
        frm.Vytvoitnov1Click();
        QCOMPARE(answers.remaining(), 0);
        QCOMPARE(answers.unexpected, 0);
    }
    QCOMPARE(f.messenger.messages.size(), 1);
    QCOMPARE(f.messenger.messages[0].kind, QStringLiteral("question"));
    QVERIFY(f.messenger.messages[0].text.contains(QDir::toNativeSeparators(stary)));
    QCOMPARE(readFile(stary), content);
    QCOMPARE(app->test().DictionaryPath, opened);
    QCOMPARE(app->test().WordPool.size(), 2);

    // Yes empties it and opens it.
    f.messenger.answer = true;
    {
        DialogAnswerer answers({"stary.en"});
        frm.Vytvoitnov1Click();
        QCOMPARE(answers.remaining(), 0);
    }
    QCOMPARE(QFileInfo(stary).size(), 0);
    QCOMPARE(app->test().DictionaryPath, stary);
    QCOMPARE(rowCount(frm.lbLekce), 0);

    // A file that cannot be created: a message naming it, nothing else changes.
    {
        DialogAnswerer back({opened});
        frm.Otevt1Click();
        QCOMPARE(back.remaining(), 0);
    }
    QCOMPARE(rowCount(frm.lbLekce), lessons);
    fillLists(*app);
    const QByteArray settingsBefore = readFile(f.path("lexitka.ini"));
    f.messenger.messages.clear();
    const QString blocked = f.path("soubor/novy.en");
    writeFile(f.path("soubor"), "not a folder");
    {
        DialogAnswerer answers({blocked});
        frm.Vytvoitnov1Click();
        QCOMPARE(answers.remaining(), 0);
    }
    QCOMPARE(f.messenger.messages.size(), 1);
    QCOMPARE(f.messenger.messages[0].kind, QStringLiteral("error"));
    QVERIFY(f.messenger.messages[0].text.contains(QDir::toNativeSeparators(blocked)));
    QCOMPARE(app->test().DictionaryPath, opened);
    QCOMPARE(rowCount(frm.lbLekce), lessons);
    QCOMPARE(app->test().WordPool.size(), 2);
    QCOMPARE(readFile(f.path("lexitka.ini")), settingsBefore);
}

void TestDictionaryMenu::openDictionary()
{
    Fixture f;
    const QString slovniky = f.path("Slovniky");
    QDir().mkpath(slovniky);
    const QString russian = slovniky + "/rustina.ru";
    copySample("Slovniky/rustina.ru", russian);
    copySample("data.en", f.path("data.en"));
    auto app = f.makeApp();
    TfrmMain &frm = app->frmMain();
    setTicks(frm, {false, true});
    fillLists(*app);

    // Cancel: the ticks are not stored and the lists stay.
    {
        DialogAnswerer answers({DialogAnswerer::cancel()});
        frm.Otevt1->trigger(); // the menu item runs the command
        QCOMPARE(answers.remaining(), 0);
        const DialogAnswerer::Seen &seen = answers.seen.at(0);
        QCOMPARE(seen.objectName, QStringLiteral("dlgOpen"));
        QCOMPARE(seen.fileName, QStringLiteral("data.en"));
        QCOMPARE(seen.filter, QStringLiteral("Slovniky"));
        QCOMPARE(seen.defaultSuffix, QStringLiteral("en"));
    }
    QVERIFY(!QFileInfo::exists(f.path("lexitka.ini")));
    QCOMPARE(app->test().DictionaryPath, f.path("data.en"));
    QCOMPARE(app->test().WordPool.size(), 2);
    QCOMPARE(app->test().ErrorList.size(), 1);
    QCOMPARE(ticks(frm), (QList<bool>{false, true}));

    {
        DialogAnswerer answers({russian});
        frm.Otevt1Click();
        QCOMPARE(answers.remaining(), 0);
    }
    QCOMPARE(app->test().DictionaryPath, russian);
    QCOMPARE(app->test().LanguageCode, int(LangRussian));
    QVERIFY(rowCount(frm.lbLekce) > 0);
    const ProfileFile settings(f.path("lexitka.ini"));
    QCOMPARE(settings.readBool("en", "0", true), false);
    QCOMPARE(settings.readBool("en", "1", false), true);
    QCOMPARE(ticks(frm), (QList<bool>{true, false}));
    checkDrawsOnlyFrom(*app, russian);

    // A name that does not exist: an empty dictionary, no message, no file.
    fillLists(*app);
    {
        DialogAnswerer answers({"neni"});
        frm.Otevt1Click();
        QCOMPARE(answers.remaining(), 0);
        QCOMPARE(answers.seen.at(0).fileName, QStringLiteral("rustina.ru"));
    }
    QCOMPARE(app->test().DictionaryPath, slovniky + "/neni.en");
    QCOMPARE(app->test().LanguageCode, int(LangEnglish));
    QCOMPARE(rowCount(frm.lbLekce), 0);
    QVERIFY(!QFileInfo::exists(slovniky + "/neni.en"));
    QVERIFY(f.messenger.messages.isEmpty());
    checkDrawsOnlyFrom(*app, slovniky + "/neni.en");
}

void TestDictionaryMenu::exportDictionary()
{
    Fixture f;
    QTemporaryDir other;
    const QString slovniky = f.path("Slovniky");
    QDir().mkpath(slovniky);
    const QString german = slovniky + "/nemcina.de";
    copySample("Slovniky/nemcina.de", german);
    const QByteArray bytes = readFile(german);
    auto app = f.makeApp(german);
    TfrmMain &frm = app->frmMain();
    const int lessons = rowCount(frm.lbLekce);
    fillLists(*app);

    // Into its own place, under its own name: nothing happens, nothing is asked.
    {
        DialogAnswerer answers({"nemcina.de"});
        frm.Uloitjako1Click();
        QCOMPARE(answers.remaining(), 0);
        QCOMPARE(answers.seen.at(0).objectName, QStringLiteral("dlgSave"));
        QCOMPARE(answers.seen.at(0).fileName, QStringLiteral("nemcina.de"));
        QCOMPARE(answers.seen.at(0).directory, QDir(slovniky).absolutePath());
    }
    QVERIFY(f.messenger.messages.isEmpty());
    QCOMPARE(readFile(german), bytes);
    QCOMPARE(QDir(slovniky).entryList(QDir::Files), QStringList{"nemcina.de"});

    // Elsewhere: a byte-for-byte copy; the open dictionary stays open.
    const QString copy = other.filePath("kopie.de");
    {
        DialogAnswerer answers({copy});
        frm.Uloitjako1Click();
        QCOMPARE(answers.remaining(), 0);
    }
    QCOMPARE(readFile(copy), bytes);
    QCOMPARE(app->test().DictionaryPath, german);
    QCOMPARE(rowCount(frm.lbLekce), lessons);
    QCOMPARE(app->test().WordPool.size(), 2);
    QVERIFY(f.messenger.messages.isEmpty());

    // Over another file: asked first; No keeps it.
    writeFile(copy, "[Jina]\r\n");
    f.messenger.answer = false;
    {
        DialogAnswerer answers({copy, DialogAnswerer::cancel()});
        frm.Uloitjako1Click();
        QCOMPARE(answers.remaining(), 0);
    }
    QCOMPARE(f.messenger.messages.size(), 1);
    QCOMPARE(f.messenger.messages[0].kind, QStringLiteral("question"));
    QCOMPARE(readFile(copy), QByteArray("[Jina]\r\n"));
    f.messenger.answer = true;
    {
        DialogAnswerer answers({copy});
        frm.Uloitjako1Click();
        QCOMPARE(answers.remaining(), 0);
    }
    QCOMPARE(readFile(copy), bytes);

    // A copy that fails is reported with both names.
    f.messenger.messages.clear();
    writeFile(other.filePath("soubor"), "not a folder");
    const QString blocked = other.filePath("soubor/x.de");
    {
        DialogAnswerer answers({blocked});
        frm.Uloitjako1Click();
        QCOMPARE(answers.remaining(), 0);
    }
    QCOMPARE(f.messenger.messages.size(), 1);
    QCOMPARE(f.messenger.messages[0].kind, QStringLiteral("error"));
    QVERIFY(f.messenger.messages[0].text.contains(QDir::toNativeSeparators(german)));
    QVERIFY(f.messenger.messages[0].text.contains(QDir::toNativeSeparators(blocked)));
    QCOMPARE(app->test().DictionaryPath, german);
}

void TestDictionaryMenu::importDictionary()
{
    Fixture f;
    QTemporaryDir other;
    const QString slovniky = f.path("Slovniky");
    copySample("data.en", f.path("data.en"));
    auto app = f.makeApp();
    TfrmMain &frm = app->frmMain();
    setTicks(frm, {false, true});
    fillLists(*app);

    // The dictionary folder does not exist yet: it is made.
    const QString source = other.filePath("nemcina.de");
    copySample("Slovniky/nemcina.de", source);
    {
        DialogAnswerer answers({source});
        frm.Import1Click();
        QCOMPARE(answers.remaining(), 0);
        QCOMPARE(answers.seen.at(0).objectName, QStringLiteral("dlgOpen"));
    }
    const QString target = slovniky + "/nemcina.de";
    QCOMPARE(readFile(target), readFile(source));
    QCOMPARE(app->test().DictionaryPath, target);
    QCOMPARE(app->test().LanguageCode, int(LangGerman));
    QCOMPARE(ProfileFile(f.path("lexitka.ini")).readBool("en", "1", false), true);
    checkDrawsOnlyFrom(*app, target);

    // A file of the same name from elsewhere: asked first; No brings the
    // dialog back, Yes replaces the dictionary and opens it.
    QTemporaryDir third;
    const QString replacement = third.filePath("nemcina.de");
    writeFile(replacement, cz(QStringLiteral("[Nová lekce]\r\n0=0\\Tisch\\Tische\\stůl\r\n")));
    fillLists(*app);
    const QByteArray before = readFile(target);
    {
        f.messenger.answer = false;
        DialogAnswerer answers({replacement, DialogAnswerer::cancel()});
        frm.Import1Click();
        QCOMPARE(answers.remaining(), 0);
    }
    QCOMPARE(f.messenger.texts(),
             QStringList{QStringLiteral("Soubor %1 již existuje. Přepsat ?").arg(QDir::toNativeSeparators(target))});
    QCOMPARE(readFile(target), before);
    f.messenger.answer = true;
    f.messenger.messages.clear();
    {
        DialogAnswerer answers({replacement});
        frm.Import1Click();
        QCOMPARE(answers.remaining(), 0);
        QCOMPARE(answers.seen.at(0).fileName, QStringLiteral("nemcina.de"));
    }
    QCOMPARE(f.messenger.messages.size(), 1);
    f.messenger.messages.clear();
    QCOMPARE(readFile(target), readFile(replacement));
    QCOMPARE(app->test().DictionaryPath, target);
    QCOMPARE(frm.lessonNames(), QList<QByteArray>{cz(QStringLiteral("Nová lekce"))});
    checkDrawsOnlyFrom(*app, target);

    // The target itself: nothing to copy, it is simply opened.
    fillLists(*app);
    {
        DialogAnswerer answers({target});
        frm.Import1Click();
        QCOMPARE(answers.remaining(), 0);
    }
    QVERIFY(f.messenger.messages.isEmpty());
    QCOMPARE(readFile(target), readFile(replacement));
    checkDrawsOnlyFrom(*app, target);

    // A name in the dictionary folder that does not exist: opened without lessons.
    {
        DialogAnswerer answers({"prazdny.fr"});
        frm.Import1Click();
        QCOMPARE(answers.remaining(), 0);
    }
    QVERIFY(f.messenger.messages.isEmpty());
    QCOMPARE(app->test().DictionaryPath, slovniky + "/prazdny.fr");
    QCOMPARE(app->test().LanguageCode, int(LangFrench));
    QCOMPARE(rowCount(frm.lbLekce), 0);
    QVERIFY(!QFileInfo::exists(slovniky + "/prazdny.fr"));
    {
        DialogAnswerer back({target});
        frm.Otevt1Click();
        QCOMPARE(back.remaining(), 0);
    }

    // A copy that fails names both files and leaves the open dictionary open.
    QDir().mkpath(slovniky + "/vadny.en"); // a folder where the copy should go
    const QString bad = other.filePath("vadny.en");
    writeFile(bad, "[L]\r\n0=a\\b\r\n");
    fillLists(*app);
    const QByteArray settingsBefore = readFile(f.path("lexitka.ini"));
    {
        DialogAnswerer answers({bad});
        frm.Import1Click();
        QCOMPARE(answers.remaining(), 0);
    }
    QCOMPARE(f.messenger.messages.size(), 1);
    QCOMPARE(f.messenger.messages[0].kind, QStringLiteral("error"));
    QVERIFY(f.messenger.messages[0].text.contains(QDir::toNativeSeparators(bad)));
    QVERIFY(f.messenger.messages[0].text.contains(QDir::toNativeSeparators(slovniky + "/vadny.en")));
    QCOMPARE(app->test().DictionaryPath, target);
    QCOMPARE(app->test().WordPool.size(), 2);
    QCOMPARE(readFile(f.path("lexitka.ini")), settingsBefore);
}

void TestDictionaryMenu::copyHelpers()
{
    QTemporaryDir dir;
    const QString source = dir.filePath("a.en");
    const QString target = dir.filePath("b.en");
    const QByteArray bytes("[L\x9a]\r\n0=x\\\xe8\r\n\r\n", 16);
    writeFile(source, bytes);
    writeFile(target, "old");

    // A failed copy keeps the old target.
    QVERIFY(!copyFileReplacing(dir.filePath("missing.en"), target));
    QCOMPARE(readFile(target), QByteArray("old"));
    QVERIFY(!copyFileReplacing(dir.path(), target));
    QCOMPARE(readFile(target), QByteArray("old"));
    QDir().mkpath(dir.filePath("sub.en"));
    QVERIFY(!copyFileReplacing(source, dir.filePath("sub.en")));

    QVERIFY(copyFileReplacing(source, target));
    QCOMPARE(readFile(target), bytes);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), (QStringList{"a.en", "b.en"}));

    QVERIFY(isSameFile(source, dir.filePath("sub.en/../a.en")));
    QVERIFY(!isSameFile(source, target));
    QVERIFY(isSameFile(dir.filePath("missing.en"), dir.filePath("sub.en/../missing.en")));
    QVERIFY(!isSameFile(dir.filePath("missing.en"), dir.filePath("missing.de")));
    QVERIFY(!isSameFile(source, dir.filePath("missing.en")));
}

void TestDictionaryMenu::utf8DictionariesOnOpening()
{
    Fixture f;
    const QString slovniky = f.path("Slovniky");
    QDir().mkpath(slovniky);
    const QByteArray german = readFile(sample("Slovniky/nemcina.de"));
    const QString path = slovniky + "/nemcina.de";
    writeFile(path, dictionaryInUtf8(german, LangGerman));
    // The last dictionary of the settings is asked about too; No opens it as it is.
    writeFile(f.path("lexitka.ini"), "[Slovnik]\r\nFile=" + path.toLocal8Bit() + "\r\n");
    f.messenger.answer = false;
    auto app = f.makeApp();
    TfrmMain &frm = app->frmMain();
    QCOMPARE(f.messenger.messages.size(), 1);
    QCOMPARE(readFile(path), dictionaryInUtf8(german, LangGerman));
    QCOMPARE(frm.lessonNames(), IniDocument::fromFile(path).sectionNames());

    // Otevřít, Yes: the lessons as they should read.
    f.messenger.answer = true;
    {
        DialogAnswerer answers({path});
        frm.Otevt1Click();
    }
    QCOMPARE(readFile(path), german);
    QCOMPARE(frm.lessonNames(), IniDocument::fromBytes(german).sectionNames());

    // Import converts the copy in the dictionary folder, in the language of
    // its name; the file chosen stays as it was. Nový has nothing to convert.
    QTemporaryDir other;
    const QByteArray russian = readFile(sample("Slovniky/rustina.ru"));
    const QString source = other.filePath("rustina.ru");
    writeFile(source, dictionaryInUtf8(russian, LangRussian));
    {
        DialogAnswerer answers({source, "prazdny.en"});
        frm.Import1Click();
        QCOMPARE(readFile(slovniky + "/rustina.ru"), russian);
        frm.Vytvoitnov1Click();
    }
    QCOMPARE(f.messenger.messages.size(), 3);
    QCOMPARE(readFile(source), dictionaryInUtf8(russian, LangRussian));
    QCOMPARE(QDir(slovniky).entryList(QDir::Files),
             (QStringList{"nemcina.de", "nemcina.de.utf8", "prazdny.en", "rustina.ru", "rustina.ru.utf8"}));
}

void TestDictionaryMenu::keyboardReachesTheMenu()
{
    Fixture f;
    copySample("data.en", f.path("data.en"));
    auto app = f.makeApp();
    TfrmMain &frm = app->frmMain();
    app->show();
    QMenu *menu = frm.Slovnik1;
    // Keys reach the shortcuts of the active window only; without a window
    // manager a closed dialog does not hand the activation back by itself.
    auto activate = [&] {
        frm.activateWindow();
        return QTest::qWaitFor([&] { return QApplication::activeWindow() == &frm; });
    };
    // How often each item ran on a key; each opens its dialog, cancelled at once.
    auto ran = [&](QWidget *target, Qt::Key key, Qt::KeyboardModifiers modifiers = {}) {
        std::vector<std::unique_ptr<QSignalSpy>> spies;
        for (QAction *a : {frm.Vytvoitnov1, frm.Otevt1, frm.Uloitjako1, frm.Import1})
            spies.push_back(std::make_unique<QSignalSpy>(a, &QAction::triggered));
        DialogAnswerer answers({DialogAnswerer::cancel()});
        QTest::keyClick(target, key, modifiers);
        QString counts;
        for (const auto &spy : spies)
            counts += QString::number(spy->count());
        return answers.remaining() == 0 && answers.unexpected == 0 ? counts : counts + QStringLiteral(" no dialog");
    };

    // The usual shortcuts, from the window itself.
    QVERIFY(activate());
    QCOMPARE(ran(&frm, Qt::Key_N, Qt::ControlModifier), QStringLiteral("1000"));
    QVERIFY(activate());
    QCOMPARE(ran(&frm, Qt::Key_O, Qt::ControlModifier), QStringLiteral("0100"));

    // Alt+S opens the menu, and there each item's letter runs it.
    const std::pair<Qt::Key, const char *> letters[] = {
        {Qt::Key_N, "1000"}, {Qt::Key_O, "0100"}, {Qt::Key_E, "0010"}, {Qt::Key_I, "0001"}};
    for (const auto &[letter, counts] : letters) {
        QVERIFY(activate());
        QTest::keyClick(&frm, Qt::Key_S, Qt::AltModifier);
        QTRY_VERIFY(menu->isVisible());
        QCOMPARE(ran(menu, letter), QString::fromLatin1(counts));
        QTRY_VERIFY(!menu->isVisible());
    }
    // Esc closes it again without running anything.
    QVERIFY(activate());
    QTest::keyClick(&frm, Qt::Key_S, Qt::AltModifier);
    QTRY_VERIFY(menu->isVisible());
    QTest::keyClick(menu, Qt::Key_Escape);
    QTRY_VERIFY(!menu->isVisible());
    QCOMPARE(app->test().DictionaryPath, f.path("data.en"));
}

QTEST_MAIN(TestDictionaryMenu)
#include "tst_dictionary_menu.moc"
