// Helpers of the simulator tests: requests and expected replies are written
// as literal text, and replies are decoded here without the simulator's code.
#pragma once

#include <bit>
#include <cstdint>
#include <string>
#include <vector>

#include "sim/Modem.h"

namespace simtest {

// A request line around literal frame hex: SOH 'P' '0' '1' hex CR LF.
inline std::string Request(const std::string& hex) { return "\x01P01" + hex + "\r\n"; }
// The reply line a well-behaved modem sends for literal frame hex.
inline std::string Reply(const std::string& hex) { return "\x01P00" + hex + "\r\n"; }

inline std::vector<sim::Chunk> FeedText(sim::Modem& modem, const std::string& text,
                                        std::uint64_t nowMs = 0) {
    return modem.Feed(reinterpret_cast<const std::uint8_t*>(text.data()), text.size(), nowMs);
}

inline std::string Joined(const std::vector<sim::Chunk>& chunks) {
    std::string text;
    for (const sim::Chunk& c : chunks) text.append(c.bytes.begin(), c.bytes.end());
    return text;
}

inline std::string Exchange(sim::Modem& modem, const std::string& frameHex,
                            std::uint64_t nowMs = 0) {
    return Joined(FeedText(modem, Request(frameHex), nowMs));
}

inline sim::ModemOptions Immediate() {
    sim::ModemOptions options;
    options.immediate = true;
    return options;
}

// The frame bytes of a reply line "\x01P00<hex>\r\n".
inline std::vector<std::uint8_t> FrameOf(const std::string& line) {
    std::vector<std::uint8_t> bytes;
    if (line.size() < 6) return bytes;
    const std::string hex = line.substr(4, line.size() - 6);
    for (std::size_t i = 0; i + 1 < hex.size(); i += 2) {
        bytes.push_back(static_cast<std::uint8_t>(std::stoi(hex.substr(i, 2), nullptr, 16)));
    }
    return bytes;
}

// Big-endian float at a byte position of a decoded frame.
inline float FloatAt(const std::vector<std::uint8_t>& frame, std::size_t at) {
    std::uint32_t bits = 0;
    for (std::size_t i = 0; i < 4; ++i) bits = (bits << 8) | frame.at(at + i);
    return std::bit_cast<float>(bits);
}

// Frame positions of a long-frame reply: response code, status, data.
inline constexpr std::size_t kLongRc = 8;
inline constexpr std::size_t kLongStatus = 9;
inline constexpr std::size_t kLongData = 10;

}  // namespace simtest
