// The serial side on the virtual clock: "Search Com" and "Open Com"/"Close
// Com", and the receive path (pieces, the 100 ms quiet time, line errors, the
// buffer clamp, the envelope check that ends each reply).
#include "dialog/ControlIds.h"
#include "dialog/Timing.h"
#include "modem/Envelope.h"
#include "tests/support/OpenPortHost.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace {

// The caption of "Open Com", the port list as "text=port" entries and which
// controls of the first two modules the operator can use.
std::string State(const HeadlessHost& host)
{
    std::string s = host.window.GetText(IDC_OPEN_COM) + " |";
    for (int i = 0; i < host.window.ComboGetCount(IDC_PORT_LIST); ++i)
        s += " " + host.window.ComboGetText(IDC_PORT_LIST, i) + "=" +
             std::to_string(host.window.ComboGetItemData(IDC_PORT_LIST, i));
    s += " |";
    const std::pair<int, const char*> controls[] = {
        {IDC_SEARCH_COM, "search"}, {IDC_PORT_LIST, "list"},    {IDC_OPEN_COM, "open"}, {IDC_HART_COMM, "hart"},
        {IDC_SEARCH_ADDR, "find"},  {IDC_POLL_ADDR, "address"}, {IDC_SET_ADDR, "set"},  {IDC_AUTO_READ, "read"}};
    for (const auto& [id, name] : controls)
        if (host.window.IsEnabled(id))
            s += std::string(" ") + name;
    return s;
}

TEST(PortSetting, SearchListsThePortsThatOpenInIncreasingOrder)
{
    HeadlessHost host;
    host.port.SetAvailablePorts({5, 3, 17, 0});  // 0 and 17 are never probed
    ASSERT_TRUE(host.window.Click(IDC_SEARCH_COM));
    EXPECT_EQ(State(host), "Open Com | COM3=3 COM5=5 | search list open");
    EXPECT_EQ(host.window.ComboGetCurSel(IDC_PORT_LIST), 0);
    EXPECT_FALSE(host.port.GetPortOpen()) << "probing leaves every port closed";
    host.port.SetAvailablePorts({});
    ASSERT_TRUE(host.window.Click(IDC_SEARCH_COM));
    EXPECT_EQ(State(host), "Open Com | | search") << "a new list, and nothing to open";
    EXPECT_TRUE(host.LogHistory().empty());
}

TEST(PortSetting, FailedOpenOffersARetryOpenResetsReceiveAndOffersConnect)
{
    HeadlessHost host;
    host.port.SetAvailablePorts({3, 5});
    host.window.Click(IDC_SEARCH_COM);
    host.window.Choose(IDC_PORT_LIST, 1);
    host.port.SetAvailablePorts({3});  // COM5 taken by another program meanwhile
    ASSERT_TRUE(host.window.Click(IDC_OPEN_COM));
    EXPECT_EQ(State(host), "Open Com | COM3=3 COM5=5 | open");
    host.port.SetAvailablePorts({3, 5});
    ReceivePath& rx = host.dlg.Receive();
    rx.m_nRxCount = 7, rx.m_nRxError = 2, rx.m_bRxReady = 1;
    ASSERT_TRUE(host.window.Click(IDC_OPEN_COM));
    EXPECT_EQ(host.port.OpenPort(), 5);
    EXPECT_EQ(State(host), "Close Com | COM3=3 COM5=5 | open hart find");
    EXPECT_TRUE(rx.m_nRxCount == 0 && rx.m_nRxError == 0 && rx.m_bRxReady == 0);
    ASSERT_TRUE(host.window.Click(IDC_OPEN_COM));
    EXPECT_FALSE(host.port.GetPortOpen());
    EXPECT_EQ(State(host), "Open Com | COM3=3 COM5=5 | search list open");
    EXPECT_TRUE(host.LogHistory().empty());
}

// A host whose command 0 to polling address 0 is in flight, and the reply to
// it, whole: 06 80 00 0E, status, 12 data bytes, check byte.
struct InFlightHost : OpenPortHost {
    InFlightHost()
    {
        dlg.Machine().m_nStep = 501;
        dlg.Machine().RunStep();
    }
};
const std::string kReply = "\x01P000680000E0000FEB57C0505010C0801010203BB\r\n";

