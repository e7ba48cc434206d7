// Writes the seeds of the receive-path fuzz target into the directory given:
// for every command of the table and every button, the simulated modem's
// real replies in the target's input layout (ReceiveStage.h), at the times
// the simulator sends them.
#include "sim/Modem.h"
#include "tests/fuzz/ReceiveStage.h"

#include <fstream>
#include <string>

namespace {

std::string Record(std::uint8_t pick)
{
    ReceiveStage stage;
    sim::Modem modem;
    std::string input(1, static_cast<char>(pick));
    std::int64_t last = 0;
    stage.port.SetWriteObserver([&](const std::vector<std::uint8_t>& request) {
        const std::int64_t now = stage.clock.Now();
        for (sim::Chunk& chunk : modem.Feed(request.data(), request.size(), static_cast<std::uint64_t>(now))) {
            const std::int64_t delay = std::clamp<std::int64_t>(now + chunk.delayMs - last, 0, kMaxChunkDelay - 1);
            const std::size_t n = std::min<std::size_t>(chunk.bytes.size(), kLineError - 1);
            input += {static_cast<char>(delay >> 8), static_cast<char>(delay), static_cast<char>(n)};
            input.append(chunk.bytes.begin(), chunk.bytes.begin() + static_cast<std::ptrdiff_t>(n));
            last += delay;
            stage.port.DeliverAfter(last - now, std::move(chunk.bytes));
        }
    });
    stage.Start(pick);
    stage.clock.AdvanceUntil([&] { return !stage.dlg.IsOperationRunning(); }, 20000);  // an auto read goes on
    return input;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2)
        return 2;
    const std::string dir = argv[1];
    for (std::size_t i = 0; i < AllCommands().size(); ++i)
        std::ofstream(dir + "/command-" + std::to_string(AllCommands()[i].command))
            << Record(static_cast<std::uint8_t>(i));
    for (std::size_t i = 0; i < ReceiveStage::Buttons().size(); ++i)
        std::ofstream(dir + "/button-" + std::to_string(ReceiveStage::Buttons()[i]))
            << Record(static_cast<std::uint8_t>(kOperationPick + i));
    return 0;
}
