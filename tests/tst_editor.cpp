// The lesson browser, the word dialog and the find dialog, driven offscreen
// through the main window's buttons, with the dictionary on disk.
#include "support/fakes.h"
#include "support/modal.h"
#include "support/testdriver.h"
#include "support/writeblocker.h"

#include "app/fmain.h"
#include "editor/ffind.h"
#include "editor/fviewedit.h"
#include "editor/fword.h"
#include "editor/lessonmodel.h"
#include "editor/lessonnames.h"
#include "editor/lessonprint.h"
#include "editor/rtfwriter.h"
#include "editor/fimport.h"
#include "exchange/kvtml.h"

#include <QApplication>
#include <QCheckBox>
#include <QDragEnterEvent>
#include <QMimeData>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QHeaderView>
#include <QInputDialog>
#include <QLineEdit>
#include <QPrinterInfo>
#include <QListWidget>
#include <QMenu>
#include <QMessageBox>
#include <QRadioButton>
#include <QTableWidget>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QUndoStack>

#include <unistd.h>

using namespace lexitka;
using namespace lexitka::testing;

namespace {

const QByteArray kSobaka = "\xF1\xEE\xE1\xE0\xEA\xE0"; // "собака" in windows-1251

using Answer = std::function<void(QWidget *)>;

struct Editor {
    Fixture f;
    std::unique_ptr<LexitkaApp> app;
    QString file;
    // Answers for the windows that open over the browser, in turn.
    QList<Answer> answers;

    Editor(const QString &name, const QByteArray &dictionary, const QByteArray &mistakes = {}) : file(name)
    {
        f.keyboard.list = QList<KeyboardLayout>{{kCzechLayout, QStringLiteral("Czech")},
                                                {kEnglishLayout, QStringLiteral("English (United States)")}};
        f.keyboard.current = kCzechLayout; // the user's own
        QDir().mkpath(QFileInfo(f.path(name)).path());
        writeFile(f.path(name), dictionary);
        if (!mistakes.isEmpty())
            writeFile(mistakesPath(), mistakes);
        app = f.makeApp(f.path(name));
    }
    TfrmMain &main() { return app->frmMain(); }
    TfrmViewEdt &view() { return app->frmViewEdt(); }
    TfrmWord &word() { return app->frmWord(); }
    TfrmFind &find() { return app->frmFind(); }
    QString mistakesPath() const
    {
        return f.path(QStringLiteral("errors.") + QFileInfo(file).suffix() + QStringLiteral("e"));
    }
    QByteArray dictionary() const { return readFile(f.path(file)); }
    QByteArray mistakes() const { return readFile(mistakesPath()); }
    // What the grid shows in a column, row by row.
    QStringList column(int c) const
    {
        QStringList out;
        const LessonModel &m = app->frmViewEdt().model();
        for (int r = 0; r < m.rowCount(); ++r)
            out.append(m.index(r, c).data().toString());
        return out;
    }
    QString lesson() { return view().cmbLekce->currentText(); }

    // Opens the browser with `opener`, runs `script` in it and closes it.
    bool run(QPushButton *opener, const std::function<void()> &script)
    {
        bool started = false;
        ModalDriver driver([&](QWidget *modal) {
            if (!modal)
                return;
            if (modal == &view()) {
                if (!started) {
                    started = true;
                    driver.post([&] {
                        script();
                        if (view().isVisible())
                            view().close();
                    });
                }
            } else if (!answers.isEmpty()) {
                driver.post([answer = answers.takeFirst(), modal] { answer(modal); });
            }
        });
        QTest::mouseClick(opener, Qt::LeftButton);
        return !driver.timedOut() && answers.isEmpty();
    }
    bool run(const std::function<void()> &script) { return run(main().btnView, script); }
};

// Fills the word dialog, typing each text key by key into its emptied
// field, and presses "OK" (or "Storno").
Answer typeWord(Editor &e, int article, const QString &slovo, const QString &mn, const QString &preklad, bool ok = true)
{
    return [&e, article, slovo, mn, preklad, ok](QWidget *modal) {
        TfrmWord &w = e.word();
        QCOMPARE(modal, &w);
        if (article >= 0)
            w.cmbclen->setCurrentIndex(article);
        for (auto [field, text] : {std::pair{w.edtSlovo, slovo}, {w.edtMn, mn}, {w.edtPreklad, preklad}}) {
            if (!field->isEnabled())
                continue;
            field->clear();
            typeText(field, text);
        }
        QTest::mouseClick(ok ? w.Button1 : w.Button2, Qt::LeftButton);
    };
}

// Types a path into a file dialog and accepts it; an empty path cancels.
Answer chooseInDialog(const QString &path)
{
    return [path](QWidget *modal) {
        auto *dlg = qobject_cast<QFileDialog *>(modal);
        QVERIFY(dlg);
        QCOMPARE(dlg->objectName(), QStringLiteral("SaveDlg"));
        QCOMPARE(dlg->defaultSuffix(), QStringLiteral("rtf"));
        if (path.isEmpty()) {
            dlg->reject();
            return;
        }
        auto *name = dlg->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
        QVERIFY(name);
        name->setText(path);
        static_cast<QDialog *>(dlg)->accept(); // QFileDialog's own checks run
    };
}

// Accepts a file dialog of the given name with a typed path.
Answer fileInDialog(const char *name, const QString &path)
{
    return [name, path](QWidget *modal) {
        auto *dlg = qobject_cast<QFileDialog *>(modal);
        QVERIFY(dlg);
        QCOMPARE(dlg->objectName(), QString::fromLatin1(name));
        auto *edit = dlg->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
        QVERIFY(edit);
        edit->setText(path);
        static_cast<QDialog *>(dlg)->accept();
    };
}

Answer nameLesson(const QString &name)
{
    return [name](QWidget *modal) {
        auto *box = qobject_cast<QInputDialog *>(modal);
        QVERIFY(box);
        QCOMPARE(box->windowTitle(), QStringLiteral("Nová lekce"));
        QCOMPARE(box->labelText(), QStringLiteral("Zadejte jméno nové lekce"));
        box->setTextValue(name);
        box->accept();
    };
}

// A shortcut acts in the active window only; after a dialog has closed the
// offscreen platform does not give the activation back by itself.
void shortcut(QWidget *target, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::ControlModifier)
{
    QWidget *window = target->window();
    if (QApplication::activeWindow() != window) {
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window));
    }
    QTest::keyClick(target, key, modifiers);
}

const QByteArray kGerman = cz("[Tiere]\r\n"
                              "0=0\\Hund\\Hunde\\pes\r\n"
                              "1=1\\Katze\\Katzen\\kočka\r\n"
                              "2=2\\Pferd\\Pferde\\kůň\r\n"
                              "; a comment\r\n"
                              "3 = 3\\sehen\\sieht,sah,h gesehen\\vidět\r\n"
                              "\r\n"
                              "[Leer]\r\n"
                              "[Dům]\r\n"
                              "5=2\\Haus\\Häuser\\dům\r\n"
                              "5=x\\Tür\\Türen\\dveře\r\n");
const QByteArray kGermanMistakes = cz("0\\1=1\\Katze\\Katzen\\kočka\r\n1\\0=0\\Hund\\Hunde\\pes\r\n");

} // namespace

class TestEditor : public QObject {
    Q_OBJECT
private slots:
    void opensAndShows();
    void rowsByLanguage_data();
    void rowsByLanguage();
    void savingOrNot();
    void refusals();
    void wordLines();
    void typingAids();
    void typingWithoutSwitch();
    void findDialog();
    void failedSaveKeepsOldFiles();
    void undoRedo();
    void printingAndExport();
    void utf8QuestionOnlyWhenOpened();
    void importOneUndoStep();
    void importWindowChoices();
    void exportAndBack();
    void unstorableCharacters();
    void renameAndMenu();
    void spreadsheetGrid();
    void dropsAndCounts();
    void russianWordList();
    void saveQuestionBox();
};

