// Whether a frame the modem delivered is the reply to the request in flight:
// a HART acknowledge from the polled or addressed device to the command sent,
// whole, with its check byte right. Anything else on the line (a bursting
// transmitter, a late or repeated reply, a corrupted frame) is not.
#pragma once

#include <cstdint>

// What a reply must match, taken from the request frame as sent.
struct RequestInFlight {
    bool longFrame = false;
    std::uint8_t address[5] = {};  // short frame: address[0] only
    std::uint8_t command = 0;
    bool sent = false;  // no request since start: nothing can match
};

RequestInFlight InFlightOf(const std::uint8_t* requestFrame);

struct FrameVerdict {
    bool isReply = false;  // take it as the reply to the request
    // A whole frame with a right check byte, from the transmitter at
    // uniqueId (long address); burst is its burst-mode bit.
    bool fromTransmitter = false;
    bool burst = false;
};

// frame holds len decoded bytes, from the delimiter on.
FrameVerdict JudgeReplyFrame(const std::uint8_t* frame, int len, const RequestInFlight& request,
                             const std::uint8_t uniqueId[5]);
