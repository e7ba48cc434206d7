// The simulated modem and transmitter at the other end of the virtual serial
// port: each request written is fed to the modem at its virtual time, and
// the reply pieces arrive at the times the modem gives.
#pragma once

#include "sim/Modem.h"
#include "ui/headless/VirtualSerialPort.h"

class SimulatedLine {
public:
    SimulatedLine(VirtualClock& clock, VirtualSerialPort& port, sim::ModemOptions options = {});

    sim::Modem& modem() { return m_modem; }

private:
    VirtualClock& m_clock;
    VirtualSerialPort& m_port;
    sim::Modem m_modem;
};
