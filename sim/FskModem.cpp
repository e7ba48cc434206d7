#include "sim/FskModem.h"

#include <algorithm>

namespace sim {

namespace {

constexpr std::uint8_t kPreamble = 0xFF;
constexpr std::uint64_t kCharBits = 11;  // start, 8 data, odd parity, stop
// A pause this long inside a request breaks it off: the rest never comes.
constexpr std::uint64_t kFrameGapMs = 100;

bool MasterDelimiter(std::uint8_t b) { return b == 0x02 || b == 0x82; }
std::size_t HeadSize(const Bytes& frame) { return (frame[0] & 0x80) != 0 ? 8 : 4; }
std::string Hex(const Bytes& bytes) { return ToHex(bytes); }  // for Shown()

}  // namespace

std::string FskAddress(const std::string& path, const FskOptions& fsk)
{
    std::string address = "fsk:" + path + "?rts=none";
    if (fsk.echo)
        address += "&echo=1";
    if (fsk.preambles != kDefaultPreambles)
        address += "&preambles=" + std::to_string(fsk.preambles);
    return address;
}

FskModem::FskModem(ModemOptions options, FskOptions fsk)
    : m_Options(std::move(options)), m_Fsk(fsk), m_Responder(m_Options, Link::kFsk),
      m_TicksPerMs(fsk.paceBaud > 0 ? static_cast<std::uint64_t>(fsk.paceBaud) : 1),
      m_CharTicks(fsk.paceBaud > 0 ? kCharBits * 1000 : 0)
{
    m_Options.burstPeriodMs = std::max(1, m_Options.burstPeriodMs);
}

std::uint64_t FskModem::Send(const Bytes& bytes, std::uint64_t start, std::vector<Timed>& out) const
{
    for (std::uint8_t b : bytes) {
        start += m_CharTicks;
        out.push_back(Timed{start, {b}});
    }
    return start;
}

Bytes FskModem::Preambled(const Bytes& frame) const
{
    Bytes bytes(static_cast<std::size_t>(m_Fsk.preambles), kPreamble);
    bytes.insert(bytes.end(), frame.begin(), frame.end());
    return bytes;
}

std::vector<Chunk> FskModem::ToChunks(std::vector<Timed> events, std::uint64_t nowMs) const
{
    std::stable_sort(events.begin(), events.end(), [](const Timed& a, const Timed& b) { return a.tick < b.tick; });
    std::vector<Chunk> chunks;
    const std::uint64_t now = Ticks(nowMs);
    for (const Timed& e : events) {
        // Due once the character is through: rounded up to the millisecond.
        const auto delayMs = static_cast<int>(e.tick > now ? (e.tick - now + m_TicksPerMs - 1) / m_TicksPerMs : 0);
        if (chunks.empty() || chunks.back().delayMs != delayMs)
            chunks.push_back(Chunk{delayMs, {}});
        chunks.back().bytes.insert(chunks.back().bytes.end(), e.bytes.begin(), e.bytes.end());
    }
    return chunks;
}

void FskModem::SetLog(LogFn log)
{
    m_Log = std::move(log);
    m_Rejects.SetLog(m_Log);
}

std::vector<Chunk> FskModem::Advance(std::uint64_t nowMs)
{
    m_Rejects.Flush(nowMs);
    std::vector<Timed> events;
    while (m_NextBurstMs && *m_NextBurstMs <= nowMs) {
        const std::uint64_t startMs = *m_NextBurstMs;
        const Bytes frame = m_Responder.BurstFrame(startMs);
        m_BusyUntil = Send(Preambled(frame), std::max(Ticks(startMs), m_BusyUntil), events);
        // A period too short for the frame still leaves the loop to each one whole.
        const std::uint64_t busyMs = (m_BusyUntil + m_TicksPerMs - 1) / m_TicksPerMs;
        m_NextBurstMs = std::max(startMs + static_cast<std::uint64_t>(m_Options.burstPeriodMs), busyMs);
        Log("burst " + ToHex(frame) + " at " + std::to_string(startMs) + " ms");
    }
    return ToChunks(std::move(events), nowMs);
}

std::vector<Chunk> FskModem::Feed(const std::uint8_t* data, std::size_t n, std::uint64_t nowMs)
{
    // A request that comes while a burst frame is on the loop waits for it.
    std::vector<Chunk> out = Advance(nowMs);
    if (!m_Frame.empty() && nowMs - m_LastByteMs > kFrameGapMs) {
        m_Rejects.Add("ignored " + Shown(m_Frame, Hex) + ": broken off", nowMs);
        m_Frame.clear();
    }
    if (n > 0)
        m_LastByteMs = nowMs;
    std::vector<Timed> events;
    for (std::size_t i = 0; i < n; ++i) {
        m_LineFree = std::max(Ticks(nowMs), m_LineFree) + m_CharTicks;
        if (m_Fsk.echo)
            events.push_back(Timed{m_LineFree, {data[i]}});
        Take(data[i], nowMs, events);
    }
    std::vector<Chunk> reply = ToChunks(std::move(events), nowMs);
    out.insert(out.end(), std::make_move_iterator(reply.begin()), std::make_move_iterator(reply.end()));
    return out;
}

void FskModem::Take(std::uint8_t byte, std::uint64_t nowMs, std::vector<Timed>& out)
{
    if (m_Frame.empty()) {
        if (byte == kPreamble) {
            ++m_Preambles;
        } else if (m_Preambles >= 2 && MasterDelimiter(byte)) {
            if (m_Skipped > 0)
                m_Rejects.Add("skipped " + std::to_string(m_Skipped) + " bytes", nowMs);
            m_Skipped = 0;
            m_Preambles = 0;
            m_Frame.push_back(byte);
        } else {
            m_Skipped += static_cast<std::size_t>(m_Preambles) + 1;
            m_Preambles = 0;
        }
        return;
    }
    m_Frame.push_back(byte);
    const std::size_t head = HeadSize(m_Frame);
    if (m_Frame.size() >= head && m_Frame.size() == head + m_Frame[head - 1] + 1) {
        HandleFrame(nowMs, out);
        m_Frame.clear();
    }
}

void FskModem::HandleFrame(std::uint64_t nowMs, std::vector<Timed>& out)
{
    std::string why;
    const auto request = ParseRequestFrame(m_Frame, why);
    if (!request) {
        m_Rejects.Add("ignored " + Shown(m_Frame, Hex) + ": " + why, nowMs);
        return;
    }
    Log("request " + ToHex(m_Frame));
    if (m_Responder.AddressedBy(*request) == nullptr) {
        Log("  not for a transmitter here");
        return;
    }
    const std::vector<FaultRule> faults = m_Responder.FaultsFor(request->command);
    const std::optional<Bytes> answer = m_Responder.Answer(*request, faults, nowMs);
    if (!answer) {
        Log("  dropped" + DescribeFaults(faults));
        return;
    }
    // Half duplex: the reply waits for the request and for any frame before it.
    std::uint64_t start = std::max(m_LineFree, m_BusyUntil);
    if (const FaultRule* f = FindFault(faults, FaultKind::kBurstBefore)) {
        const std::uint64_t ahead = Ticks(static_cast<std::uint64_t>(f->value));
        start = std::max(start, Send(Preambled(m_Responder.BurstFrame(nowMs)),
                                     std::max(Ticks(nowMs), start > ahead ? start - ahead : 0), out));
    }
    Bytes reply = Preambled(*answer);
    if (FindFault(faults, FaultKind::kJunkBefore))
        reply.insert(reply.begin(), {0x00, 0x55, 0xFF, 0x06, 0x12});
    const auto split = static_cast<std::ptrdiff_t>(reply.size() - answer->size() + HeadSize(*answer));
    std::uint64_t end = Send(Bytes(reply.begin(), reply.begin() + split), start, out);
    if (const FaultRule* f = FindFault(faults, FaultKind::kStall))
        end += Ticks(static_cast<std::uint64_t>(f->value));
    end = Send(Bytes(reply.begin() + split, reply.end()), end, out);
    m_BusyUntil = end;
    // Entering burst mode starts the bursts; any reply puts the next one off.
    m_NextBurstMs.reset();
    if (m_Responder.Bursting())
        m_NextBurstMs = (end + m_TicksPerMs - 1) / m_TicksPerMs + static_cast<std::uint64_t>(m_Options.burstPeriodMs);
    if (const FaultRule* f = FindFault(faults, FaultKind::kRepeatLate))
        Send(m_LastReply.empty() ? Preambled(*answer) : m_LastReply, end + Ticks(static_cast<std::uint64_t>(f->value)),
             out);
    m_LastReply = Preambled(*answer);
    Log("reply " + ToHex(*answer) + DescribeFaults(faults));
}

void FskModem::Log(const std::string& text) const
{
    if (m_Log)
        m_Log(text);
}

}  // namespace sim
