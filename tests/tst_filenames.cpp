// A dictionary whose file name is windows-1250 bytes, as an archive unpacks
// it, through the real windows: a save cut off part way is put back at the
// start, the lesson browser saves under the very same name, and such a file
// dropped on the main window opens.
#include "app/fmain.h"
#include "data/journal.h"
#include "data/nativepath.h"
#include "editor/fviewedit.h"
#include "support/fakes.h"
#include "support/nativefiles.h"

#include <QListView>
#include <QMimeData>
#include <QTemporaryDir>
#include <QtTest>

#include <unistd.h>

using namespace lexitka;
using namespace lexitka::testing;

class TestFileNames : public QObject {
    Q_OBJECT
    QTemporaryDir m_state; // the user's state folder: journals, locks

private slots:
    void initTestCase() { qputenv("XDG_DATA_HOME", QFile::encodeName(m_state.path())); }
    void openedSavedAndDroppedByItsBytes();
};

void TestFileNames::openedSavedAndDroppedByItsBytes()
{
    Fixture f;
    const QByteArray native = QFile::encodeName(f.folder()) + "/slovn\xEDk.en";
    const QString path = pathFromNative(native);
    const QByteArray original = "[A]\r\n0=dog\\pes\r\n1=cat\\kocka\r\n\r\n[B]\r\n0=cow\\krava\r\n\r\n";
    QVERIFY(writeNative(native, original));
    {
        InPlaceJournal journal; // its process "dies" here: the journal stays
        QVERIFY(journal.begin(journalFolder(), path, original, "[A]\r\n"));
    }
    QVERIFY(writeNative(native, "[A]\r\n0=d"));

    auto app = f.makeApp(path);
    QCOMPARE(readNative(native), original);
    QCOMPARE(f.messenger.messages.size(), 1);
    QVERIFY2(f.messenger.messages[0].text.contains(QStringLiteral("/slovník.en bylo přerušeno")),
             qPrintable(f.messenger.messages[0].text));
    QCOMPARE(app->test().DictionaryPath, path);
    QCOMPARE(rowCount(app->frmMain().lbLekce), 2);

    TfrmViewEdt &view = app->frmViewEdt();
    view.ViewLessonIndex = 0;
    view.ShowErrorsOnOpen = false;
    view.setDictionary(app->test().dictionary());
    QVERIFY(view.FormShow());
    view.show();
    QCOMPARE(view.WordLists.lines(0).size(), 2);
    view.showRow(0, 1);
    view.Button5Click();
    view.reject(); // "Uložit změny ?" Ano
    QVERIFY2(!view.isVisible(), qPrintable(f.messenger.texts().join(u'|')));
    QCOMPARE(readNative(native), QByteArray("[A]\r\n0=cat\\kocka\r\n\r\n[B]\r\n0=cow\\krava\r\n\r\n"));
    // Under no other name: no lock or temporary file left, none with U+FFFD.
    for (const QByteArray &name : namesIn(QFile::encodeName(f.folder())))
        QVERIFY2(name == "slovn\xEDk.en" || !name.startsWith("slovn"), name.constData());

    // Dropped on the main window as a file manager sends it (%E9 for the byte), it opens.
    const QByteArray dropped = QFile::encodeName(f.folder()) + "/jin\xE9.en";
    QVERIFY(writeNative(dropped, "[X]\r\n0=owl\\sova\r\n"));
    QMimeData data;
    data.setUrls({QUrl::fromEncoded("file://" + dropped.toPercentEncoding("/"))});
    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&app->frmMain(), &enter);
    QVERIFY(enter.isAccepted());
    QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&app->frmMain(), &drop);
    QTRY_COMPARE(app->test().DictionaryPath, pathFromNative(dropped));
    QCOMPARE(app->frmMain().windowTitle(), QStringLiteral("Lexitka - Anglické [jiné.en]"));
    QCOMPARE(::unlink(dropped.constData()), 0);
    QCOMPARE(::unlink(native.constData()), 0); // nor could the temporary folder remove it
}

QTEST_MAIN(TestFileNames)
#include "tst_filenames.moc"
