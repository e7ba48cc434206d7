#include "hart/DateAndAssembly.h"

#include <cstdio>

namespace {

bool IsSpace(char ch) { return ch == ' ' || (ch >= '\t' && ch <= '\r'); }

// One "%d" conversion, keeping only the low byte of the number: sscanf's own
// result is undefined once the ten characters the date field allows overflow
// an int, and the low byte is all a date byte takes.
bool ReadLowByte(const char*& p, std::uint8_t& low)
{
    while (IsSpace(*p))
        ++p;
    const bool negative = *p == '-';
    if (*p == '-' || *p == '+')
        ++p;
    if (*p < '0' || *p > '9')
        return false;
    unsigned v = 0;
    for (; *p >= '0' && *p <= '9'; ++p)
        v = (v * 10 + static_cast<unsigned>(*p - '0')) & 0xFFu;
    low = static_cast<std::uint8_t>(negative ? 0u - v : v);
    return true;
}

}  // namespace

std::string DateToText(const std::uint8_t date[3])
{
    char text[16];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d", date[2] + 1900, date[1], date[0]);
    return text;
}

bool TextToDate(const char* text, std::uint8_t date[3])
{
    if (text == nullptr)
        return false;
    std::uint8_t year = 0, month = 0, day = 0;
    const char* p = text;
    if (!ReadLowByte(p, year) || *p++ != '-' || !ReadLowByte(p, month) || *p++ != '-' || !ReadLowByte(p, day))
        return false;
    date[0] = day;
    date[1] = month;
    date[2] = static_cast<std::uint8_t>(year - 1900);
    return true;
}

std::string AssemblyToText(const std::uint8_t bytes[3])
{
    char text[16];
    std::snprintf(text, sizeof text, "%d", (bytes[0] << 16) + (bytes[1] << 8) + bytes[2]);
    return text;
}

void AssemblyToBytes(std::uint32_t number, std::uint8_t bytes[3])
{
    bytes[0] = static_cast<std::uint8_t>(number >> 16);
    bytes[1] = static_cast<std::uint8_t>(number >> 8);
    bytes[2] = static_cast<std::uint8_t>(number);
}
