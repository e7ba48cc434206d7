// Reply timing of a modem on a 1200-baud HART loop. A HART byte is 11 bits
// (9.17 ms); the modem writes the line to the PC at 9600 baud, 10 bits a byte.
#include <gtest/gtest.h>

#include "SimTestSupport.h"

using simtest::FeedText;
using simtest::Joined;
using simtest::Reply;
using simtest::Request;

namespace {

const std::string kCmd0 = "0680000E0000FEB57C050501020800010203B4";

std::vector<int> Delays(const std::vector<sim::Chunk>& chunks) {
    std::vector<int> delays;
    for (const auto& c : chunks) delays.push_back(c.delayMs);
    return delays;
}

// Command 0: request 5 preambles + 5 bytes = 110 bits = 91.7 -> 92 ms;
// turnaround 20 ms; reply 5 + 19 bytes = 264 bits = 220 ms; 332 ms in all.
// The 44-byte line leaves in 4 pieces of 11 bytes, each due when its last
// byte is out: 11.5 -> 12, 22.9 -> 23, 34.4 -> 35, 45.8 -> 46 ms.
TEST(TimingTest, DefaultReplyTakesTheLoopTimeInFourPieces) {
    sim::Modem modem;
    const auto chunks = FeedText(modem, Request("0280000082"), 1000);
    EXPECT_EQ(Delays(chunks), (std::vector<int>{344, 355, 367, 378}));
    EXPECT_EQ(Joined(chunks), Reply(kCmd0));
}

TEST(TimingTest, LongestReplyStaysWellInsideQuietTimeAndTimeout) {
    sim::Modem modem;
    // Command 12, the 24-byte message: the longest reply the tool asks for.
    const auto chunks = FeedText(modem, Request("82B57C0102030C0047"));
    ASSERT_GE(chunks.size(), 3u);
    for (std::size_t i = 1; i < chunks.size(); ++i) {
        EXPECT_LT(chunks[i].delayMs - chunks[i - 1].delayMs, 100);
    }
    EXPECT_LT(chunks.back().delayMs, 2000);
    EXPECT_GT(chunks.front().delayMs, 400);  // 14 + 40 loop bytes alone take 495 ms
}

TEST(TimingTest, ImmediateModeAnswersAtOnceInOnePiece) {
    sim::Modem modem(simtest::Immediate());
    const auto chunks = FeedText(modem, Request("0280000082"), 1000);
    ASSERT_EQ(chunks.size(), 1u);
    EXPECT_EQ(chunks[0].delayMs, 0);
    EXPECT_EQ(Joined(chunks), Reply(kCmd0));
}

TEST(TimingTest, SetterSwitchesToImmediate) {
    sim::Modem modem;
    modem.SetImmediate(true);
    EXPECT_EQ(Delays(FeedText(modem, Request("0280000082"))), (std::vector<int>{0}));
}

// The loop is half duplex: a request that comes while a reply is still on
// its way waits for it.
TEST(TimingTest, SecondRequestWaitsForTheFirstReply) {
    sim::Modem modem;
    const auto both = FeedText(modem, Request("0280000082") + Request("0280000082"), 0);
    EXPECT_EQ(Delays(both), (std::vector<int>{344, 355, 367, 378, 722, 733, 745, 756}));

    sim::Modem later;
    FeedText(later, Request("0280000082"), 0);
    // At 100 ms the first reply is done at 378: 278 ms to wait.
    EXPECT_EQ(Delays(FeedText(later, Request("0280000082"), 100)),
              (std::vector<int>{622, 633, 645, 656}));
    // Long after, no wait.
    EXPECT_EQ(Delays(FeedText(later, Request("0280000082"), 5000)),
              (std::vector<int>{344, 355, 367, 378}));
}

TEST(TimingTest, DelayCountsFromTheLastRequestByte) {
    sim::Modem modem;
    const std::string request = Request("0280000082");
    EXPECT_TRUE(FeedText(modem, request.substr(0, 5), 0).empty());
    EXPECT_EQ(Delays(FeedText(modem, request.substr(5), 250)),
              (std::vector<int>{344, 355, 367, 378}));
}

}  // namespace
