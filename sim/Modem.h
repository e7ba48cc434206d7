// The simulated HART modem with its transmitter: takes the raw bytes a
// master writes to the serial port and says which bytes to send back, when.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "sim/Faults.h"
#include "sim/Frames.h"
#include "sim/LoopTiming.h"
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

class Modem {
public:
    using LogFn = std::function<void(const std::string&)>;

    explicit Modem(ModemOptions options = {});

    // Bytes from the master, received at nowMs. Requests may come in any
    // pieces; each complete line addressed to the transmitter gets one reply
    // line. Delays count from nowMs. Burst frames due by nowMs come first.
    std::vector<Chunk> Feed(const std::uint8_t* data, std::size_t n, std::uint64_t nowMs);

    // Output nobody asked for: while the transmitter is in burst mode, the
    // time its next burst frame takes the loop; nothing otherwise.
    std::optional<std::uint64_t> NextEventMs() const { return m_NextBurstMs; }
    // Sends every burst frame due by nowMs; delays count from nowMs.
    std::vector<Chunk> Advance(std::uint64_t nowMs);

    void SetLog(LogFn log) { m_Log = std::move(log); }
    void SetImmediate(bool immediate) { m_Options.immediate = immediate; }
    void SetBurstPeriod(int periodMs) { m_Options.burstPeriodMs = std::max(1, periodMs); }
    void AddFault(const FaultRule& rule) { m_Options.faults.push_back(rule); }
    void ClearFaults() { m_Options.faults.clear(); }
    void SetRandomFaults(double rate, std::vector<FaultKind> kinds, std::uint32_t seed);

    Transmitter& Device() { return m_Transmitter; }
    const Transmitter& Device() const { return m_Transmitter; }

private:
    std::vector<Chunk> HandleLine(const Bytes& line, std::uint64_t nowMs);
    std::vector<FaultRule> FaultsFor(std::uint8_t command);
    Bytes BurstFrame(std::uint64_t nowMs);
    void AddStrayLines(std::vector<Chunk>& chunks, const std::vector<FaultRule>& faults, const Bytes& replyLine,
                       std::uint64_t nowMs);
    void Log(const std::string& text) const;

    ModemOptions m_Options;
    Transmitter m_Transmitter;
    std::mt19937 m_Rng;
    Bytes m_Pending;
    std::uint64_t m_BusyUntilMs = 0;  // the loop is half duplex: replies queue up
    std::optional<std::uint64_t> m_NextBurstMs;
    Bytes m_LastReplyLine;  // the latest reply line sent to a request
    LogFn m_Log;
};

}  // namespace sim
