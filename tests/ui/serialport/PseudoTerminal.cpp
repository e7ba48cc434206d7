#include "PseudoTerminal.h"

#include <QtCore/qtestsupport_core.h>

#include <cstdlib>
#include <fcntl.h>
#include <stdexcept>
#include <termios.h>
#include <unistd.h>

PseudoTerminal::PseudoTerminal()
{
    m_master = ::posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (m_master < 0 || ::grantpt(m_master) != 0 || ::unlockpt(m_master) != 0)
        throw std::runtime_error("cannot create a pseudo-terminal");
    const char* name = ::ptsname(m_master);
    if (name == nullptr)
        throw std::runtime_error("pseudo-terminal without a slave name");
    m_slavePath = name;
    // Raw, so that the line discipline passes every byte through unchanged.
    termios settings{};
    ::tcgetattr(m_master, &settings);
    ::cfmakeraw(&settings);
    ::tcsetattr(m_master, TCSANOW, &settings);
}

PseudoTerminal::~PseudoTerminal() { CloseMaster(); }

void PseudoTerminal::CloseMaster()
{
    if (m_master >= 0)
        ::close(m_master);
    m_master = -1;
}

void PseudoTerminal::Write(const std::vector<std::uint8_t>& bytes)
{
    // The event loop runs while the master is full, so the port can drain it.
    std::size_t done = 0;
    const auto push = [&] {
        ssize_t n = 0;
        while (done < bytes.size() && (n = ::write(m_master, bytes.data() + done, bytes.size() - done)) > 0)
            done += static_cast<std::size_t>(n);
        return done == bytes.size();
    };
    if (!QTest::qWaitFor(push, 2000))
        throw std::runtime_error("write to the pseudo-terminal master did not finish");
}

std::vector<std::uint8_t> PseudoTerminal::Read(std::size_t count, int timeoutMs)
{
    std::vector<std::uint8_t> bytes;
    const auto collect = [&] {
        std::uint8_t chunk[256];
        ssize_t n = 0;
        while (bytes.size() < count && (n = ::read(m_master, chunk, sizeof chunk)) > 0)
            bytes.insert(bytes.end(), chunk, chunk + n);
        return bytes.size() >= count;
    };
    (void)QTest::qWaitFor(collect, timeoutMs);
    return bytes;
}