void TestEditor::opensAndShows()
{
    Editor e(QStringLiteral("lekce.de"), kGerman, kGermanMistakes);
    TfrmViewEdt &v = e.view();
    QVERIFY(e.run([&] {
        QCOMPARE(v.windowTitle(), QStringLiteral("Prohlížet / Editovat"));
        QCOMPARE(v.size(), QSize(764, 513));
        QCOMPARE(v.Panel1->height(), 48);
        QCOMPARE(v.cmbLekce->width(), 97);
        QStringList captions;
        for (QPushButton *b : {v.Button1, v.Button2, v.Button3, v.Button4, v.Button5, v.Button6, v.btnFind})
            captions.append(b->text());
        QCOMPARE(captions, (QStringList{"Tisk", "Přidat lekci", "Přidat slovíčko", "Editovat slovíčko",
                                        "Smazat slovíčko", "Smazat lekci", "Hledat"}));
        QStringList titles;
        QList<int> widths;
        for (int c = 0; c < 4; ++c) {
            titles.append(v.model().headerData(c, Qt::Horizontal).toString());
            widths.append(v.sgList->columnWidth(c));
        }
        QCOMPARE(titles, (QStringList{"Člen", "Slovo", "Množné číslo (minulý čas)", "Překlad"}));
        QCOMPARE(widths, (QList<int>{50, 182, 184, 282}));
        QCOMPARE(v.sgList->verticalHeader()->defaultSectionSize(), 15);
        QVERIFY(!v.sgList->showGrid());
        QCOMPARE(v.sgList->selectionBehavior(), QAbstractItemView::SelectRows);
        // Cells are edited in place by F2 or typing; a double click opens the word dialog.
        QCOMPARE(v.sgList->editTriggers(), QAbstractItemView::EditKeyPressed | QAbstractItemView::AnyKeyPressed);
        QCOMPARE(v.sgList->selectionMode(), QAbstractItemView::ExtendedSelection);

        // Nothing highlighted in the main window: the first lesson.
        QStringList lessons;
        for (int i = 0; i < v.cmbLekce->count(); ++i)
            lessons.append(v.cmbLekce->itemText(i));
        QCOMPARE(lessons, (QStringList{"Tiere", "Leer", "Dům", "Chyby"}));
        QCOMPARE(e.lesson(), QStringLiteral("Tiere"));
        QCOMPARE(e.column(0), (QStringList{"der", "die", "das", ""}));
        QCOMPARE(e.column(1), (QStringList{"Hund", "Katze", "Pferd", "sehen"}));
        QCOMPARE(e.column(2), (QStringList{"Hunde", "Katzen", "Pferde", "sieht,sah,h gesehen"}));
        QCOMPARE(e.column(3), (QStringList{"pes", "kočka", "kůň", "vidět"}));
        QCOMPARE(v.SelectedRow, 1);

        // An empty lesson shows the header alone; delete does nothing there.
        v.cmbLekce->setCurrentIndex(1);
        v.cmbLekceChange();
        QCOMPARE(v.model().rowCount(), 0);
        QCOMPARE(v.SelectedRow, 0);
        QTest::keyClick(v.cmbLekce, Qt::Key_Delete);
        QVERIFY(!v.EditorChanged);
    }));

    // The highlighted lesson, and both lines of a repeated key with an
    // article code that is no number.
    e.main().lbLekce->setCurrentIndex(e.main().lbLekce->model()->index(2, 0));
    QVERIFY(e.run([&] {
        QCOMPARE(e.lesson(), QStringLiteral("Dům"));
        QCOMPARE(e.column(1), (QStringList{"Haus", "Tür"}));
        QCOMPARE(e.column(0), (QStringList{"das", "není"}));
    }));

    // "Zobraz moje chyby": the mistakes without kind and key.
    QVERIFY(e.run(e.main().btnShowErrors, [&] {
        QCOMPARE(e.lesson(), QStringLiteral("Chyby"));
        QCOMPARE(v.cmbLekce->currentIndex(), v.cmbLekce->count() - 1);
        QCOMPARE(e.column(1), (QStringList{"Katze", "Hund"}));
        QCOMPARE(e.column(3), (QStringList{"kočka", "pes"}));
    }));
    QVERIFY(!v.ShowErrorsOnOpen);
    QCOMPARE(e.f.messenger.messages.size(), 0);
}

void TestEditor::rowsByLanguage_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<QStringList>("cells");
    QTest::addColumn<QColor>("colour");
    QTest::addColumn<int>("wordCodePage");
    const QColor navy(0, 0, 128), maroon(128, 0, 0), green(0, 128, 0), black(0, 0, 0);
    const int w1250 = int(CodePage::Cp1250), w1252 = int(CodePage::Cp1252);
    QTest::newRow("German der") << "a.de" << cz("0=0\\Hund\\Hunde\\pes") << QStringList{"der", "Hund", "Hunde", "pes"}
                                << navy << w1250;
    QTest::newRow("German code 3") << "a.de" << cz("0=3\\gehen\\geht,ging,i gegangen\\jít")
                                   << QStringList{"", "gehen", "geht,ging,i gegangen", "jít"} << black << w1250;
    QTest::newRow("French la") << "a.fr" << (QByteArray("0=1\\f") + char(0xEA) + "te\\" + cz("slavnost"))
                               << QStringList{"la", "fête", "", "slavnost"} << maroon << w1252;
    QTest::newRow("French les") << "a.fr" << cz("0=2\\gens\\lidé") << QStringList{"les", "gens", "", "lidé"} << green
                                << w1252;
    QTest::newRow("Spanish la") << "a.es" << cz("0=1\\mesa\\stůl") << QStringList{"la", "mesa", "", "stůl"} << maroon
                                << w1252;
    QTest::newRow("Spanish las") << "a.es" << (QByteArray("0=4\\ni") + char(0xF1) + "as\\" + cz("dívky"))
                                 << QStringList{"las", "niñas", "", "dívky"} << green << w1252;
    QTest::newRow("French code 4") << "a.fr" << QByteArray("0=4\\x\\y") << QStringList{"není", "x", "", "y"} << black
                                   << w1252;
    QTest::newRow("Russian") << "a.ru" << ("0=" + kSobaka + "\\pes") << QStringList{"", "собака", "", "pes"} << black
                             << int(CodePage::Cp1251);
}

void TestEditor::rowsByLanguage()
{
    QFETCH(QString, file);
    QFETCH(QByteArray, line);
    QFETCH(QStringList, cells);
    QFETCH(QColor, colour);
    QFETCH(int, wordCodePage);
    Editor e(file, "[L]\r\n" + line + "\r\n");
    QVERIFY(e.run([&] {
        const LessonModel &m = e.view().model();
        QCOMPARE(m.rowCount(), 1);
        for (int c = 0; c < 4; ++c) {
            const QModelIndex cell = m.index(0, c);
            QCOMPARE(cell.data().toString(), cells[c]);
            // One colour for the whole row, white while selected.
            QCOMPARE(LessonDelegate::textColour(cell, false), colour);
            QCOMPARE(LessonDelegate::textColour(cell, true), QColor(255, 255, 255));
            QCOMPARE(cell.data(LessonModel::CodePageRole).toInt(), c == 1 ? wordCodePage : int(CodePage::Cp1250));
        }
    }));
}

void TestEditor::savingOrNot()
{
    Editor e(QStringLiteral("lekce.de"), kGerman, kGermanMistakes);
    TfrmViewEdt &v = e.view();
    TfrmMain &m = e.main();

    // Looking only: no question, nothing written.
    QVERIFY(e.run([] {}));
    QVERIFY(e.f.messenger.messages.isEmpty());

    // Changes, then "No": nothing written, the main window reloads all the same.
    setTicked(m.lbLekce, 0, true);
    e.f.messenger.answer = false;
    QVERIFY(e.run([&] {
        QTest::keyClick(v.cmbLekce, Qt::Key_Delete); // also with the combo focused
        QCOMPARE(e.column(1), (QStringList{"Katze", "Pferd", "sehen"}));
        QVERIFY(v.EditorChanged);
    }));
    QCOMPARE(e.f.messenger.messages.size(), 1);
    QCOMPARE(e.f.messenger.messages[0].text, QStringLiteral("Uložit změny ?"));
    QCOMPARE(e.f.messenger.messages[0].caption, QStringLiteral("Dotaz"));
    QVERIFY(e.f.messenger.messages[0].byDefault == Messenger::Default::Yes); // Enter keeps the edits
    QCOMPARE(e.dictionary(), kGerman);
    QCOMPARE(e.mistakes(), kGermanMistakes);
    QCOMPARE(m.lessonTicks(), (QList<bool>{false, false, false}));
    QVERIFY(!v.EditorChanged);

    // "Yes": the whole dictionary normalised, the mistakes rewritten.
    e.f.messenger.answer = true;
    e.answers = {nameLesson(QStringLiteral("Nová")),
                 typeWord(e, 0, QStringLiteral("Vogel"), QStringLiteral("Vögel"), QStringLiteral("pták"))};
    QVERIFY(e.run([&] {
        v.Button5Click();               // the first word of "Tiere"
        v.cmbLekce->setCurrentIndex(1); // "Leer", and it goes
        v.cmbLekceChange();
        v.Button6Click();
        QCOMPARE(e.lesson(), QStringLiteral("Tiere")); // the first entry after a deletion
        v.Button2Click();
        QCOMPARE(e.lesson(), QStringLiteral("Nová"));
        QCOMPARE(v.model().rowCount(), 0);
        QTest::keyClick(v.sgList, Qt::Key_Insert);
        QCOMPARE(e.column(1), QStringList{"Vogel"});
        v.cmbLekce->setCurrentIndex(v.cmbLekce->count() - 1);
        v.cmbLekceChange();
        v.Button5Click();
    }));
    QCOMPARE(e.dictionary(), cz("[Tiere]\r\n"
                                "0=1\\Katze\\Katzen\\kočka\r\n"
                                "1=2\\Pferd\\Pferde\\kůň\r\n"
                                "2=3\\sehen\\sieht,sah,h gesehen\\vidět\r\n"
                                "\r\n"
                                "[Dům]\r\n"
                                "0=2\\Haus\\Häuser\\dům\r\n"
                                "1=x\\Tür\\Türen\\dveře\r\n"
                                "\r\n"
                                "[Nová]\r\n"
                                "0=0\\Vogel\\Vögel\\pták\r\n"
                                "\r\n"));
    QCOMPARE(e.mistakes(), cz("1\\0=0\\Hund\\Hunde\\pes\r\n"));
    QCOMPARE(m.lessonNames(), (QList<QByteArray>{"Tiere", cz("Dům"), cz("Nová")}));
    QCOMPARE(e.f.messenger.texts().filter(QStringLiteral("Opravdu smazat ?")).size(), 1);

    // An added lesson left empty is not written; without mistakes no file
    // is created for them.
    Editor plain(QStringLiteral("a.en"), "[A]\r\n0=a\\b\r\n");
    plain.answers = {nameLesson(QStringLiteral("Prázdná"))};
    QVERIFY(plain.run([&] { plain.view().Button2Click(); }));
    QCOMPARE(plain.dictionary(), QByteArray("[A]\r\n0=a\\b\r\n\r\n"));
    QVERIFY(!QFileInfo::exists(plain.mistakesPath()));
}

