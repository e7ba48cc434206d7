// The binary modem on the virtual clock: what goes on the wire with the
// keying line's edges and each byte's time, and how frames are found in
// what comes back.
#include "link/BinaryModemLink.h"
#include "tests/link/LinkBench.h"

namespace {

constexpr double kChar = BinaryModemLink::kCharMs;
const std::string kRequest = "82B57C01020301004A";  // command 1
const std::string kReply = "86B57C01020301070000"
                           "0C41480000"
                           "4C";  // its reply
const Bytes kPreambles = {0xFF, 0xFF, 0xFF};

LinkSettings Settings(KeyLevel rts, int preambles = 5, bool echo = false)
{
    LinkSettings linkSettings;
    linkSettings.kind = LinkKind::BinaryModem;
    linkSettings.rts = rts;
    linkSettings.preambles = preambles;
    linkSettings.echo = echo;
    return linkSettings;
}

Bytes Cat(Bytes a, const Bytes& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

}  // namespace

// The keying line rises before the first preamble and falls only after the
// last character has left the UART and two more character times passed.
TEST(BinaryModemLink, KeysAroundTheRequestForEitherLevel)
{
    for (const auto& [rts, keyed] : {std::pair{KeyLevel::High, 1}, std::pair{KeyLevel::Low, 0}}) {
        LinkBench<BinaryModemLink> bench(Settings(rts, 7), true, kChar);
        bench.link.Open();
        bench.clock.AdvanceTo(50);
        bench.link.Send(FromHex(kRequest));
        bench.clock.AdvanceTo(1000);
        const auto& sent = bench.port.BytesSent();
        ASSERT_EQ(sent.size(), 7u + 9u);
        EXPECT_EQ(bench.port.Writes().at(0), Cat(Bytes(7, 0xFF), FromHex(kRequest)));
        const double lastLeft = sent.back().at;
        EXPECT_DOUBLE_EQ(lastLeft, 50 + 16 * kChar);
        const auto& edges = bench.port.RtsEdges();
        ASSERT_EQ(edges.size(), 3u) << "at rest, keyed, at rest";
        EXPECT_EQ(edges[1], (VirtualSerialPort::Timed{50, keyed}));
        EXPECT_EQ(edges[2].value, 1 - keyed);
        EXPECT_GE(edges[2].at, lastLeft + 2 * kChar);
        EXPECT_LT(edges[2].at, lastLeft + 2 * kChar + 3);
    }
}

TEST(BinaryModemLink, WithoutModemLinesOnlyNoneKeysNothingAndSaysSoOnce)
{
    LinkBench<BinaryModemLink> none(Settings(KeyLevel::None)), high(Settings(KeyLevel::High));
    for (auto* bench : {&none, &high}) {
        bench->link.Open();
        bench->link.Send(FromHex(kRequest));
        bench->link.Send(FromHex(kRequest));
        EXPECT_EQ(bench->port.Writes().size(), 2u) << "the request goes out all the same";
    }
    EXPECT_TRUE(none.errors.empty());
    ASSERT_EQ(high.errors.size(), 1u);
    EXPECT_NE(high.errors[0].find("only rts=none works"), std::string::npos);
}

// A frame is handed on the moment its check byte is in: no quiet time.
TEST(BinaryModemLink, FramesAreFoundAfterTwoPreamblesWhateverCameBefore)
{
    const struct {
        const char* name;
        Bytes wire;
        std::vector<std::string> frames;
    } rows[] = {
        {"Whole", Cat(kPreambles, FromHex(kReply)), {kReply}},
        {"JunkBefore", Cat({0x00, 0x86, 0x55, 0xFF, 0x06}, Cat(kPreambles, FromHex(kReply))), {kReply}},
        {"OnePreambleIsNotEnough", Cat({0xFF}, FromHex(kReply)), {}},
        {"TwoInARow", Cat(Cat(kPreambles, FromHex(kReply)), Cat({0xFF, 0xFF}, FromHex(kReply))), {kReply, kReply}},
    };
    for (const auto& row : rows) {
        LinkBench<BinaryModemLink> bench(Settings(KeyLevel::None));
        bench.link.Open();
        for (std::size_t i = 0; i < row.wire.size(); ++i)
            bench.port.DeliverAfter(static_cast<std::int64_t>(i), {row.wire[i]});
        bench.clock.AdvanceTo(static_cast<std::int64_t>(row.wire.size()));
        EXPECT_EQ(bench.Frames(), row.frames) << row.name;
    }
}

TEST(BinaryModemLink, AStalledFrameIsDroppedAndTheHuntStartsAgain)
{
    LinkBench<BinaryModemLink> bench(Settings(KeyLevel::None));
    bench.link.Open();
    const Bytes wire = Cat(kPreambles, FromHex(kReply));
    bench.port.DeliverAfter(0, {wire.begin(), wire.begin() + 8});
    bench.port.DeliverAfter(99, {wire.begin() + 8, wire.begin() + 10});  // still in time
    bench.port.DeliverAfter(200, {wire.begin() + 10, wire.end()});       // 101 ms after: too late
    bench.port.DeliverAfter(300, wire);
    bench.clock.AdvanceTo(400);
    EXPECT_EQ(bench.Frames(), std::vector<std::string>{kReply}) << "only the frame sent whole";
    EXPECT_EQ(bench.errors, std::vector<std::string>{"binary modem: a frame stalled for 100 ms; dropped"});
}

TEST(BinaryModemLink, TheEchoOfTheRequestIsDropped)
{
    LinkBench<BinaryModemLink> bench(Settings(KeyLevel::None, 5, true));
    bench.link.Open();
    bench.link.Send(FromHex(kRequest));
    bench.port.DeliverAfter(0, Cat(bench.port.Writes().at(0), Cat(kPreambles, FromHex(kReply))));
    bench.clock.AdvanceTo(10);
    EXPECT_EQ(bench.Frames(), std::vector<std::string>{kReply});
}
