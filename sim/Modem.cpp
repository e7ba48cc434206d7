#include "sim/Modem.h"

#include <algorithm>

namespace sim {

namespace {

// Longest line kept while waiting for CR LF; the longest request is far shorter.
constexpr std::size_t kMaxLine = 2048;

bool Has(const std::vector<FaultRule>& faults, FaultKind kind) { return FindFault(faults, kind) != nullptr; }

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

}  // namespace

Modem::Modem(ModemOptions options) : m_Options(std::move(options)), m_Responder(m_Options)
{
    m_Options.burstPeriodMs = std::max(1, m_Options.burstPeriodMs);
}

void Modem::SetLog(LogFn log)
{
    m_Log = std::move(log);
    m_Rejects.SetLog(m_Log);
}

std::vector<Chunk> Modem::Advance(std::uint64_t nowMs)
{
    m_Rejects.Flush(nowMs);
    std::vector<Chunk> out;
    while (m_NextBurstMs && *m_NextBurstMs <= nowMs) {
        const std::uint64_t startMs = *m_NextBurstMs;
        const Bytes frame = m_Responder.BurstFrame(startMs);
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

std::vector<Chunk> Modem::Feed(const std::uint8_t* data, std::size_t n, std::uint64_t nowMs)
{
    // A request that comes while a burst frame is on the loop waits for it.
    std::vector<Chunk> out = Advance(nowMs);
    for (std::size_t i = 0; i < n; ++i) {
        // SOH always opens a new line: a broken line cannot spoil the next.
        if (data[i] == 0x01 && !m_Pending.empty()) {
            m_Rejects.Add("ignored " + Shown(m_Pending, Printable) + ": no CR LF", nowMs);
            m_Pending.clear();
        }
        m_Pending.push_back(data[i]);
        const std::size_t size = m_Pending.size();
        if (size >= 2 && m_Pending[size - 2] == 0x0D && m_Pending[size - 1] == 0x0A) {
            std::vector<Chunk> reply = HandleLine(m_Pending, nowMs);
            out.insert(out.end(), std::make_move_iterator(reply.begin()), std::make_move_iterator(reply.end()));
            m_Pending.clear();
        } else if (size > kMaxLine) {
            m_Rejects.Add("ignored " + std::to_string(size) + " bytes without CR LF", nowMs);
            m_Pending.clear();
        }
    }
    return out;
}

std::vector<Chunk> Modem::HandleLine(const Bytes& line, std::uint64_t nowMs)
{
    std::string why;
    const auto request = ParseRequestLine(line, why);
    if (!request) {
        m_Rejects.Add("ignored " + Shown(line, Printable) + ": " + why, nowMs);
        return {};
    }
    Log("request " + Printable(line));
    if (m_Responder.AddressedBy(*request) == nullptr) {
        Log("  not for a transmitter here");
        return {};
    }
    const std::vector<FaultRule> faults = m_Responder.FaultsFor(request->command);
    const std::optional<Bytes> answer = m_Responder.Answer(*request, faults, nowMs);
    if (!answer) {
        Log("  dropped" + DescribeFaults(faults));
        return {};
    }
    const Bytes& frame = *answer;
    const Bytes replyLine = BuildReplyLine(frame, ReplyLetter(faults), Has(faults, FaultKind::kLowerCaseHex),
                                           !Has(faults, FaultKind::kMissingLf));

    int startMs = 0;
    if (!m_Options.immediate) {
        const std::uint64_t waitMs = m_BusyUntilMs > nowMs ? m_BusyUntilMs - nowMs : 0;
        startMs = static_cast<int>(waitMs) + LoopMs(request->size, frame.size());
    }
    std::vector<Chunk> chunks = ScheduleLine(replyLine, startMs, m_Options.immediate);
    if (const FaultRule* f = FindFault(faults, FaultKind::kLongGap))
        InsertGap(chunks, f->value);
    m_BusyUntilMs = nowMs + static_cast<std::uint64_t>(chunks.back().delayMs);
    // Entering burst mode starts the bursts; any reply puts the next one off.
    m_NextBurstMs.reset();
    if (m_Responder.Bursting())
        m_NextBurstMs = m_BusyUntilMs + static_cast<std::uint64_t>(m_Options.burstPeriodMs);
    Log("reply " + Printable(replyLine) + " after " + std::to_string(chunks.back().delayMs) + " ms" +
        DescribeFaults(faults));
    AddStrayLines(chunks, faults, replyLine, nowMs);
    return chunks;
}

void Modem::AddStrayLines(std::vector<Chunk>& chunks, const std::vector<FaultRule>& faults, const Bytes& replyLine,
                          std::uint64_t nowMs)
{
    const int firstMs = chunks.front().delayMs;
    const int lastMs = chunks.back().delayMs;
    if (const FaultRule* f = FindFault(faults, FaultKind::kBurstBefore)) {
        const Bytes burstLine = BuildReplyLine(m_Responder.BurstFrame(nowMs), 'P', false, true);
        chunks.insert(chunks.begin(), Chunk{std::max(0, firstMs - f->value), burstLine});
    }
    if (const FaultRule* f = FindFault(faults, FaultKind::kRepeatLate))
        chunks.push_back(Chunk{lastMs + f->value, m_LastReplyLine.empty() ? replyLine : m_LastReplyLine});
    if (const FaultRule* f = FindFault(faults, FaultKind::kTrailingBytes))
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
