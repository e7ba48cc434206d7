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

    // The reply frame to a request for this transmitter, bent by the faults;
    // nothing when the request is lost (no-answer).
    std::optional<Bytes> Answer(const RequestFrame& request, const std::vector<FaultRule>& faults, std::uint64_t nowMs);
    // The frame a bursting transmitter sends unasked.
    Bytes BurstFrame(std::uint64_t nowMs);

    void AddFault(const FaultRule& rule) { m_Faults.push_back(rule); }
    void ClearFaults() { m_Faults.clear(); }
    void SetRandomFaults(double rate, std::vector<FaultKind> kinds, std::uint32_t seed);

    Transmitter& Device() { return m_Transmitter; }
    const Transmitter& Device() const { return m_Transmitter; }

private:
    Link m_Link;
    std::vector<FaultRule> m_Faults;
    double m_RandomRate;
    std::vector<FaultKind> m_RandomPool;
    Transmitter m_Transmitter;
    std::mt19937 m_Rng;
};

}  // namespace sim
