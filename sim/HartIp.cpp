#include "sim/HartIp.h"

#include <algorithm>

namespace sim {

namespace {

// A client's bytes in the log: their first bytes only, however many came.
std::string Hex(const Bytes& bytes)
{
    return Shown(bytes, [](const Bytes& b) { return ToHex(b); });
}

constexpr std::size_t kInitiateBody = 5;  // master type, inactivity close time (4)
constexpr std::uint8_t kPrimaryMaster = 1;

HartIpMessage Answering(const HartIpMessage& request, std::uint8_t status, Bytes body = {})
{
    return HartIpMessage{hartip::kVersion, hartip::kResponse, request.id, status, request.sequence, std::move(body)};
}

}  // namespace

Bytes EncodeHartIp(const HartIpMessage& m)
{
    const auto size = static_cast<std::uint16_t>(hartip::kHeaderBytes + m.body.size());
    Bytes bytes{m.version,
                m.type,
                m.id,
                m.status,
                static_cast<std::uint8_t>(m.sequence >> 8),
                static_cast<std::uint8_t>(m.sequence),
                static_cast<std::uint8_t>(size >> 8),
                static_cast<std::uint8_t>(size)};
    bytes.insert(bytes.end(), m.body.begin(), m.body.end());
    return bytes;
}

std::optional<HartIpMessage> DecodeHartIp(const Bytes& bytes, std::size_t& used, bool& broken)
{
    broken = false;
    if (bytes.size() < hartip::kHeaderBytes)
        return std::nullopt;
    const std::size_t size = static_cast<std::size_t>(bytes[6]) << 8 | bytes[7];
    if (size < hartip::kHeaderBytes) {
        broken = true;
        return std::nullopt;
    }
    if (bytes.size() < size)
        return std::nullopt;
    used = size;
    HartIpMessage m{bytes[0], bytes[1], bytes[2], bytes[3], static_cast<std::uint16_t>(bytes[4] << 8 | bytes[5]), {}};
    m.body.assign(bytes.begin() + hartip::kHeaderBytes, bytes.begin() + static_cast<std::ptrdiff_t>(size));
    return m;
}

HartIp::HartIp(ModemOptions options, int publishVersion, Link link)
    : m_Options(std::move(options)), m_PublishVersion(publishVersion), m_Responder(m_Options, link)
{
    m_Options.burstPeriodMs = std::max(1, m_Options.burstPeriodMs);
}

void HartIp::Reset()
{
    if (m_Open)
        Log("session ended: the client went away");
    m_Open = false;
    m_Ended = false;
    m_Pending.clear();
    m_NextPublishMs.reset();
}

void HartIp::EndSession(const std::string& why)
{
    Log("session ended: " + why);
    m_Open = false;
    m_Ended = true;
    m_NextPublishMs.reset();
}

std::optional<std::uint64_t> HartIp::NextEventMs() const
{
    std::optional<std::uint64_t> next = m_NextPublishMs;
    if (m_Open && m_IdleCloseMs > 0) {
        const std::uint64_t idleEnd = m_LastHeardMs + m_IdleCloseMs;
        next = std::min(idleEnd, next.value_or(idleEnd));
    }
    return m_Rejects.DueMs(next);
}

Bytes HartIp::Publish(std::uint64_t nowMs)
{
    HartIpMessage m{static_cast<std::uint8_t>(m_PublishVersion),
                    hartip::kPublish,
                    hartip::kPdu,
                    hartip::kSuccess,
                    m_PublishSequence++,
                    m_Responder.BurstFrame(nowMs)};
    return EncodeHartIp(m);
}

std::vector<Chunk> HartIp::Advance(std::uint64_t nowMs)
{
    std::vector<Chunk> out;
    m_Rejects.Flush(nowMs);
    // Publish messages sent do not keep a session alive; only the client does.
    if (m_Open && m_IdleCloseMs > 0 && nowMs >= m_LastHeardMs + m_IdleCloseMs)
        EndSession("idle for " + std::to_string(m_IdleCloseMs) + " ms");
    while (m_NextPublishMs && *m_NextPublishMs <= nowMs) {
        const std::uint64_t atMs = *m_NextPublishMs;
        out.push_back(Chunk{0, Publish(atMs)});
        Log("publish " + ToHex(out.back().bytes) + " at " + std::to_string(atMs) + " ms");
        m_NextPublishMs = atMs + static_cast<std::uint64_t>(m_Options.burstPeriodMs);
    }
    return out;
}

std::vector<Chunk> HartIp::Feed(const std::uint8_t* data, std::size_t n, std::uint64_t nowMs)
{
    std::vector<Chunk> out = Advance(nowMs);
    m_Pending.insert(m_Pending.end(), data, data + n);
    std::size_t used = 0;
    bool broken = false;
    while (const auto message = DecodeHartIp(m_Pending, used, broken)) {
        m_Pending.erase(m_Pending.begin(), m_Pending.begin() + static_cast<std::ptrdiff_t>(used));
        Handle(*message, nowMs, out);
    }
    if (broken) {
        // No byte count to go by: the rest of a stream cannot be split.
        m_Rejects.Add("ignored " + Hex(m_Pending) + ": byte count below the header", nowMs);
        m_Pending.clear();
        EndSession("the stream broke");
    }
    return out;
}

std::vector<Chunk> HartIp::FeedDatagram(const std::uint8_t* data, std::size_t n, std::uint64_t nowMs)
{
    std::vector<Chunk> out = Feed(data, n, nowMs);
    if (!m_Pending.empty())
        m_Rejects.Add("ignored " + Hex(m_Pending) + ": shorter than its byte count", nowMs);
    m_Pending.clear();
    return out;
}

void HartIp::Handle(const HartIpMessage& request, std::uint64_t nowMs, std::vector<Chunk>& out)
{
    if (request.type != hartip::kRequest) {
        m_Rejects.Add("ignored " + Hex(EncodeHartIp(request)) + ": not a request", nowMs);
        return;
    }
    Log("received " + Hex(EncodeHartIp(request)));
    m_LastHeardMs = nowMs;
    const auto respond = [&](std::uint8_t status, Bytes body = {}) {
        out.push_back(Chunk{0, EncodeHartIp(Answering(request, status, std::move(body)))});
        Log("sent " + ToHex(out.back().bytes));
    };
    switch (request.id) {
    case hartip::kInitiate: {
        if (request.body.size() < kInitiateBody)
            return respond(hartip::kTooFewBytes);
        if (request.body[0] > kPrimaryMaster)
            return respond(hartip::kInvalidMasterType);
        if (const auto refused = m_Responder.Take(FaultKind::kRefuseSession)) {
            Log("  refused [fault: refuse-session]");
            return respond(static_cast<std::uint8_t>(refused->value));
        }
        m_Open = true;
        m_Ended = false;
        m_IdleCloseMs = static_cast<std::uint32_t>(request.body[1] << 24 | request.body[2] << 16 |
                                                   request.body[3] << 8 | request.body[4]);
        // A device already bursting publishes to its new client too.
        if (m_Responder.Bursting() && !m_NextPublishMs)
            m_NextPublishMs = nowMs + static_cast<std::uint64_t>(m_Options.burstPeriodMs);
        return respond(hartip::kSuccess, Bytes(request.body.begin(), request.body.begin() + kInitiateBody));
    }
    case hartip::kClose:
        if (!m_Open)
            return respond(hartip::kNoSession);
        respond(hartip::kSuccess);
        return EndSession("closed by the client");
    case hartip::kKeepAlive:
        return respond(m_Open ? hartip::kSuccess : hartip::kNoSession);
    case hartip::kPdu:
        if (!m_Open)
            return respond(hartip::kNoSession);
        return HandlePdu(request, nowMs, out);
    default:
        Log("  unknown message id");
    }
}

void HartIp::HandlePdu(const HartIpMessage& request, std::uint64_t nowMs, std::vector<Chunk>& out)
{
    std::string why;
    const auto frame = ParseRequestFrame(request.body, why);
    if (!frame) {
        Log("  ignored: " + why);
        return;
    }
    if (m_Responder.AddressedBy(*frame) == nullptr) {
        Log("  not for a transmitter here");
        return;
    }
    const std::vector<FaultRule> faults = m_Responder.FaultsFor(frame->command);
    const auto done = [&](const Bytes& bytes, int delayMs) {
        out.push_back(Chunk{delayMs, bytes});
        Log("sent " + ToHex(bytes) + (delayMs > 0 ? " after " + std::to_string(delayMs) + " ms" : "") +
            DescribeFaults(faults));
    };
    // Refused before the device sees the request.
    for (const FaultKind kind : {FaultKind::kErrorMessage, FaultKind::kErrorStatus}) {
        if (const FaultRule* f = FindFault(faults, kind)) {
            HartIpMessage m = Answering(request, static_cast<std::uint8_t>(f->value));
            m.type = kind == FaultKind::kErrorMessage ? hartip::kError : hartip::kResponse;
            return done(EncodeHartIp(m), 0);
        }
    }
    const std::optional<Bytes> answer = m_Responder.Answer(*frame, faults, nowMs);
    if (!answer) {
        Log("  dropped" + DescribeFaults(faults));
        return;
    }
    HartIpMessage response = Answering(request, hartip::kSuccess, *answer);
    if (const FaultRule* f = FindFault(faults, FaultKind::kWrongSequence))
        response.sequence = static_cast<std::uint16_t>(response.sequence + f->value);
    const Bytes bytes = EncodeHartIp(response);

    // Entering burst mode starts the publishing; any response puts the next one off.
    m_NextPublishMs.reset();
    if (m_Responder.Bursting())
        m_NextPublishMs = nowMs + static_cast<std::uint64_t>(m_Options.burstPeriodMs);
    const Bytes previous = m_LastResponse.empty() ? bytes : m_LastResponse;
    m_LastResponse = bytes;
    if (FindFault(faults, FaultKind::kLostDatagram)) {
        Log("  lost" + DescribeFaults(faults));
        return;
    }

    int delayMs = 0;
    if (const FaultRule* f = FindFault(faults, FaultKind::kBurstBefore)) {
        out.push_back(Chunk{0, Publish(nowMs)});
        delayMs = f->value;
    }
    if (FindFault(faults, FaultKind::kJoinWrites)) {
        Bytes joined = Publish(nowMs);
        joined.insert(joined.end(), bytes.begin(), bytes.end());
        done(joined, delayMs);
    } else if (const FaultRule* f = FindFault(faults, FaultKind::kSplitWrites)) {
        const auto half = static_cast<std::ptrdiff_t>(bytes.size() / 2);
        done(Bytes(bytes.begin(), bytes.begin() + half), delayMs);
        done(Bytes(bytes.begin() + half, bytes.end()), delayMs + f->value);
    } else {
        done(bytes, delayMs);
    }
    if (const FaultRule* f = FindFault(faults, FaultKind::kRepeatLate))
        out.push_back(Chunk{out.back().delayMs + f->value, previous});
}

void HartIp::Log(const std::string& text) const
{
    if (m_Log)
        m_Log(text);
}

}  // namespace sim
