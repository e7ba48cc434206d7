// Byte-level helpers of the simulated transmitter and modem: hex text, the
// HART check byte, big-endian floats and packed ASCII. Kept apart from the
// tool's own helpers on purpose, so that a mistake on one side shows up as a
// failing test instead of cancelling out.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace sim {

using Bytes = std::vector<std::uint8_t>;

// Two hex digits per byte, high nibble first; upper case unless lower is set.
std::string ToHex(const Bytes& bytes, bool lower = false);
// Strict decode: an even count of '0'-'9' / 'A'-'F' only, else nothing.
std::optional<Bytes> FromUpperHex(std::string_view text);

// XOR of all bytes; a frame with its check byte appended XORs to zero.
std::uint8_t Checksum(const std::uint8_t* data, std::size_t n);

// IEEE 754 single precision, most significant byte first.
void AppendFloat(Bytes& out, float value);
float ReadFloat(const std::uint8_t* wire);

// HART packed ASCII: four 6-bit characters in three bytes. The text is
// upper-cased and space-padded to 'width' (a multiple of 4) before packing.
Bytes PackText(std::string_view text, std::size_t width);
std::string UnpackText(const std::uint8_t* packed, std::size_t bytes);

}  // namespace sim
