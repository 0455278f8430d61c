// The Czech user guide: where the program finds it, what the build makes of
// it, and F1 (or the menu) in the main window and F1 in the lesson browser
// showing it in the program's own help window.
#include "support/fakes.h"
#include "support/modal.h"

#include "app/application.h"
#include "app/fmain.h"
#include "editor/fviewedit.h"
#include "platform/help.h"
#include "platform/helpwindow.h"

#include <QDesktopServices>
#include <QMenu>
#include <QMenuBar>
#include <QComboBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QTableView>
#include <QTextBrowser>
#include <QtTest>

using namespace lexitka;
using namespace lexitka::testing;

// Stands in for the desktop's handler of local files.
class UrlRecorder : public QObject {
    Q_OBJECT
public:
    QList<QUrl> urls;
public slots:
    void open(const QUrl &url) { urls.append(url); }
};

class TestHelp : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void guideIsFound();
    void builtGuideIsComplete();
    void f1OpensGuide();
    void missingGuideIsSaid();

private:
    // The guide the build made, placed beside this test program as beside
    // the executable of a build.
    QString besideTests() const { return QCoreApplication::applicationDirPath() + QStringLiteral("/help"); }
    void placeGuide();
    // Opens the lesson browser over the main window, runs `script` in it and closes it.
    bool inBrowser(LexitkaApp &app, const std::function<void(TfrmViewEdt &)> &script);

    UrlRecorder m_opened;
};

void TestHelp::initTestCase()
{
    QDesktopServices::setUrlHandler(QStringLiteral("file"), &m_opened, "open");
    placeGuide();
}

void TestHelp::cleanupTestCase()
{
    QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
    QDir(besideTests()).removeRecursively();
}

void TestHelp::placeGuide()
{
    QVERIFY(QDir().mkpath(besideTests()));
    const QString target = besideTests() + QStringLiteral("/navod.html");
    QFile::remove(target);
    QVERIFY(QFile::copy(QStringLiteral(LEXITKA_BUILD_DIR "/help/navod.html"), target));
    // And its pictures, as the build and the installation place them.
    QVERIFY(QDir().mkpath(besideTests() + QStringLiteral("/images")));
    const QDir images(QStringLiteral(LEXITKA_BUILD_DIR "/help/images"));
    for (const QString &picture : images.entryList(QDir::Files)) {
        QFile::remove(besideTests() + QStringLiteral("/images/") + picture);
        QVERIFY(QFile::copy(images.filePath(picture), besideTests() + QStringLiteral("/images/") + picture));
    }
}

void TestHelp::guideIsFound()
{
    // An installation's guide, beside a carried copy's, or none.
    QTemporaryDir dir;
    const QString prefix = dir.filePath(QStringLiteral("usr"));
    const QString installed = prefix + QStringLiteral("/share/lexitka/help/navod.html");
    QVERIFY(QDir().mkpath(prefix + QStringLiteral("/bin/help")));
    QCOMPARE(userGuidePath(prefix + QStringLiteral("/bin")), QString());
    writeFile(prefix + QStringLiteral("/bin/help/navod.html"), "<html></html>");
    QCOMPARE(userGuidePath(prefix + QStringLiteral("/bin")), prefix + QStringLiteral("/bin/help/navod.html"));
    QVERIFY(QDir().mkpath(QFileInfo(installed).path()));
    writeFile(installed, "<html></html>");
    QCOMPARE(userGuidePath(prefix + QStringLiteral("/bin")), installed);
    // A folder named like the guide is no guide.
    QVERIFY(QDir().mkpath(dir.filePath(QStringLiteral("odd/help/navod.html"))));
    QCOMPARE(userGuidePath(dir.filePath(QStringLiteral("odd"))), QString());
}

void TestHelp::builtGuideIsComplete()
{
    // One Czech page with a title, every window's chapter, and every picture
    // it shows beside it.
    const QString guide = userGuidePath(QStringLiteral(LEXITKA_BUILD_DIR));
    QCOMPARE(guide, QStringLiteral(LEXITKA_BUILD_DIR "/help/navod.html"));
    const QString html = QString::fromUtf8(readFile(guide));
    QVERIFY(html.contains(QStringLiteral("<html lang=\"cs\">")));
    QVERIFY(html.contains(QStringLiteral("<title>Lexitka – návod</title>")));
    for (const char *chapter : {"Hlavní okno", "Zkouška", "Rozložení klávesnice", "Okno lekcí", "Statistika",
                                "Kde jsou soubory", "Slovník pro ty, kdo ho píší ručně"})
        QVERIFY2(html.contains(QString::fromUtf8(chapter)), chapter);
    // The contents link to every chapter's anchor.
    QRegularExpressionMatchIterator links =
        QRegularExpression(QStringLiteral("<a href=\"#([^\"]+)\">")).globalMatch(html);
    int linked = 0;
    for (; links.hasNext(); ++linked) {
        const QString anchor = links.next().captured(1);
        QVERIFY2(html.contains(QStringLiteral("<a name=\"%1\">").arg(anchor)), qPrintable(anchor));
    }
    QCOMPARE(linked, int(html.count(QStringLiteral("<h2"))));
    QStringList pictures;
    QRegularExpressionMatchIterator it = QRegularExpression(QStringLiteral("<img src=\"([^\"]+)\"")).globalMatch(html);
    while (it.hasNext())
        pictures.append(it.next().captured(1));
    QCOMPARE(pictures.size(), QDir(QStringLiteral(LEXITKA_SOURCE_DIR "/docs/images")).entryList(QDir::Files).size());
    for (const QString &picture : pictures)
        QVERIFY2(QFileInfo(QFileInfo(guide).dir().filePath(picture)).isFile(), qPrintable(picture));
}