TEST(ReceivePath, PiecesMakeOneReplyAcceptedAHundredMsAfterTheLast)
{
    InFlightHost host;
    host.port.DeliverTextAfter(5, kReply.substr(0, 4));
    host.port.DeliverTextAfter(40, kReply.substr(4, 6));
    host.port.DeliverTextAfter(90, kReply.substr(10));
    host.port.LineErrorAfter(95, 1010);  // not a line error: ignored
    host.port.DeliverAfter(100, {});     // an empty receive event restarts the quiet time too
    host.clock.AdvanceTo(199);
    EXPECT_EQ(host.dlg.Receive().m_bRxReady, 0);
    EXPECT_EQ(host.dlg.Receive().m_nRxCount, static_cast<int>(kReply.size()));
    host.clock.AdvanceTo(200);
    EXPECT_EQ(host.dlg.Receive().m_bRxReady, 1);
    EXPECT_EQ(host.dlg.Receive().m_nRxError, 0);
    EXPECT_EQ(host.dlg.Receive().m_nRxReplyLen, static_cast<int>(kReply.size()));
    EXPECT_EQ(host.dlg.Receive().m_RxReply[kReply.size()], 0) << "the line reads as text";
    EXPECT_EQ(host.timers.DueAt(TIMER_STEP), 210) << "the step machine runs 10 ms later";
}

TEST(ReceivePath, ReplySplitByMoreThanTheQuietTimeIsRefused)
{
    InFlightHost host;
    host.port.DeliverTextAfter(0, kReply.substr(0, 8));
    host.port.DeliverTextAfter(101, kReply.substr(8));
    host.clock.AdvanceTo(100);
    EXPECT_EQ(host.dlg.Receive().m_nRxError, kReplyNoLineEnd) << "the first part has no line end";
    host.clock.AdvanceTo(400);
    EXPECT_EQ(host.dlg.Receive().m_bRxReady, 0);
    EXPECT_EQ(host.dlg.Receive().m_nRxError, kReplyNoLineEnd) << "the rest cannot pass after a failed check";
    EXPECT_EQ(host.timers.DueAt(TIMER_STEP), REPLY_TIMEOUT) << "the reply time-out runs on";
}

TEST(ReceivePath, EachKindOfLineErrorSpoilsTheReply)
{
    for (const std::int16_t code :
         {CommEvent::kFrameError, CommEvent::kOverrun, CommEvent::kRxOverflow, CommEvent::kParityError}) {
        InFlightHost host;
        host.port.DeliverTextAfter(0, kReply.substr(0, 6));
        host.port.LineErrorAfter(10, code);
        host.port.DeliverTextAfter(20, kReply.substr(6));
        host.clock.AdvanceTo(300);
        EXPECT_EQ(host.dlg.Receive().m_bRxReady, 0) << code;
        EXPECT_EQ(host.dlg.Receive().m_nRxError, 1) << code << ": counted once, left alone by the check";
    }
}

TEST(ReceivePath, BufferClampsAtTheLastPlaceUntilTheNextReset)
{
    OpenPortHost host;
    std::vector<std::uint8_t> bytes(1030, 'A');
    bytes.back() = 'Z';
    host.port.DeliverAfter(0, bytes);
    host.clock.AdvanceTo(200);
    ReceivePath& rx = host.dlg.Receive();
    EXPECT_EQ(rx.m_nRxCount, 1023);
    EXPECT_EQ(std::string(rx.m_RxBuf + 1021, rx.m_RxBuf + 1024), "AAZ") << "further bytes overwrite the last";
    EXPECT_EQ(rx.m_bRxReady, 0);
    EXPECT_EQ(rx.m_nRxError, kReplyNoSoh);
    rx.ResetReceive();
    EXPECT_TRUE(rx.m_nRxCount == 0 && rx.m_nRxError == 0);
}

}  // namespace
