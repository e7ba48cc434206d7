// The simulated hex-line HART modem with its transmitter: takes the bytes a
// master writes to the serial port and says which bytes to send back, when.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "sim/RejectLog.h"
#include "sim/Responder.h"
#include "sim/SerialModem.h"

namespace sim {

class Modem : public SerialModem {
public:
    explicit Modem(ModemOptions options = {});

    // Bytes from the master, received at nowMs. Requests may come in any
    // pieces; each complete line addressed to the transmitter gets one reply
    // line. Delays count from nowMs. Burst frames due by nowMs come first.
    std::vector<Chunk> Feed(const std::uint8_t* data, std::size_t n, std::uint64_t nowMs) override;

    // Output nobody asked for: while the transmitter is in burst mode, the
    // time its next burst frame takes the loop, or when the log owes a count
    // of ignored lines; nothing otherwise.
    std::optional<std::uint64_t> NextEventMs() const override { return m_Rejects.DueMs(m_NextBurstMs); }
    // Sends every burst frame due by nowMs, and logs a count owed; delays
    // count from nowMs.
    std::vector<Chunk> Advance(std::uint64_t nowMs) override;

    void SetLog(LogFn log) override;
    void SetImmediate(bool immediate) { m_Options.immediate = immediate; }
    void SetBurstPeriod(int periodMs) { m_Options.burstPeriodMs = std::max(1, periodMs); }
    void AddFault(const FaultRule& rule) { m_Responder.AddFault(rule); }
    void ClearFaults() { m_Responder.ClearFaults(); }
    void SetRandomFaults(double rate, std::vector<FaultKind> kinds, std::uint32_t seed)
    {
        m_Responder.SetRandomFaults(rate, std::move(kinds), seed);
    }

    Responder& Answers() override { return m_Responder; }
    Transmitter& Device() { return m_Responder.Device(); }
    const Transmitter& Device() const { return m_Responder.Device(); }

private:
    std::vector<Chunk> HandleLine(const Bytes& line, std::uint64_t nowMs);
    void AddStrayLines(std::vector<Chunk>& chunks, const std::vector<FaultRule>& faults, const Bytes& replyLine,
                       std::uint64_t nowMs);
    void Log(const std::string& text) const;

    ModemOptions m_Options;
    Responder m_Responder;
    Bytes m_Pending;
    std::uint64_t m_BusyUntilMs = 0;  // the loop is half duplex: replies queue up
    std::optional<std::uint64_t> m_NextBurstMs;
    Bytes m_LastReplyLine;  // the latest reply line sent to a request
    LogFn m_Log;
    RejectLog m_Rejects{"lines"};
};

}  // namespace sim
