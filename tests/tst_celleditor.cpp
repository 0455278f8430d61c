// The grid's cells typed over in place, driven offscreen through the real
// browser: each column on the layout and with the typing aid of the word
// dialog's field, and the word dialog's refusals.
#include "support/fakes.h"
#include "support/modal.h"
#include "support/testdriver.h"

#include "app/fmain.h"
#include "editor/fviewedit.h"
#include "editor/lessonmodel.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>

using namespace lexitka;
using namespace lexitka::testing;

class TestCellEditor : public QObject {
    Q_OBJECT
private slots:
    void layoutsAndTypingAids();
    void refusals();
};

namespace {

// A program whose user has the Czech layout and an English one, with one
// dictionary open in the browser while `script` runs.
struct Browser {
    Fixture f;
    std::unique_ptr<LexitkaApp> app;
    QString path;

    Browser(const QString &name, const QByteArray &dictionary) : path(f.path(name))
    {
        f.keyboard.list = QList<KeyboardLayout>{{kCzechLayout, QStringLiteral("Czech")},
                                                {kEnglishLayout, QStringLiteral("English (United States)")}};
        f.keyboard.current = kCzechLayout;
        writeFile(path, dictionary);
        app = f.makeApp(path);
    }
    TfrmViewEdt &view() { return app->frmViewEdt(); }
    bool run(const std::function<void()> &script)
    {
        bool started = false;
        ModalDriver driver([&](QWidget *modal) {
            if (modal == &view() && !started) {
                started = true;
                driver.post([&] {
                    script();
                    view().undoStack()->setClean(); // close without the save question
                    view().close();
                });
            }
        });
        QTest::mouseClick(app->frmMain().btnView, Qt::LeftButton);
        return !driver.timedOut();
    }
    // Opens the cell's editor with F2 and gives it.
    QLineEdit *edit(int row, int column)
    {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); // the last editor gone
        view().sgList->setCurrentIndex(view().model().index(row, column));
        QTest::keyClick(view().sgList, Qt::Key_F2);
        return view().sgList->findChild<QLineEdit *>(QStringLiteral("edtCell"));
    }
    // Replaces the editor's text key by key and presses Enter; the text
    // the aid made of it.
    QString type(QLineEdit *editor, const QString &keys)
    {
        if (!editor)
            return QStringLiteral("(no editor)");
        editor->clear();
        typeText(editor, keys);
        const QString typed = editor->text();
        QTest::keyClick(editor, Qt::Key_Return);
        QCoreApplication::processEvents(); // the delegate commits from the event loop
        return typed;
    }
    QByteArray line(int row) { return view().WordLists.lines(0).at(row).toByteArray(); }
};

} // namespace

