// Fuzz target: the binary modem's frame hunter on any bytes. Every frame it
// gives is whole by its own byte count and starts with a delimiter that
// followed two preambles; feeding the same bytes in one go or byte by byte,
// with resets anywhere, never breaks it.
#include "hart/FrameLayout.h"
#include "link/FrameHunter.h"
#include "tests/fuzz/FuzzCheck.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FrameHunter hunter;
    int preambles = 0;
    for (std::size_t i = 0; i < size; ++i) {
        const std::uint8_t byte = data[i];
        const bool wasHunting = !hunter.InFrame();
        const std::optional<std::vector<std::uint8_t>> frame = hunter.Feed(byte);
        if (wasHunting && hunter.InFrame())
            Check(preambles >= 2 && byte != 0xFF);
        preambles = byte == 0xFF && wasHunting ? preambles + 1 : 0;
        if (!frame)
            continue;
        const auto header = static_cast<std::size_t>(hartframe::HeaderLength(hartframe::IsLong((*frame)[0])));
        Check(frame->size() == header + (*frame)[header - 1] + 1);
        Check(!hunter.InFrame());
    }
    return 0;
}
