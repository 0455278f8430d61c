#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

#include <functional>

class QWidget;

namespace lexitka::testing {

// Drives modal windows from inside their exec(): every few milliseconds,
// while no posted action is pending, `step` sees the active modal widget.
// Actions run from the event loop through post(), so one may open another
// modal window and block in it while the driver goes on. Past the deadline
// every modal window is closed, so that no test can hang.
class ModalDriver : public QObject {
public:
    using Step = std::function<void(QWidget *modal)>;

    explicit ModalDriver(Step step, int timeoutMs = 20000);
    ~ModalDriver() override;

    void post(std::function<void()> action);
    bool timedOut() const { return m_timedOut; }

private:
    void tick();

    Step m_step;
    QTimer m_timer;
    QElapsedTimer m_clock;
    int m_timeoutMs;
    bool m_pending = false;
    bool m_timedOut = false;
};

} // namespace lexitka::testing
