#include "modem/Envelope.h"

namespace {
bool IsDigit(std::uint8_t c) { return c >= '0' && c <= '9'; }
bool IsUpperHex(std::uint8_t c) { return IsDigit(c) || (c >= 'A' && c <= 'F'); }
bool IsReplyLetter(std::uint8_t c) { return c == 'R' || c == 'P' || c == 'W' || c == 'X'; }
}  // namespace

int WrapRequestLine(const char* hex, int hexLen, std::uint8_t* line)
{
    int k = 0;
    for (std::uint8_t b : EnvelopeHead)
        line[k++] = b;
    for (int i = 0; i < hexLen; ++i)
        line[k++] = static_cast<std::uint8_t>(hex[i]);
    for (std::uint8_t b : EnvelopeTail)
        line[k++] = b;
    line[k] = 0;
    return k;
}

const char* ReplyLineFaultText(ReplyLineFault fault)
{
    switch (fault) {
    case kReplyLineOk:
        return "a well-formed reply line";
    case kReplyNoSoh:
        return "the reply line does not start with SOH";
    case kReplyBadLetter:
        return "the reply line has no letter R, P, W or X";
    case kReplyBadDigit1:
    case kReplyBadDigit2:
        return "the reply line lacks its two digits";
    case kReplyBadHex:
        return "the reply line holds other than upper-case hex";
    case kReplyNoLineEnd:
        return "the reply line does not end in CR LF";
    }
    return "an unknown reply line fault";
}

ReplyLineFault CheckReplyLine(const std::uint8_t* buf, int n)
{
    if (n < 1 || buf[0] != 0x01)
        return kReplyNoSoh;
    if (n < 2 || !IsReplyLetter(buf[1]))
        return kReplyBadLetter;
    if (n < 3 || !IsDigit(buf[2]))
        return kReplyBadDigit1;
    if (n < 4 || !IsDigit(buf[3]))
        return kReplyBadDigit2;
    for (int i = 4; i <= n - 3; ++i)
        if (!IsUpperHex(buf[i]))
            return kReplyBadHex;
    if (n < 2 || buf[n - 2] != 0x0D || buf[n - 1] != 0x0A)
        return kReplyNoLineEnd;
    return kReplyLineOk;
}
