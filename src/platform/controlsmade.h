#pragma once

#include <QDialog>

namespace lexitka {

// When a window makes its controls: in its constructor, or when it is first
// shown or reached through the program. The program makes every window at
// start, but a hidden window's controls cost start-up time that only its
// first use needs.
enum class ControlsMade { Now, OnFirstUse };

// A dialog whose controls are made once, by makeControls(): at the end of
// its constructor (makeControls(ControlsMade::Now)) or, for one made
// OnFirstUse, when it is first reached or shown.
class DeferredDialog : public QDialog {
    Q_OBJECT
public:
    using QDialog::QDialog;

    void makeControls()
    {
        if (m_controlsMade)
            return;
        m_controlsMade = true;
        makeControlsOnce();
        afterControlsMade();
    }
    void setVisible(bool visible) override
    {
        if (visible)
            makeControls();
        QDialog::setVisible(visible);
    }

protected:
    bool controlsMade() const { return m_controlsMade; }
    // The last step of a window's constructor.
    void makeControls(ControlsMade when)
    {
        if (when == ControlsMade::Now)
            makeControls();
    }
    // The window's own controls, made by makeControls() once.
    virtual void makeControlsOnce() = 0;
    // Once the controls are made: what was set before they were.
    virtual void afterControlsMade() { }

private:
    bool m_controlsMade = false;
};

} // namespace lexitka
