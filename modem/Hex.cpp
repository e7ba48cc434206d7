#include "modem/Hex.h"

#include <bit>
#include <cstring>

char NibbleToHex(std::uint8_t v)
{
    v &= 0x0F;
    return static_cast<char>(v < 10 ? '0' + v : 'A' + (v - 10));
}

std::uint8_t HexToNibble(char ch)
{
    if (ch >= '0' && ch <= '9')
        return static_cast<std::uint8_t>(ch - '0');
    if (ch >= 'A' && ch <= 'F')
        return static_cast<std::uint8_t>(ch - 'A' + 10);
    if (ch >= 'a' && ch <= 'f')
        return static_cast<std::uint8_t>(ch - 'a' + 10);
    return 0;
}

std::int16_t BytesToHex(const std::uint8_t* src, char* dst, std::int16_t n)
{
    if (n <= 0)
        return n;
    for (int i = 0; i < n; ++i) {
        dst[2 * i] = NibbleToHex(static_cast<std::uint8_t>(src[i] >> 4));
        dst[2 * i + 1] = NibbleToHex(src[i]);
    }
    dst[2 * n] = '\0';
    return static_cast<std::int16_t>(2 * n);
}

std::int16_t HexToBytes(const char* src, std::uint8_t* dst, std::int16_t n)
{
    if (n <= 0)
        return n;
    const int m = n / 2;
    for (int i = 0; i < m; ++i)
        dst[i] = static_cast<std::uint8_t>(HexToNibble(src[2 * i]) * 16 + HexToNibble(src[2 * i + 1]));
    return static_cast<std::int16_t>(m);
}

void CopyBytes(std::uint8_t* dst, const std::uint8_t* src, std::uint16_t n)
{
    for (std::uint16_t i = 0; i < n; ++i)
        dst[i] = src[i];
}

std::uint8_t XorChecksum(const std::uint8_t* buf, std::uint8_t n)
{
    std::uint8_t x = 0;
    for (int i = 0; i < n; ++i)
        x ^= buf[i];
    return x;
}

void ReverseBytes4(std::uint8_t* dst, const std::uint8_t* src)
{
    dst[0] = src[3];
    dst[1] = src[2];
    dst[2] = src[1];
    dst[3] = src[0];
}

float FloatFromWire(const std::uint8_t* wire)
{
    std::uint8_t host[4];
    if constexpr (std::endian::native == std::endian::little)
        ReverseBytes4(host, wire);
    else
        std::memcpy(host, wire, 4);
    float value;
    std::memcpy(&value, host, 4);
    return value;
}

void FloatToWire(float value, std::uint8_t* wire)
{
    std::uint8_t host[4];
    std::memcpy(host, &value, 4);
    if constexpr (std::endian::native == std::endian::little)
        ReverseBytes4(wire, host);
    else
        std::memcpy(wire, host, 4);
}