void TestEditor::refusals()
{
    Editor e(QStringLiteral("lekce.de"), kGerman, kGermanMistakes);
    TfrmViewEdt &v = e.view();
    TfrmWord &w = e.word();
    RecordingMessenger &msg = e.f.messenger;
    QString typedBack;
    e.answers = {nameLesson(QString()), nameLesson(QStringLiteral("a]b")), nameLesson(QStringLiteral(" tiere ")),
                 [&](QWidget *modal) {
                     // The box comes back with what was typed.
                     typedBack = static_cast<QInputDialog *>(modal)->textValue();
                     static_cast<QInputDialog *>(modal)->reject();
                 },
                 // A "\" keeps the dialog open with the text as typed.
                 typeWord(e, 0, QStringLiteral("Hu\\nd"), QString(), QStringLiteral("pes")),
                 [&](QWidget *modal) {
                     QCOMPARE(modal, &w);
                     QCOMPARE(w.edtSlovo->text(), QStringLiteral("Hu\\nd"));
                     QTest::mouseClick(w.Button2, Qt::LeftButton);
                 },
                 // Editing a word whose article code has no item: "není", and "3" back.
                 [&](QWidget *) {
                     QCOMPARE(w.cmbclen->currentText(), QStringLiteral("není"));
                     QTest::keyClick(&w, Qt::Key_Escape); // no key closes it
                     QVERIFY(w.isVisible());
                     w.close(); // the close box does not confirm
                 },
                 [&](QWidget *) {
                     QCOMPARE(w.cmbclen->currentIndex(), 3);
                     QTest::mouseClick(w.Button1, Qt::LeftButton);
                 }};
    QVERIFY(e.run([&] {
        v.Button2Click(); // asks again after each refusal
        QCOMPARE(v.cmbLekce->count(), 4);
        v.Button3Click();
        QVERIFY(!v.EditorChanged);

        v.cmbLekce->setCurrentIndex(2);
        v.cmbLekceChange();
        v.sgList->selectRow(1);
        v.Button4Click(); // "x" as the code, closed without "OK"
        QVERIFY(!v.EditorChanged);
        QCOMPARE(v.WordLists.lines(2).at(1), cz("5=x\\Tür\\Türen\\dveře"));
        v.Button4Click();
        QCOMPARE(v.WordLists.lines(2).at(1), cz("2=3\\Tür\\Türen\\dveře"));
        QVERIFY(v.EditorChanged);

        v.cmbLekce->setCurrentIndex(3);
        v.cmbLekceChange();
        v.Button6Click(); // the mistakes are no lesson
        v.Button3Click();
        QTest::keyClick(v.sgList, Qt::Key_Insert);
        QCOMPARE(v.cmbLekce->count(), 4);
        QCOMPARE(v.cmbLekce->itemText(3), QStringLiteral("Chyby"));
        v.undoStack()->undo(); // back to the file: closing asks nothing
        QVERIFY(!v.EditorChanged);
    }));
    QCOMPARE(typedBack, QStringLiteral(" tiere "));
    QCOMPARE(msg.texts(), (QStringList{"Zadejte jméno lekce.", "Jméno lekce nesmí obsahovat znak „]“ ani konec řádku.",
                                       "Lekce „tiere“ už existuje. Zvolte jiné jméno.",
                                       "Slovíčko nesmí obsahovat zpětné lomítko „\\“ ani konec řádku: ve slovníku "
                                       "oddělují části slovíčka.",
                                       "„Chyby“ nelze smazat jako lekci. Jednotlivé chyby smažete tlačítkem "
                                       "„Smazat slovíčko“.",
                                       "Do „Chyby“ nelze přidávat slovíčka. Vyberte lekci.",
                                       "Do „Chyby“ nelze přidávat slovíčka. Vyberte lekci."}));
    QCOMPARE(e.dictionary(), kGerman);
}

void TestEditor::wordLines()
{
    // German: a noun added as the fourth word; the fields as typed.
    Editor de(QStringLiteral("a.de"), cz("[L]\r\n7=0\\a\\b\\c\r\n8=0\\d\\e\\f\r\n9=0\\g\\h\\i\r\n"),
              cz("1\\5=0\\Hund\\Hunde\\pes\r\n"));
    de.answers = {[&](QWidget *) {
                      TfrmWord &w = de.word();
                      QCOMPARE(w.windowTitle(), QStringLiteral("Slovíčko"));
                      QCOMPARE(w.pos(), QPoint(187, 206));
                      QVERIFY(w.cmbclen->isEnabled() && w.edtMn->isEnabled());
                      QCOMPARE(w.cmbclen->currentText(), QStringLiteral("není"));
                      QCOMPARE(w.cmbclen->count(), 4);
                      QCOMPARE(w.focusWidget(), w.cmbclen);
                      QCOMPARE(de.f.keyboard.activated, QList<quintptr>{});
                      w.edtSlovo->setFocus();
                      w.edtPreklad->setFocus();
                      QCOMPARE(de.f.keyboard.activated,
                               (QList<quintptr>{kEnglishLayout, kCzechLayout, kEnglishLayout, kCzechLayout}));
                      typeWord(de, 0, QStringLiteral("Hund"), QStringLiteral("Hunde"), QStringLiteral("pes"))(&w);
                  },
                  // Storno on an edit changes nothing.
                  typeWord(de, 1, QStringLiteral("x"), QStringLiteral("y"), QStringLiteral("z"), false),
                  // A mistake keeps its kind; the key is the number of rows.
                  typeWord(de, 2, QStringLiteral("Hündin"), QString(), QStringLiteral("fena"))};
    QVERIFY(de.run([&] {
        TfrmViewEdt &v = de.view();
        de.f.keyboard.activated.clear();
        v.Button3Click();
        QCOMPARE(v.WordLists.lines(0).last(), QByteArray("3=0\\Hund\\Hunde\\pes"));
        QCOMPARE(v.SelectedRow, 4);
        v.EditorChanged = false;
        v.Button4Click();
        QVERIFY(!v.EditorChanged);
        QCOMPARE(v.WordLists.lines(0).last(), QByteArray("3=0\\Hund\\Hunde\\pes"));
        v.cmbLekce->setCurrentIndex(1);
        v.cmbLekceChange();
        v.Button4Click();
        QCOMPARE(v.WordLists.lines(1), QList<QByteArray>{cz("1\\1=2\\Hündin\\\\fena")});
    }));
    QCOMPARE(de.mistakes(), cz("1\\1=2\\Hündin\\\\fena\r\n"));

    // Spanish: "las" is item 4 and stays so; the row is drawn green.
    Editor es(QStringLiteral("a.es"), cz("[L]\r\n0=4\\mesas\\stoly\r\n"));
    es.answers = {[&](QWidget *) {
        TfrmWord &w = es.word();
        QCOMPARE(w.cmbclen->count(), 5);
        QCOMPARE(w.cmbclen->currentIndex(), 4);
        QCOMPARE(w.cmbclen->currentText(), QStringLiteral("las"));
        QVERIFY(!w.edtMn->isEnabled());
        QTest::mouseClick(w.Button1, Qt::LeftButton);
    }};
    QVERIFY(es.run([&] {
        es.view().Button4Click(); // OK without a change: no step, the line as it was
        QCOMPARE(es.view().undoStack()->count(), 0);
        QCOMPARE(es.view().WordLists.lines(0), QList<QByteArray>{cz("0=4\\mesas\\stoly")});
        QCOMPARE(es.column(0), QStringList{"las"});
        QCOMPARE(es.view().model().index(0, 1).data(Qt::ForegroundRole).value<QColor>(), QColor(0, 128, 0));
    }));

    // English, French, Russian: the fields of the language only.
    const QList<std::tuple<QString, int, QString, QByteArray>> cases = {
        {QStringLiteral("a.en"), -1, QStringLiteral("dog"), cz("0=dog\\pes")},
        {QStringLiteral("a.fr"), 1, QStringLiteral("maison"), cz("0=1\\maison\\pes")},
        {QStringLiteral("a.ru"), -1, QStringLiteral("sobaka"), "0=" + kSobaka + "\\pes"},
    };
    for (const auto &[file, article, typed, line] : cases) {
        Editor x(file, "[L]\r\n");
        x.answers = {typeWord(x, article, typed, QStringLiteral("ignored"), QStringLiteral("pes"))};
        QVERIFY(x.run([&] { x.view().Button3Click(); }));
        QCOMPARE(x.dictionary(), "[L]\r\n" + line + "\r\n\r\n");
    }
}

