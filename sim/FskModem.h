// The binary HART modem: the master writes raw frames after their
// preambles and reads the transmitter's frames back the same way, as with a
// plain FSK modem on the serial port. Optionally it echoes what the master
// sends, and keeps the pace of the loop.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "sim/RejectLog.h"
#include "sim/Responder.h"
#include "sim/SerialModem.h"

namespace sim {

inline constexpr int kDefaultPreambles = 5;

struct FskOptions {
    bool echo = false;                  // every byte from the master comes back, as on half-duplex modems
    int paceBaud = 0;                   // characters of 11 bits at this rate; 0: a reply leaves whole at once
    int preambles = kDefaultPreambles;  // 0xFF bytes before each frame sent
};

// The master's port setting for this modem on the device at 'path':
// fsk:PATH?rts=none, then &echo=1 and &preambles=N where they differ.
std::string FskAddress(const std::string& path, const FskOptions& fsk);

class FskModem : public SerialModem {
public:
    explicit FskModem(ModemOptions options = {}, FskOptions fsk = {});

    // A request counts once two 0xFF or more are followed by a master's
    // delimiter and its check byte has come (or, paced, once it would have
    // been on the loop); anything else is skipped.
    std::vector<Chunk> Feed(const std::uint8_t* data, std::size_t n, std::uint64_t nowMs) override;
    // The next burst frame, or when the log owes a count of ignored frames.
    std::optional<std::uint64_t> NextEventMs() const override { return m_Rejects.DueMs(m_NextBurstMs); }
    // The burst frames due by nowMs while the transmitter is in burst mode,
    // and a count the log owes.
    std::vector<Chunk> Advance(std::uint64_t nowMs) override;
    void SetLog(LogFn log) override;

    Responder& Answers() override { return m_Responder; }
    Transmitter& Device() { return m_Responder.Device(); }

private:
    // Times count in ticks of 1/baud ms, in which a character is exactly
    // 11000 ticks; without pace a tick is a millisecond and a character 0.
    struct Timed {
        std::uint64_t tick;
        Bytes bytes;
    };
    std::uint64_t Ticks(std::uint64_t ms) const { return ms * m_TicksPerMs; }
    // Queues the bytes one character apart from 'start'; returns the end.
    std::uint64_t Send(const Bytes& bytes, std::uint64_t start, std::vector<Timed>& out) const;
    Bytes Preambled(const Bytes& frame) const;
    void Take(std::uint8_t byte, std::uint64_t nowMs, std::vector<Timed>& out);
    void HandleFrame(std::uint64_t nowMs, std::vector<Timed>& out);
    std::vector<Chunk> ToChunks(std::vector<Timed> events, std::uint64_t nowMs) const;
    void Log(const std::string& text) const;

    ModemOptions m_Options;
    FskOptions m_Fsk;
    Responder m_Responder;
    std::uint64_t m_TicksPerMs;
    std::uint64_t m_CharTicks;
    int m_Preambles = 0;  // 0xFF bytes in a row while hunting
    Bytes m_Frame;        // the request so far, from its delimiter
    std::size_t m_Skipped = 0;
    std::uint64_t m_LastByteMs = 0;
    std::uint64_t m_LineFree = 0;   // tick the master's last byte is through
    std::uint64_t m_BusyUntil = 0;  // tick the modem's last frame is through
    std::optional<std::uint64_t> m_NextBurstMs;
    Bytes m_LastReply;  // with its preambles
    LogFn m_Log;
    RejectLog m_Rejects{"frames"};
};

}  // namespace sim
