#include "sim/Frames.h"

#include <string_view>

namespace sim {

namespace {

constexpr std::uint8_t kSoh = 0x01;
constexpr std::uint8_t kCr = 0x0D;
constexpr std::uint8_t kLf = 0x0A;
constexpr std::uint8_t kShortRequest = 0x02;
constexpr std::uint8_t kLongRequest = 0x82;
constexpr std::uint8_t kShortReply = 0x06;
constexpr std::uint8_t kLongReply = 0x86;
constexpr std::uint8_t kBurstFrame = 0x81;
constexpr std::uint8_t kMasterBit = 0x80;
constexpr std::uint8_t kBurstBit = 0x40;
constexpr std::uint8_t kAddressMask = 0x3F;

}  // namespace

std::optional<RequestFrame> ParseRequestLine(const Bytes& line, std::string& why)
{
    const std::size_t n = line.size();
    if (n < 6 || line[0] != kSoh || line[1] != 'P' || line[2] != '0' || line[3] != '1') {
        why = "bad head";
        return std::nullopt;
    }
    if (line[n - 2] != kCr || line[n - 1] != kLf) {
        why = "no CR LF";
        return std::nullopt;
    }
    const std::string_view hex(reinterpret_cast<const char*>(line.data()) + 4, n - 6);
    const auto bytes = FromUpperHex(hex);
    if (!bytes) {
        why = "not upper-case hex";
        return std::nullopt;
    }
    return ParseRequestFrame(*bytes, why);
}

std::optional<RequestFrame> ParseRequestFrame(const Bytes& f, std::string& why)
{
    RequestFrame frame;
    std::size_t head = 0;
    if (!f.empty() && f[0] == kShortRequest && f.size() >= 5) {
        head = 4;
    } else if (!f.empty() && f[0] == kLongRequest && f.size() >= 9) {
        frame.longFrame = true;
        head = 8;
    } else {
        why = "not a request frame";
        return std::nullopt;
    }
    const std::uint8_t count = f[head - 1];
    if (f.size() != head + count + 1) {
        why = "byte count does not match";
        return std::nullopt;
    }
    if (Checksum(f.data(), f.size()) != 0) {
        why = "bad checksum";
        return std::nullopt;
    }
    frame.address.assign(f.begin() + 1, f.begin() + static_cast<std::ptrdiff_t>(head - 2));
    frame.command = f[head - 2];
    frame.data.assign(f.begin() + static_cast<std::ptrdiff_t>(head), f.end() - 1);
    frame.size = f.size();
    return frame;
}

bool AddressedTo(const RequestFrame& frame, const Identity& identity)
{
    if (!frame.longFrame)
        return (frame.address[0] & kAddressMask) == identity.pollingAddress;
    return (frame.address[0] & kAddressMask) == (identity.manufacturer & kAddressMask) &&
           frame.address[1] == identity.deviceType && frame.address[2] == identity.deviceId[0] &&
           frame.address[3] == identity.deviceId[1] && frame.address[4] == identity.deviceId[2];
}

namespace {

// Completes a frame after its address: command, body, check byte.
Bytes Finish(Bytes frame, std::uint8_t command, const ReplyBody& body)
{
    frame.push_back(command);
    frame.push_back(body.byteCount);
    frame.insert(frame.end(), body.bytes.begin(), body.bytes.end());
    frame.push_back(Checksum(frame.data(), frame.size()));
    return frame;
}

}  // namespace

Bytes BuildReplyFrame(const RequestFrame& request, const ReplyBody& body, bool burstBit)
{
    Bytes frame{request.longFrame ? kLongReply : kShortReply};
    frame.insert(frame.end(), request.address.begin(), request.address.end());
    frame[1] = static_cast<std::uint8_t>((frame[1] & ~kBurstBit) | (burstBit ? kBurstBit : 0));
    return Finish(std::move(frame), request.command, body);
}

Bytes BuildBurstFrame(const Identity& identity, std::uint8_t command, const ReplyBody& body)
{
    const auto first = static_cast<std::uint8_t>(kMasterBit | kBurstBit | (identity.manufacturer & kAddressMask));
    return Finish(
        {kBurstFrame, first, identity.deviceType, identity.deviceId[0], identity.deviceId[1], identity.deviceId[2]},
        command, body);
}

Bytes BuildReplyLine(const Bytes& frame, char letter, bool lowerHex, bool withLf)
{
    Bytes line{kSoh, static_cast<std::uint8_t>(letter), '0', '0'};
    const std::string hex = ToHex(frame, lowerHex);
    line.insert(line.end(), hex.begin(), hex.end());
    line.push_back(kCr);
    if (withLf)
        line.push_back(kLf);
    return line;
}

std::string Printable(const Bytes& line)
{
    std::string text;
    for (std::uint8_t b : line) {
        if (b == kSoh) {
            text += "<SOH>";
        } else if (b == kCr) {
            text += "<CR>";
        } else if (b == kLf) {
            text += "<LF>";
        } else if (b >= 0x20 && b < 0x7F) {
            text.push_back(static_cast<char>(b));
        } else {
            text += "<" + ToHex({b}) + ">";
        }
    }
    return text;
}

}  // namespace sim
