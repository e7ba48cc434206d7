#include "link/HartIpMessage.h"

#include <algorithm>

namespace hartip {

namespace {

std::size_t CountOf(const std::uint8_t* header) { return std::size_t(header[6]) << 8 | header[7]; }

bool Plausible(const std::uint8_t* header)
{
    const std::size_t count = CountOf(header);
    return count >= kHeaderSize && count <= kLongestMessage;
}

Message Decode(const std::uint8_t* bytes, std::size_t count)
{
    Message m;
    m.version = bytes[0];
    m.type = bytes[1];
    m.id = bytes[2];
    m.status = bytes[3];
    m.sequence = static_cast<std::uint16_t>(bytes[4] << 8 | bytes[5]);
    m.body.assign(bytes + kHeaderSize, bytes + count);
    return m;
}

}  // namespace

std::vector<std::uint8_t> Encode(const Message& message)
{
    const std::size_t count = kHeaderSize + message.body.size();
    std::vector<std::uint8_t> bytes(count);
    bytes[0] = message.version;
    bytes[1] = message.type;
    bytes[2] = message.id;
    bytes[3] = message.status;
    bytes[4] = static_cast<std::uint8_t>(message.sequence >> 8);
    bytes[5] = static_cast<std::uint8_t>(message.sequence);
    bytes[6] = static_cast<std::uint8_t>(count >> 8);
    bytes[7] = static_cast<std::uint8_t>(count);
    std::copy(message.body.begin(), message.body.end(), bytes.begin() + kHeaderSize);
    return bytes;
}

std::vector<std::uint8_t> InitiateBody(std::uint32_t inactivityCloseMs)
{
    return {kPrimaryMaster, static_cast<std::uint8_t>(inactivityCloseMs >> 24),
            static_cast<std::uint8_t>(inactivityCloseMs >> 16), static_cast<std::uint8_t>(inactivityCloseMs >> 8),
            static_cast<std::uint8_t>(inactivityCloseMs)};
}

// A header whose count cannot be a message is no place to wait on: one byte
// is dropped and the next place tried.
std::vector<Message> Reader::Feed(const std::uint8_t* bytes, std::size_t n)
{
    m_Buffer.insert(m_Buffer.end(), bytes, bytes + n);
    std::vector<Message> messages;
    std::size_t at = 0;
    while (m_Buffer.size() - at >= kHeaderSize) {
        const std::uint8_t* header = m_Buffer.data() + at;
        if (!Plausible(header)) {
            ++at;
            ++m_Dropped;
            continue;
        }
        const std::size_t count = CountOf(header);
        if (m_Buffer.size() - at < count)
            break;
        messages.push_back(Decode(header, count));
        at += count;
    }
    m_Buffer.erase(m_Buffer.begin(), m_Buffer.begin() + static_cast<std::ptrdiff_t>(at));
    return messages;
}

std::optional<Message> Reader::Datagram(const std::uint8_t* bytes, std::size_t n)
{
    if (n < kHeaderSize || !Plausible(bytes) || CountOf(bytes) > n)
        return std::nullopt;
    return Decode(bytes, CountOf(bytes));
}

}  // namespace hartip
