// The built-in demo: the simulated modem and transmitter served on a
// pseudo-terminal inside the tool's own process, as port COM1 only.
#pragma once

#include "sim/PtyServer.h"
#include "ui/serialport/PortMap.h"

#include <string>

class DemoTransmitter {
public:
    // Throws std::runtime_error when no pseudo-terminal can be had.
    DemoTransmitter();
    // Port 1 mapped to the simulator, no other port.
    PortMap Ports() const { return PortMap::Single(1, m_Device); }
    const std::string& Device() const { return m_Device; }
    // The simulated transmitter itself, for tests that change it.
    sim::PtyServer& Server() { return m_Server; }

private:
    sim::PtyServer m_Server;
    std::string m_Device;
};
