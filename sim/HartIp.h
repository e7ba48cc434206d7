// HART-IP version 1 as the simulated transmitter's server speaks it: the
// message codec and one client's session, without sockets, so that tests
// feed it bytes and read what it would send, when.
//
// Header, 8 bytes, big-endian: version, message type, message id, status,
// sequence number (2), byte count (2, the whole message). A token-passing
// PDU carries a HART frame from delimiter to check byte, no preambles.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "sim/LoopTiming.h"
#include "sim/RejectLog.h"
#include "sim/Responder.h"

namespace sim {

namespace hartip {
inline constexpr std::uint8_t kVersion = 1;
inline constexpr std::size_t kHeaderBytes = 8;
// Message types.
inline constexpr std::uint8_t kRequest = 0;
inline constexpr std::uint8_t kResponse = 1;
inline constexpr std::uint8_t kPublish = 2;
inline constexpr std::uint8_t kError = 3;
inline constexpr std::uint8_t kNak = 15;
// Message ids.
inline constexpr std::uint8_t kInitiate = 0;
inline constexpr std::uint8_t kClose = 1;
inline constexpr std::uint8_t kKeepAlive = 2;
inline constexpr std::uint8_t kPdu = 3;
// Status codes the server sends.
inline constexpr std::uint8_t kSuccess = 0;
inline constexpr std::uint8_t kInvalidMasterType = 2;
inline constexpr std::uint8_t kTooFewBytes = 5;
inline constexpr std::uint8_t kAllSessionsInUse = 15;
inline constexpr std::uint8_t kNoSession = 16;  // access restricted: no session initiated yet
}  // namespace hartip

struct HartIpMessage {
    std::uint8_t version = hartip::kVersion;
    std::uint8_t type = hartip::kRequest;
    std::uint8_t id = hartip::kPdu;
    std::uint8_t status = hartip::kSuccess;
    std::uint16_t sequence = 0;
    Bytes body;
};

Bytes EncodeHartIp(const HartIpMessage& message);
// The message at the front of the bytes once it is all there; 'used' its
// size. 'broken' when the header's byte count cannot be right.
std::optional<HartIpMessage> DecodeHartIp(const Bytes& bytes, std::size_t& used, bool& broken);

class HartIp {
public:
    using LogFn = std::function<void(const std::string&)>;

    // Faults, random faults and the burst period come from the options;
    // publish messages carry publishVersion in their header.
    explicit HartIp(ModemOptions options = {}, int publishVersion = hartip::kVersion, Link link = Link::kUdp);

    // The client's bytes in any pieces, as from a TCP stream, at nowMs;
    // returns the writes to make, with delays from nowMs.
    std::vector<Chunk> Feed(const std::uint8_t* data, std::size_t n, std::uint64_t nowMs);
    // One datagram: the messages in it, nothing carried over to the next.
    std::vector<Chunk> FeedDatagram(const std::uint8_t* data, std::size_t n, std::uint64_t nowMs);
    // The next publish message or the end of an idle session, if any.
    std::optional<std::uint64_t> NextEventMs() const;
    // Publish messages due by nowMs; ends a session idle too long.
    std::vector<Chunk> Advance(std::uint64_t nowMs);

    bool SessionOpen() const { return m_Open; }
    // The session closed or timed out, or the stream broke: a TCP server
    // closes the connection once its writes are out, then calls Reset().
    bool Ended() const { return m_Ended; }
    // The client went away: no session, nothing half read.
    void Reset();

    void SetLog(LogFn log)
    {
        m_Log = log;
        m_Rejects.SetLog(std::move(log));
    }
    Responder& Answers() { return m_Responder; }
    Transmitter& Device() { return m_Responder.Device(); }

private:
    void Handle(const HartIpMessage& request, std::uint64_t nowMs, std::vector<Chunk>& out);
    void HandlePdu(const HartIpMessage& request, std::uint64_t nowMs, std::vector<Chunk>& out);
    Bytes Publish(std::uint64_t nowMs);
    void EndSession(const std::string& why);
    void Log(const std::string& text) const;

    ModemOptions m_Options;
    int m_PublishVersion;
    Responder m_Responder;
    Bytes m_Pending;
    bool m_Open = false;
    bool m_Ended = false;
    std::uint32_t m_IdleCloseMs = 0;  // 0: the session never times out
    std::uint64_t m_LastHeardMs = 0;
    std::optional<std::uint64_t> m_NextPublishMs;
    std::uint16_t m_PublishSequence = 0;
    Bytes m_LastResponse;  // the latest response to a PDU, as sent
    LogFn m_Log;
    // Junk from a client: a few lines a second, cut short; the rest counted.
    RejectLog m_Rejects{"messages"};
};

}  // namespace sim
