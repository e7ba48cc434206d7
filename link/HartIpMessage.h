// HART-IP messages (version 1): an 8-byte header, big-endian, then the body.
//
//   version | message type | message id | status | sequence (2) | byte count (2)
//
// The byte count covers the whole message, header included. A token-passing
// PDU's body is a HART frame from the delimiter to the check byte.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

namespace hartip {

inline constexpr std::uint8_t kVersion = 1;
inline constexpr std::size_t kHeaderSize = 8;
// Longer than any HART frame in a body: a count beyond it is not a message.
inline constexpr std::size_t kLongestMessage = kHeaderSize + 1024;

enum Type : std::uint8_t { kRequest = 0, kResponse = 1, kPublish = 2, kError = 3, kNak = 15 };
enum Id : std::uint8_t { kSessionInitiate = 0, kSessionClose = 1, kKeepAlive = 2, kPdu = 3 };
inline constexpr std::uint8_t kPrimaryMaster = 1;

struct Message {
    std::uint8_t version = kVersion;
    std::uint8_t type = kRequest;
    std::uint8_t id = kPdu;
    std::uint8_t status = 0;
    std::uint16_t sequence = 0;
    std::vector<std::uint8_t> body;

    bool operator==(const Message&) const = default;
};

std::vector<std::uint8_t> Encode(const Message& message);
// A session initiate's body: the master type, the inactivity close time.
std::vector<std::uint8_t> InitiateBody(std::uint32_t inactivityCloseMs);

// Takes messages out of the bytes that arrive: over TCP in any pieces, over
// UDP one datagram a message.
class Reader {
public:
    // Bytes of a stream; the messages they completed.
    std::vector<Message> Feed(const std::uint8_t* bytes, std::size_t n);
    // One datagram: one message, or nothing when it holds none.
    static std::optional<Message> Datagram(const std::uint8_t* bytes, std::size_t n);
    // Bytes dropped since start because they could not begin a message.
    std::size_t Dropped() const { return m_Dropped; }

private:
    std::vector<std::uint8_t> m_Buffer;
    std::size_t m_Dropped = 0;
};

}  // namespace hartip
