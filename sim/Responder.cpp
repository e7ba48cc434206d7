#include "sim/Responder.h"

#include <algorithm>
#include <array>
#include <string>

namespace sim {

namespace {

bool Has(const std::vector<FaultRule>& faults, FaultKind kind) { return FindFault(faults, kind) != nullptr; }

// Data bytes holding a setting code that a master checks against its list.
std::vector<std::size_t> EchoPositions(std::uint8_t command)
{
    switch (command) {
    case 6:
    case 44:
    case 47:
    case 108:
    case 109:
    case 134:
    case 135:
    case 165:
    case 192:
        return {0};
    case 15:
        return {0, 1, 15};  // alarm selection, transfer function, write protection
    case 105:
        return {0, 1};  // burst mode, burst command
    default:
        return {};
    }
}

// Data bytes holding a unit code.
std::vector<std::size_t> UnitPositions(std::uint8_t command)
{
    switch (command) {
    case 1:
    case 35:
    case 44:
    case 130:
    case 131:
        return {0};
    case 14:
        return {3};
    case 15:
        return {2};
    case 128:
        return {13};
    default:
        return {};
    }
}

void Overwrite(Bytes& data, const std::vector<std::size_t>& positions, int value)
{
    for (std::size_t p : positions) {
        if (p < data.size())
            data[p] = static_cast<std::uint8_t>(value);
    }
}

ReplyBody BodyOf(const Reply& reply)
{
    ReplyBody body;
    body.bytes.reserve(2 + reply.data.size());
    body.bytes.push_back(reply.responseCode);
    body.bytes.push_back(reply.deviceStatus);
    body.bytes.insert(body.bytes.end(), reply.data.begin(), reply.data.end());
    body.byteCount = static_cast<std::uint8_t>(body.bytes.size());
    return body;
}

// The frame as the faults bend it: another command or device named, with
// the check byte to match, or a bit flipped after the check byte was made.
Bytes ReplyFrame(RequestFrame replyTo, const ReplyBody& body, bool burst, const std::vector<FaultRule>& faults)
{
    if (const FaultRule* f = FindFault(faults, FaultKind::kOtherCommand))
        replyTo.command = static_cast<std::uint8_t>(f->value >= 0 ? f->value : replyTo.command + 1);
    if (Has(faults, FaultKind::kOtherAddress)) {
        // The unique identifier's last bit, or the next polling address.
        std::uint8_t& last = replyTo.address.back();
        last = static_cast<std::uint8_t>(replyTo.longFrame ? last ^ 0x01 : (last & 0xF0) | ((last + 1) & 0x0F));
    }
    Bytes frame = BuildReplyFrame(replyTo, body, burst);
    if (Has(faults, FaultKind::kBadCheckByte)) {
        // The first data byte after the status bytes, else the byte count.
        const std::size_t count = replyTo.longFrame ? 7 : 3;
        frame[frame.size() > count + 4 ? count + 3 : count] ^= 0x01;
    }
    return frame;
}

// One transmitter at its address, or N multidropped at 1 to N, each with
// the device id counted on from the given one and a tag of its own.
std::vector<Transmitter> LineOf(const ModemOptions& options)
{
    std::vector<Transmitter> line;
    const int count = std::max(1, options.multidrop);
    const std::array<std::uint8_t, 3>& base = options.identity.deviceId;
    const std::uint32_t firstId = std::uint32_t{base[0]} << 16 | std::uint32_t{base[1]} << 8 | base[2];
    for (int k = 0; k < count; ++k) {
        Identity id = options.identity;
        if (options.multidrop > 0) {
            const std::uint32_t n = firstId + static_cast<std::uint32_t>(k);
            id.deviceId = {static_cast<std::uint8_t>(n >> 16), static_cast<std::uint8_t>(n >> 8),
                           static_cast<std::uint8_t>(n)};
            id.pollingAddress = static_cast<std::uint8_t>(k + 1);
        }
        TransmitterState& s = line.emplace_back(id).State();
        if (options.multidrop > 0)
            s.tag = PackText("PT-" + std::to_string(101 + k), 8);
        s.processKpa = options.processKpa;
        s.wobble = !options.steady;
        s.sensorErrorPct = options.sensorErrorPct;
    }
    return line;
}

}  // namespace

Responder::Responder(const ModemOptions& options, Link link)
    : m_Link(link), m_Faults(options.faults), m_RandomRate(options.randomFaultRate), m_RandomPool(options.randomFaults),
      m_Transmitters(LineOf(options)), m_Rng(options.seed)
{
}

Transmitter* Responder::AddressedBy(const RequestFrame& request)
{
    for (Transmitter& t : m_Transmitters) {
        if (AddressedTo(request, t.State().identity))
            return &t;
    }
    return nullptr;
}

bool Responder::Bursting() const
{
    return std::any_of(m_Transmitters.begin(), m_Transmitters.end(),
                       [](const Transmitter& t) { return t.State().burstMode; });
}

void Responder::SetRandomFaults(double rate, std::vector<FaultKind> kinds, std::uint32_t seed)
{
    m_RandomRate = rate;
    m_RandomPool = std::move(kinds);
    m_Rng.seed(seed);
}

std::vector<FaultRule> Responder::FaultsFor(std::uint8_t command)
{
    std::vector<FaultRule> active;
    for (FaultRule& rule : m_Faults) {
        if (rule.times == 0 || (rule.command != kAllCommands && rule.command != command))
            continue;
        if (rule.times > 0)
            --rule.times;
        active.push_back(rule);
    }
    if (m_RandomRate > 0.0 && static_cast<double>(m_Rng()) < m_RandomRate * 4294967296.0) {
        const auto& pool = m_RandomPool.empty() ? DefaultRandomFaultKinds(m_Link) : m_RandomPool;
        active.push_back(FaultRule{pool[m_Rng() % pool.size()], command, -1, -1});
    }
    for (FaultRule& rule : active) {
        if (rule.value < 0)
            rule.value = DefaultFaultValue(rule.kind);
    }
    return active;
}

std::optional<FaultRule> Responder::Take(FaultKind kind)
{
    for (FaultRule& rule : m_Faults) {
        if (rule.kind != kind || rule.times == 0)
            continue;
        if (rule.times > 0)
            --rule.times;
        FaultRule taken = rule;
        if (taken.value < 0)
            taken.value = DefaultFaultValue(kind);
        return taken;
    }
    return std::nullopt;
}

std::optional<Bytes> Responder::Answer(const RequestFrame& request, const std::vector<FaultRule>& faults,
                                       std::uint64_t nowMs)
{
    Transmitter* device = AddressedBy(request);
    if (device == nullptr || Has(faults, FaultKind::kNoAnswer))
        return std::nullopt;
    // A command the device lacks is answered by the device, not bent later.
    Reply reply;
    if (Has(faults, FaultKind::kStatusOnly)) {
        reply.responseCode = rc::kNotImplemented;
        reply.deviceStatus = device->DeviceStatus(nowMs);
    } else {
        reply = device->Handle(request.command, request.data, nowMs);
    }
    if (const FaultRule* f = FindFault(faults, FaultKind::kResponseCode))
        reply.responseCode = static_cast<std::uint8_t>(f->value);
    if (const FaultRule* f = FindFault(faults, FaultKind::kBadEcho))
        Overwrite(reply.data, EchoPositions(request.command), f->value);
    if (const FaultRule* f = FindFault(faults, FaultKind::kBadUnit))
        Overwrite(reply.data, UnitPositions(request.command), f->value);

    ReplyBody body = BodyOf(reply);
    if (Has(faults, FaultKind::kShortCount))
        body.bytes.pop_back();
    int count = static_cast<int>(body.bytes.size());
    if (const FaultRule* f = FindFault(faults, FaultKind::kLongCount))
        count += f->value;
    body.byteCount = static_cast<std::uint8_t>(std::min(count, 255));

    const bool burst = device->State().burstMode || Has(faults, FaultKind::kBurstBit);
    return ReplyFrame(request, body, burst, faults);
}

Bytes Responder::BurstFrame(std::uint64_t nowMs)
{
    // The next bursting one from this turn on; the first when none bursts.
    const std::size_t n = m_Transmitters.size();
    std::size_t at = 0;
    for (std::size_t i = 0; i < n; ++i) {
        if (m_Transmitters[(m_BurstTurn + i) % n].State().burstMode) {
            at = (m_BurstTurn + i) % n;
            break;
        }
    }
    m_BurstTurn = (at + 1) % n;
    Transmitter& t = m_Transmitters[at];
    const std::uint8_t command = t.State().burstCommand;
    return BuildBurstFrame(t.State().identity, command, BodyOf(t.Handle(command, Bytes{}, nowMs)));
}

}  // namespace sim
