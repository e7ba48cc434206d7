#include "modules/Text.h"

#include <cstdlib>

long LeadingInteger(std::string_view text)
{
    const std::string s(text);
    return std::strtol(s.c_str(), nullptr, 10);  // clamps to LONG_MIN/LONG_MAX
}

double LeadingNumber(std::string_view text)
{
    const std::string s(text);
    return std::strtod(s.c_str(), nullptr);
}
