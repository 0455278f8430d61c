// Keyboard layouts on a real X display: an Xvfb of the test's own, layouts
// set by setxkbmap, keys pressed through XTest as a user's hand would, and
// the program's windows on that display (QT_QPA_PLATFORM=xcb).
#include "support/externaltools.h"
#include "support/fakes.h"
#include "support/modal.h"
#include "support/testdriver.h"

#include "app/fmain.h"
#include "editor/fviewedit.h"
#include "editor/fword.h"
#include "exam/ftestfr.h"
#include "platform/x11keyboard.h"

#include <QApplication>
#include <QInputDialog>
#include <QPushButton>
#include <QLineEdit>
#include <QProcess>
#include <QRegularExpression>
#include <QtTest>

#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#ifdef LEXITKA_TEST_X11
#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#undef Bool // moc's code names QMetaType::Bool
#endif

using namespace lexitka;
using namespace lexitka::testing;

namespace {

// An Xvfb on a free display number, started before the application so that
// the application can run on it. -noreset: the server would otherwise reload
// its US keymap whenever its last client leaves, setxkbmap included.
class OwnXServer {
public:
    OwnXServer()
    {
#ifndef LEXITKA_TEST_X11
        why = QStringLiteral("built without the X11 libraries");
        return;
#endif
        if (!haveTools({QStringLiteral("Xvfb"), QStringLiteral("setxkbmap"), QStringLiteral("xkbcomp")})) {
            why = QStringLiteral("Xvfb, setxkbmap or xkbcomp is missing");
            return;
        }
        int fds[2];
        if (pipe(fds) != 0)
            return;
        m_pid = fork();
        if (m_pid == 0) {
            prctl(PR_SET_PDEATHSIG, SIGTERM); // never outlive a crashed test
            dup2(fds[1], 3);
            if (fds[0] != 3)
                close(fds[0]);
            const int null = open("/dev/null", O_WRONLY);
            dup2(null, 2);
            execlp("Xvfb", "Xvfb", "-displayfd", "3", "-noreset", "-nolisten", "tcp", "-screen", "0", "800x600x24",
                   static_cast<char *>(nullptr));
            _exit(127);
        }
        close(fds[1]);
        // The server writes its display number once it takes connections.
        QByteArray number;
        pollfd p{fds[0], POLLIN, 0};
        char c = 0;
        while (m_pid > 0 && poll(&p, 1, 10000) > 0 && read(fds[0], &c, 1) == 1 && c != '\n')
            number += c;
        close(fds[0]);
        if (number.isEmpty()) {
            why = QStringLiteral("Xvfb did not start");
            return;
        }
        display = ':' + number;
    }
    ~OwnXServer()
    {
        if (m_pid > 0) {
            kill(m_pid, SIGTERM);
            waitpid(m_pid, nullptr, 0);
        }
    }
    OwnXServer(const OwnXServer &) = delete;
    OwnXServer &operator=(const OwnXServer &) = delete;

    QByteArray display; // ":5"; empty when there is none
    QString why;        // and why

private:
    pid_t m_pid = -1;
};

#ifdef LEXITKA_TEST_X11
// How the keys are labelled: a Czech keyboard has Z where a US one has Y.
enum class Labels { Czech, US };

// The XKB names of the keys a user presses to type letters and blanks as
// his keyboard is labelled.
QList<QByteArray> keysFor(const QString &text, Labels labels)
{
    static const std::pair<const char *, const char *> rows[] = {
        {"AD", "qwertyuiop"}, {"AC", "asdfghjkl"}, {"AB", "zxcvbnm"}};
    QList<QByteArray> keys;
    for (QChar c : text) {
        if (c.unicode() >= 0x80 || (!c.isLower() && c != u' '))
            continue;
        if (labels == Labels::Czech && (c == u'z' || c == u'y'))
            c = c == u'z' ? u'y' : u'z';
        if (c == u' ') {
            keys.append("SPCE");
            continue;
        }
        for (const auto &[row, letters] : rows) {
            if (const char *at = strchr(letters, c.toLatin1()))
                keys.append(row + QByteArray::number(at - letters + 1).rightJustified(2, '0'));
        }
    }
    return keys;
}

#endif

} // namespace

