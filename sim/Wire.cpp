#include "sim/Wire.h"

#include <bit>
#include <cctype>

namespace sim {

namespace {

int DigitValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

}  // namespace

std::string ToHex(const Bytes& bytes, bool lower)
{
    const char* digits = lower ? "0123456789abcdef" : "0123456789ABCDEF";
    std::string text;
    text.reserve(bytes.size() * 2);
    for (std::uint8_t b : bytes) {
        text.push_back(digits[b >> 4]);
        text.push_back(digits[b & 0x0F]);
    }
    return text;
}

std::optional<Bytes> FromUpperHex(std::string_view text)
{
    if (text.size() % 2 != 0)
        return std::nullopt;
    Bytes out;
    out.reserve(text.size() / 2);
    for (std::size_t i = 0; i < text.size(); i += 2) {
        const int hi = DigitValue(text[i]);
        const int lo = DigitValue(text[i + 1]);
        if (hi < 0 || lo < 0)
            return std::nullopt;
        out.push_back(static_cast<std::uint8_t>(hi * 16 + lo));
    }
    return out;
}

std::uint8_t Checksum(const std::uint8_t* data, std::size_t n)
{
    std::uint8_t sum = 0;
    for (std::size_t i = 0; i < n; ++i)
        sum ^= data[i];
    return sum;
}

void AppendFloat(Bytes& out, float value)
{
    const auto bits = std::bit_cast<std::uint32_t>(value);
    for (int shift = 24; shift >= 0; shift -= 8) {
        out.push_back(static_cast<std::uint8_t>(bits >> shift));
    }
}

float ReadFloat(const std::uint8_t* wire)
{
    std::uint32_t bits = 0;
    for (int i = 0; i < 4; ++i)
        bits = (bits << 8) | wire[i];
    return std::bit_cast<float>(bits);
}

Bytes PackText(std::string_view text, std::size_t width)
{
    std::string padded(width, ' ');
    for (std::size_t i = 0; i < text.size() && i < width; ++i) {
        padded[i] = static_cast<char>(std::toupper(static_cast<unsigned char>(text[i])));
    }
    Bytes out;
    for (std::size_t g = 0; g + 4 <= width; g += 4) {
        std::uint32_t v = 0;
        for (std::size_t k = 0; k < 4; ++k) {
            v = (v << 6) | (static_cast<std::uint8_t>(padded[g + k]) & 0x3Fu);
        }
        out.push_back(static_cast<std::uint8_t>(v >> 16));
        out.push_back(static_cast<std::uint8_t>(v >> 8));
        out.push_back(static_cast<std::uint8_t>(v));
    }
    return out;
}

std::string UnpackText(const std::uint8_t* packed, std::size_t bytes)
{
    std::string text;
    for (std::size_t g = 0; g + 3 <= bytes; g += 3) {
        const std::uint32_t v = (std::uint32_t{packed[g]} << 16) | (std::uint32_t{packed[g + 1]} << 8) | packed[g + 2];
        for (int shift = 18; shift >= 0; shift -= 6) {
            const auto code = static_cast<char>((v >> shift) & 0x3F);
            // Codes below 0x20 stand for '@', 'A'..'Z' and the signs after them.
            text.push_back(code < 0x20 ? static_cast<char>(code + 0x40) : code);
        }
    }
    return text;
}

}  // namespace sim
