// The window's texts from values: printf-style fixed formats, and bytes
// that stand for 8-bit characters.
#pragma once

#include <cstdio>
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
