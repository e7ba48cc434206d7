#include "hart/ReplyMatch.h"

#include "hart/FrameLayout.h"

#include <algorithm>
#include <functional>
#include <numeric>

namespace {

using hartframe::AddressLength;
using hartframe::HeaderLength;
using hartframe::kAcknowledge;
using hartframe::kAddressBits;
using hartframe::kBurstBit;
using hartframe::kLongAddressBit;

// XOR of every byte; a whole frame with its check byte gives 0. (The frame
// can be longer than the 8-bit count of the request side's checksum.)
std::uint8_t XorOfAll(const std::uint8_t* bytes, int len)
{
    return std::accumulate(bytes, bytes + len, std::uint8_t{0}, std::bit_xor<std::uint8_t>());
}

bool SameAddress(const std::uint8_t* frameAddress, const std::uint8_t* address, bool longFrame)
{
    if ((frameAddress[0] & kAddressBits) != (address[0] & kAddressBits))
        return false;
    return std::equal(frameAddress + 1, frameAddress + AddressLength(longFrame), address + 1);
}

}  // namespace

RequestInFlight InFlightOf(const std::uint8_t* requestFrame)
{
    RequestInFlight request;
    request.longFrame = (requestFrame[0] & kLongAddressBit) != 0;
    std::copy_n(requestFrame + 1, AddressLength(request.longFrame), request.address);
    request.command = requestFrame[HeaderLength(request.longFrame) - 2];
    request.sent = true;
    return request;
}

FrameVerdict JudgeReplyFrame(const std::uint8_t* frame, int len, const RequestInFlight& request,
                             const std::uint8_t uniqueId[5])
{
    FrameVerdict verdict;
    if (len < 1)
        return verdict;
    const bool longFrame = (frame[0] & kLongAddressBit) != 0;
    const int header = HeaderLength(longFrame);
    // Whole: exactly the header, the bytes its count declares and the check
    // byte; the XOR over all of them is 0.
    if (len < header || len != header + frame[header - 1] + 1 || XorOfAll(frame, len) != 0)
        return verdict;
    const std::uint8_t* address = frame + 1;
    verdict.burst = (address[0] & kBurstBit) != 0;
    verdict.fromTransmitter = longFrame && SameAddress(address, uniqueId, true);
    verdict.isReply = request.sent && longFrame == request.longFrame &&
                      frame[0] == (kAcknowledge | (longFrame ? kLongAddressBit : 0)) &&
                      SameAddress(address, request.address, longFrame) && frame[header - 2] == request.command;
    return verdict;
}
