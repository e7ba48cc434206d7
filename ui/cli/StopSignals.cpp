#include "ui/cli/StopSignals.h"

#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace {

int g_WriteEnd = -1;

extern "C" void ForwardSignal(int signal)
{
    const unsigned char byte = static_cast<unsigned char>(signal);
    [[maybe_unused]] const ssize_t n = write(g_WriteEnd, &byte, 1);
}

}  // namespace

StopSignals::StopSignals()
{
    if (pipe2(m_Pipe, O_CLOEXEC | O_NONBLOCK) != 0)
        return;  // no stopping then; the signals keep their default
    g_WriteEnd = m_Pipe[1];
    m_Notifier = std::make_unique<QSocketNotifier>(m_Pipe[0], QSocketNotifier::Read);
    QObject::connect(m_Notifier.get(), &QSocketNotifier::activated, [this] {
        unsigned char byte = 0;
        while (read(m_Pipe[0], &byte, 1) == 1)
            if (m_Signal == 0)
                m_Signal = byte;
    });
    struct sigaction action {};
    action.sa_handler = ForwardSignal;
    action.sa_flags = SA_RESETHAND | SA_RESTART;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
}

StopSignals::~StopSignals()
{
    m_Notifier.reset();
    std::signal(SIGINT, SIG_DFL);
    std::signal(SIGTERM, SIG_DFL);
    g_WriteEnd = -1;
    for (int fd : m_Pipe)
        if (fd >= 0)
            close(fd);
}
