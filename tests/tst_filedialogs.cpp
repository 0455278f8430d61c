// The file dialogs as a user meets them on a system set to English: every
// text Czech, the file list's cells included; the side bar's places; and
// where the dialogs that write a file for the user start.
#include "app/fmain.h"
#include "editor/fviewedit.h"
#include "support/fakes.h"
#include "support/modal.h"

#include <QAbstractButton>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStandardPaths>
#include <QTreeView>
#include <QtTest>

using namespace lexitka;
using namespace lexitka::testing;

namespace {

QString sample(const QString &name) { return QStringLiteral(LEXITKA_SAMPLE_DATA "/") + name; }

// Runs `command`, which shows a file dialog; `check` sees the dialog, which
// is then cancelled.
bool inFileDialog(const std::function<void()> &command, const std::function<void(QFileDialog *)> &check)
{
    bool seen = false;
    ModalDriver driver([&](QWidget *modal) {
        auto *dlg = qobject_cast<QFileDialog *>(modal);
        if (!dlg || !dlg->isVisible() || seen)
            return;
        seen = true;
        driver.post([&check, dlg] {
            check(dlg);
            dlg->reject();
        });
    });
    command();
    return seen && !driver.timedOut();
}

// The row of `name` in the dialog's detail view, once the folder is read.
QModelIndex rowOf(QTreeView *view, const QString &name)
{
    QModelIndex found;
    for (int attempt = 0; attempt < 200 && !found.isValid(); ++attempt) {
        const QAbstractItemModel *m = view->model();
        const QModelIndex root = view->rootIndex();
        for (int r = 0; r < m->rowCount(root); ++r) {
            if (m->index(r, 0, root).data().toString() == name)
                found = m->index(r, 0, root);
        }
        if (!found.isValid())
            QTest::qWait(20);
    }
    return found;
}

} // namespace

class TestFileDialogs : public QObject {
    Q_OBJECT
private slots:
    void czechWhateverTheLocale();
    void installedProgramWritesIntoDocuments();
};

void TestFileDialogs::czechWhateverTheLocale()
{
    QCOMPARE(QLocale::system().name(), QStringLiteral("en_US"));
    Fixture f;
    writeFile(f.path("data.en"), readFile(sample("data.en")));
    const QString slovniky = f.path("Slovniky");
    QVERIFY(QDir().mkpath(slovniky));
    QVERIFY(QDir().mkpath(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation)));
    // Otevřít starts beside the open dictionary.
    QVERIFY(QDir().mkpath(f.path("Starší")));
    writeFile(f.path("b.de"), QByteArray(1536, 'x'));
    {
        QFile file(f.path("b.de"));
        QVERIFY(file.open(QIODevice::ReadWrite));
        QVERIFY(file.setFileTime(QDateTime(QDate(2026, 3, 5), QTime(14, 7)), QFileDevice::FileModificationTime));
    }
    auto app = f.makeApp(f.path("data.en"));
    TfrmMain &w = app->frmMain();
    QVERIFY(inFileDialog(
        [&] { w.Otevt1Click(); },
        [&](QFileDialog *dlg) {
            QCOMPARE(dlg->objectName(), QStringLiteral("dlgOpen"));
            QCOMPARE(dlg->findChild<QLabel *>("lookInLabel")->text(), QStringLiteral("Oblast hledání:"));
            QCOMPARE(dlg->findChild<QLabel *>("fileNameLabel")->text(), QStringLiteral("Název souboru:"));
            QCOMPARE(dlg->findChild<QLabel *>("fileTypeLabel")->text(), QStringLiteral("Soubory typu:"));
            QStringList buttons;
            for (QAbstractButton *b : dlg->findChild<QDialogButtonBox *>()->buttons())
                buttons.append(b->text());
            QCOMPARE(buttons, (QStringList{"Otevřít", "Storno"}));
            const std::pair<const char *, const char *> tips[] = {{"backButton", "Zpět"},
                                                                  {"forwardButton", "Vpřed"},
                                                                  {"toParentButton", "O úroveň výš"},
                                                                  {"newFolderButton", "Nová složka"},
                                                                  {"listModeButton", "Seznam"},
                                                                  {"detailModeButton", "Podrobnosti"}};
            for (const auto &[name, tip] : tips)
                QCOMPARE(dlg->findChild<QAbstractButton *>(name)->toolTip(), QString::fromUtf8(tip));

            // The side bar: home, Documents, the dictionary folder.
            QCOMPARE(
                dlg->sidebarUrls(),
                (QList<QUrl>{QUrl::fromLocalFile(QDir::homePath()),
                             QUrl::fromLocalFile(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation)),
                             QUrl::fromLocalFile(slovniky)}));

            // The list in detail, as the user switches to it.
            QTest::mouseClick(dlg->findChild<QAbstractButton *>("detailModeButton"), Qt::LeftButton);
            auto *tree = dlg->findChild<QTreeView *>("treeView");
            QVERIFY(tree && tree->isVisible());
            QStringList headers;
            for (int c = 0; c < 4; ++c)
                headers.append(tree->model()->headerData(c, Qt::Horizontal).toString());
            QCOMPARE(headers, (QStringList{"Název", "Velikost", "Typ", "Datum změny"}));
            const QModelIndex file = rowOf(tree, "b.de");
            QVERIFY(file.isValid());
            QCOMPARE(file.siblingAtColumn(1).data().toString(), QStringLiteral("1,5 kB"));
            QCOMPARE(file.siblingAtColumn(2).data().toString(), QStringLiteral("Soubor DE"));
            QCOMPARE(file.siblingAtColumn(3).data().toString(), QStringLiteral("5. 3. 2026 14:07"));
            const QModelIndex folder = rowOf(tree, "Starší");
            QVERIFY(folder.isValid());
            QCOMPARE(folder.siblingAtColumn(1).data().toString(), QString());
            QCOMPARE(folder.siblingAtColumn(2).data().toString(), QStringLiteral("Složka"));
        }));
}

