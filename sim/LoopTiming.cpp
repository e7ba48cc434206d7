#include "sim/LoopTiming.h"

namespace sim {

namespace {

int CeilDiv(long long a, long long b) { return static_cast<int>((a + b - 1) / b); }

int SerialMs(std::size_t bytes)
{
    return CeilDiv(static_cast<long long>(bytes) * timing::kSerialBitsPerByte * 1000, timing::kSerialBaud);
}

}  // namespace

int FrameLoopMs(std::size_t frameBytes)
{
    const auto bits = static_cast<long long>(timing::kPreambles + frameBytes) * timing::kLoopBitsPerByte;
    return CeilDiv(bits * 1000, timing::kLoopBaud);
}

int LoopMs(std::size_t requestFrameBytes, std::size_t replyFrameBytes)
{
    return FrameLoopMs(requestFrameBytes) + timing::kTurnaroundMs + FrameLoopMs(replyFrameBytes);
}

std::vector<Chunk> ScheduleLine(const Bytes& line, int startMs, bool immediate)
{
    if (immediate)
        return {Chunk{0, line}};
    std::vector<Chunk> chunks;
    const std::size_t n = line.size();
    const auto pieces = static_cast<std::size_t>(timing::kPieces);
    std::size_t begin = 0;
    for (std::size_t k = 1; k <= pieces; ++k) {
        const std::size_t end = n * k / pieces;
        if (end == begin)
            continue;
        chunks.push_back(Chunk{startMs + SerialMs(end), Bytes(line.begin() + static_cast<std::ptrdiff_t>(begin),
                                                              line.begin() + static_cast<std::ptrdiff_t>(end))});
        begin = end;
    }
    return chunks;
}

void InsertGap(std::vector<Chunk>& chunks, int gapMs)
{
    if (chunks.size() == 1 && chunks[0].bytes.size() >= 2) {
        Bytes& whole = chunks[0].bytes;
        const auto half = static_cast<std::ptrdiff_t>(whole.size() / 2);
        Chunk second{chunks[0].delayMs, Bytes(whole.begin() + half, whole.end())};
        whole.resize(static_cast<std::size_t>(half));
        chunks.push_back(std::move(second));
    }
    for (std::size_t i = chunks.size() / 2; i < chunks.size(); ++i)
        chunks[i].delayMs += gapMs;
}

}  // namespace sim
