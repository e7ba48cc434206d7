// SIGINT and SIGTERM as a request to stop: the handler only writes to a pipe,
// and the event loop wakes to read it, so a script waiting in the loop sees
// the request at once. A second signal ends the program as usual.
#pragma once

#include <QSocketNotifier>

#include <memory>

class StopSignals {
public:
    // One at a time: the handlers are process-wide.
    StopSignals();
    ~StopSignals();
    StopSignals(const StopSignals&) = delete;
    StopSignals& operator=(const StopSignals&) = delete;

    // The signal received, or 0.
    int Received() const { return m_Signal; }

private:
    int m_Pipe[2] = {-1, -1};
    std::unique_ptr<QSocketNotifier> m_Notifier;
    int m_Signal = 0;
};