class TestX11Keyboard : public QObject {
    Q_OBJECT
public:
    explicit TestX11Keyboard(OwnXServer &server) : m_server(server) { }

private slots:
    void initTestCase();
    void cleanupTestCase();
    void findsTheDisplaysLayouts();
    void switchesAndGivesBack();
    void keysOnTheUsersOwnLayout_data();
    void keysOnTheUsersOwnLayout();
    void layoutOfTheNextFieldAfterADialog();

#ifdef LEXITKA_TEST_X11
private:
    // Sets the display's layouts; false (with the reason) when the keymap
    // did not really change to these groups.
    bool setLayouts(const QString &layouts, const QStringList &groupNames, QString *why);
    void lockGroup(int group);
    int group();
    void press(const QByteArray &key, bool shift = false);
    void type(const QList<QByteArray> &keys);
    // The focus goes to a window, as a window manager would give it.
    void focus(unsigned long window);

    // A program under test on the display, with the real layout service.
    struct Program {
        Fixture f;
        X11KeyboardLayoutService service{X11KeyboardLayoutService::applicationDisplay()};
        std::unique_ptr<LexitkaApp> app;
        std::unique_ptr<RecordingTestUi> ui;
        Program()
        {
            Services services = f.services();
            services.keyboard = &service;
            app = std::make_unique<LexitkaApp>(services, QString());
            ui = std::make_unique<RecordingTestUi>(*app);
            app->test().setUi(ui.get());
            app->test().LanguageCode = LangFrench;
        }
        TfrmTestFr &window() { return app->frmTestFr(); }
        // A French test asking Czech to French, steps run with the window up.
        bool frenchTest(const std::function<void()> &steps)
        {
            app->test().WordPool = {"0=3\\yeux\\" + cz(QStringLiteral("oči"))};
            app->test().TestKinds = {false, true, false, false};
            return runModalTest(app->test(), LangFrench, window(), steps);
        }
    };

    Display *m_x = nullptr; // the test's own connection: the user's hand
    Window m_other = 0;     // a window of "another program"
#endif
    OwnXServer &m_server;
};

#ifndef LEXITKA_TEST_X11

void TestX11Keyboard::initTestCase() { QSKIP(qPrintable(m_server.why)); }
void TestX11Keyboard::cleanupTestCase() { }
void TestX11Keyboard::findsTheDisplaysLayouts() { }
void TestX11Keyboard::switchesAndGivesBack() { }
void TestX11Keyboard::keysOnTheUsersOwnLayout_data() { }
void TestX11Keyboard::keysOnTheUsersOwnLayout() { }
void TestX11Keyboard::layoutOfTheNextFieldAfterADialog() { }

#else

void TestX11Keyboard::initTestCase()
{
    if (m_server.display.isEmpty())
        QSKIP(qPrintable(m_server.why));
    QVERIFY(X11KeyboardLayoutService::applicationDisplay());
    m_x = XOpenDisplay(m_server.display.constData());
    QVERIFY(m_x);
    int opcode = 0, event = 0, error = 0, major = XkbMajorVersion, minor = XkbMinorVersion;
    QVERIFY(XkbQueryExtension(m_x, &opcode, &event, &error, &major, &minor));
    int xtestEvent = 0, xtestError = 0;
    QVERIFY(XTestQueryExtension(m_x, &xtestEvent, &xtestError, &major, &minor));

    m_other = XCreateSimpleWindow(m_x, DefaultRootWindow(m_x), 500, 400, 100, 100, 0, 0, 0);
    XSelectInput(m_x, m_other, StructureNotifyMask);
    XMapWindow(m_x, m_other);
    XEvent e;
    do
        XWindowEvent(m_x, m_other, StructureNotifyMask, &e);
    while (e.type != MapNotify);
}

void TestX11Keyboard::cleanupTestCase()
{
    if (m_x)
        XCloseDisplay(m_x);
}

