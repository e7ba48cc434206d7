// Virtual time for tests: nothing happens until a test advances the clock, and
// then every event due runs in time order, one at a time, to the millisecond.
#pragma once

#include "ui/headless/TimerBackend.h"

#include <cstdint>
#include <functional>
#include <map>
#include <utility>

class VirtualClock {
public:
    using Action = std::function<void()>;
    using Handle = std::uint64_t;

    std::int64_t Now() const { return m_Now; }
    Handle ScheduleAt(std::int64_t due, Action action);
    Handle ScheduleAfter(std::int64_t delay, Action action) { return ScheduleAt(m_Now + delay, std::move(action)); }
    void Cancel(Handle handle);

    // Runs every event due up to Now() + ms, then stands at Now() + ms.
    void AdvanceBy(std::int64_t ms) { AdvanceTo(m_Now + ms); }
    void AdvanceTo(std::int64_t t);
    // Runs events until done() holds or the clock reaches the limit; returns done().
    bool AdvanceUntil(const std::function<bool()>& done, std::int64_t limitMs);

private:
    bool RunNextDue(std::int64_t limit);

    std::int64_t m_Now = 0;
    Handle m_NextHandle = 1;
    std::map<std::pair<std::int64_t, Handle>, Action> m_Events;
    std::map<Handle, std::int64_t> m_DueOf;
};

// Window timers on the virtual clock.
class VirtualTimers : public TimerBackend {
public:
    explicit VirtualTimers(VirtualClock& clock) : m_Clock(clock) {}
    void Start(int timerId, int ms) override;
    void Stop(int timerId) override;
    bool IsArmed(int timerId) const { return m_Armed.count(timerId) != 0; }
    // Virtual time at which an armed timer fires next.
    std::int64_t DueAt(int timerId) const;

private:
    struct Armed {
        VirtualClock::Handle handle;
        int period;
        std::int64_t due;
    };
    void Arm(int timerId, int period);

    VirtualClock& m_Clock;
    std::map<int, Armed> m_Armed;
};
