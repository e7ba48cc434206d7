// The transmitter behind every link and the faults that bend its reply
// frames: what the hex-line modem, the binary modem and the HART-IP server
// share, so that a frame fault looks the same on each.
#pragma once

#include <cstdint>
#include <optional>
#include <random>
#include <vector>

#include "sim/Faults.h"
#include "sim/Frames.h"
#include "sim/Transmitter.h"

namespace sim {

struct ModemOptions {
    Identity identity;                    // who answers on the loop
    int multidrop = 0;                    // 1 to 15: that many transmitters instead, at addresses 1 to N
    double processKpa = 50.0;             // pressure applied to each sensor
    bool steady = false;                  // the applied pressure does not wobble
    double sensorErrorPct = 0.0;          // each sensor's gain error
    bool immediate = false;               // answer at once, in one piece
    std::vector<FaultRule> faults;        // every matching rule applies
    double randomFaultRate = 0.0;         // chance per reply of one random fault, 0 to 1
    std::vector<FaultKind> randomFaults;  // the pool; empty: DefaultRandomFaultKinds()
    std::uint32_t seed = 1;               // makes the random faults repeatable
    int burstPeriodMs = 500;              // from one burst frame to the next in burst mode
};

class Responder {
public:
    explicit Responder(const ModemOptions& options, Link link = Link::kHex);

    // The rules that spoil the next reply to the command (each one's TIMES
    // counted down), plus a random one as the rate says; values filled in.
    std::vector<FaultRule> FaultsFor(std::uint8_t command);
    // The first rule of a kind not used up, counted down: for faults that
    // belong to no command, such as a refused session.
    std::optional<FaultRule> Take(FaultKind kind);

    // The transmitter on the line a request is for, if any.
    Transmitter* AddressedBy(const RequestFrame& request);
    // Its reply frame, bent by the faults; nothing when the request is lost
    // (no-answer) or for no transmitter here.
    std::optional<Bytes> Answer(const RequestFrame& request, const std::vector<FaultRule>& faults, std::uint64_t nowMs);
    // Whether any transmitter on the line is in burst mode.
    bool Bursting() const;
    // The frame a bursting transmitter sends unasked; several take turns.
    Bytes BurstFrame(std::uint64_t nowMs);

    void AddFault(const FaultRule& rule) { m_Faults.push_back(rule); }
    void ClearFaults() { m_Faults.clear(); }
    void SetRandomFaults(double rate, std::vector<FaultKind> kinds, std::uint32_t seed);

    // The first transmitter on the line, the only one unless multidropped.
    Transmitter& Device() { return m_Transmitters.front(); }
    const Transmitter& Device() const { return m_Transmitters.front(); }
    std::vector<Transmitter>& Devices() { return m_Transmitters; }

private:
    Link m_Link;
    std::vector<FaultRule> m_Faults;
    double m_RandomRate;
    std::vector<FaultKind> m_RandomPool;
    std::vector<Transmitter> m_Transmitters;
    std::size_t m_BurstTurn = 0;  // the next to send a burst frame, when several burst
    std::mt19937 m_Rng;
};

}  // namespace sim
