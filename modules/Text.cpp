#include "modules/Text.h"

#include <cstdlib>

long LeadingInteger(std::string_view text)
{
    const std::string s(text);
    return std::strtol(s.c_str(), nullptr, 10);  // clamps to LONG_MIN/LONG_MAX
}

std::optional<long> ScanInteger(std::string_view text)
{
    const std::string s(text);
    char* end = nullptr;
    const long value = std::strtol(s.c_str(), &end, 10);
    if (end == s.c_str())
        return std::nullopt;
    return value;
}

double LeadingNumber(std::string_view text)
{
    const std::string s(text);
    return std::strtod(s.c_str(), nullptr);
}
