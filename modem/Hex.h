// Hex text, XOR check byte and wire byte order. Free functions on caller-owned
// buffers: no allocation, no state.
#pragma once

#include <cstdint>

// Uppercase hex digit of the low four bits of v.
char NibbleToHex(std::uint8_t v);
// Value of a hex digit; 'a'..'f' are accepted as well. Anything else gives 0.
std::uint8_t HexToNibble(char ch);
// Writes 2n hex characters and a NUL to dst (room for 2n + 1); returns 2n.
// n <= 0 writes nothing and returns n.
std::int16_t BytesToHex(const std::uint8_t* src, char* dst, std::int16_t n);
// Reads n hex characters (an odd last one is ignored) into n / 2 bytes;
// returns the byte count. n <= 0 writes nothing and returns n.
std::int16_t HexToBytes(const char* src, std::uint8_t* dst, std::int16_t n);
void CopyBytes(std::uint8_t* dst, const std::uint8_t* src, std::uint16_t n);
// XOR of n bytes: the HART check byte of the bytes before it.
std::uint8_t XorChecksum(const std::uint8_t* buf, std::uint8_t n);
// dst[i] = src[3 - i]; src and dst must not overlap.
void ReverseBytes4(std::uint8_t* dst, const std::uint8_t* src);

// IEEE 754 single precision to and from four wire bytes (most significant first).
float FloatFromWire(const std::uint8_t* wire);
void FloatToWire(float value, std::uint8_t* wire);