void TestEditor::typingAids()
{
    Editor e(QStringLiteral("a.fr"), "[L]\r\n");
    TfrmWord &w = e.word();
    auto startWord = [&](WordRecord &word, int language, const Answer &answer) {
        e.answers = {answer};
        ModalDriver driver([&](QWidget *modal) {
            if (modal == &w && !e.answers.isEmpty())
                driver.post([&] { e.answers.takeFirst()(modal); });
        });
        return w.StartWord(word, language);
    };
    auto typed = [&](const QString &keys) {
        w.edtSlovo->clear();
        typeText(w.edtSlovo, keys);
        return w.edtSlovo->text();
    };

    WordRecord word{"3", "pay", {}, "platit"};
    QString opened, french, inMiddle, afterDelete, translation;
    QVERIFY(startWord(word, LangFrench, [&](QWidget *) {
        opened = w.edtSlovo->text(); // a stored "y" is not converted
        w.edtSlovo->setFocus();      // the English layout for the word
        french = typed(QStringLiteral("0 2 z y Z Y 1q"));
        typed(QStringLiteral("ab"));
        w.edtSlovo->setCursorPosition(1);
        typeText(w.edtSlovo, QStringLiteral("0"));
        inMiddle = w.edtSlovo->text() + QString::number(w.edtSlovo->cursorPosition());
        typed(QStringLiteral("zx"));
        QTest::keyClick(w.edtSlovo, Qt::Key_Backspace);
        afterDelete = w.edtSlovo->text();
        typeText(w.edtPreklad, QStringLiteral("0z"));
        translation = w.edtPreklad->text();
        QTest::mouseClick(w.Button1, Qt::LeftButton);
    }));
    QCOMPARE(opened, QStringLiteral("pay"));
    QCOMPARE(french, QStringLiteral("é ê y z Y Z ïq"));
    QCOMPARE(inMiddle, QStringLiteral("aéb2"));
    QCOMPARE(afterDelete, QStringLiteral("y"));
    QCOMPARE(translation, QStringLiteral("platit0z"));
    QCOMPARE(word.Slovo, QByteArray("y"));
    QCOMPARE(word.Clen, QByteArray("3"));

    QString spanish, russian, german;
    QVERIFY(startWord(word, LangSpanish, [&](QWidget *) {
        spanish = typed(QStringLiteral("/5"));
        QTest::mouseClick(w.Button1, Qt::LeftButton);
    }));
    QCOMPARE(spanish, QStringLiteral("¿ñ"));
    QCOMPARE(word.Slovo, QByteArray("\xBF\xF1"));
    QVERIFY(!startWord(word, LangRussian, [&](QWidget *) {
        QVERIFY(!w.cmbclen->isEnabled());
        QCOMPARE(w.focusWidget(), w.edtSlovo);
        russian = typed(QStringLiteral("sobaka"));
        QTest::mouseClick(w.Button2, Qt::LeftButton);
    }));
    QCOMPARE(russian, QStringLiteral("собака"));
    QCOMPARE(word.Slovo, kSobaka); // written back even without "OK"
    QVERIFY(startWord(word, LangGerman, [&](QWidget *) {
        german = typed(QStringLiteral("0zy/5s"));
        QTest::mouseClick(w.Button1, Qt::LeftButton);
    }));
    QCOMPARE(german, QStringLiteral("0zy/5s"));
}

void TestEditor::typingWithoutSwitch()
{
    // A user on the English layout, and one without it: the keys give the
    // letters they are labelled with, so y and z stay; accents still come.
    struct User {
        const char *name;
        std::optional<quintptr> own;
        QList<KeyboardLayout> layouts;
    };
    const QList<User> users{
        {"English of two",
         kEnglishLayout,
         {{kCzechLayout, QStringLiteral("Czech")}, {kEnglishLayout, QStringLiteral("English (US)")}}},
        {"Czech only", kCzechLayout, {{kCzechLayout, QStringLiteral("Czech")}}},
        {"cannot tell",
         std::nullopt,
         {{kCzechLayout, QStringLiteral("Czech")}, {kEnglishLayout, QStringLiteral("English (US)")}}},
    };
    for (const User &user : users) {
        Editor e(QStringLiteral("a.fr"), "[L]\r\n0=0\\zoo\\zoo\r\n");
        e.f.keyboard.list = user.layouts;
        e.f.keyboard.current = user.own;
        e.app->keyboards().findLayouts();
        TfrmWord &w = e.word();
        QString slovo, find;
        e.answers = {[&](QWidget *) {
            w.edtSlovo->setFocus();
            w.edtSlovo->clear();
            typeText(w.edtSlovo, QStringLiteral("zoo yeux 0"));
            slovo = w.edtSlovo->text();
            QTest::mouseClick(w.Button2, Qt::LeftButton);
        }};
        QVERIFY(e.run([&] {
            e.view().Button4Click();
            e.view().btnFindClick();
            QTest::mouseClick(e.find().Button2, Qt::LeftButton);
            typeText(e.find().edtFind, QStringLiteral("zy0"));
            find = e.find().edtFind->text();
        }));
        QVERIFY2(!e.app->keyboards().switchedCzechUserToEnglish(), user.name);
        QCOMPARE(slovo, QStringLiteral("zoo yeux é"));
        QCOMPARE(find, QStringLiteral("zyé"));
        if (user.layouts.size() == 1)
            QCOMPARE(e.f.keyboard.activated, QList<quintptr>{}); // nothing to switch to
    }
}

void TestEditor::findDialog()
{
    Editor e(QStringLiteral("a.en"),
             "[One]\r\n0=Dog\\pes\r\n1=hotdog\\parek\r\n2=dog\\dog\r\n[Empty]\r\n[Two]\r\n0=cat\\kocka\r\n",
             "1\\0=dog\\pes\r\n");
    TfrmViewEdt &v = e.view();
    TfrmFind &f = e.find();
    auto next = [&] {
        QTest::mouseClick(f.btnNext, Qt::LeftButton);
        return e.lesson() + u':' + QString::number(v.SelectedRow);
    };
    QStringList hits;
    QVERIFY(e.run([&] {
        v.btnFindClick();
        QVERIFY(f.isVisible());
        QVERIFY(!f.isModal());
        QVERIFY(f.windowFlags() & Qt::WindowStaysOnTopHint);
        QCOMPARE(f.windowTitle(), QStringLiteral("Hledat"));
        QVERIFY(f.Button1->font().bold() && !f.Button2->font().bold());
        QCOMPARE(next(), QStringLiteral("One:1")); // empty text: nothing moves
        typeText(f.edtFind, QStringLiteral("dog"));
        for (int i = 0; i < 3; ++i)
            hits.append(next());
        QCOMPARE(e.f.messenger.messages.size(), 0);
        QCOMPARE(next(), QStringLiteral("One:2")); // after the mistakes, from the top again
        f.edtFind->setText(QStringLiteral("cat"));
        hits.append(next());
        hits.append(next());
        QCOMPARE(e.f.messenger.texts(), QStringList{"Nenalezeno."});
        hits.append(next());
        QCOMPARE(f.position(), (FindPosition{2, 2}));
    }));
    QCOMPARE(hits, (QStringList{"One:2", "One:3", "Chyby:1", "Two:1", "Chyby:1", "Two:1"}));
    QVERIFY(!f.isVisible()); // closed with the browser

    // The position outlives the browser, until a dictionary is opened.
    e.f.messenger.messages.clear();
    QVERIFY(e.run([&] {
        v.btnFindClick();
        f.edtFind->setText(QStringLiteral("o"));
        QCOMPARE(next(), QStringLiteral("Chyby:1"));
        e.main().OpenSlovnik(e.f.path(e.file));
        QCOMPARE(next(), QStringLiteral("One:1"));
    }));

    // A hit far down a long lesson is selected and scrolled into sight.
    QByteArray big = "[Big]\r\n";
    for (int i = 0; i < 5000; ++i)
        big += QByteArray::number(i) + "=w" + QByteArray::number(i) + "\\x\r\n";
    Editor longer(QStringLiteral("b.en"), big);
    QVERIFY(longer.run([&] {
        TfrmFind &lf = longer.find();
        longer.view().btnFindClick();
        lf.edtFind->setText(QStringLiteral("w4321"));
        QTest::mouseClick(lf.btnNext, Qt::LeftButton);
        QTableView *grid = longer.view().sgList;
        QCOMPARE(longer.view().SelectedRow, 4322);
        const QRect cell = grid->visualRect(grid->model()->index(4321, 1));
        QVERIFY(grid->viewport()->rect().intersects(cell));
    }));

    // Keyboards, character sets and typing by language.
    Editor fr(QStringLiteral("a.fr"), "[L]\r\n0=0\\\xE9t\xE9\\l\xE9to\r\n");
    QVERIFY(fr.run([&] {
        TfrmFind &ff = fr.find();
        fr.view().btnFindClick();
        fr.f.keyboard.activated.clear();
        typeText(ff.edtFind, QStringLiteral("0z"));
        QCOMPARE(ff.edtFind->text(), QStringLiteral("0z"));
        QTest::mouseClick(ff.Button2, Qt::LeftButton);
        QVERIFY(ff.Button2->font().bold() && !ff.Button1->font().bold());
        QCOMPARE(ff.codePage(), CodePage::Cp1252);
        ff.edtFind->clear();
        typeText(ff.edtFind, QStringLiteral("0t0"));
        QCOMPARE(ff.edtFind->text(), QStringLiteral("été"));
        QTest::mouseClick(ff.btnNext, Qt::LeftButton);
        QCOMPARE(fr.view().SelectedRow, 1);
        QTest::mouseClick(ff.Button1, Qt::LeftButton);
        QCOMPARE(ff.codePage(), CodePage::Cp1250);
        QCOMPARE(fr.f.keyboard.activated, (QList<quintptr>{kEnglishLayout, kEnglishLayout, kCzechLayout}));
    }));
    Editor lt(QStringLiteral("a.lt"), "[L]\r\n0=canis\\pes\r\n");
    QVERIFY(lt.run([&] {
        lt.view().btnFindClick();
        QTest::mouseClick(lt.find().Button2, Qt::LeftButton);
        QCOMPARE(lt.find().codePage(), CodePage::Cp1250); // Latin keeps it
        QVERIFY(lt.find().Button2->font().bold());
        typeText(lt.find().edtFind, QStringLiteral("0z"));
        QCOMPARE(lt.find().edtFind->text(), QStringLiteral("0z"));
    }));
}

