// HART packed ASCII: six bits per character, four characters in three bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// Packs exactly four characters (their low six bits) into three bytes.
void PackAscii4(std::uint8_t dst[3], const char src[4]);
// Unpacks three bytes into four characters, no terminator. Codes below 0x20
// come out as 0x40-0x5F, the rest as themselves.
void UnpackAscii4(char dst[4], const std::uint8_t src[3]);

// Bytes a packed field of width characters takes.
constexpr std::size_t PackedSize(std::size_t width) { return width / 4 * 3; }

// Upper-cases text (a-z only), pads it with spaces to width characters and
// packs it into PackedSize(width) bytes at dst. False, and nothing written,
// when width is not a positive multiple of 4 or the text is longer than it.
bool PackTextField(std::string_view text, std::size_t width, std::uint8_t* dst);
// Unpacks PackedSize(width) bytes into exactly width characters, trailing
// spaces kept. Empty when width is not a positive multiple of 4.
std::string UnpackTextField(const std::uint8_t* src, std::size_t width);
