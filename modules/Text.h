// Turning values into the window's texts and the operator's texts into values.
#pragma once

#include <cstdio>
#include <optional>
#include <string>
#include <string_view>

// printf-style formatting into a string (the window's fixed formats).
template <typename... Args>
std::string FormatText(const char* format, Args... args)
{
    char buffer[128];
    const int n = std::snprintf(buffer, sizeof buffer, format, args...);
    if (n < 0)
        return {};
    if (static_cast<std::size_t>(n) < sizeof buffer)
        return std::string(buffer, static_cast<std::size_t>(n));
    std::string text(static_cast<std::size_t>(n) + 1, '\0');
    std::snprintf(text.data(), text.size(), format, args...);
    text.resize(static_cast<std::size_t>(n));
    return text;
}

// Bytes that stand for 8-bit (Latin-1) characters, as the window's UTF-8
// text.
std::string Latin1ToUtf8(std::string_view bytes);

// The decimal integer at the start of a text: leading blanks, an optional
// sign, then digits up to the first other character; 0 without digits.
// Clamped to the range of long instead of overflowing.
long LeadingInteger(std::string_view text);
// The decimal integer at the start of a text as "%d" reads it, or nothing
// when the text does not start with one; clamped like LeadingInteger.
std::optional<long> ScanInteger(std::string_view text);
// The decimal number at the start of a text: leading blanks, an optional
// sign, digits with an optional fraction and exponent; what follows is
// ignored. Nothing when there is none, and nothing for a number a float
// cannot hold: "nan", "inf" and hexadecimal notation are not numbers an
// operator types.
std::optional<double> ScanNumber(std::string_view text);
// ScanNumber, or 0 when the text holds no number.
double LeadingNumber(std::string_view text);