void TestEditor::failedSaveKeepsOldFiles()
{
    // Both files larger than 16 KiB where they are to fail, so that the
    // bytes reach the file in the write itself, not later from a buffer.
    QByteArray big = "[Big]\r\n";
    for (int i = 0; i < 1000; ++i)
        big += QByteArray::number(i) + "=word number " + QByteArray::number(i) + "\\slovo\r\n";
    const QByteArray mistakes = "1\\0=dog\\pes\r\n";
    Editor e(QStringLiteral("slovniky/big.en"), big, mistakes);
    TfrmViewEdt &v = e.view();
    QVERIFY(e.run([&] {
        v.Button5Click();
        {
            WriteBlocker blocker(e.f.path(QStringLiteral("slovniky")), 4096);
            v.close();
        }
        QVERIFY(v.isVisible());
        QVERIFY(v.EditorChanged);
        QCOMPARE(v.WordLists.lines(0).size(), 999);
        QCOMPARE(e.f.messenger.messages.last().kind, QStringLiteral("error"));
        QVERIFY(e.f.messenger.messages.last().text.startsWith(
            QStringLiteral("Slovník %1 nelze uložit.").arg(QDir::toNativeSeparators(e.f.path(e.file)))));
        QCOMPARE(e.dictionary(), big);
        QCOMPARE(e.mistakes(), mistakes);
        QCOMPARE(QDir(e.f.path(QStringLiteral("slovniky"))).entryList(QDir::Files), QStringList{"big.en"});
    }));
    QVERIFY(!v.isVisible());
    QVERIFY(e.dictionary().startsWith("[Big]\r\n0=word number 1\\slovo\r\n1=word number 2\\"));
    QVERIFY(e.dictionary().endsWith("998=word number 999\\slovo\r\n\r\n"));

    // The mistakes fail after the dictionary was written.
    QByteArray many;
    for (int i = 0; i < 3000; ++i)
        many += "1\\" + QByteArray::number(i) + "=dog\\pes\r\n";
    Editor m(QStringLiteral("slovniky/small.en"), "[A]\r\n0=a\\b\r\n1=c\\d\r\n", many);
    m.f.messenger.answer = true;
    QVERIFY(m.run(m.main().btnShowErrors, [&] {
        TfrmViewEdt &mv = m.view();
        mv.Button5Click();
        {
            WriteBlocker blocker(m.f.folder(), 8192);
            mv.close();
        }
        QVERIFY(mv.isVisible());
        QCOMPARE(m.f.messenger.messages.last().text,
                 QStringLiteral("Soubor chyb %1 nelze uložit. Soubor zůstal beze změny a úpravy zůstávají v okně.")
                     .arg(QDir::toNativeSeparators(m.mistakesPath())));
        QCOMPARE(m.mistakes(), many);
        QCOMPARE(m.dictionary(), QByteArray("[A]\r\n0=a\\b\r\n1=c\\d\r\n\r\n"));
        m.f.messenger.answer = false;
    }));
    QVERIFY(!m.view().isVisible());
    QCOMPARE(m.mistakes(), many);
}

void TestEditor::undoRedo()
{
    Editor e(QStringLiteral("lekce.de"), kGerman, kGermanMistakes);
    TfrmViewEdt &v = e.view();
    e.answers = {nameLesson(QStringLiteral("Nová")),
                 typeWord(e, 1, QStringLiteral("Maus"), QStringLiteral("Mäuse"), QStringLiteral("myš")),
                 typeWord(e, 2, QStringLiteral("Boot"), QStringLiteral("Boote"), QStringLiteral("loď"))};
    QVERIFY(e.run([&] {
        auto state = [&] {
            QList<QByteArray> all;
            for (qsizetype i = 0; i < v.WordLists.count(); ++i)
                all += v.WordLists.name(i) + ':' + v.WordLists.lines(i).toList().join('|');
            return all;
        };
        const QList<QByteArray> original = state();

        // Sorting the mistakes does nothing at all.
        v.cmbLekce->setCurrentIndex(3);
        v.cmbLekceChange();
        shortcut(v.sgList, Qt::Key_F9);
        QCOMPARE(v.undoStack()->count(), 0);
        QVERIFY(!v.EditorChanged);

        v.cmbLekce->setCurrentIndex(0);
        v.cmbLekceChange();
        shortcut(v.sgList, Qt::Key_F9);
        QCOMPARE(e.column(1), (QStringList{"Hund", "Katze", "Pferd", "sehen"}));
        v.Button2Click(); // Nová
        v.Button3Click(); // Maus
        v.cmbLekce->setCurrentIndex(0);
        v.cmbLekceChange();
        v.sgList->selectRow(1);
        v.Button4Click();                          // Katze → Boot
        QTest::keyClick(v.sgList, Qt::Key_Delete); // Boot, the selected row
        v.cmbLekce->setCurrentIndex(1);
        v.Button6Click(); // Leer
        QCOMPARE(v.undoStack()->count(), 6);
        const QList<QByteArray> changed = state();
        QCOMPARE(changed.size(), 4);
        QCOMPARE(changed[0], cz("Tiere:0=0\\Hund\\Hunde\\pes|2=2\\Pferd\\Pferde\\kůň|3=3\\sehen\\sieht,sah,h "
                                "gesehen\\vidět"));

        for (int i = 0; i < 6; ++i)
            shortcut(v.sgList, Qt::Key_Z);
        QCOMPARE(v.undoStack()->index(), 0);
        QCOMPARE(state(), original);
        QVERIFY(!v.EditorChanged); // all undone: nothing to ask about
        QVERIFY(v.undoStack()->isClean());
        QCOMPARE(v.cmbLekce->count(), 4);
        for (int i = 0; i < 6; ++i)
            shortcut(v.cmbLekce, Qt::Key_Y);
        QCOMPARE(state(), changed);
        QCOMPARE(v.cmbLekce->itemText(1), QStringLiteral("Dům"));
        QCOMPARE(v.cmbLekce->itemText(2), QStringLiteral("Nová"));
        QVERIFY(v.EditorChanged);

        // Storno keeps the window, the edits and their history.
        e.f.messenger.threeWay = Messenger::Answer::Cancel;
        v.close();
        QVERIFY(v.isVisible());
        QCOMPARE(state(), changed);
        QCOMPARE(v.undoStack()->count(), 6);
        QCOMPARE(v.undoStack()->index(), 6);
        QCOMPARE(e.f.messenger.messages.last().text, QStringLiteral("Uložit změny ?"));
        QCOMPARE(e.f.messenger.messages.last().byDefault, Messenger::Default::Yes);

        // Undone to the start, closing asks nothing.
        const qsizetype asked = e.f.messenger.messages.size();
        for (int i = 0; i < 6; ++i)
            v.actUndo->trigger();
        v.close();
        QVERIFY(!v.isVisible());
        QCOMPARE(e.f.messenger.messages.size(), asked);
    }));
    QCOMPARE(e.dictionary(), kGerman);

    // OK in the word dialog without a change is no step; a change is one.
    e.f.messenger.threeWay.reset();
    e.answers = {typeWord(e, 0, QStringLiteral("Hund"), QStringLiteral("Hunde"), QStringLiteral("pes")),
                 typeWord(e, 0, QStringLiteral("Hund"), QStringLiteral("Hunde"), QStringLiteral("pejsek"))};
    QVERIFY(e.run([&] {
        v.sgList->selectRow(0);
        v.Button4Click();
        QCOMPARE(v.undoStack()->count(), 0);
        QVERIFY(!v.EditorChanged);
        v.Button4Click();
        QCOMPARE(v.undoStack()->count(), 1);
        QCOMPARE(e.column(3).first(), QStringLiteral("pejsek"));
        // Ctrl+S saves and stays open; the main window reads the file again all the same.
        shortcut(v.sgList, Qt::Key_S);
        QVERIFY(v.isVisible());
        QVERIFY(v.undoStack()->isClean());
        QVERIFY(e.dictionary().contains(cz("0=0\\Hund\\Hunde\\pejsek\r\n")));
        QVERIFY(v.EditorChanged);
        e.f.messenger.messages.clear();
    }));
    QVERIFY(e.f.messenger.messages.isEmpty()); // saved: not asked again
}

void TestEditor::printingAndExport()
{
    const QByteArray unsorted = cz("[Tiere]\r\n0=1\\Katze\\Katzen\\kočka\r\n1=0\\Hund\\Hunde\\pes\r\n");
    Editor e(QStringLiteral("lekce.de"), unsorted);
    TfrmViewEdt &v = e.view();
    const QString target = e.f.path(QStringLiteral("tiere")); // the dialog adds ".rtf"
    e.answers = {chooseInDialog(target), chooseInDialog(target), chooseInDialog({})};
    QVERIFY(e.run([&] {
        // The grid as it stands, sorted and not saved, goes into the file.
        // Ctrl+F9 acts on the press: Ctrl let go before F9 still sorts.
        shortcut(v.sgList, Qt::Key_Control, Qt::NoModifier);
        QTest::keyPress(v.sgList, Qt::Key_F9, Qt::ControlModifier);
        QCOMPARE(v.undoStack()->count(), 1);
        QTest::keyRelease(v.sgList, Qt::Key_Control);
        QTest::keyRelease(v.sgList, Qt::Key_F9);
        QCOMPARE(v.undoStack()->count(), 1);
        shortcut(v.sgList, Qt::Key_F10);
        const QByteArray written = readFile(target + QStringLiteral(".rtf"));
        QList<GridRow> rows;
        for (QByteArrayView line : v.model().lines())
            rows.append(gridRow(line, LangGerman));
        QCOMPARE(rows.size(), 2);
        QCOMPARE(rows[0].word, QByteArray("Hund"));
        QCOMPARE(rows[1].article, QByteArray("die"));
        QCOMPARE(written, lessonRtf(rows, LangGerman));

        // Onto the same file: asked first; No brings the dialog back, which is cancelled.
        e.f.messenger.answer = false;
        shortcut(v.sgList, Qt::Key_F10);
        QCOMPARE(e.f.messenger.texts(),
                 QStringList{QStringLiteral("Soubor %1 již existuje. Přepsat ?")
                                 .arg(QDir::toNativeSeparators(target + QStringLiteral(".rtf")))});
        QCOMPARE(readFile(target + QStringLiteral(".rtf")), written);

        // Without a printer: said so, and nothing else happens.
        if (QPrinterInfo::defaultPrinter().isNull()) {
            e.f.messenger.messages.clear();
            QTest::mouseClick(v.Button1, Qt::LeftButton);
            QCOMPARE(e.f.messenger.messages.size(), 1);
            QCOMPARE(e.f.messenger.messages[0].kind, QStringLiteral("information"));
            QCOMPARE(e.f.messenger.messages[0].text, kNoDefaultPrinterText);
        }
        QVERIFY(v.isVisible());
    }));
    QCOMPARE(e.dictionary(), unsorted); // the sort was not saved
}