bool TestX11Keyboard::setLayouts(const QString &layouts, const QStringList &groupNames, QString *why)
{
    const QString display = QString::fromLatin1(m_server.display);
    if (QProcess::execute(QStringLiteral("setxkbmap"),
                          {QStringLiteral("-display"), display, QStringLiteral("-layout"), layouts})
        != 0) {
        *why = QStringLiteral("setxkbmap -layout %1 failed").arg(layouts);
        return false;
    }
    // setxkbmap may say nothing and leave the old keymap: read it back.
    const QString keymap =
        runTool(QStringLiteral("xkbcomp"), {QStringLiteral("-w"), QStringLiteral("0"), display, QStringLiteral("-")});
    QStringList names;
    static const QRegularExpression groupName(QStringLiteral("name\\[group\\d\\]\\s*=\\s*\"([^\"]*)\""),
                                              QRegularExpression::CaseInsensitiveOption);
    for (const auto &m : groupName.globalMatch(keymap))
        names.append(m.captured(1));
    if (names != groupNames) {
        *why = QStringLiteral("after setxkbmap -layout %1 the keymap has the groups [%2], not [%3]")
                   .arg(layouts, names.join(u", "), groupNames.join(u", "));
        return false;
    }
    // Let the application take in the new keymap before any key comes.
    XSync(X11KeyboardLayoutService::applicationDisplay(), False);
    QTest::qWait(100);
    return true;
}

void TestX11Keyboard::lockGroup(int g)
{
    XkbLockGroup(m_x, XkbUseCoreKbd, g);
    XSync(m_x, False);
}

int TestX11Keyboard::group()
{
    // What the program sent before must have reached the server.
    XSync(X11KeyboardLayoutService::applicationDisplay(), False);
    XkbStateRec state{};
    XkbGetState(m_x, XkbUseCoreKbd, &state);
    return state.locked_group;
}

void TestX11Keyboard::press(const QByteArray &key, bool shift)
{
    auto keycode = [this](const char *name) {
        XkbDescPtr desc = XkbGetMap(m_x, 0, XkbUseCoreKbd);
        int found = 0;
        if (!desc || XkbGetNames(m_x, XkbKeyNamesMask, desc) != Success)
            return found;
        for (int kc = desc->min_key_code; kc <= desc->max_key_code && !found; ++kc) {
            if (strncmp(desc->names->keys[kc].name, name, XkbKeyNameLength) == 0)
                found = kc;
        }
        XkbFreeKeyboard(desc, XkbAllComponentsMask, True);
        return found;
    };
    const int code = keycode(key.constData());
    const int shiftCode = keycode("LFSH");
    QVERIFY2(code && shiftCode, key.constData());
    if (shift)
        XTestFakeKeyEvent(m_x, shiftCode, True, CurrentTime);
    XTestFakeKeyEvent(m_x, code, True, CurrentTime);
    XTestFakeKeyEvent(m_x, code, False, CurrentTime);
    if (shift)
        XTestFakeKeyEvent(m_x, shiftCode, False, CurrentTime);
    XSync(m_x, False);
}

void TestX11Keyboard::type(const QList<QByteArray> &keys)
{
    for (const QByteArray &key : keys)
        press(key);
}

void TestX11Keyboard::focus(unsigned long window)
{
    XSetInputFocus(m_x, window, RevertToParent, CurrentTime);
    XSync(m_x, False);
}

void TestX11Keyboard::findsTheDisplaysLayouts()
{
    struct Case {
        QString layouts;
        QStringList names;
        std::optional<quintptr> czech, english;
    };
    const QList<Case> cases{
        {QStringLiteral("cz,us"), {QStringLiteral("Czech"), QStringLiteral("English (US)")}, 0, 1},
        {QStringLiteral("us"), {QStringLiteral("English (US)")}, std::nullopt, 0},
        {QStringLiteral("cz"), {QStringLiteral("Czech")}, 0, std::nullopt},
        // The last match wins: the British layout, not the US one.
        {QStringLiteral("us,cz,gb"),
         {QStringLiteral("English (US)"), QStringLiteral("Czech"), QStringLiteral("English (UK)")},
         1,
         2},
    };
    for (const Case &c : cases) {
        QString why;
        if (!setLayouts(c.layouts, c.names, &why))
            QSKIP(qPrintable(why));
        lockGroup(0);
        X11KeyboardLayoutService service(X11KeyboardLayoutService::applicationDisplay());
        const auto list = service.layouts();
        QVERIFY(list);
        QStringList names;
        for (const KeyboardLayout &layout : *list) {
            QCOMPARE(layout.handle, quintptr(names.size())); // the group's number
            names.append(layout.englishLanguageName);
        }
        QCOMPARE(names, c.names);

        Keyboards keyboards(service);
        keyboards.findLayouts();
        QCOMPARE(keyboards.czech(), c.czech);
        QCOMPARE(keyboards.english(), c.english);
        QCOMPARE(keyboards.canSwitch(), c.czech && c.english);
        keyboards.UseForeignKeyboard();
        QCOMPARE(group(), c.czech && c.english ? int(*c.english) : 0);
        keyboards.UseCzechKeyboard();
        QCOMPARE(group(), c.czech && c.english ? int(*c.czech) : 0);
    }
}

