// What a screen reader hears: every control of every window that takes the
// keyboard focus has a name (its caption, its label, or one given to it),
// and the Tab key goes through a window in reading order.
#include "support/fakes.h"

#include "app/application.h"
#include "app/fabout.h"
#include "app/fmain.h"
#include "editor/ffind.h"
#include "editor/fimport.h"
#include "editor/fviewedit.h"
#include "editor/fword.h"
#include "exam/ferror.h"
#include "exam/ftestde.h"
#include "exam/ftestes.h"
#include "exam/ftestfr.h"
#include "exam/ftestsingle.h"
#include "platform/helpwindow.h"
#include "stats/fstatistic.h"

#include <QAbstractSpinBox>
#include <QAccessible>
#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QTableView>
#include <QtTest>

using namespace lexitka;
using namespace lexitka::testing;

namespace {

// A control of window that the Tab key stops at (once it is enabled).
bool takesFocus(const QWidget *w, const QWidget *window)
{
    return w != window && w->isVisibleTo(window) && (w->focusPolicy() & Qt::TabFocus) && !w->focusProxy()
           && w->window() == window;
}

// The controls the Tab key reaches in window, in its order.
QList<QWidget *> tabOrder(QWidget *window)
{
    QList<QWidget *> order;
    QWidget *w = window->nextInFocusChain();
    for (int guard = 0; w != window && guard < 1000; ++guard, w = w->nextInFocusChain())
        if (takesFocus(w, window) && w->isEnabled() && !order.contains(w))
            order.append(w);
    return order;
}

QString describe(const QWidget *w)
{
    return QStringLiteral("%1 (%2)").arg(w->objectName(), QString::fromLatin1(w->metaObject()->className()));
}

// Every focusable control of window without a name (disabled ones too:
// they are enabled in their turn), and the steps of the Tab key that go
// back up the window within the same column.
QStringList problems(QWidget *window)
{
    QStringList found;
    for (QWidget *w : window->findChildren<QWidget *>()) {
        if (!takesFocus(w, window))
            continue;
        QAccessibleInterface *a = QAccessible::queryAccessibleInterface(w);
        if (!a || a->text(QAccessible::Name).trimmed().isEmpty())
            found.append(QStringLiteral("unnamed: ") + describe(w));
    }
    const QList<QWidget *> order = tabOrder(window);
    for (qsizetype i = 1; i < order.size(); ++i) {
        const QRect from(order[i - 1]->mapTo(window, QPoint()), order[i - 1]->size());
        const QRect to(order[i]->mapTo(window, QPoint()), order[i]->size());
        // Below, or to the right of it: the next in reading order.
        const bool above = to.bottom() < from.top();
        const bool sameColumn = to.left() < from.right() && to.right() > from.left();
        if (above && sameColumn)
            found.append(QStringLiteral("Tab goes up from %1 to %2").arg(describe(order[i - 1]), describe(order[i])));
    }
    return found;
}

} // namespace

class TestAccessibility : public QObject {
    Q_OBJECT
private slots:
    void everyWindow();
};

void TestAccessibility::everyWindow()
{
    Fixture f;
    writeFile(f.path(QStringLiteral("slovnik.de")),
              "[Lekce 1]\r\n0=0\\Hund\\Hunde\\pes\r\n1=3\\sehen\\sieht,sah,h gesehen\\vid\xECt\r\n");
    const auto app = f.makeApp(f.path(QStringLiteral("slovnik.de")));
    TfrmImport import(nullptr, QStringLiteral("slova.tsv"), LangGerman, DelimitedHead{}, nullptr, std::nullopt,
                      QStringLiteral("Lekce 1"), false, QStringLiteral("slova"));
    writeFile(f.path(QStringLiteral("navod.html")), "<html><body><h1>N</h1></body></html>");
    TfrmHelp help(nullptr, f.path(QStringLiteral("navod.html")));
    const QList<QWidget *> windows{
        &app->frmMain(),   &app->frmTestEn(), &app->frmTestRu(),    &app->frmTestLt(),  &app->frmTestDe(),
        &app->frmTestFr(), &app->frmTestEs(), &app->frmError(),     &app->frmViewEdt(), &app->frmWord(),
        &app->frmFind(),   &import,           &app->frmStatistic(), &app->frmAbout(),   &help};
    app->frmTestDe().Panel->show(); // the verb forms, as for a verb
    QStringList found;
    for (QWidget *window : windows) {
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window));
        QVERIFY2(!tabOrder(window).isEmpty(), qPrintable(window->objectName()));
        for (const QString &p : problems(window))
            found.append(window->objectName() + QStringLiteral(": ") + p);
        window->hide();
    }
    // The verdict after an answer is text a screen reader can read: the
    // mistake dialog's answers and the test window's score.
    app->frmError().prepare("mu\x9E", "\x9E"
                                      "ena");
    auto spoken = [](QWidget *w) {
        QAccessibleInterface *a = QAccessible::queryAccessibleInterface(w);
        return a ? a->text(QAccessible::Name) : QString();
    };
    QCOMPARE(spoken(app->frmError().lblRight), QStringLiteral("muž"));
    QCOMPARE(spoken(app->frmError().lblYou), QStringLiteral("žena"));
    QVERIFY(spoken(app->frmTestEn().lblGood).startsWith(QStringLiteral("Dobře")));
    QVERIFY(spoken(app->frmTestEn().lblBad).startsWith(QStringLiteral("Špatně")));

    // The browser's grid menu: every command by its name.
    for (QAction *action : app->frmViewEdt().sgList->actions())
        if (!action->isSeparator() && action->text().isEmpty())
            found.append(QStringLiteral("frmViewEdt: a command without a name"));
    QVERIFY2(found.isEmpty(), qPrintable(found.join(u'\n')));
}

QTEST_MAIN(TestAccessibility)
#include "tst_accessibility.moc"
