// Fuzz target: the HART-IP message reader on a TCP stream cut into any pieces
// (the first byte of the input chooses the cuts). Every message it gives has
// a byte count that fits; the same stream read in one piece gives the same
// messages; a datagram never gives more than its own bytes.
#include "link/HartIpMessage.h"
#include "tests/fuzz/FuzzCheck.h"

#include <cstdlib>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    const std::size_t step = data[0] % 16 + 1;
    ++data, --size;
    hartip::Reader pieces, whole;
    std::vector<hartip::Message> got;
    for (std::size_t at = 0; at < size; at += step) {
        const std::size_t n = std::min(step, size - at);
        for (hartip::Message& m : pieces.Feed(data + at, n)) {
            Check(hartip::kHeaderSize + m.body.size() <= hartip::kLongestMessage);
            Check(hartip::Encode(m).size() == hartip::kHeaderSize + m.body.size());
            got.push_back(std::move(m));
        }
    }
    Check(whole.Feed(data, size) == got);
    Check(pieces.Dropped() == whole.Dropped());
    if (const auto m = hartip::Reader::Datagram(data, size))
        Check(hartip::kHeaderSize + m->body.size() <= size);
    return 0;
}
