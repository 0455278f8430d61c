#pragma once

#include "platform/speech.h"

class QAction;
class QToolButton;
class QWidget;

namespace lexitka {

// The small button that reads a foreign word aloud (F5 does the same); it
// never takes the focus, so Enter still goes where it went.
QToolButton *makeSpeechButton(QWidget *parent);

// Enables the button (and the action, when given) or says why not.
void showSpeechControl(const SpeechControl &control, QToolButton *button, QAction *action = nullptr);

// The speaker of a window that was given none: reads nothing.
Speaker &silentSpeaker();

} // namespace lexitka
