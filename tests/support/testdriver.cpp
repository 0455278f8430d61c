#include "support/testdriver.h"

#include <QDialog>
#include <QPointer>
#include <QTimer>
#include <QtTest>

namespace lexitka::testing {

bool runModalTest(UTest &test, int code, QDialog &window, const std::function<void()> &steps, int timeoutMs)
{
    QObject guard; // cancels both timers should the window never run
    bool timedOut = false;
    QPointer<QDialog> target(&window);
    QTimer::singleShot(timeoutMs, &guard, [&] {
        timedOut = true;
        if (target && target->isVisible())
            target->close();
    });
    QTimer::singleShot(0, &guard, [&] {
        steps();
        if (target && target->isVisible())
            target->close();
    });
    test.StartTest(code);
    return !timedOut;
}

void typeText(QWidget *widget, const QString &text)
{
    for (const QChar c : text) {
        const ushort u = c.toUpper().unicode();
        const Qt::Key key = u < 0x100 ? Qt::Key(u) : Qt::Key_unknown;
        QTest::sendKeyEvent(QTest::Click, widget, key, QString(c), Qt::NoModifier);
    }
}

void pressKey(QWidget *widget, int key) { QTest::keyClick(widget, Qt::Key(key)); }

} // namespace lexitka::testing
