// The modem's request and reply lines and the HART frames inside them.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "sim/Transmitter.h"
#include "sim/Wire.h"

namespace sim {

struct RequestFrame {
    bool longFrame = false;
    Bytes address;  // 1 byte (short frame) or 5 bytes (long frame)
    std::uint8_t command = 0;
    Bytes data;
    std::size_t size = 0;  // frame bytes, check byte included
};

// A request line is SOH 'P' '0' '1', the frame in upper-case hex, CR LF.
// Returns the frame, or nothing with the reason in 'why'.
std::optional<RequestFrame> ParseRequestLine(const Bytes& line, std::string& why);
// The same for a frame alone, delimiter to check byte.
std::optional<RequestFrame> ParseRequestFrame(const Bytes& frame, std::string& why);

// Short frames match the polling address, long frames the unique identifier;
// master and burst bits are ignored, as is the manufacturer code's upper two
// bits (a long address carries only its low six bits).
bool AddressedTo(const RequestFrame& frame, const Identity& identity);

// The reply frame's body: byte count, status bytes, data. Kept separate so
// that faults can bend the byte count.
struct ReplyBody {
    std::uint8_t byteCount = 0;
    Bytes bytes;  // response code, device status, data
};

// Delimiter, the request's address with the burst bit as given, command,
// the body and the check byte over all of it.
Bytes BuildReplyFrame(const RequestFrame& request, const ReplyBody& body, bool burstBit);

// What a bursting transmitter sends unasked: delimiter 0x81, its long
// address with the master and burst bits set, command, body, check byte.
Bytes BuildBurstFrame(const Identity& identity, std::uint8_t command, const ReplyBody& body);

// SOH, the letter, "00", the frame in hex, CR and (unless left out) LF.
Bytes BuildReplyLine(const Bytes& frame, char letter, bool lowerHex, bool withLf);

// Printable form of a line for the log: SOH, CR and LF spelt out.
std::string Printable(const Bytes& line);

}  // namespace sim
