// Line errors (framing, overrun, parity, receive buffer overflow) as counted
// by the serial driver. Qt no longer reports them, so the port compares the
// driver's counters before and after each read and raises one event per error.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

struct LineErrorCounts {
    std::uint32_t frame = 0;
    std::uint32_t overrun = 0;
    std::uint32_t parity = 0;
    std::uint32_t bufferOverrun = 0;

    bool operator==(const LineErrorCounts&) const = default;
};

// A burst of errors larger than this raises only this many events per read:
// one error already spoils a reply, a flood of events would only stall the loop.
inline constexpr std::size_t kMaxLineErrorEventsPerRead = 16;

// One CommEvent code per error counted between two readings, in ascending
// code order (frame, overrun, buffer overflow, parity), at most maxEvents.
// Counters wrap around modulo 2^32.
std::vector<std::int16_t> LineErrorEvents(const LineErrorCounts& before, const LineErrorCounts& after,
                                          std::size_t maxEvents = kMaxLineErrorEventsPerRead);

// The driver's counters of the open device fd, or nothing where the device
// keeps none (pseudo-terminals, USB adapters without them, other systems).
std::optional<LineErrorCounts> ReadLineErrorCounts(int fd);