void TestFileDialogs::installedProgramWritesIntoDocuments()
{
    // An installed program keeps its files in the hidden per-user folder.
    const QString perUser = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    QVERIFY(perUser.startsWith(QDir::homePath() + "/."));
    QVERIFY(QDir().mkpath(perUser + "/Slovniky"));
    QVERIFY(QDir().mkpath(documents));
    writeFile(perUser + "/data.en", readFile(sample("data.en")));
    Fixture f;
    Services services = f.services();
    services.programFolder = perUser;
    LexitkaApp app(services, perUser + "/data.en");
    TfrmMain &w = app.frmMain();
    QCOMPARE(w.dictionaryFolder(), perUser + "/Slovniky");

    QVERIFY(inFileDialog([&] { w.Uloitjako1Click(); },
                         [&](QFileDialog *dlg) {
                             QCOMPARE(dlg->objectName(), QStringLiteral("dlgSave"));
                             QCOMPARE(dlg->directory().absolutePath(), documents);
                             QCOMPARE(dlg->findChild<QLineEdit *>("fileNameEdit")->text(), QStringLiteral("data.en"));
                         }));
    // Opening and importing still start in the dictionary folder.
    QVERIFY(inFileDialog([&] { w.Import1Click(); },
                         [&](QFileDialog *dlg) { QCOMPARE(dlg->directory().absolutePath(), perUser + "/Slovniky"); }));

    // The rich-text export from the browser.
    bool exported = false;
    ModalDriver driver([&](QWidget *modal) {
        if (modal == &app.frmViewEdt() && !exported) {
            exported = true;
            driver.post([&] {
                QVERIFY(inFileDialog([&] { app.frmViewEdt().SaveToFIle(); },
                                     [&](QFileDialog *dlg) {
                                         QCOMPARE(dlg->objectName(), QStringLiteral("SaveDlg"));
                                         QCOMPARE(dlg->directory().absolutePath(), documents);
                                         QVERIFY(dlg->sidebarUrls().contains(QUrl::fromLocalFile(perUser)));
                                     }));
                app.frmViewEdt().close();
            });
        }
    });
    QTest::mouseClick(w.btnView, Qt::LeftButton);
    QVERIFY(exported && !driver.timedOut());

    // A copy of the program in a folder of its own: its dialogs stay there.
    writeFile(f.path("data.en"), readFile(sample("data.en")));
    QVERIFY(QDir().mkpath(f.path("Slovniky")));
    auto copy = f.makeApp(f.path("data.en"));
    QVERIFY(inFileDialog([&] { copy->frmMain().Uloitjako1Click(); },
                         [&](QFileDialog *dlg) { QCOMPARE(dlg->directory().absolutePath(), f.path("Slovniky")); }));
}

int main(int argc, char *argv[])
{
    // A user on an English system, in a home of the test's own.
    QTemporaryDir home;
    qputenv("LC_ALL", "en_US.UTF-8");
    qputenv("LANG", "en_US.UTF-8");
    qputenv("HOME", QFile::encodeName(home.path()));
    qunsetenv("XDG_DATA_HOME");
    qunsetenv("XDG_CONFIG_HOME");
    QApplication qapp(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Lexitka"));
    TestFileDialogs test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_filedialogs.moc"