void TestEditor::utf8QuestionOnlyWhenOpened()
{
    // Opened as it is after No; the lesson list read again after the editor
    // does not ask a second time.
    const QByteArray utf8 = QByteArray("[Zv\xC3\xAD\xC5\x99"
                                       "ata]\r\n0=dog\\pes\r\n1=horse\\k\xC5\xAF\xC5\x88\r\n");
    Editor e(QStringLiteral("slova.en"), "[L]\r\n0=dog\\pes\r\n");
    QVERIFY(e.f.messenger.messages.isEmpty());
    writeFile(e.f.path(e.file), utf8);
    e.f.messenger.answer = false;
    e.main().OpenSlovnik(e.f.path(e.file));
    QCOMPARE(e.f.messenger.messages.size(), 1);
    QCOMPARE(e.f.messenger.messages[0].caption, QStringLiteral("Slovník v UTF-8"));
    e.f.messenger.messages.clear();
    QVERIFY(e.run([&] {
        QTest::keyClick(e.view().cmbLekce, Qt::Key_Delete);
        QVERIFY(e.view().EditorChanged);
    }));
    QCOMPARE(e.f.messenger.texts(), QStringList{QStringLiteral("Uložit změny ?")});
    QCOMPARE(e.dictionary(), utf8);
}

void TestEditor::importOneUndoStep()
{
    Editor e(QStringLiteral("lekce.de"), kGerman, kGermanMistakes);
    TfrmViewEdt &v = e.view();
    // A KVTML file of two nested lessons, English, German and Czech.
    const QString kvtmlPath = e.f.path(QStringLiteral("tiere.kvtml"));
    writeFile(kvtmlPath, R"(<?xml version="1.0" encoding="UTF-8"?>
<kvtml version="2.0">
 <identifiers>
  <identifier id="0"><name>English</name><locale>en</locale></identifier>
  <identifier id="1"><name>Deutsch</name><locale>de</locale></identifier>
  <identifier id="2"><name>Czech</name><locale>cs</locale></identifier>
 </identifiers>
 <entries>
  <entry id="0"><translation id="0"><text>mouse</text></translation><translation id="1"><text>die Maus</text>
   <declension><plural><nominative><text>Mäuse</text></nominative></plural></declension></translation>
   <translation id="2"><text>myš</text></translation></entry>
  <entry id="1"><translation id="1"><text>laufen</text><conjugation><tense>Präsens</tense><singular>
   <thirdpersonmale><text>läuft</text></thirdpersonmale></singular></conjugation><conjugation><tense>Präteritum</tense>
   <singular><thirdpersonmale><text>lief</text></thirdpersonmale></singular></conjugation></translation>
   <translation id="2"><text>běžet</text></translation></entry>
 </entries>
 <lessons><container><name>Zvířata</name><entry id="0"/>
  <container><name>Pohyb</name><entry id="1"/></container></container></lessons>
</kvtml>
)");
    e.answers = {[&](QWidget *modal) {
        auto *dlg = qobject_cast<TfrmImport *>(modal);
        QVERIFY(dlg);
        // Guessed from the locales; the file's lessons become lessons.
        QCOMPARE(dlg->cmbSlovo->currentText(), QStringLiteral("Deutsch"));
        QCOMPARE(dlg->cmbPreklad->currentText(), QStringLiteral("Czech"));
        QVERIFY(dlg->rbPerLesson->isChecked());
        QCOMPARE(dlg->tblPreview->rowCount(), 2);
        QCOMPARE(dlg->tblPreview->item(0, 1)->text(), QStringLiteral("die Maus (Mäuse)"));
        dlg->accept();
    }};
    QVERIFY(e.run([&] {
        v.importFile(kvtmlPath);
        QCOMPARE(v.undoStack()->count(), 1);
        QCOMPARE(v.cmbLekce->count(), 6);
        QCOMPARE(v.cmbLekce->itemText(3), QStringLiteral("Zvířata"));
        QCOMPARE(v.cmbLekce->itemText(4), QStringLiteral("Zvířata / Pohyb"));
        QCOMPARE(v.WordLists.lines(3).toList(), QList<QByteArray>{cz("0=1\\Maus\\Mäuse\\myš")});
        QCOMPARE(v.WordLists.lines(4).toList(), QList<QByteArray>{cz("0=3\\laufen\\läuft,lief\\běžet")});
        QCOMPARE(e.dictionary(), kGerman); // nothing written yet
        QVERIFY(v.EditorChanged);
        // One step back takes both lessons away.
        shortcut(v.sgList, Qt::Key_Z);
        QCOMPARE(v.cmbLekce->count(), 4);
        QVERIFY(!v.EditorChanged);
        shortcut(v.sgList, Qt::Key_Y);
        QCOMPARE(v.cmbLekce->count(), 6);
        e.f.messenger.answer = true;
    }));
    QVERIFY(e.dictionary().contains(cz("[Zvířata / Pohyb]\r\n0=3\\laufen\\läuft,lief\\běžet\r\n")));

    // A text file into the lesson shown, after the header the dialog saw.
    const QString tsvPath = e.f.path(QStringLiteral("slova.csv"));
    writeFile(tsvPath, "Slovo;P\xC5\x99"
                       "eklad;\xC4\x8C"
                       "len\r\nBoot;lo\xC4\x8F;das\r\n\"Tisch; gro\xC3\x9F\";st\xC5\xAFl;der\r\n");
    e.answers = {[&](QWidget *modal) {
        auto *dlg = qobject_cast<TfrmImport *>(modal);
        QVERIFY(dlg);
        QVERIFY(dlg->chbHeader->isChecked());
        QVERIFY(dlg->rbCurrent->isChecked());
        QCOMPARE(dlg->cmbClen->currentText(), QStringLiteral("Člen"));
        dlg->accept();
    }};
    QVERIFY(e.run([&] {
        v.importFile(tsvPath);
        QCOMPARE(e.lesson(), QStringLiteral("Tiere"));
        QCOMPARE(e.column(1).mid(4), (QStringList{"Boot", "Tisch; groß"}));
        QCOMPARE(e.column(0).mid(4), (QStringList{"das", "der"}));
        QCOMPARE(v.model().rowCount(), 6);
        v.undoStack()->undo();
        QCOMPARE(v.model().rowCount(), 4);
    }));
}

void TestEditor::importWindowChoices()
{
    Editor e(QStringLiteral("lekce.de"), kGerman);
    TfrmViewEdt &v = e.view();
    // An Anki "Notes in Plain Text" export: its headers name the separator,
    // the HTML and which columns are the note type, the deck and the tags.
    const QString anki = e.f.path(QStringLiteral("Deutsch.txt"));
    writeFile(anki, "#separator:tab\n#html:true\n#notetype column:1\n#deck column:2\n#tags column:5\n"
                    "Basic\tDeutsch::Tiere\t<b>Hund</b>&nbsp;\tpes\tzv\xC3\xAD\xC5\x99"
                    "e\nBasic\tDeutsch::Tiere\tPferd\tk\xC5\xAF\xC5\x88, o\xC5\x99\t\n");
    e.answers = {[&](QWidget *modal) {
        auto *dlg = qobject_cast<TfrmImport *>(modal);
        QVERIFY(dlg);
        QCOMPARE(dlg->cmbSeparator->currentText(), QStringLiteral("Tabulátor"));
        QCOMPARE(dlg->cmbSlovo->currentText(), QStringLiteral("Sloupec 3"));
        QCOMPARE(dlg->cmbPreklad->currentText(), QStringLiteral("Sloupec 4"));
        QVERIFY(dlg->rbPerLesson->isChecked());
        QCOMPARE(dlg->tblPreview->rowCount(), 2);
        QCOMPARE(dlg->tblPreview->item(0, 2)->text(), QStringLiteral("Hund"));
        QCOMPARE(dlg->tblPreview->item(1, 3)->text(), QStringLiteral("kůň, oř"));
        // The columns fill the table and none is narrower than its title.
        QHeaderView *header = dlg->tblPreview->horizontalHeader();
        int total = 0;
        for (int c = 0; c < header->count(); ++c) {
            QVERIFY(header->sectionSize(c) >= header->sectionSizeHint(c));
            total += header->sectionSize(c);
        }
        QVERIFY2(total >= dlg->tblPreview->viewport()->width() - 1, qPrintable(QString::number(total)));
        // Another separator reads the rows again.
        dlg->cmbSeparator->setCurrentIndex(dlg->cmbSeparator->findText(QStringLiteral("Čárka")));
        QCOMPARE(dlg->tblPreview->item(1, 0)->text(), QStringLiteral("Basic Deutsch::Tiere Pferd kůň"));
        dlg->cmbSeparator->setCurrentIndex(dlg->cmbSeparator->findText(QStringLiteral("Tabulátor")));
        QCOMPARE(dlg->tblPreview->item(1, 3)->text(), QStringLiteral("kůň, oř"));
        QVERIFY(dlg->rbPerLesson->isEnabled());
        dlg->rbPerLesson->setChecked(true);
        dlg->accept();
    }};
    QVERIFY(e.run([&] {
        v.importFile(anki);
        const qsizetype lesson = v.cmbLekce->findText(QStringLiteral("Deutsch / Tiere"));
        QVERIFY(lesson >= 0);
        QCOMPARE(v.WordLists.lines(lesson).toList(),
                 (QList<QByteArray>{cz("0=3\\Hund\\\\pes"), cz("0=3\\Pferd\\\\kůň, oř")}));
        QVERIFY(e.f.messenger.texts().isEmpty());
        v.undoStack()->undo();
    }));

    // A new lesson named after a file whose name the code page cannot hold:
    // the name is offered without the mark and checked before the import.
    const QString spanish = e.f.path(QStringLiteral("español.tsv"));
    writeFile(spanish, "Hund\tpes\nKatze\tko\xC4\x8Dka\n");
    e.answers = {[&](QWidget *modal) {
        auto *dlg = qobject_cast<TfrmImport *>(modal);
        QVERIFY(dlg);
        QVERIFY(!dlg->edtLessonName->isEnabled());
        dlg->rbNewLesson->setChecked(true);
        QVERIFY(dlg->edtLessonName->isEnabled());
        QCOMPARE(dlg->edtLessonName->text(), QStringLiteral("espanol"));
        dlg->edtLessonName->setText(QStringLiteral("español 2"));
        dlg->accept();
        QVERIFY(dlg->isVisible());
        QVERIFY(!dlg->lblLessonProblem->isHidden());
        QVERIFY(dlg->lblLessonProblem->text().contains(QStringLiteral("„ñ“")));
        dlg->edtLessonName->setText(QStringLiteral("Španělsky"));
        dlg->accept();
    }};
    QVERIFY(e.run([&] {
        v.importFile(spanish);
        QVERIFY(e.f.messenger.texts().isEmpty());
        const qsizetype lesson = v.cmbLekce->findText(QStringLiteral("Španělsky"));
        QVERIFY(lesson >= 0);
        QCOMPARE(v.WordLists.lines(lesson).size(), 2);
    }));

    // A KVTML file of one language says so before anything is imported.
    const QString single = e.f.path(QStringLiteral("jen.kvtml"));
    writeFile(single, R"(<?xml version="1.0" encoding="UTF-8"?>
<kvtml version="2.0"><identifiers><identifier id="0"><locale>de</locale></identifier></identifiers>
<entries><entry id="0"><translation id="0"><text>Hund</text></translation></entry></entries></kvtml>
)");
    e.answers = {[&](QWidget *modal) {
        auto *dlg = qobject_cast<TfrmImport *>(modal);
        QVERIFY(dlg);
        QVERIFY(!dlg->lblWarning->isHidden());
        QCOMPARE(dlg->lblWarning->text(),
                 QStringLiteral("Soubor obsahuje jen jeden jazyk: slovíčka budou bez překladu."));
        QVERIFY(dlg->cmbSeparator->isHidden());
        dlg->reject();
    }};
    QVERIFY(e.run([&] { v.importFile(single); }));
}

