// What a pseudo-terminal serves: a modem that takes the master's bytes and
// says which bytes go back, when, plus output nobody asked for (burst frames).
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "sim/LoopTiming.h"
#include "sim/Responder.h"

namespace sim {

class SerialModem {
public:
    using LogFn = std::function<void(const std::string&)>;

    virtual ~SerialModem() = default;
    // Bytes from the master, received at nowMs, in any pieces; delays count
    // from nowMs.
    virtual std::vector<Chunk> Feed(const std::uint8_t* data, std::size_t n, std::uint64_t nowMs) = 0;
    // When output nobody asked for is next due, if any.
    virtual std::optional<std::uint64_t> NextEventMs() const = 0;
    // That output, as far as due by nowMs; delays count from nowMs.
    virtual std::vector<Chunk> Advance(std::uint64_t nowMs) = 0;
    virtual void SetLog(LogFn log) = 0;
    // The transmitters on its loop.
    virtual Responder& Answers() = 0;
};

}  // namespace sim
