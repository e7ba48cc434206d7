// SIGTERM, SIGINT and SIGHUP as a request to end the program in order: the
// handler only writes the signal's number to a pipe the event loop watches,
// so a program waiting in its loop (or in a modal box's) wakes at once. It
// also gives all three back their default action: a second signal while the
// program ends ends it at once, however stuck the end.
#pragma once

#include <QSocketNotifier>

#include <functional>
#include <memory>

class EndSignals {
public:
    // One at a time: the handlers are process-wide. onSignal runs from the
    // event loop, once, with the first signal's number.
    explicit EndSignals(std::function<void(int signal)> onSignal = {});
    ~EndSignals();
    EndSignals(const EndSignals&) = delete;
    EndSignals& operator=(const EndSignals&) = delete;

    // The signal received, or 0.
    int Received() const { return m_Signal; }
    // The status the shell expects after the signal, 128 + its number;
    // otherwise when none came.
    int ExitStatus(int otherwise) const { return m_Signal == 0 ? otherwise : 128 + m_Signal; }
    // "SIGTERM", "SIGINT", "SIGHUP".
    static const char* Name(int signal);

private:
    int m_Pipe[2] = {-1, -1};
    std::unique_ptr<QSocketNotifier> m_Notifier;
    std::function<void(int)> m_OnSignal;
    int m_Signal = 0;
};
