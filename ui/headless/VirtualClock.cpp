#include "ui/headless/VirtualClock.h"

#include <stdexcept>

VirtualClock::Handle VirtualClock::ScheduleAt(std::int64_t due, Action action)
{
    if (due < m_now)
        due = m_now;
    const Handle handle = m_nextHandle++;
    m_events.emplace(std::make_pair(due, handle), std::move(action));
    m_dueOf.emplace(handle, due);
    return handle;
}

void VirtualClock::Cancel(Handle handle)
{
    const auto it = m_dueOf.find(handle);
    if (it == m_dueOf.end())
        return;
    m_events.erase(std::make_pair(it->second, handle));
    m_dueOf.erase(it);
}

bool VirtualClock::RunNextDue(std::int64_t limit)
{
    if (m_events.empty() || m_events.begin()->first.first > limit)
        return false;
    auto first = m_events.begin();
    m_now = first->first.first;
    Action action = std::move(first->second);
    m_dueOf.erase(first->first.second);
    m_events.erase(first);
    action();
    return true;
}

void VirtualClock::AdvanceTo(std::int64_t t)
{
    while (RunNextDue(t)) {
    }
    if (t > m_now)
        m_now = t;
}

bool VirtualClock::AdvanceUntil(const std::function<bool()>& done, std::int64_t limitMs)
{
    while (!done()) {
        if (!RunNextDue(limitMs)) {
            if (limitMs > m_now)
                m_now = limitMs;
            return done();
        }
    }
    return true;
}

void VirtualTimers::Arm(int timerId, int period)
{
    if (period < 1)
        period = 1;  // a zero period would fire forever at one instant
    const auto handle = m_clock.ScheduleAfter(period, [this, timerId] {
        // Periodic: re-arm first, so that the handler may kill or re-arm it.
        Arm(timerId, m_armed.at(timerId).period);
        Fire(timerId);
    });
    m_armed[timerId] = Armed{handle, period, m_clock.Now() + period};
}

void VirtualTimers::Start(int timerId, int ms)
{
    Stop(timerId);
    Arm(timerId, ms);
}

void VirtualTimers::Stop(int timerId)
{
    const auto it = m_armed.find(timerId);
    if (it == m_armed.end())
        return;
    m_clock.Cancel(it->second.handle);
    m_armed.erase(it);
}

std::int64_t VirtualTimers::DueAt(int timerId) const
{
    const auto it = m_armed.find(timerId);
    if (it == m_armed.end())
        throw std::logic_error("timer not armed");
    return it->second.due;
}
