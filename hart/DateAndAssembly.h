// The two 3-byte numbers of the identification texts: the date (day, month,
// year - 1900) and the 24-bit final assembly number.
#pragma once

#include <cstdint>
#include <string>

// "%04d-%02d-%02d" of (year byte + 1900, month byte, day byte).
std::string DateToText(const std::uint8_t date[3]);
// Reads year, month and day as "%d-%d-%d" does and writes day, month and
// year - 1900, each modulo 256; no range check. False, and nothing written,
// when fewer than three numbers are read.
bool TextToDate(const char* text, std::uint8_t date[3]);

// "%d" of the number, most significant byte first.
std::string AssemblyToText(const std::uint8_t bytes[3]);
// Bits 23-16, 15-8, 7-0 of the number; the caller checks the range.
void AssemblyToBytes(std::uint32_t number, std::uint8_t bytes[3]);
