// Builds the bare HART request frame of one command: template, address,
// data, check byte. Hex text and the modem envelope are the caller's.
#pragma once

#include "hart/CommandTable.h"

#include <cstdint>

// Set by the module operations before a command is started. Only the low
// byte of a code goes into a frame.
struct RequestParams {
    std::int16_t reqCode[3] = {};
    float reqValue[2] = {};
    // Commands 17 and 18: at least n bytes, owned by the caller and left
    // unchanged while the operation runs, since every try sends it again.
    const std::uint8_t* reqBlock = nullptr;
};

inline constexpr int kMaxRequestFrame = 9 + kMaxRequestData;

// Writes the frame into frame (room for kMaxRequestFrame bytes) and returns
// its length: 5 for the short form, 9 + n for the long form. uniqueId is
// read for the long form only. A block command without a block sends its
// template bytes.
int BuildRequestFrame(const CommandInfo& cmd, const RequestParams& params, const std::uint8_t uniqueId[5],
                      std::uint8_t* frame);
