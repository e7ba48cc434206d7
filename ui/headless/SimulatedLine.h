// The simulated modem and transmitter at the other end of the virtual serial
// port: each request written is fed to the modem at its virtual time, and
// the reply pieces arrive at the times the modem gives. A bursting
// transmitter's frames arrive at their own virtual times too.
#pragma once

#include "sim/Modem.h"
#include "ui/headless/VirtualSerialPort.h"

class SimulatedLine {
public:
    SimulatedLine(VirtualClock& clock, VirtualSerialPort& port, sim::ModemOptions options = {});
    ~SimulatedLine();
    SimulatedLine(const SimulatedLine&) = delete;
    SimulatedLine& operator=(const SimulatedLine&) = delete;

    sim::Modem& Modem() { return m_Modem; }

private:
    void Deliver(std::vector<sim::Chunk> chunks);
    // Wakes the line when the modem's next burst frame is due.
    void ArmNextBurst();

    VirtualClock& m_Clock;
    VirtualSerialPort& m_Port;
    sim::Modem m_Modem;
    VirtualClock::Handle m_BurstEvent = 0;  // 0: none armed
};
