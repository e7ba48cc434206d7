// A pseudo-terminal standing in for a device on a serial line: the port
// under test opens the slave path, the test plays the device on the master.
#pragma once

#include <QtCore/qtestsupport_core.h>

#include <cstdint>
#include <fcntl.h>
#include <stdexcept>
#include <string>
#include <termios.h>
#include <unistd.h>
#include <vector>

class PseudoTerminal {
public:
    PseudoTerminal()
    {
        m_master = ::posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
        termios raw{};  // every byte passes unchanged
        if (m_master < 0 || ::grantpt(m_master) != 0 || ::unlockpt(m_master) != 0 || !::ptsname(m_master) ||
            ::tcgetattr(m_master, &raw) != 0)
            throw std::runtime_error("cannot create a pseudo-terminal");
        m_slavePath = ::ptsname(m_master);
        ::cfmakeraw(&raw);
        ::tcsetattr(m_master, TCSANOW, &raw);
    }
    ~PseudoTerminal() { CloseMaster(); }
    PseudoTerminal(const PseudoTerminal&) = delete;
    PseudoTerminal& operator=(const PseudoTerminal&) = delete;

    const std::string& SlavePath() const { return m_slavePath; }
    int MasterFd() const { return m_master; }
    // The device hangs up.
    void CloseMaster()
    {
        if (m_master >= 0)
            ::close(m_master);
        m_master = -1;
    }

    // Runs the event loop while the master is full, so that the port drains it.
    void Write(const std::vector<std::uint8_t>& bytes)
    {
        std::size_t done = 0;
        ssize_t n = 0;
        if (!QTest::qWaitFor(
                [&] {
                    while (done < bytes.size() && (n = ::write(m_master, &bytes[done], bytes.size() - done)) > 0)
                        done += static_cast<std::size_t>(n);
                    return done == bytes.size();
                },
                2000))
            throw std::runtime_error("write to the pseudo-terminal master did not finish");
    }

    // What arrives on the master within the timeout, up to count bytes.
    std::vector<std::uint8_t> Read(std::size_t count, int timeoutMs = 2000)
    {
        std::vector<std::uint8_t> bytes;
        std::uint8_t chunk[256];
        ssize_t n = 0;
        (void)QTest::qWaitFor(
            [&] {
                while (bytes.size() < count && (n = ::read(m_master, chunk, sizeof chunk)) > 0)
                    bytes.insert(bytes.end(), chunk, chunk + n);
                return bytes.size() >= count;
            },
            timeoutMs);
        return bytes;
    }

private:
    int m_master = -1;
    std::string m_slavePath;
};