void TestX11Keyboard::switchesAndGivesBack()
{
    QString why;
    if (!setLayouts(QStringLiteral("cz,us"), {QStringLiteral("Czech"), QStringLiteral("English (US)")}, &why))
        QSKIP(qPrintable(why));
    lockGroup(0); // the user types Czech
    auto p = std::make_unique<Program>();
    QVERIFY(p->app->keyboards().canSwitch());
    QCOMPARE(group(), 0); // starting switches nothing

    TfrmTestFr &w = p->window();
    QVERIFY(p->frenchTest([&] {
        w.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        // The French word is typed on the English layout.
        QCOMPARE(group(), 1);
        QCOMPARE(w.focusWidget(), w.edtPreklad);
        // The Czech keys Z, O, O, blank, Y, E, U, X and 2: y and z as
        // labelled, the digit an accent.
        type(keysFor(QStringLiteral("zoo yeux"), Labels::Czech));
        press("AE02");
        QTRY_COMPARE(w.edtPreklad->text(), QStringLiteral("zoo yeuxê"));

        // Another program gets the keyboard, and with it the user's layout.
        focus(m_other);
        QTRY_COMPARE(group(), 0);
        QTRY_COMPARE(QGuiApplication::applicationState(), Qt::ApplicationInactive);

        // Back in the test: the English layout again, y and z still right.
        focus(w.winId());
        QVERIFY(QTest::qWaitForWindowActive(&w));
        QTRY_COMPARE(group(), 1);
        type(keysFor(QStringLiteral(" zy"), Labels::Czech));
        QTRY_COMPARE(w.edtPreklad->text(), QStringLiteral("zoo yeuxê zy"));
    }));
    // The test window closed and no window of ours is left active.
    QTRY_COMPARE(group(), 0);

    // The end of the program gives the layout back, whatever was active.
    p->app->show();
    QVERIFY(QTest::qWaitForWindowExposed(&p->app->frmMain()));
    focus(p->app->frmMain().winId());
    QVERIFY(QTest::qWaitForWindowActive(&p->app->frmMain()));
    p->app->keyboards().UseForeignKeyboard();
    QCOMPARE(group(), 1);
    p->app.reset();
    QCOMPARE(group(), 0);
}

void TestX11Keyboard::keysOnTheUsersOwnLayout_data()
{
    QTest::addColumn<QString>("layouts");
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<int>("own");
    QTest::addColumn<bool>("czechLabels");
    QTest::addColumn<bool>("shiftDigit");
    QTest::addColumn<QString>("typed");
    const QString czech = QStringLiteral("Czech"), us = QStringLiteral("English (US)");
    // Nothing to switch to: each key gives the letter it is labelled with;
    // the digit codes need Shift on the Czech layout, whose number row
    // gives Czech letters.
    QTest::newRow("us alone") << "us" << QStringList{us} << 0 << false << false << "zoo yeux ê";
    QTest::newRow("cz alone") << "cz" << QStringList{czech} << 0 << true << false << "zoo yeux ě";
    QTest::newRow("cz alone, Shift") << "cz" << QStringList{czech} << 0 << true << true << "zoo yeux ê";
    // Both, the user on the English one: the program switches to what he has.
    QTest::newRow("cz,us on us") << "cz,us" << QStringList{czech, us} << 1 << false << false << "zoo yeux ê";
}

void TestX11Keyboard::keysOnTheUsersOwnLayout()
{
    QFETCH(QString, layouts);
    QFETCH(QStringList, names);
    QFETCH(int, own);
    QFETCH(bool, czechLabels);
    QFETCH(bool, shiftDigit);
    QFETCH(QString, typed);
    QString why;
    if (!setLayouts(layouts, names, &why))
        QSKIP(qPrintable(why));
    lockGroup(own);
    Program p;
    TfrmTestFr &w = p.window();
    QVERIFY(p.frenchTest([&] {
        w.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        type(keysFor(QStringLiteral("zoo yeux "), czechLabels ? Labels::Czech : Labels::US));
        press("AE02", shiftDigit);
        QTRY_COMPARE(w.edtPreklad->text(), typed);
        QCOMPARE(group(), own);
    }));
    QCOMPARE(group(), own);
}

