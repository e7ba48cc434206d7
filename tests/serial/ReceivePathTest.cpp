// The receive path on the virtual clock: pieces, the 100 ms quiet time, line
// errors, the buffer clamp, and the envelope check that ends each reply.
#include "dialog/ControlIds.h"
#include "dialog/Timing.h"
#include "modem/Envelope.h"
#include "tests/support/OpenPortHost.h"

#include <gtest/gtest.h>

namespace {

// A host whose command 0 to polling address 0 is in flight.
struct OpenHost : OpenPortHost {
    OpenHost()
    {
        dlg.Machine().m_nStep = 501;
        dlg.Machine().RunStep();
    }
};

// The reply to it, whole: 06 80 00 0E, status, 12 data bytes, check byte.
const std::string kReply = "\x01P000680000E0000FEB57C0505010C0801010203BB\r\n";

}  // namespace

TEST(ReceivePath, PiecesMakeOneReplyAcceptedAHundredMsAfterTheLast)
{
    OpenHost host;
    host.port.DeliverTextAfter(5, kReply.substr(0, 4));
    host.port.DeliverTextAfter(40, kReply.substr(4, 6));
    host.port.DeliverTextAfter(90, kReply.substr(10));
    host.clock.AdvanceTo(189);
    EXPECT_EQ(host.dlg.Receive().m_bRxReady, 0);
    EXPECT_EQ(host.dlg.Receive().m_nRxCount, static_cast<int>(kReply.size()));
    host.clock.AdvanceTo(190);
    EXPECT_EQ(host.dlg.Receive().m_bRxReady, 1);
    EXPECT_EQ(host.dlg.Receive().m_nRxError, 0);
    EXPECT_EQ(host.dlg.Receive().m_RxBuf[kReply.size()], 0) << "the line reads as text";
    EXPECT_EQ(host.timers.DueAt(TIMER_STEP), 200) << "the step machine runs 10 ms later";
}

TEST(ReceivePath, ReplySplitByMoreThanTheQuietTimeIsRefused)
{
    OpenHost host;
    host.port.DeliverTextAfter(0, kReply.substr(0, 8));
    host.port.DeliverTextAfter(101, kReply.substr(8));
    host.clock.AdvanceTo(100);
    EXPECT_EQ(host.dlg.Receive().m_nRxError, kReplyNoLineEnd) << "the first part has no line end";
    host.clock.AdvanceTo(400);
    EXPECT_EQ(host.dlg.Receive().m_bRxReady, 0);
    EXPECT_EQ(host.dlg.Receive().m_nRxError, kReplyNoLineEnd) << "the rest cannot pass after a failed check";
    EXPECT_EQ(host.timers.DueAt(TIMER_STEP), REPLY_TIMEOUT) << "the reply time-out runs on";
}

class LineErrorTest : public testing::TestWithParam<std::int16_t> {};

TEST_P(LineErrorTest, SpoilsTheReply)
{
    OpenHost host;
    host.port.DeliverTextAfter(0, kReply.substr(0, 6));
    host.port.LineErrorAfter(10, GetParam());
    host.port.DeliverTextAfter(20, kReply.substr(6));
    host.clock.AdvanceTo(300);
    EXPECT_EQ(host.dlg.Receive().m_bRxReady, 0);
    EXPECT_EQ(host.dlg.Receive().m_nRxError, 1) << "counted once, left alone by the check";
}

INSTANTIATE_TEST_SUITE_P(Codes, LineErrorTest, testing::Values(1004, 1006, 1008, 1009));

TEST(ReceivePath, OtherEventCodesAreIgnored)
{
    OpenHost host;
    host.port.LineErrorAfter(0, 1010);
    host.port.DeliverTextAfter(5, kReply);
    host.clock.AdvanceTo(200);
    EXPECT_EQ(host.dlg.Receive().m_bRxReady, 1);
}

TEST(ReceivePath, BufferClampsAtTheLastPlace)
{
    OpenHost host;
    std::vector<std::uint8_t> bytes(1030, 'A');
    bytes.back() = 'Z';
    host.port.DeliverAfter(0, bytes);
    host.clock.AdvanceTo(1);
    EXPECT_EQ(host.dlg.Receive().m_nRxCount, 1023);
    EXPECT_EQ(host.dlg.Receive().m_RxBuf[1023], 'Z') << "further bytes overwrite position 1023";
    EXPECT_EQ(host.dlg.Receive().m_RxBuf[1022], 'A');
    host.clock.AdvanceTo(200);
    EXPECT_EQ(host.dlg.Receive().m_bRxReady, 0);
}

TEST(ReceivePath, EmptyReceiveEventStillRestartsTheQuietTimer)
{
    OpenHost host;
    host.port.DeliverTextAfter(0, kReply);
    host.port.DeliverAfter(80, {});
    host.clock.AdvanceTo(179);
    EXPECT_EQ(host.dlg.Receive().m_bRxReady, 0);
    host.clock.AdvanceTo(180);
    EXPECT_EQ(host.dlg.Receive().m_bRxReady, 1);
}

TEST(ReceivePath, BytesWhileIdleAreKeptUntilTheNextReset)
{
    OpenPortHost host;
    host.port.DeliverTextAfter(0, "\x01P00");
    host.clock.AdvanceTo(200);
    EXPECT_EQ(host.dlg.Receive().m_nRxCount, 4);
    host.dlg.Receive().ResetReceive();
    EXPECT_EQ(host.dlg.Receive().m_nRxCount, 0);
    EXPECT_EQ(host.dlg.Receive().m_nRxError, 0);
}

struct CheckCase {
    std::string line;
    int expectedError;
};

class CheckReplyTest : public testing::TestWithParam<CheckCase> {};

TEST_P(CheckReplyTest, RecordsTheFailedTestAndArmsNothing)
{
    OpenHost host;
    host.port.DeliverTextAfter(0, GetParam().line);
    host.clock.AdvanceTo(105);  // checked at 100; a success arms the step timer for 110
    EXPECT_EQ(host.dlg.Receive().m_nRxError, GetParam().expectedError);
    EXPECT_EQ(host.dlg.Receive().m_bRxReady, GetParam().expectedError == 0 ? 1 : 0);
    EXPECT_EQ(host.timers.DueAt(TIMER_STEP), GetParam().expectedError == 0 ? 110 : REPLY_TIMEOUT);
}

INSTANTIATE_TEST_SUITE_P(Codes, CheckReplyTest,
                         testing::Values(CheckCase{kReply, 0}, CheckCase{"\x02P00\r\n", 1}, CheckCase{"\x01Z00\r\n", 2},
                                         CheckCase{"\x01PX0\r\n", 3}, CheckCase{"\x01P0X\r\n", 4},
                                         CheckCase{"\x01P00ab\r\n", 5}, CheckCase{"\x01P0006\r", 6},
                                         CheckCase{"\x01R12\r\n", 0}));
