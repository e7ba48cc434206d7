// The log of what a modem turns away. Junk on the port must not turn into a
// flood of log: a rejected piece shows its first bytes only, with its full
// length, and past a few a second (on the modem's own clock) the rest of that
// second is only counted, the count logged once the second is over.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "sim/Wire.h"

namespace sim {

class RejectLog {
public:
    using LogFn = std::function<void(const std::string&)>;
    // A whole request line of 37 frame bytes (74 hex digits) still shows.
    static constexpr std::size_t kShownBytes = 80;
    static constexpr unsigned kPerSecond = 5;

    explicit RejectLog(std::string noun) : m_Noun(std::move(noun)) {}
    void SetLog(LogFn log) { m_Log = std::move(log); }

    // Logs text, or counts it when this second has had its share.
    void Add(const std::string& text, std::uint64_t nowMs);
    // Logs the count of a second that is over by nowMs, if any.
    void Flush(std::uint64_t nowMs);
    // When a count is owed (the end of its second), or otherMs when earlier.
    std::optional<std::uint64_t> DueMs(std::optional<std::uint64_t> otherMs) const;

private:
    std::string m_Noun;  // what the count counts: "lines", "frames"
    LogFn m_Log;
    std::uint64_t m_Second = 0;
    unsigned m_Logged = 0;
    std::uint64_t m_Suppressed = 0;
};

// The first kShownBytes of input as 'show' spells them, then "... (N bytes)"
// when there are more.
std::string Shown(const Bytes& input, std::string (*show)(const Bytes&));

}  // namespace sim
