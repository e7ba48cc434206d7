// The modem's ASCII envelope: a request line carries one HART frame as hex
// text; a reply line carries a letter, two digits and hex text.
#pragma once

#include <cstdint>

inline constexpr std::uint8_t EnvelopeHead[4] = {0x01, 'P', '0', '1'};
inline constexpr std::uint8_t EnvelopeTail[2] = {0x0D, 0x0A};
inline constexpr int kEnvelopeOverhead = 6;

// Writes the request line for hexLen hex characters into line (room for
// hexLen + 7 bytes: the line and a NUL after it); returns hexLen + 6.
int WrapRequestLine(const char* hex, int hexLen, std::uint8_t* line);

// Failure codes of the reply line check, in the order the tests run.
enum ReplyLineFault : std::int16_t {
    kReplyLineOk = 0,
    kReplyNoSoh = 1,      // byte 0 is not SOH
    kReplyBadLetter = 2,  // byte 1 is not 'R', 'P', 'W' or 'X'
    kReplyBadDigit1 = 3,  // byte 2 is not a decimal digit
    kReplyBadDigit2 = 4,  // byte 3 is not a decimal digit
    kReplyBadHex = 5,     // payload holds something other than 0-9, A-F
    kReplyNoLineEnd = 6,  // the line does not end in CR LF
};

// What a fault means, for the record.
const char* ReplyLineFaultText(ReplyLineFault fault);

// Checks the n received bytes of a reply line. A byte the line does not
// hold (n too small for a test) fails that test.
ReplyLineFault CheckReplyLine(const std::uint8_t* buf, int n);
