#include "sim/Modem.h"

#include <algorithm>

namespace sim {

namespace {

// Longest line kept while waiting for CR LF; the longest request is far shorter.
constexpr std::size_t kMaxLine = 2048;

const FaultRule* Find(const std::vector<FaultRule>& faults, FaultKind kind)
{
    for (const FaultRule& rule : faults) {
        if (rule.kind == kind)
            return &rule;
    }
    return nullptr;
}

bool Has(const std::vector<FaultRule>& faults, FaultKind kind) { return Find(faults, kind) != nullptr; }

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

char ReplyLetter(const std::vector<FaultRule>& faults)
{
    char letter = 'P';
    for (const FaultRule& rule : faults) {
        if (rule.kind == FaultKind::kLetterX)
            letter = 'X';
        if (rule.kind == FaultKind::kLetterR)
            letter = 'R';
        if (rule.kind == FaultKind::kLetterW)
            letter = 'W';
    }
    return letter;
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
    if (const FaultRule* f = Find(faults, FaultKind::kOtherCommand))
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

std::string Describe(const std::vector<FaultRule>& faults)
{
    std::string text;
    for (const FaultRule& rule : faults) {
        text += text.empty() ? " [fault: " : ", ";
        text += FaultName(rule.kind);
    }
    return text.empty() ? text : text + "]";
}

}  // namespace

Modem::Modem(ModemOptions options)
    : m_Options(std::move(options)), m_Transmitter(m_Options.identity), m_Rng(m_Options.seed)
{
    m_Options.burstPeriodMs = std::max(1, m_Options.burstPeriodMs);
}

void Modem::SetRandomFaults(double rate, std::vector<FaultKind> kinds, std::uint32_t seed)
{
    m_Options.randomFaultRate = rate;
    m_Options.randomFaults = std::move(kinds);
    m_Rng.seed(seed);
}

std::vector<Chunk> Modem::Advance(std::uint64_t nowMs)
{
    std::vector<Chunk> out;
    while (m_NextBurstMs && *m_NextBurstMs <= nowMs) {
        const std::uint64_t startMs = *m_NextBurstMs;
        const Bytes frame = BurstFrame(startMs);
        const Bytes line = BuildReplyLine(frame, 'P', false, true);
        const int loopMs = m_Options.immediate ? 0 : FrameLoopMs(frame.size());
        const std::vector<Chunk> chunks = ScheduleLine(line, loopMs, m_Options.immediate);
        m_BusyUntilMs = startMs + static_cast<std::uint64_t>(chunks.back().delayMs);
        // A period too short for the frame still leaves the loop to each one whole.
        m_NextBurstMs = std::max(startMs + static_cast<std::uint64_t>(m_Options.burstPeriodMs), m_BusyUntilMs);
        Log("burst " + Printable(line) + " at " + std::to_string(startMs) + " ms");
        for (const Chunk& chunk : chunks) {
            const auto dueMs = static_cast<std::int64_t>(startMs) + chunk.delayMs;
            const auto delayMs = std::max<std::int64_t>(0, dueMs - static_cast<std::int64_t>(nowMs));
            out.push_back(Chunk{static_cast<int>(delayMs), chunk.bytes});
        }
    }
    return out;
}

Bytes Modem::BurstFrame(std::uint64_t nowMs)
{
    const std::uint8_t command = m_Transmitter.State().burstCommand;
    return BuildBurstFrame(m_Transmitter.State().identity, command,
                           BodyOf(m_Transmitter.Handle(command, Bytes{}, nowMs)));
}

std::vector<Chunk> Modem::Feed(const std::uint8_t* data, std::size_t n, std::uint64_t nowMs)
{
    // A request that comes while a burst frame is on the loop waits for it.
    std::vector<Chunk> out = Advance(nowMs);
    for (std::size_t i = 0; i < n; ++i) {
        // SOH always opens a new line: a broken line cannot spoil the next.
        if (data[i] == 0x01 && !m_Pending.empty()) {
            Log("ignored " + Printable(m_Pending) + ": no CR LF");
            m_Pending.clear();
        }
        m_Pending.push_back(data[i]);
        const std::size_t size = m_Pending.size();
        if (size >= 2 && m_Pending[size - 2] == 0x0D && m_Pending[size - 1] == 0x0A) {
            std::vector<Chunk> reply = HandleLine(m_Pending, nowMs);
            out.insert(out.end(), std::make_move_iterator(reply.begin()), std::make_move_iterator(reply.end()));
            m_Pending.clear();
        } else if (size > kMaxLine) {
            Log("ignored " + std::to_string(size) + " bytes without CR LF");
            m_Pending.clear();
        }
    }
    return out;
}

std::vector<FaultRule> Modem::FaultsFor(std::uint8_t command)
{
    std::vector<FaultRule> active;
    for (FaultRule& rule : m_Options.faults) {
        if (rule.times == 0 || (rule.command != kAllCommands && rule.command != command))
            continue;
        if (rule.times > 0)
            --rule.times;
        active.push_back(rule);
    }
    if (m_Options.randomFaultRate > 0.0 && static_cast<double>(m_Rng()) < m_Options.randomFaultRate * 4294967296.0) {
        const auto& pool = m_Options.randomFaults.empty() ? DefaultRandomFaultKinds() : m_Options.randomFaults;
        active.push_back(FaultRule{pool[m_Rng() % pool.size()], command, -1, -1});
    }
    for (FaultRule& rule : active) {
        if (rule.value < 0)
            rule.value = DefaultFaultValue(rule.kind);
    }
    return active;
}

std::vector<Chunk> Modem::HandleLine(const Bytes& line, std::uint64_t nowMs)
{
    std::string why;
    const auto request = ParseRequestLine(line, why);
    if (!request) {
        Log("ignored " + Printable(line) + ": " + why);
        return {};
    }
    Log("request " + Printable(line));
    if (!AddressedTo(*request, m_Transmitter.State().identity)) {
        Log("  not for this transmitter");
        return {};
    }
    const std::vector<FaultRule> faults = FaultsFor(request->command);
    if (Has(faults, FaultKind::kNoAnswer)) {
        Log("  dropped" + Describe(faults));
        return {};
    }

    // A command the device lacks is answered by the device, not bent later.
    Reply reply;
    if (Has(faults, FaultKind::kStatusOnly)) {
        reply.responseCode = rc::kNotImplemented;
        reply.deviceStatus = m_Transmitter.DeviceStatus(nowMs);
    } else {
        reply = m_Transmitter.Handle(request->command, request->data, nowMs);
    }
    if (const FaultRule* f = Find(faults, FaultKind::kResponseCode)) {
        reply.responseCode = static_cast<std::uint8_t>(f->value);
    }
    if (const FaultRule* f = Find(faults, FaultKind::kBadEcho)) {
        Overwrite(reply.data, EchoPositions(request->command), f->value);
    }
    if (const FaultRule* f = Find(faults, FaultKind::kBadUnit)) {
        Overwrite(reply.data, UnitPositions(request->command), f->value);
    }

    ReplyBody body = BodyOf(reply);
    if (Has(faults, FaultKind::kShortCount))
        body.bytes.pop_back();
    int count = static_cast<int>(body.bytes.size());
    if (const FaultRule* f = Find(faults, FaultKind::kLongCount))
        count += f->value;
    body.byteCount = static_cast<std::uint8_t>(std::min(count, 255));

    const bool burst = m_Transmitter.State().burstMode || Has(faults, FaultKind::kBurstBit);
    const Bytes frame = ReplyFrame(*request, body, burst, faults);
    const Bytes replyLine = BuildReplyLine(frame, ReplyLetter(faults), Has(faults, FaultKind::kLowerCaseHex),
                                           !Has(faults, FaultKind::kMissingLf));

    int startMs = 0;
    if (!m_Options.immediate) {
        const std::uint64_t waitMs = m_BusyUntilMs > nowMs ? m_BusyUntilMs - nowMs : 0;
        startMs = static_cast<int>(waitMs) + LoopMs(request->size, frame.size());
    }
    std::vector<Chunk> chunks = ScheduleLine(replyLine, startMs, m_Options.immediate);
    if (const FaultRule* f = Find(faults, FaultKind::kLongGap))
        InsertGap(chunks, f->value);
    m_BusyUntilMs = nowMs + static_cast<std::uint64_t>(chunks.back().delayMs);
    // Entering burst mode starts the bursts; any reply puts the next one off.
    m_NextBurstMs.reset();
    if (m_Transmitter.State().burstMode)
        m_NextBurstMs = m_BusyUntilMs + static_cast<std::uint64_t>(m_Options.burstPeriodMs);
    Log("reply " + Printable(replyLine) + " after " + std::to_string(chunks.back().delayMs) + " ms" + Describe(faults));
    AddStrayLines(chunks, faults, replyLine, nowMs);
    return chunks;
}

void Modem::AddStrayLines(std::vector<Chunk>& chunks, const std::vector<FaultRule>& faults, const Bytes& replyLine,
                          std::uint64_t nowMs)
{
    const int firstMs = chunks.front().delayMs;
    const int lastMs = chunks.back().delayMs;
    if (const FaultRule* f = Find(faults, FaultKind::kBurstBefore)) {
        const Bytes burstLine = BuildReplyLine(BurstFrame(nowMs), 'P', false, true);
        chunks.insert(chunks.begin(), Chunk{std::max(0, firstMs - f->value), burstLine});
    }
    if (const FaultRule* f = Find(faults, FaultKind::kRepeatLate))
        chunks.push_back(Chunk{lastMs + f->value, m_LastReplyLine.empty() ? replyLine : m_LastReplyLine});
    if (const FaultRule* f = Find(faults, FaultKind::kTrailingBytes))
        chunks.push_back(Chunk{lastMs + f->value, Bytes{'0', '0'}});
    m_LastReplyLine = replyLine;
    std::stable_sort(chunks.begin(), chunks.end(),
                     [](const Chunk& a, const Chunk& b) { return a.delayMs < b.delayMs; });
}

void Modem::Log(const std::string& text) const
{
    if (m_Log)
        m_Log(text);
}

}  // namespace sim