void TestEditor::exportAndBack()
{
    Editor e(QStringLiteral("lekce.de"), kGerman);
    TfrmViewEdt &v = e.view();
    const QString kvtml = e.f.path(QStringLiteral("tiere.kvtml"));
    const QString tsv = e.f.path(QStringLiteral("vse.tsv"));
    e.answers = {fileInDialog("ExportDlg", kvtml), fileInDialog("ExportDlg", tsv)};
    QVERIFY(e.run([&] {
        v.exportLesson();
        v.exportDictionary();
        QVERIFY(!v.EditorChanged);
    }));
    const std::optional<WordTable> table = readKvtml(readFile(kvtml));
    QVERIFY(table);
    const ImportResult back = importRows(*table, guessColumns(*table, LangGerman), LangGerman, true);
    QCOMPARE(back.lessons.size(), 1);
    QCOMPARE(back.lessons[0].name, QStringLiteral("Tiere"));
    QCOMPARE(back.lessons[0].lines,
             (QList<QByteArray>{cz("0=0\\Hund\\Hunde\\pes"), cz("0=1\\Katze\\Katzen\\kočka"),
                                cz("0=2\\Pferd\\Pferde\\kůň"), cz("0=3\\sehen\\sieht,sah,h gesehen\\vidět")}));
    const QByteArray text = readFile(tsv);
    QVERIFY(text.startsWith(QStringLiteral("Lekce\tČlen\tSlovo\tMnožné číslo (minulý čas)\tPřeklad\n").toUtf8()));
    QVERIFY(text.contains(QStringLiteral("Dům\tdas\tHaus\tHäuser\tdům\n").toUtf8()));
}

void TestEditor::unstorableCharacters()
{
    Editor e(QStringLiteral("a.en"), "[L]\r\n0=dog\\pes\r\n");
    TfrmViewEdt &v = e.view();
    TfrmWord &w = e.word();
    e.answers = {typeWord(e, -1, QStringLiteral("señor"), {}, QStringLiteral("pán")),
                 [&](QWidget *) { QTest::mouseClick(w.Button2, Qt::LeftButton); }, // still open: Storno
                 nameLesson(QStringLiteral("Lekce ñ")), nameLesson(QStringLiteral("Lekce č")),
                 [&](QWidget *modal) { static_cast<QDialog *>(modal)->accept(); }};
    const QString csv = e.f.path(QStringLiteral("mix.csv"));
    writeFile(csv, "se\xC3\xB1or,p\xC3\xA1n\ncat,ko\xC4\x8Dka\n");
    QVERIFY(e.run([&] {
        v.Button3Click();
        QCOMPARE(e.f.messenger.texts().value(0),
                 QStringLiteral("Znak „ñ“ (U+00F1) v poli „Slovo“ nelze uložit v kódové stránce slovníku. Napište ho "
                                "jinak."));
        QCOMPARE(v.WordLists.lines(0).size(), 1);
        v.Button2Click();
        QCOMPARE(e.f.messenger.texts().value(1),
                 QStringLiteral("Znak „ñ“ (U+00F1) v poli „jméno lekce“ nelze uložit v kódové stránce slovníku. "
                                "Napište ho jinak."));
        QCOMPARE(v.cmbLekce->itemText(1), QStringLiteral("Lekce č"));
        // The import lists the row it cannot store and brings the rest.
        v.importFile(csv);
        QCOMPARE(e.f.messenger.messages.last().kind, QStringLiteral("question"));
        QVERIFY(e.f.messenger.messages.last().text.contains(
            QStringLiteral("Řádek 1: znak „ñ“ (U+00F1) v poli „Slovo“ nelze uložit")));
        QCOMPARE(v.WordLists.lines(1).toList(), QList<QByteArray>{cz("0=cat\\kočka")});
        e.f.messenger.answer = false;
    }));
}

void TestEditor::renameAndMenu()
{
    Editor e(QStringLiteral("lekce.de"), kGerman, kGermanMistakes);
    TfrmViewEdt &v = e.view();
    e.answers = {[](QWidget *modal) {
                     auto *box = qobject_cast<QInputDialog *>(modal);
                     QVERIFY(box);
                     QCOMPARE(box->objectName(), QStringLiteral("renameLessonBox"));
                     QCOMPARE(box->windowTitle(), QStringLiteral("Přejmenovat lekci"));
                     QCOMPARE(box->textValue(), QStringLiteral("Tiere"));
                     box->setTextValue(QStringLiteral("dům")); // another lesson's name
                     box->accept();
                 },
                 [](QWidget *modal) {
                     auto *box = qobject_cast<QInputDialog *>(modal);
                     box->setTextValue(QStringLiteral("Zvířata"));
                     box->accept();
                 }};
    QVERIFY(e.run([&] {
        shortcut(v.sgList, Qt::Key_R);
        QCOMPARE(e.f.messenger.texts(), QStringList{"Lekce „dům“ už existuje. Zvolte jiné jméno."});
        QCOMPARE(v.cmbLekce->itemText(0), QStringLiteral("Zvířata"));
        QCOMPARE(v.WordLists.lines(0).size(), 4);
        QCOMPARE(v.undoStack()->count(), 1);
        v.undoStack()->undo();
        QCOMPARE(v.cmbLekce->itemText(0), QStringLiteral("Tiere"));

        // Every command is in the grid's menu with its keys, as the menu
        // shows them: the text after a tab, else the first key.
        QStringList menu;
        for (QAction *a : v.sgList->actions())
            if (!a->isSeparator())
                menu.append(a->text().section(u'\t', 0, 0) + u'|'
                            + (a->text().contains(u'\t') ? a->text().section(u'\t', 1) : a->shortcut().toString()));
        for (const QString &expected :
             {"Přidat slovíčko|Ins", "Smazat slovíčko|Del", "Seřadit lekci|Ctrl+F9", "Export do RTF…|Ctrl+F10",
              "Zpět|Ctrl+Z", "Znovu Přejmenovat lekci|Ctrl+Y", "Tisk|", "Tisk…|Ctrl+P", "Uložit|Ctrl+S",
              "Hledat…|Ctrl+F, F3", "Importovat slovíčka…|Ctrl+I", "Přejmenovat lekci…|Ctrl+R", "Zavřít|Esc"})
            QVERIFY2(menu.contains(expected), qPrintable(menu.join(u',')));
        QCOMPARE(v.sgList->contextMenuPolicy(), Qt::ActionsContextMenu);

        // Esc closes as the close box does, with the question.
        v.Button5Click();
        e.f.messenger.threeWay = Messenger::Answer::Cancel;
        QTest::keyClick(v.sgList, Qt::Key_Escape);
        QVERIFY(v.isVisible());
        e.f.messenger.threeWay = Messenger::Answer::No;
        QTest::keyClick(v.sgList, Qt::Key_Escape);
        QVERIFY(!v.isVisible());
    }));
    QCOMPARE(e.dictionary(), kGerman);
}

