#include "ui/signals/EndSignals.h"

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace {

constexpr int kEndSignals[] = {SIGTERM, SIGINT, SIGHUP};

int g_WriteEnd = -1;
// Those not ignored when the program started (as nohup leaves SIGHUP): an
// ignored one stays ignored.
sigset_t g_Handled;

void SetAction(void (*handler)(int))
{
    struct sigaction action {};
    action.sa_handler = handler;
    action.sa_flags = SA_RESTART;
    // The others wait while the handler runs, and then meet the default.
    action.sa_mask = g_Handled;
    for (int signal : kEndSignals)
        if (sigismember(&g_Handled, signal) == 1)
            sigaction(signal, &action, nullptr);
}

extern "C" void ForwardSignal(int signal)
{
    const int savedErrno = errno;
    SetAction(SIG_DFL);
    const unsigned char byte = static_cast<unsigned char>(signal);
    [[maybe_unused]] const ssize_t n = write(g_WriteEnd, &byte, 1);
    errno = savedErrno;
}

}  // namespace

EndSignals::EndSignals(std::function<void(int signal)> onSignal) : m_OnSignal(std::move(onSignal))
{
    if (pipe2(m_Pipe, O_CLOEXEC | O_NONBLOCK) != 0)
        return;  // no orderly end then; the signals keep their default
    g_WriteEnd = m_Pipe[1];
    sigemptyset(&g_Handled);
    for (int signal : kEndSignals) {
        struct sigaction before {};
        if (sigaction(signal, nullptr, &before) == 0 && before.sa_handler != SIG_IGN)
            sigaddset(&g_Handled, signal);
    }
    m_Notifier = std::make_unique<QSocketNotifier>(m_Pipe[0], QSocketNotifier::Read);
    QObject::connect(m_Notifier.get(), &QSocketNotifier::activated, [this] {
        unsigned char byte = 0;
        int first = 0;
        while (read(m_Pipe[0], &byte, 1) == 1)
            if (first == 0)
                first = byte;
        if (first == 0 || m_Signal != 0)
            return;
        m_Signal = first;
        if (m_OnSignal)
            m_OnSignal(m_Signal);
    });
    SetAction(ForwardSignal);
}

EndSignals::~EndSignals()
{
    m_Notifier.reset();
    SetAction(SIG_DFL);
    g_WriteEnd = -1;
    for (int fd : m_Pipe)
        if (fd >= 0)
            close(fd);
}

const char* EndSignals::Name(int signal)
{
    switch (signal) {
    case SIGTERM:
        return "SIGTERM";
    case SIGINT:
        return "SIGINT";
    case SIGHUP:
        return "SIGHUP";
    default:
        return "a signal";
    }
}
