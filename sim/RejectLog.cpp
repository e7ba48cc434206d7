#include "sim/RejectLog.h"

#include <algorithm>

namespace sim {

namespace {
constexpr std::uint64_t kSecondMs = 1000;
}  // namespace

void RejectLog::Add(const std::string& text, std::uint64_t nowMs)
{
    Flush(nowMs);
    if (m_Logged == kPerSecond) {
        ++m_Suppressed;
        return;
    }
    ++m_Logged;
    if (m_Log)
        m_Log(text);
}

void RejectLog::Flush(std::uint64_t nowMs)
{
    const std::uint64_t second = nowMs / kSecondMs;
    if (second == m_Second)
        return;
    if (m_Suppressed > 0 && m_Log)
        m_Log(m_Noun + " ignored from " + std::to_string(m_Second * kSecondMs) + " to " +
              std::to_string((m_Second + 1) * kSecondMs) + " ms and not shown: " + std::to_string(m_Suppressed));
    m_Second = second;
    m_Logged = 0;
    m_Suppressed = 0;
}

std::optional<std::uint64_t> RejectLog::DueMs(std::optional<std::uint64_t> otherMs) const
{
    if (m_Suppressed == 0)
        return otherMs;
    const std::uint64_t countMs = (m_Second + 1) * kSecondMs;
    return otherMs ? std::min(*otherMs, countMs) : countMs;
}

std::string Shown(const Bytes& input, std::string (*show)(const Bytes&))
{
    if (input.size() <= RejectLog::kShownBytes)
        return show(input);
    const Bytes head(input.begin(), input.begin() + RejectLog::kShownBytes);
    return show(head) + "... (" + std::to_string(input.size()) + " bytes)";
}

}  // namespace sim
