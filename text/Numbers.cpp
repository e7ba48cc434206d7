#include "text/Numbers.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <string>

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

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Length of the run of digits at text[at].
std::size_t Digits(std::string_view text, std::size_t at)
{
    std::size_t n = 0;
    while (at + n < text.size() && IsDigit(text[at + n]))
        ++n;
    return n;
}

// Length of the decimal number at the start of text, 0 when there is none.
std::size_t DecimalPrefix(std::string_view text)
{
    std::size_t at = 0;
    if (at < text.size() && (text[at] == '+' || text[at] == '-'))
        ++at;
    const std::size_t whole = Digits(text, at);
    at += whole;
    std::size_t fraction = 0;
    if (at < text.size() && text[at] == '.') {
        fraction = Digits(text, at + 1);
        if (whole + fraction > 0)
            at += 1 + fraction;
    }
    if (whole + fraction == 0)
        return 0;
    if (at < text.size() && (text[at] == 'e' || text[at] == 'E')) {
        std::size_t exp = at + 1;
        if (exp < text.size() && (text[exp] == '+' || text[exp] == '-'))
            ++exp;
        const std::size_t expDigits = Digits(text, exp);
        if (expDigits > 0)
            at = exp + expDigits;
    }
    return at;
}

}  // namespace

std::optional<double> ScanNumber(std::string_view text)
{
    const std::size_t blanks = std::min(text.find_first_not_of(" \t\n\v\f\r"), text.size());
    text.remove_prefix(blanks);
    const std::string number(text.substr(0, DecimalPrefix(text)));
    if (number.empty())
        return std::nullopt;
    const double value = std::strtod(number.c_str(), nullptr);
    if (!std::isfinite(value) || std::fabs(value) > std::numeric_limits<float>::max())
        return std::nullopt;
    return value;
}

double LeadingNumber(std::string_view text) { return ScanNumber(text).value_or(0.0); }
