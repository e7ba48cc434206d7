#include "ui/headless/VirtualClock.h"

#include <stdexcept>

VirtualClock::Handle VirtualClock::ScheduleAt(std::int64_t due, Action action)
{
    if (due < m_Now)
        due = m_Now;
    const Handle handle = m_NextHandle++;
    m_Events.emplace(std::make_pair(due, handle), std::move(action));
    m_DueOf.emplace(handle, due);
    return handle;
}

void VirtualClock::Cancel(Handle handle)
{
    const auto it = m_DueOf.find(handle);
    if (it == m_DueOf.end())
        return;
    m_Events.erase(std::make_pair(it->second, handle));
    m_DueOf.erase(it);
}

bool VirtualClock::RunNextDue(std::int64_t limit)
{
    if (m_Events.empty() || m_Events.begin()->first.first > limit)
        return false;
    auto first = m_Events.begin();
    m_Now = first->first.first;
    Action action = std::move(first->second);
    m_DueOf.erase(first->first.second);
    m_Events.erase(first);
    action();
    return true;
}

void VirtualClock::AdvanceTo(std::int64_t t)
{
    while (RunNextDue(t)) {
    }
    if (t > m_Now)
        m_Now = t;
}

bool VirtualClock::AdvanceUntil(const std::function<bool()>& done, std::int64_t limitMs)
{
    while (!done()) {
        if (!RunNextDue(limitMs)) {
            if (limitMs > m_Now)
                m_Now = limitMs;
            return done();
        }
    }
    return true;
}

void VirtualTimers::Arm(int timerId, int period)
{
    if (period < 1)
        period = 1;  // a zero period would fire forever at one instant
    const auto handle = m_Clock.ScheduleAfter(period, [this, timerId] {
        // Periodic: re-arm first, so that the handler may kill or re-arm it.
        Arm(timerId, m_Armed.at(timerId).period);
        Fire(timerId);
    });
    m_Armed[timerId] = Armed{handle, period, m_Clock.Now() + period};
}

void VirtualTimers::Start(int timerId, int ms)
{
    Stop(timerId);
    Arm(timerId, ms);
}

void VirtualTimers::Stop(int timerId)
{
    const auto it = m_Armed.find(timerId);
    if (it == m_Armed.end())
        return;
    m_Clock.Cancel(it->second.handle);
    m_Armed.erase(it);
}

std::int64_t VirtualTimers::DueAt(int timerId) const
{
    const auto it = m_Armed.find(timerId);
    if (it == m_Armed.end())
        throw std::logic_error("timer not armed");
    return it->second.due;
}