bool TestHelp::inBrowser(LexitkaApp &app, const std::function<void(TfrmViewEdt &)> &script)
{
    bool ran = false;
    ModalDriver driver([&](QWidget *modal) {
        if (modal == &app.frmViewEdt() && !ran) {
            ran = true;
            driver.post([&] {
                script(app.frmViewEdt());
                app.frmViewEdt().close();
            });
        }
    });
    QTest::mouseClick(app.frmMain().btnView, Qt::LeftButton);
    return ran && !driver.timedOut();
}

namespace {

// The help window open over `window`, or null.
TfrmHelp *helpOver(QWidget &window)
{
    auto *help = window.findChild<TfrmHelp *>(QString(), Qt::FindDirectChildrenOnly);
    return help && help->isVisible() ? help : nullptr;
}

} // namespace

void TestHelp::f1OpensGuide()
{
    Fixture f;
    writeFile(f.path(QStringLiteral("data.en")), "[Lekce 1]\r\n0=dog\\pes\r\n");
    const auto app = f.makeApp(f.path(QStringLiteral("data.en")));
    TfrmMain &main = app->frmMain();
    main.show();
    QVERIFY(QTest::qWaitForWindowActive(&main));
    const QUrl guide = QUrl::fromLocalFile(besideTests() + QStringLiteral("/navod.html"));
    m_opened.urls.clear();

    // The main window: F1 shows the guide in the program's own window, with
    // its pictures, and nothing is asked of the desktop.
    QTest::keyClick(&main, Qt::Key_F1);
    TfrmHelp *help = helpOver(main);
    QVERIFY(help);
    QCOMPARE(help->windowTitle(), QStringLiteral("Lexitka – návod"));
    QCOMPARE(help->txtNavod->source(), guide);
    QVERIFY(help->txtNavod->toPlainText().contains(QStringLiteral("Hlavní okno")));
    const QVariant picture = help->txtNavod->document()->resource(QTextDocument::ImageResource,
                                                                  QUrl(QStringLiteral("images/main-window.png")));
    QVERIFY(!qvariant_cast<QImage>(picture).isNull() || !qvariant_cast<QPixmap>(picture).isNull());
    QVERIFY(m_opened.urls.isEmpty());

    // A chapter of the contents, reached by the keyboard, and back.
    QVERIFY(!help->btnZpet->isEnabled());
    help->txtNavod->setFocus();
    QTest::keyClick(help->txtNavod, Qt::Key_Tab);
    QTest::keyClick(help->txtNavod, Qt::Key_Return);
    QCOMPARE(help->txtNavod->source().fragment(), QStringLiteral("kapitola-1"));
    QVERIFY(help->btnZpet->isEnabled());
    QTest::mouseClick(help->btnZpet, Qt::LeftButton);
    QCOMPARE(help->txtNavod->source(), guide);

    // The menu "Nápověda" shows the same window, not a second one.
    auto *menu = main.menuBar()->findChild<QMenu *>(QStringLiteral("mnuNapoveda"));
    QVERIFY(menu);
    QCOMPARE(menu->title(), QStringLiteral("&Nápověda"));
    QCOMPARE(menu->actions().size(), 1);
    QCOMPARE(menu->actions().first()->shortcut(), QKeySequence(Qt::Key_F1));
    menu->actions().first()->trigger();
    QCOMPARE(main.findChildren<TfrmHelp *>().size(), 1);
    QTest::mouseClick(help->btnZavrit, Qt::LeftButton);
    QTRY_VERIFY(!helpOver(main));

    // The lesson browser, modal: F1 in the grid and in the lesson list shows
    // a window that takes input while the browser waits, and closes with Esc.
    QVERIFY(inBrowser(*app, [&](TfrmViewEdt &v) {
        v.sgList->setFocus();
        QTest::keyClick(v.sgList, Qt::Key_F1);
        TfrmHelp *over = helpOver(v);
        QVERIFY(over);
        QCOMPARE(over->windowModality(), Qt::ApplicationModal);
        QVERIFY(QTest::qWaitForWindowActive(over));
        QTest::keyClick(over->txtNavod, Qt::Key_Escape);
        QTRY_VERIFY(!helpOver(v));
        v.cmbLekce->setFocus();
        QTest::keyClick(v.cmbLekce, Qt::Key_F1);
        QVERIFY(helpOver(v));
        helpOver(v)->close();
    }));
    QVERIFY(m_opened.urls.isEmpty());
    QVERIFY(f.messenger.messages.isEmpty());
}

void TestHelp::missingGuideIsSaid()
{
    QDir(besideTests()).removeRecursively();
    Fixture f;
    const auto app = f.makeApp();
    TfrmMain &main = app->frmMain();
    main.show();
    QVERIFY(QTest::qWaitForWindowActive(&main));
    m_opened.urls.clear();
    f.messenger.messages.clear();
    QTest::keyClick(&main, Qt::Key_F1);
    QVERIFY(m_opened.urls.isEmpty());
    QCOMPARE(f.messenger.texts(), QStringList{QStringLiteral("Návod k programu není nainstalován.")});
    placeGuide();
}

QTEST_MAIN(TestHelp)
#include "tst_help.moc"
