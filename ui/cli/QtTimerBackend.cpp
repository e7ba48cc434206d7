#include "ui/cli/QtTimerBackend.h"

void QtTimerBackend::Start(int timerId, int ms)
{
    auto& timer = m_Timers[timerId];
    if (!timer) {
        timer = std::make_unique<QTimer>();
        timer->setTimerType(Qt::PreciseTimer);
        QObject::connect(timer.get(), &QTimer::timeout, [this, timerId] { Fire(timerId); });
    }
    timer->start(ms);  // restarts the interval of a running timer
}

void QtTimerBackend::Stop(int timerId)
{
    const auto it = m_Timers.find(timerId);
    if (it != m_Timers.end())
        it->second->stop();
}
