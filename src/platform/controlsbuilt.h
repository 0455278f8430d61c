#pragma once

#include <QDialog>

namespace lexitka {

// When a window makes its controls: in its constructor, or when it is first
// shown or reached through the program. The program makes every window at
// start, but a hidden window's controls cost start-up time that only its
// first use needs.
enum class ControlsBuilt { Now, OnFirstUse };

// A dialog whose controls are made once, by ensureControls(): at the end of
// its constructor (makeControls) or, for one made OnFirstUse, when it is
// first reached or shown.
class DeferredDialog : public QDialog {
    Q_OBJECT
public:
    using QDialog::QDialog;

    void ensureControls()
    {
        if (m_controlsBuilt)
            return;
        m_controlsBuilt = true;
        buildControls();
        controlsMade();
    }
    void setVisible(bool visible) override
    {
        if (visible)
            ensureControls();
        QDialog::setVisible(visible);
    }

protected:
    bool controlsBuilt() const { return m_controlsBuilt; }
    // The last step of a window's constructor.
    void makeControls(ControlsBuilt when)
    {
        if (when == ControlsBuilt::Now)
            ensureControls();
    }
    virtual void buildControls() = 0;
    // Once the controls are made: what was set before they were.
    virtual void controlsMade() { }

private:
    bool m_controlsBuilt = false;
};

} // namespace lexitka
