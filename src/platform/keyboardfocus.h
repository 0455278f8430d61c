#pragma once

#include "platform/keyboard.h"

#include <QObject>

#include <optional>

class QWidget;

namespace lexitka {

class Keyboards;

// Marks a widget, and every widget inside it that has no mark of its own
// (dialogs opened over it included), as typed on that layout.
void setFieldKeyboard(QWidget *widget, FieldKeyboard keyboard);
// The mark of the widget or of its nearest marked parent.
std::optional<FieldKeyboard> fieldKeyboard(const QWidget *widget);

// Tells the keyboards whether one of the application's windows has the
// keyboard. Qt's application state alone misses a focused window that goes
// away (a dialog closing with no other window of ours to take the focus):
// Qt may then drop its focus window without a word, or keep the hidden one
// as its focus window, so hidden windows are watched too. A marked field
// that gets the focus puts its layout in force.
class KeyboardFocusWatch final : public QObject {
public:
    explicit KeyboardFocusWatch(Keyboards &keyboards, QObject *parent = nullptr);
    ~KeyboardFocusWatch() override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void check();
    void focusChanged(QWidget *now);

    Keyboards &m_keyboards;
};

} // namespace lexitka
