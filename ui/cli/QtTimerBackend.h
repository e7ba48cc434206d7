// Window timers on Qt's event loop, precise to the millisecond so that a real
// run keeps the timeline of the virtual-clock tests.
#pragma once

#include "ui/headless/TimerBackend.h"

#include <QTimer>

#include <map>
#include <memory>

class QtTimerBackend : public TimerBackend {
public:
    void Start(int timerId, int ms) override;
    void Stop(int timerId) override;

private:
    std::map<int, std::unique_ptr<QTimer>> m_Timers;
};
