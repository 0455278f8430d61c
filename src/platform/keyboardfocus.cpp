#include "keyboardfocus.h"

#include "platform/keyboard.h"

#include <QEvent>
#include <QGuiApplication>
#include <QWindow>

namespace lexitka {

KeyboardFocusWatch::KeyboardFocusWatch(Keyboards &keyboards, QObject *parent)
    : QObject(parent), m_keyboards(keyboards)
{
    if (!qGuiApp)
        return;
    connect(qGuiApp, &QGuiApplication::applicationStateChanged, this, &KeyboardFocusWatch::check);
    connect(qGuiApp, &QGuiApplication::focusWindowChanged, this, &KeyboardFocusWatch::check);
    qGuiApp->installEventFilter(this);
}

KeyboardFocusWatch::~KeyboardFocusWatch()
{
    if (qGuiApp)
        qGuiApp->removeEventFilter(this);
}

bool KeyboardFocusWatch::eventFilter(QObject *watched, QEvent *event)
{
    // The focus is gone only once the hiding is through.
    if (event->type() == QEvent::Hide && watched->isWindowType())
        QMetaObject::invokeMethod(this, &KeyboardFocusWatch::check, Qt::QueuedConnection);
    return false;
}

void KeyboardFocusWatch::check()
{
    const QWindow *focus = QGuiApplication::focusWindow();
    m_keyboards.applicationActive(QGuiApplication::applicationState() == Qt::ApplicationActive && focus
                                  && focus->isVisible());
}

} // namespace lexitka
