// Where a HART frame keeps what: the one place the request builder, the reply
// matcher and the reply decoder take the layout from.
//
//   short: delimiter, polling address (1), command, byte count, data, check
//   long:  delimiter, unique identifier (5), command, byte count, data, check
#pragma once

#include <cstdint>

namespace hartframe {

inline constexpr std::uint8_t kShortRequest = 0x02;    // master to slave
inline constexpr std::uint8_t kAcknowledge = 0x06;     // slave to master
inline constexpr std::uint8_t kLongAddressBit = 0x80;  // in the delimiter
// The first address byte shares its two upper bits with the manufacturer
// code (long) or the polling address (short).
inline constexpr std::uint8_t kPrimaryMasterBit = 0x80;
inline constexpr std::uint8_t kBurstBit = 0x40;
inline constexpr std::uint8_t kAddressBits = 0x3F;
// Response code and device status open every reply's data, counted in its
// byte count.
inline constexpr int kStatusBytes = 2;

constexpr int AddressLength(bool longFrame) { return longFrame ? 5 : 1; }
// Delimiter, address, command and byte count: the byte count is the last.
constexpr int HeaderLength(bool longFrame) { return 1 + AddressLength(longFrame) + 2; }
constexpr bool IsLong(std::uint8_t delimiter) { return (delimiter & kLongAddressBit) != 0; }

}  // namespace hartframe