void TestX11Keyboard::layoutOfTheNextFieldAfterADialog()
{
    QString why;
    if (!setLayouts(QStringLiteral("cz,us"), {QStringLiteral("Czech"), QStringLiteral("English (US)")}, &why))
        QSKIP(qPrintable(why));
    lockGroup(1); // the user's own layout is the English one
    Fixture f;
    writeFile(f.path("slova.fr"), "[Lekce 1]\r\n0=0\\chat\\kocka\r\n");
    X11KeyboardLayoutService service{X11KeyboardLayoutService::applicationDisplay()};
    Services services = f.services();
    services.keyboard = &service;
    auto app = std::make_unique<LexitkaApp>(services, f.path("slova.fr"));
    app->show();
    QVERIFY(QTest::qWaitForWindowExposed(&app->frmMain()));
    TfrmViewEdt &view = app->frmViewEdt();
    TfrmWord &word = app->frmWord();
    // By name: Xlib's headers take ButtonN for macros.
    auto button = [](QWidget *window, const char *name) {
        return window->findChild<QPushButton *>(QString::fromLatin1(name));
    };
    auto takeFocus = [this](QWidget *window) {
        focus(window->winId());
        return QTest::qWaitForWindowActive(window);
    };

    int step = 0;
    QString lessonName;
    ModalDriver driver([&](QWidget *modal) {
        if (modal == &view && step == 0) {
            step = 1;
            driver.post([&] {
                QVERIFY(takeFocus(&view));
                QCOMPARE(group(), 1);                                        // the browser alone switches nothing
                QTest::mouseClick(button(&view, "Button3"), Qt::LeftButton); // "Přidat slovíčko"
                // The word dialog left the English layout of its foreign
                // word; the browser's fields are Czech.
                QVERIFY(takeFocus(&view));
                QTRY_COMPARE(group(), 0);
                step = 3;
                QTest::mouseClick(button(&view, "Button2"), Qt::LeftButton); // "Přidat lekci"
                view.close();
            });
        } else if (modal == &word && step == 1) {
            step = 2;
            driver.post([&] {
                QVERIFY(takeFocus(&word));
                word.edtPreklad->setFocus();
                QTRY_COMPARE(group(), 0);
                word.edtSlovo->setFocus(); // a French word: the English layout
                QTRY_COMPARE(group(), 1);
                QTest::mouseClick(button(&word, "Button2"), Qt::LeftButton); // "Storno"
            });
        } else if (auto *ask = qobject_cast<QInputDialog *>(modal); ask && step == 3) {
            step = 4;
            driver.post([&, ask] {
                QVERIFY(takeFocus(ask));
                auto *field = ask->findChild<QLineEdit *>();
                QVERIFY(field);
                QTRY_COMPARE(ask->focusWidget(), field);
                field->clear();
                // The Czech keys Ě and Z: on the English layout they give "2y".
                press("AE02");
                type(keysFor(QStringLiteral("z"), Labels::Czech));
                QTRY_COMPARE(field->text().size(), 2);
                lessonName = field->text();
                ask->reject();
            });
        }
    });
    QTest::mouseClick(app->frmMain().btnView, Qt::LeftButton);
    QVERIFY(!driver.timedOut());
    QCOMPARE(step, 4);
    QCOMPARE(lessonName, QStringLiteral("ěz"));
    app.reset();
    QCOMPARE(group(), 1); // the user's own again
}

#endif

int main(int argc, char *argv[])
{
    OwnXServer server; // outlives the application that runs on it
    if (server.display.isEmpty()) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    } else {
        qputenv("DISPLAY", server.display);
        qputenv("QT_QPA_PLATFORM", "xcb");
        // A display of our own has no session bus: libdbus would go looking
        // for one to launch (and keep a buffer the leak checker reports).
        qputenv("DBUS_SESSION_BUS_ADDRESS", "disabled:");
    }
    int result = 0;
    {
        QApplication app(argc, argv);
        TestX11Keyboard test(server);
        result = QTest::qExec(&test, argc, argv);
    }
    return result;
}

#include "tst_x11keyboard.moc"