void TestCellEditor::layoutsAndTypingAids()
{
    // French: the word on the English layout with the accents; the
    // translation on the Czech layout as typed. Back in the grid, Czech.
    Browser fr(QStringLiteral("a.fr"), "[L]\r\n0=0\\maison\\d\xF9m\r\n");
    QString word, translation;
    QByteArray french;
    QList<QList<quintptr>> layouts;
    QVERIFY(fr.run([&] {
        fr.f.keyboard.activated.clear();
        QLineEdit *editor = fr.edit(0, 1);
        layouts.append(fr.f.keyboard.activated);
        word = fr.type(editor, QStringLiteral("for2t z"));
        layouts.append(fr.f.keyboard.activated);
        fr.f.keyboard.activated.clear();
        translation = fr.type(fr.edit(0, 3), QStringLiteral("les2z"));
        layouts.append(fr.f.keyboard.activated);
        french = fr.line(0);
    }));
    QCOMPARE(word, QStringLiteral("forêt y"));
    QCOMPARE(translation, QStringLiteral("les2z"));
    QCOMPARE(layouts,
             (QList<QList<quintptr>>{
                 {kEnglishLayout}, {kEnglishLayout, kEnglishLayout, kCzechLayout}, {kEnglishLayout, kCzechLayout}}));
    QCOMPARE(french, QByteArray("0=0\\for\xEAt y\\les2z"));

    // Russian: Latin keys give Cyrillic, stored in windows-1251.
    Browser ru(QStringLiteral("a.ru"), "[L]\r\n0=x\\pes\r\n");
    QByteArray russian;
    QVERIFY(ru.run([&] {
        QCOMPARE(ru.type(ru.edit(0, 1), QStringLiteral("sobaka")), QStringLiteral("собака"));
        russian = ru.line(0);
    }));
    QCOMPARE(russian, QByteArray("0=\xF1\xEE\xE1\xE0\xEA\xE0\\pes"));

    // Spanish, typed straight over the selected cell: the first key opens
    // the editor and is converted too.
    Browser es(QStringLiteral("a.es"), "[L]\r\n0=3\\x\\pan\r\n");
    QByteArray spanish;
    QVERIFY(es.run([&] {
        TfrmViewEdt &v = es.view();
        v.sgList->setCurrentIndex(v.model().index(0, 1));
        typeText(v.sgList, QStringLiteral("/"));
        QLineEdit *editor = v.sgList->findChild<QLineEdit *>(QStringLiteral("edtCell"));
        QVERIFY(editor);
        typeText(editor, QStringLiteral("5"));
        QCOMPARE(editor->text(), QStringLiteral("¿ñ"));
        QTest::keyClick(editor, Qt::Key_Return);
        QCoreApplication::processEvents();
        spanish = es.line(0);
    }));
    QCOMPARE(spanish, QByteArray("0=3\\\xBF\xF1\\pan"));

    // German words are typed on the Czech layout and never converted.
    Browser de(QStringLiteral("a.de"), "[L]\r\n0=0\\Hund\\Hunde\\pes\r\n");
    QString german;
    QList<quintptr> germanLayouts;
    QVERIFY(de.run([&] {
        de.f.keyboard.activated.clear();
        german = de.type(de.edit(0, 1), QStringLiteral("0zy/5s"));
        germanLayouts = de.f.keyboard.activated;
    }));
    QCOMPARE(german, QStringLiteral("0zy/5s"));
    QCOMPARE(germanLayouts, (QList<quintptr>{kEnglishLayout, kCzechLayout}));
}

void TestCellEditor::refusals()
{
    // A character the column's code page has no place for, and "\": the
    // word dialog's messages; the cell stays open with the text until it
    // can be stored.
    Browser en(QStringLiteral("a.en"), "[L]\r\n0=sir\\pan\r\n");
    QString openAfterRefusal;
    QByteArray kept, stored;
    QVERIFY(en.run([&] {
        QLineEdit *editor = en.edit(0, 1);
        QVERIFY(editor);
        en.type(editor, QStringLiteral("señor"));
        QCOMPARE(en.view().sgList->findChild<QLineEdit *>(QStringLiteral("edtCell")), editor);
        openAfterRefusal = editor->text();
        kept = en.line(0);
        en.type(editor, QStringLiteral("back\\slash"));
        QVERIFY(editor->isVisible());
        en.type(editor, QStringLiteral("senor"));
        stored = en.line(0);
    }));
    QCOMPARE(openAfterRefusal, QStringLiteral("señor"));
    QCOMPARE(kept, QByteArray("0=sir\\pan"));
    QCOMPARE(stored, QByteArray("0=senor\\pan"));
    const QStringList said = en.f.messenger.texts();
    QCOMPARE(said, (QStringList{QStringLiteral("Znak „ñ“ (U+00F1) v poli „Slovo“ nelze uložit v kódové stránce "
                                               "slovníku. Napište ho jinak."),
                                QStringLiteral("Slovíčko nesmí obsahovat zpětné lomítko „\\“ ani konec řádku: ve "
                                               "slovníku oddělují části slovíčka.")}));
}

QTEST_MAIN(TestCellEditor)
#include "tst_celleditor.moc"
