#include "support/modal.h"

#include <QApplication>
#include <QWidget>

namespace lexitka::testing {

ModalDriver::ModalDriver(Step step, int timeoutMs) : m_step(std::move(step)), m_timeoutMs(timeoutMs)
{
    m_clock.start();
    m_timer.setInterval(5);
    connect(&m_timer, &QTimer::timeout, this, &ModalDriver::tick);
    m_timer.start();
}

ModalDriver::~ModalDriver() { m_timer.stop(); }

void ModalDriver::post(std::function<void()> action)
{
    m_pending = true;
    QMetaObject::invokeMethod(
        this,
        [this, action = std::move(action)] {
            m_pending = false;
            if (!m_timedOut)
                action();
        },
        Qt::QueuedConnection);
}

void ModalDriver::tick()
{
    if (m_clock.elapsed() > m_timeoutMs) {
        // Keep closing: a window opened later must not hang the test either.
        m_timedOut = true;
        for (int i = 0; i < 20; ++i) {
            QWidget *modal = QApplication::activeModalWidget();
            if (!modal)
                break;
            modal->close();
            modal->hide();
        }
        return;
    }
    if (m_pending)
        return;
    m_step(QApplication::activeModalWidget());
}

} // namespace lexitka::testing
