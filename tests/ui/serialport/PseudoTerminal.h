// A pseudo-terminal standing in for a device on a serial line: the port
// under test opens the slave path, the test plays the device on the master.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class PseudoTerminal {
public:
    PseudoTerminal();
    ~PseudoTerminal();
    PseudoTerminal(const PseudoTerminal&) = delete;
    PseudoTerminal& operator=(const PseudoTerminal&) = delete;

    const std::string& SlavePath() const { return m_slavePath; }
    int MasterFd() const { return m_master; }

    void Write(const std::vector<std::uint8_t>& bytes);
    // Collects count bytes from the master, running the event loop meanwhile;
    // returns what arrived within the timeout.
    std::vector<std::uint8_t> Read(std::size_t count, int timeoutMs = 2000);
    // The device hangs up.
    void CloseMaster();

private:
    int m_master = -1;
    std::string m_slavePath;
};
