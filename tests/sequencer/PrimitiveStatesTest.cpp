// The send and parse states on the virtual clock: exact bytes on the wire,
// the log line, the time-out, and the result of every kind of reply.
#include "dialog/ControlIds.h"
#include "dialog/Timing.h"
#include "hart/ResultCodes.h"
#include "tests/support/OpenPortHost.h"

#include <gtest/gtest.h>

namespace {

constexpr std::int16_t kScriptState = 77;  // stands for the script's check state: runs nothing

struct PrimitiveHost : OpenPortHost {
    PrimitiveHost()
    {
        const std::uint8_t id[5] = {0xB5, 0x7C, 0x01, 0x02, 0x03};
        std::copy(id, id + 5, dlg.Machine().m_UniqueId);
    }
    // Runs the send state of a command as the script would reach it.
    void Send(std::int16_t sendState)
    {
        dlg.Machine().m_nReturnStep = kScriptState;
        dlg.Machine().m_nStep = sendState;
        dlg.Machine().RunStep();
    }
    std::string Written(std::size_t i = 0) const
    {
        const auto& w = port.Writes().at(i);
        return std::string(w.begin(), w.end());
    }
};

}  // namespace

TEST(SendState, CommandOneGoesOutInTheEnvelopeAndIsLogged)
{
    PrimitiveHost host;
    host.Send(503);
    EXPECT_EQ(host.Written(), "\x01P0182B57C01020301004A\r\n");
    ASSERT_EQ(host.LogHistory().size(), 1u);
    EXPECT_EQ(host.LogHistory()[0], "82B57C01020301004A");
    EXPECT_EQ(host.dlg.Machine().m_strTx, "82B57C01020301004A");
    EXPECT_EQ(host.dlg.Machine().m_nStep, 504);
    EXPECT_EQ(host.timers.DueAt(TIMER_STEP), REPLY_TIMEOUT);
}

TEST(SendState, CommandZeroUsesThePollingAddressInAShortFrame)
{
    PrimitiveHost host;
    host.dlg.Machine().m_nReqCode[0] = 15;
    host.Send(501);
    EXPECT_EQ(host.Written(), "\x01P01028F00008D\r\n");
}

TEST(SendState, CommandSixCarriesTheNewAddress)
{
    PrimitiveHost host;
    host.dlg.Machine().m_nReqCode[0] = 5;
    host.Send(509);
    EXPECT_EQ(host.LogHistory().back(), "82B57C0102030601"
                                        "0549");
}

TEST(SendState, EverySendClearsTheReceiveState)
{
    PrimitiveHost host;
    host.dlg.Receive().m_nRxCount = 12;
    host.dlg.Receive().m_nRxError = 3;
    host.dlg.Receive().m_bRxReady = 1;
    host.Send(503);
    EXPECT_EQ(host.dlg.Receive().m_nRxCount, 0);
    EXPECT_EQ(host.dlg.Receive().m_nRxError, 0);
    EXPECT_EQ(host.dlg.Receive().m_bRxReady, 0);
}

TEST(SendState, RefusedOutputReturnsToTheScriptWithoutALogLine)
{
    PrimitiveHost host;
    host.port.SetFailWrites(true);
    host.Send(503);
    EXPECT_EQ(host.dlg.Machine().m_nResult, kResultSendFailed);
    EXPECT_EQ(host.dlg.Machine().m_nStep, kScriptState);
    EXPECT_EQ(host.timers.DueAt(TIMER_STEP), STEP_DELAY);
    EXPECT_TRUE(host.LogHistory().empty());
}

struct ParseCase {
    const char* name;
    std::string reply;  // the modem's whole line; empty: none
    std::int16_t result;
    bool logged;
};

class ParseStateTest : public testing::TestWithParam<ParseCase> {};

TEST_P(ParseStateTest, SetsTheResultAndReturnsToTheScript)
{
    PrimitiveHost host;
    host.Send(503);  // command 1
    const std::int64_t sentAt = host.clock.Now();
    if (!GetParam().reply.empty())
        host.port.DeliverTextAfter(30, GetParam().reply);
    host.clock.AdvanceUntil([&] { return host.dlg.Machine().m_nStep == kScriptState; }, 10000);

    EXPECT_EQ(host.dlg.Machine().m_nResult, GetParam().result);
    EXPECT_EQ(host.LogHistory().size(), GetParam().logged ? 2u : 1u);
    // A validated reply runs the parse 10 ms after the 100 ms quiet time;
    // anything else waits out the reply time-out.
    const bool validated = GetParam().result != kResultNoReply;
    EXPECT_EQ(host.clock.Now() - sentAt, validated ? 30 + 100 + 10 : REPLY_TIMEOUT);
    EXPECT_EQ(host.timers.DueAt(TIMER_STEP) - host.clock.Now(), STEP_DELAY);
}

