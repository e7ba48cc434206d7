// The simulated modem and transmitter at the other end of the virtual serial
// port: each request written is fed to the modem at its virtual time, and
// the reply pieces arrive at the times the modem gives. A bursting
// transmitter's frames arrive at their own virtual times too. The line is
// the hex-line modem, a binary modem or a HART-IP gateway (over TCP); the
// port is told which.
#pragma once

#include "sim/FskModem.h"
#include "sim/HartIp.h"
#include "sim/Modem.h"
#include "ui/headless/VirtualSerialPort.h"

#include <memory>

enum class SimLink { HexLine, Binary, HartIp };

class SimulatedLine {
public:
    SimulatedLine(VirtualClock& clock, VirtualSerialPort& port, sim::ModemOptions options = {},
                  SimLink link = SimLink::HexLine);
    ~SimulatedLine();
    SimulatedLine(const SimulatedLine&) = delete;
    SimulatedLine& operator=(const SimulatedLine&) = delete;

    // The hex-line modem (the default line).
    sim::Modem& Modem() { return *m_HexLine; }
    // Whichever line: its faults and its transmitter.
    sim::Responder& Answers();
    sim::Transmitter& Device() { return Answers().Device(); }

private:
    std::vector<sim::Chunk> Feed(const std::vector<std::uint8_t>& bytes, std::uint64_t now);
    std::optional<std::uint64_t> NextEventMs() const;
    std::vector<sim::Chunk> Advance(std::uint64_t now);
    void Deliver(std::vector<sim::Chunk> chunks);
    // Wakes the line when the modem's next burst frame is due.
    void ArmNextBurst();

    VirtualClock& m_Clock;
    VirtualSerialPort& m_Port;
    std::unique_ptr<sim::Modem> m_HexLine;
    std::unique_ptr<sim::FskModem> m_Binary;
    std::unique_ptr<sim::HartIp> m_HartIp;
    VirtualClock::Handle m_BurstEvent = 0;  // 0: none armed
};
