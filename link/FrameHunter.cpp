#include "link/FrameHunter.h"

#include "hart/FrameLayout.h"

#include <algorithm>

namespace {

constexpr std::uint8_t kPreamble = 0xFF;
constexpr int kLeastPreambles = 2;

// Burst, request and acknowledge frames, short or long; the expansion and
// physical-layer bits are not used on this line.
bool IsDelimiter(std::uint8_t byte)
{
    const std::uint8_t type = byte & ~hartframe::kLongAddressBit;
    return type == 0x01 || type == hartframe::kShortRequest || type == hartframe::kAcknowledge;
}

}  // namespace

void FrameHunter::Reset()
{
    m_Preambles = 0;
    m_Frame.clear();
    m_Length = 0;
}

std::optional<std::vector<std::uint8_t>> FrameHunter::Feed(std::uint8_t byte)
{
    if (m_Frame.empty()) {
        if (byte == kPreamble) {
            // Counts only up to what a frame needs: a line of nothing but
            // preambles never runs the count over.
            m_Preambles = std::min(m_Preambles + 1, kLeastPreambles);
        } else {
            if (m_Preambles >= kLeastPreambles && IsDelimiter(byte))
                m_Frame.push_back(byte);
            m_Preambles = 0;
        }
        return std::nullopt;
    }
    m_Frame.push_back(byte);
    const auto header = static_cast<std::size_t>(hartframe::HeaderLength(hartframe::IsLong(m_Frame[0])));
    if (m_Frame.size() == header)
        m_Length = header + byte + 1;  // the byte count, then the check byte
    if (m_Length == 0 || m_Frame.size() < m_Length)
        return std::nullopt;
    std::vector<std::uint8_t> frame = std::move(m_Frame);
    Reset();
    return frame;
}
