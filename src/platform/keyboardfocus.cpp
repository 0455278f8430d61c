#include "keyboardfocus.h"

#include "platform/keyboard.h"

#include <QApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QVariant>
#include <QWidget>
#include <QWindow>

namespace lexitka {
namespace {

constexpr char kFieldKeyboard[] = "lexitkaFieldKeyboard";

} // namespace

void setFieldKeyboard(QWidget *widget, FieldKeyboard keyboard) { widget->setProperty(kFieldKeyboard, int(keyboard)); }

std::optional<FieldKeyboard> fieldKeyboard(const QWidget *widget)
{
    for (; widget; widget = widget->parentWidget()) {
        const QVariant mark = widget->property(kFieldKeyboard);
        if (mark.isValid())
            return FieldKeyboard(mark.toInt());
    }
    return std::nullopt;
}

KeyboardFocusWatch::KeyboardFocusWatch(Keyboards &keyboards, QObject *parent) : QObject(parent), m_keyboards(keyboards)
{
    if (!qGuiApp)
        return;
    connect(qGuiApp, &QGuiApplication::applicationStateChanged, this, &KeyboardFocusWatch::check);
    connect(qGuiApp, &QGuiApplication::focusWindowChanged, this, &KeyboardFocusWatch::check);
    qGuiApp->installEventFilter(this);
    if (auto *app = qobject_cast<QApplication *>(qGuiApp)) {
        connect(app, &QApplication::focusChanged, this, [this](QWidget *, QWidget *now) { focusChanged(now); });
    }
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

void KeyboardFocusWatch::focusChanged(QWidget *now)
{
    if (const auto keyboard = fieldKeyboard(now))
        m_keyboards.fieldEntered(*keyboard);
}

void KeyboardFocusWatch::check()
{
    const QWindow *focus = QGuiApplication::focusWindow();
    m_keyboards.applicationActive(QGuiApplication::applicationState() == Qt::ApplicationActive && focus
                                  && focus->isVisible());
}

} // namespace lexitka