INSTANTIATE_TEST_SUITE_P(Replies, ParseStateTest,
                         testing::Values(
                             // 86 B5 7C 01 02 03 01 07 00 00 | unit 0C, 3F 80 00 00 | checksum
                             ParseCase{"Accepted",
                                       "\x01P0086B57C01020301070000"
                                       "0C3F800000"
                                       "FA\r\n",
                                       kResultOk, true},
                             ParseCase{"TooShort",
                                       "\x01P0086B57C01020301060000"
                                       "0C3F8000"
                                       "FB\r\n",
                                       kResultTooShort, true},
                             ParseCase{"LetterX", "\x01X00\r\n", kResultModemError, false},
                             ParseCase{"LetterR", "\x01R00\r\n", kResultBadLetter, false},
                             ParseCase{"LetterW", "\x01W12\r\n", kResultBadLetter, false},
                             ParseCase{"LowerCaseRefused", "\x01P0086b57c01020301070000\r\n", kResultNoReply, false},
                             ParseCase{"NoReply", "", kResultNoReply, false}),
                         [](const testing::TestParamInfo<ParseCase>& info) { return std::string(info.param.name); });

TEST(ParseState, StoresTheValuesAndLogsTheReplyInUpperCase)
{
    PrimitiveHost host;
    host.Send(503);
    host.port.DeliverTextAfter(0, "\x01P0086B57C01020301070000"
                                  "0C41480000"
                                  "4C\r\n");
    host.clock.AdvanceBy(110);
    EXPECT_EQ(host.dlg.Machine().m_nResult, kResultOk);
    EXPECT_EQ(host.dlg.Machine().m_nReplyItems, 2);
    EXPECT_EQ(host.dlg.Machine().m_nReplyCode[0], 12);
    EXPECT_EQ(host.dlg.Machine().m_fReplyValue[0], 12.5f);
    EXPECT_EQ(host.LogHistory().back(), "86B57C0102030107000"
                                        "00C414800004C");
    EXPECT_EQ(host.dlg.Machine().m_strRx, host.LogHistory().back());
}

TEST(ParseState, BurstBitIsReadEvenFromATooShortReply)
{
    PrimitiveHost host;
    host.Send(503);
    host.port.DeliverTextAfter(0, "\x01P0086F57C010203010200"
                                  "000C\r\n");  // address F5: bit 0x40
    host.clock.AdvanceBy(110);
    EXPECT_EQ(host.dlg.Machine().m_nResult, kResultTooShort);
    EXPECT_EQ(host.dlg.Machine().m_bBurst, 1);

    host.Send(503);
    host.port.DeliverTextAfter(0, "\x01P0086B57C010203010200"
                                  "004C\r\n");
    host.clock.AdvanceBy(110);
    EXPECT_EQ(host.dlg.Machine().m_bBurst, 0);
}

TEST(ParseState, OnlyTheWholeReplyToTheRequestIsTaken)
{
    // Byte count 7 promised, only the status bytes and the unit sent; a
    // flipped bit; another command; another device; a burst frame: none is
    // the reply, none is logged, and the try waits out its time-out.
    for (const char* line : {"\x01P0086B57C01020301070000"
                             "0C\r\n",
                             "\x01P0086B57C01020301070000"
                             "0C3F800001FA\r\n",
                             "\x01P0086B57C01020302070000"
                             "0C3F800000F9\r\n",
                             "\x01P0086B57C01020201070000"
                             "0C3F800000FB\r\n",
                             "\x01P0081F57C01020301070000"
                             "0C3F800000BD\r\n"}) {
        PrimitiveHost host;
        host.dlg.Machine().m_nReplyCode[0] = 99;
        host.Send(503);
        host.port.DeliverTextAfter(0, line);
        host.clock.AdvanceBy(REPLY_TIMEOUT);
        EXPECT_EQ(host.dlg.Machine().m_nResult, kResultNoReply) << line;
        EXPECT_EQ(host.dlg.Machine().m_nReplyCode[0], 99) << line;
        EXPECT_EQ(host.LogHistory().size(), 1u) << "only the request is logged";
    }
}

TEST(ParseState, OnlyASuccessfulCommandZeroChangesTheUniqueIdentifier)
{
    PrimitiveHost host;
    host.dlg.Machine().m_nReqCode[0] = 0;
    host.Send(501);
    // Byte count 13, one short of command 0's 14.
    host.port.DeliverTextAfter(0, "\x01P000680000D0000FE26770505010C0801AABB31\r\n");
    host.clock.AdvanceBy(110);
    EXPECT_EQ(host.dlg.Machine().m_nResult, kResultTooShort);
    EXPECT_EQ(host.dlg.Machine().m_UniqueId[0], 0xB5);
    EXPECT_EQ(host.dlg.Machine().m_UniqueId[4], 0x03);

    host.Send(501);
    // 06 80 00 0E | 00 00 | FE 26 77 05 05 01 0C 08 01 | AA BB CC | checksum
    host.port.DeliverTextAfter(0, "\x01P000680000E0000FE26770505010C0801AABBCCFE\r\n");
    host.clock.AdvanceBy(110);
    EXPECT_EQ(host.dlg.Machine().m_nResult, kResultOk);
    const std::uint8_t expected[5] = {0x26, 0x77, 0xAA, 0xBB, 0xCC};
    EXPECT_TRUE(std::equal(expected, expected + 5, host.dlg.Machine().m_UniqueId));
}
