#include "speechbutton.h"

#include <QAction>
#include <QApplication>
#include <QStyle>
#include <QToolButton>

namespace lexitka {

QToolButton *makeSpeechButton(QWidget *parent)
{
    auto *b = new QToolButton(parent);
    b->setObjectName(QStringLiteral("btnSpeak"));
    b->setIcon(QApplication::style()->standardIcon(QStyle::SP_MediaVolume));
    b->setFixedSize(25, 25);
    b->setFocusPolicy(Qt::NoFocus);
    b->setAccessibleName(QStringLiteral("Přečíst nahlas"));
    return b;
}

void showSpeechControl(const SpeechControl &control, QToolButton *button, QAction *action)
{
    button->setEnabled(control.enabled);
    button->setToolTip(control.toolTip);
    if (action) {
        action->setEnabled(control.enabled);
        action->setToolTip(control.toolTip);
    }
}

Speaker &silentSpeaker()
{
    static SilentSpeaker silent;
    return silent;
}

} // namespace lexitka
