// Periodic timers by id for a window without a platform: Start arms or re-arms
// (restarting the interval), Stop disarms; each expiry calls the callback.
#pragma once

#include <functional>

class TimerBackend {
public:
    using Callback = std::function<void(int timerId)>;
    virtual ~TimerBackend() = default;
    virtual void Start(int timerId, int ms) = 0;
    virtual void Stop(int timerId) = 0;
    void SetCallback(Callback callback) { m_Callback = std::move(callback); }

protected:
    void Fire(int timerId)
    {
        if (m_Callback)
            m_Callback(timerId);
    }

private:
    Callback m_Callback;
};
