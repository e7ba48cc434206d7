// Writes the seeds of the receive-path fuzz target into the directory given:
// for every command of the table and every button, the simulated modem's
// real replies in the target's input layout (ReceiveStage.h), at the times
// the simulator sends them.
#include "sim/Modem.h"
#include "tests/fuzz/ReceiveStage.h"

#include <cstdio>
#include <fstream>
#include <string>

namespace {

constexpr std::int64_t kRecordMs = 20000;  // an auto read goes on: its first cycles are enough

void AppendChunk(std::string& input, std::int64_t delay, const std::uint8_t* bytes, std::size_t n)
{
    for (; delay >= kMaxChunkDelay; delay -= kMaxChunkDelay - 1)  // a long gap: empty chunks
        input += {'\x0F', '\xFF', '\0'};
    input += {static_cast<char>(delay >> 8), static_cast<char>(delay & 0xFF), static_cast<char>(n)};
    input.append(bytes, bytes + n);
}

std::string Record(std::uint8_t pick)
{
    ReceiveStage stage;
    sim::Modem modem;
    std::string input(1, static_cast<char>(pick));
    std::int64_t last = 0;
    stage.port.SetWriteObserver([&](const std::vector<std::uint8_t>& request) {
        const std::int64_t now = stage.clock.Now();
        for (sim::Chunk& chunk : modem.Feed(request.data(), request.size(), static_cast<std::uint64_t>(now))) {
            const std::int64_t due = std::max(last, now + chunk.delayMs);
            for (std::size_t at = 0; at < chunk.bytes.size(); at += kLineError - 1, last = due)
                AppendChunk(input, due - last, chunk.bytes.data() + at,
                            std::min<std::size_t>(kLineError - 1, chunk.bytes.size() - at));
            stage.port.DeliverAfter(due - now, std::move(chunk.bytes));
        }
    });
    stage.Start(pick);
    stage.clock.AdvanceUntil([&] { return !stage.dlg.IsOperationRunning(); }, kRecordMs);
    return input;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_fuzz_seeds DIR\n");
        return 2;
    }
    const std::string dir = argv[1];
    int picks = static_cast<int>(AllCommands().size());
    for (int pick = 0; pick < picks; ++pick)
        std::ofstream(dir + "/command-" + std::to_string(AllCommands()[pick].command), std::ios::binary)
            << Record(static_cast<std::uint8_t>(pick));
    picks = static_cast<int>(ReceiveStage::Buttons().size());
    for (int pick = 0; pick < picks; ++pick)
        std::ofstream(dir + "/button-" + std::to_string(ReceiveStage::Buttons()[pick]), std::ios::binary)
            << Record(static_cast<std::uint8_t>(kOperationPick + pick));
    return 0;
}
