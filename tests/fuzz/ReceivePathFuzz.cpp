// Fuzz target: arbitrary bytes at arbitrary times through the receive path,
// the envelope check and the reply filter into the parse of the command in
// flight, or into a whole operation of the window (ReceiveStage.h lays out
// the input). Besides what the sanitizers catch: the window comes to rest
// once the bytes stop, and every hex entry of the log is a request written
// or part of the bytes received.
#include "tests/fuzz/ReceiveStage.h"

#include <cctype>
#include <cstdlib>
#include <string>

namespace {

constexpr std::int64_t kRestWithin = 600000;  // virtual ms after the last chunk

std::string Upper(const std::uint8_t* bytes, std::size_t n)
{
    std::string text(bytes, bytes + n);
    for (char& c : text)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

bool IsHex(const std::string& entry) { return entry.find_first_not_of("0123456789ABCDEF") == std::string::npos; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    ReceiveStage stage;
    std::string written;
    stage.port.SetWriteObserver(
        [&](const std::vector<std::uint8_t>& w) { written += Upper(w.data(), w.size()) + '\n'; });
    stage.Start(data[0]);
    std::int64_t at = 0;
    std::string received;
    for (std::size_t i = 1; i + 3 <= size;) {
        at += ((data[i] << 8) | data[i + 1]) % kMaxChunkDelay;
        const std::size_t n = data[i + 2];
        i += 3;
        if (n == kLineError) {
            stage.port.LineErrorAfter(at, CommEvent::kFrameError);
            continue;
        }
        const std::size_t take = std::min(n, size - i);
        if (take > 0)
            stage.port.DeliverAfter(at, {data + i, data + i + take});
        received += Upper(data + i, take);
        i += take;
    }
    stage.clock.AdvanceTo(at);
    if (!stage.clock.AdvanceUntil([&] { return !stage.dlg.IsOperationRunning(); }, at + kRestWithin))
        std::abort();  // a hang: still running long after the line went quiet
    for (const std::string& entry : stage.LogHistory())
        if (IsHex(entry) && written.find(entry) == std::string::npos && received.find(entry) == std::string::npos)
            std::abort();  // a log entry made of bytes nobody sent
    return 0;
}
