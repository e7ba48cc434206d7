// Outcome of one command try, as the step machine's scripts judge it.
#pragma once

#include <cstdint>

inline constexpr std::int16_t kResultOk = 0;             // 'P' reply long enough; values stored
inline constexpr std::int16_t kResultNoReply = 1;        // no validated reply when the parse ran
inline constexpr std::int16_t kResultBadLetter = 2;      // reply letter neither 'P' nor 'X'
inline constexpr std::int16_t kResultTooShort = 4;       // 'P' reply too short for the command
inline constexpr std::int16_t kResultModemError = 88;    // reply letter 'X'
inline constexpr std::int16_t kResultSendFailed = 1001;  // the serial port refused the request

// What a result means, for the record.
constexpr const char* ResultText(std::int16_t result)
{
    switch (result) {
    case kResultOk:
        return "answered";
    case kResultNoReply:
        return "no reply in time";
    case kResultBadLetter:
        return "the modem answered with a letter other than P or X";
    case kResultTooShort:
        return "the reply is too short for the command";
    case kResultModemError:
        return "the modem reported an error (X)";
    case kResultSendFailed:
        return "the serial port refused the request";
    default:
        return "an unknown result";
    }
}
