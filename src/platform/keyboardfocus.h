#pragma once

#include <QObject>

namespace lexitka {

class Keyboards;

// Tells the keyboards whether one of the application's windows has the
// keyboard. Qt's application state alone misses a focused window that goes
// away (a dialog closing with no other window of ours to take the focus):
// Qt may then drop its focus window without a word, or keep the hidden one
// as its focus window, so hidden windows are watched too.
class KeyboardFocusWatch final : public QObject {
public:
    explicit KeyboardFocusWatch(Keyboards &keyboards, QObject *parent = nullptr);
    ~KeyboardFocusWatch() override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void check();

    Keyboards &m_keyboards;
};

} // namespace lexitka
