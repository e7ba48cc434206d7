// Helpers of the simulator tests: requests and expected replies are written
// as literal frame hex and wrapped into modem lines here.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "sim/Modem.h"

namespace simtest {

// SOH 'P' '0' '1' hex CR LF, and the reply line a well-behaved modem sends.
inline std::string Request(const std::string& hex) { return "\x01P01" + hex + "\r\n"; }
inline std::string Reply(const std::string& hex) { return "\x01P00" + hex + "\r\n"; }

// Clean reply frame to command 0 at polling address 0 of a fresh transmitter.
inline const std::string kCmd0 = "0680000E0000FEB57C050501020800010203B4";

inline std::vector<sim::Chunk> FeedText(sim::Modem& modem, const std::string& text, std::uint64_t nowMs = 0)
{
    return modem.Feed(reinterpret_cast<const std::uint8_t*>(text.data()), text.size(), nowMs);
}

inline std::string Joined(const std::vector<sim::Chunk>& chunks)
{
    std::string text;
    for (const sim::Chunk& c : chunks)
        text.append(c.bytes.begin(), c.bytes.end());
    return text;
}

inline std::string Exchange(sim::Modem& modem, const std::string& frameHex)
{
    return Joined(FeedText(modem, Request(frameHex)));
}

// One request frame and the whole reply line expected for it ("" for none).
struct Step {
    std::string request;
    std::string reply;
};

inline void Converse(sim::Modem& modem, const std::vector<Step>& steps)
{
    for (std::size_t i = 0; i < steps.size(); ++i) {
        EXPECT_EQ(Exchange(modem, steps[i].request), steps[i].reply) << "step " << i;
    }
}

inline sim::ModemOptions Immediate(std::vector<sim::FaultRule> faults = {})
{
    sim::ModemOptions options;
    options.immediate = true;
    options.faults = std::move(faults);
    return options;
}

}  // namespace simtest