void TestEditor::spreadsheetGrid()
{
    Editor e(QStringLiteral("lekce.de"), kGerman, kGermanMistakes);
    TfrmViewEdt &v = e.view();
    e.answers = {[](QWidget *modal) {
        auto *box = qobject_cast<QInputDialog *>(modal);
        QVERIFY(box);
        QCOMPARE(box->objectName(), QStringLiteral("moveBox"));
        QCOMPARE(box->comboBoxItems(), (QStringList{"Leer", "Dům"}));
        box->setTextValue(QStringLiteral("Dům"));
        box->accept();
    }};
    QVERIFY(e.run([&] {
        auto select = [&](std::initializer_list<int> rows) {
            v.sgList->clearSelection();
            for (int r : rows)
                v.sgList->selectionModel()->select(v.model().index(r, 0),
                                                   QItemSelectionModel::Select | QItemSelectionModel::Rows);
        };
        auto show = [&](int lesson) {
            v.cmbLekce->setCurrentIndex(lesson);
            v.cmbLekceChange();
        };
        // Two rows copied as the grid shows them, pasted into another lesson
        // after its selected row, in one step.
        select({0, 2});
        shortcut(v.sgList, Qt::Key_C);
        QCOMPARE(QGuiApplication::clipboard()->text(),
                 QStringLiteral("der\tHund\tHunde\tpes\ndas\tPferd\tPferde\tkůň\n"));
        show(2);
        shortcut(v.sgList, Qt::Key_V);
        QCOMPARE(e.column(1), (QStringList{"Haus", "Hund", "Pferd", "Tür"}));
        QCOMPARE(v.WordLists.lines(2).at(1), QByteArrayView("0=0\\Hund\\Hunde\\pes"));
        QCOMPARE(v.undoStack()->count(), 1);

        // Cut of two rows, and back.
        select({1, 2});
        shortcut(v.sgList, Qt::Key_X);
        QCOMPARE(e.column(1), (QStringList{"Haus", "Tür"}));
        QCOMPARE(QGuiApplication::clipboard()->text(),
                 QStringLiteral("der\tHund\tHunde\tpes\ndas\tPferd\tPferde\tkůň\n"));
        v.undoStack()->undo();
        QCOMPARE(e.column(1), (QStringList{"Haus", "Hund", "Pferd", "Tür"}));

        // Delete takes every selected row.
        select({0, 3});
        QTest::keyClick(v.sgList, Qt::Key_Delete);
        QCOMPARE(e.column(1), (QStringList{"Hund", "Pferd"}));
        v.undoStack()->undo();

        // Two words of Tiere moved to Dům.
        show(0);
        select({1, 3});
        shortcut(v.sgList, Qt::Key_M);
        QCOMPARE(e.column(1), (QStringList{"Hund", "Pferd"}));
        QCOMPARE(v.WordLists.lines(2).size(), 6);
        QCOMPARE(v.WordLists.lines(2).at(5), cz("3 = 3\\sehen\\sieht,sah,h gesehen\\vidět").replace(" = ", "="));
        v.undoStack()->undo();
        QCOMPARE(v.WordLists.lines(2).size(), 4);
        QCOMPARE(e.column(1), (QStringList{"Hund", "Katze", "Pferd", "sehen"}));

        // A cell typed over in place: F2, the text, Enter. One step.
        const int steps = v.undoStack()->index();
        v.sgList->setCurrentIndex(v.model().index(1, 3));
        QTest::keyClick(v.sgList, Qt::Key_F2);
        QLineEdit *editor = v.sgList->findChild<QLineEdit *>();
        QVERIFY(editor);
        QCOMPARE(editor->text(), QStringLiteral("kočka"));
        editor->setText(QStringLiteral("kočička"));
        QTest::keyClick(editor, Qt::Key_Return);
        // The delegate commits from the event loop.
        QTRY_COMPARE(v.WordLists.lines(0).at(1), cz("1=1\\Katze\\Katzen\\kočička"));
        QCOMPARE(v.undoStack()->index(), steps + 1);
        QCOMPARE(v.undoStack()->undoText(), QStringLiteral("Upravit buňku"));
        // The article as a word of its own list; another is refused.
        QVERIFY(v.sgList->model()->setData(v.model().index(1, 0), QStringLiteral("das")));
        QCOMPARE(e.column(0).at(1), QStringLiteral("das"));
        e.f.messenger.messages.clear();
        QVERIFY(v.sgList->model()->setData(v.model().index(1, 0), QStringLiteral("the")));
        QCOMPARE(e.column(0).at(1), QStringLiteral("das"));
        QCOMPARE(e.f.messenger.messages.size(), 1);
        QVERIFY(v.sgList->model()->setData(v.model().index(1, 1), QStringLiteral("Señor")));
        QCOMPARE(e.f.messenger.messages.last().text,
                 QStringLiteral("Znak „ñ“ (U+00F1) v poli „Slovo“ nelze uložit v kódové stránce slovníku. Napište ho "
                                "jinak."));
        QCOMPARE(e.column(1).at(1), QStringLiteral("Katze"));
        e.f.messenger.answer = false;
    }));
    QCOMPARE(e.dictionary(), kGerman);
}

void TestEditor::dropsAndCounts()
{
    Editor e(QStringLiteral("lekce.de"), kGerman, kGermanMistakes);
    TfrmViewEdt &v = e.view();
    const QString list = e.f.path(QStringLiteral("nova.tsv"));
    writeFile(list, "Boot\tlo\xC4\x8F\n");
    auto drop = [](QWidget *target, const QString &path) {
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(path)});
        QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(target, &enter);
        if (!enter.isAccepted())
            return false;
        QDropEvent dropped(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(target, &dropped);
        return dropped.isAccepted();
    };
    e.answers = {[&](QWidget *modal) {
        auto *dlg = qobject_cast<TfrmImport *>(modal);
        QVERIFY(dlg);
        dlg->rbNewLesson->click();
        dlg->accept();
    }};
    QVERIFY(e.run([&] {
        // The lesson box's list shows each lesson's word count; the box its name.
        QVERIFY(dynamic_cast<LessonCountDelegate *>(v.cmbLekce->itemDelegate()));
        auto shown = [&](int row) { return LessonCountDelegate::shownText(v.cmbLekce->model()->index(row, 0)); };
        QCOMPARE(shown(0), QStringLiteral("Tiere  (4)"));
        QCOMPARE(v.cmbLekce->currentText(), QStringLiteral("Tiere")); // the closed box: the name alone
        QCOMPARE(shown(3), QStringLiteral("Chyby  (2)"));
        QVERIFY(!drop(&v, e.f.path(QStringLiteral("lekce.de")))); // no word list
        QVERIFY(drop(&v, list));
        QTRY_COMPARE(v.cmbLekce->count(), 5);
        QCOMPARE(v.cmbLekce->itemText(3), QStringLiteral("nova"));
        QCOMPARE(shown(3), QStringLiteral("nova  (1)"));
        v.sgList->selectRow(0);
        v.Button5Click();
        QCOMPARE(shown(3), QStringLiteral("nova  (0)"));
        e.f.messenger.answer = false;
    }));
    // A dictionary dropped on the main window opens.
    const QString other = e.f.path(QStringLiteral("jina.en"));
    writeFile(other, "[A]\r\n0=dog\\pes\r\n");
    QVERIFY(!drop(&e.main(), list));
    QVERIFY(drop(&e.main(), other));
    QTRY_COMPARE(e.app->test().DictionaryPath, other);
    QCOMPARE(e.main().lbLekce->model()->rowCount(), 1);
}

void TestEditor::russianWordList()
{
    // A list that is not UTF-8 is windows-1251 for a Russian dictionary;
    // the words keep their bytes.
    Editor e(QStringLiteral("a.ru"), "[L]\r\n0=" + kSobaka + "\\pes\r\n");
    const QString list = e.f.path(QStringLiteral("zvirata.txt"));
    writeFile(list, "\xEA\xEE\xF8\xEA\xE0\tkocka\r\n");
    e.answers = {[](QWidget *modal) {
        auto *dlg = qobject_cast<TfrmImport *>(modal);
        QVERIFY(dlg);
        QCOMPARE(dlg->tblPreview->item(0, 0)->text(), QStringLiteral("кошка"));
        dlg->accept();
    }};
    QVERIFY(e.run([&] {
        e.view().importFile(list);
        QCOMPARE(e.view().WordLists.lines(0).toList(),
                 (QList<QByteArray>{"0=" + kSobaka + "\\pes", "0=\xEA\xEE\xF8\xEA\xE0\\kocka"}));
        e.f.messenger.answer = false;
    }));
}

void TestEditor::saveQuestionBox()
{
    // The real box: Ano, Ne, Storno; Enter gives Ano, Esc Storno.
    QtMessenger messenger;
    QWidget parent;
    for (const auto &[key, expected] :
         {std::pair{Qt::Key_Return, Messenger::Answer::Yes}, std::pair{Qt::Key_Escape, Messenger::Answer::Cancel}}) {
        ModalDriver driver([key = key](QWidget *modal) {
            auto *box = qobject_cast<QMessageBox *>(modal);
            if (!box)
                return;
            QStringList captions;
            for (QAbstractButton *b : box->buttons())
                captions.append(b->text());
            captions.sort();
            QCOMPARE(captions, (QStringList{"Ano", "Ne", "Storno"}));
            QCOMPARE(box->defaultButton()->text(), QStringLiteral("Ano"));
            QCOMPARE(box->windowTitle(), QStringLiteral("Dotaz"));
            QTest::keyClick(box, key);
        });
        QCOMPARE(messenger.askWithCancel(&parent, QStringLiteral("Dotaz"), QStringLiteral("Uložit změny ?")), expected);
        QVERIFY(!driver.timedOut());
    }
}

QTEST_MAIN(TestEditor)
#include "tst_editor.moc"
