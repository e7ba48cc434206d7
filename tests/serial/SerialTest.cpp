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

struct Errors : OperationObserver {
    std::vector<std::string> lines;
    void Error(std::string_view text) override { lines.emplace_back(text); }
};

TEST(PortSetting, SearchListsThePortsThatOpenInIncreasingOrder)
{
    HeadlessHost host;
    Errors errors;
    host.dlg.AddObserver(errors);
    host.port.SetAvailablePorts({5, 3, 17, 0});  // 0 and 17 are never probed
    ASSERT_TRUE(host.window.Click(IDC_SEARCH_COM));
    EXPECT_EQ(State(host), "Open Com | COM3=3 COM5=5 | search list open");
    EXPECT_EQ(host.window.ComboGetCurSel(IDC_PORT_LIST), 0);
    EXPECT_FALSE(host.port.GetPortOpen()) << "probing leaves every port closed";
    EXPECT_EQ(errors.lines.at(0).substr(0, 82),
              "Search Com left out COM1: COM1 cannot be opened; COM2: COM2 cannot be opened; COM4");
    host.port.SetAvailablePorts({});
    ASSERT_TRUE(host.window.Click(IDC_SEARCH_COM));
    EXPECT_EQ(State(host), "Open Com | | search") << "a new list, and nothing to open";
    EXPECT_TRUE(host.LogHistory().empty());
}

TEST(PortSetting, FailedOpenOffersARetryOpenResetsReceiveAndOffersConnect)
{
    HeadlessHost host;
    Errors errors;
    host.dlg.AddObserver(errors);
    host.port.SetAvailablePorts({3, 5});
    host.window.Click(IDC_SEARCH_COM);
    host.window.Choose(IDC_PORT_LIST, 1);
    host.port.SetAvailablePorts({3});  // COM5 taken by another program meanwhile
    ASSERT_TRUE(host.window.Click(IDC_OPEN_COM));
    EXPECT_EQ(State(host), "Open Com | COM3=3 COM5=5 | open");
    EXPECT_EQ(errors.lines.back(), "Open Com: COM5: COM5 cannot be opened") << "the port's own words, for the record";
    host.port.SetAvailablePorts({3, 5});
    ASSERT_TRUE(host.window.Click(IDC_OPEN_COM));
    EXPECT_EQ(host.port.OpenPort(), 5);
    EXPECT_EQ(State(host), "Close Com | COM3=3 COM5=5 | open hart find");
    host.port.DeliverTextAfter(0, "\x01P00");  // what a closed port leaves behind
    host.port.LineErrorAfter(0, CommEvent::kFrameError);
    host.clock.AdvanceBy(1);
    ASSERT_TRUE(host.window.Click(IDC_OPEN_COM));
    EXPECT_FALSE(host.port.GetPortOpen());
    EXPECT_EQ(State(host), "Open Com | COM3=3 COM5=5 | search list open");
    ASSERT_TRUE(host.window.Click(IDC_OPEN_COM));
    EXPECT_TRUE(host.dlg.Receive().Buffered() == 0 && host.dlg.Receive().Fault() == 0) << "opened afresh";
    EXPECT_TRUE(host.LogHistory().empty());
}

// A host whose command 0 to polling address 0 is in flight, and the reply to
// it, whole: 06 80 00 0E, status, 12 data bytes, check byte. Times count
// from the send.
struct InFlightHost : OpenPortHost {
    static constexpr std::int16_t kCheckState = 77;
    InFlightHost()
    {
        dlg.Machine().SendRequest(0, kCheckState);
        clock.AdvanceBy(STEP_DELAY);
    }
    void At(std::int64_t ms) { clock.AdvanceTo(STEP_DELAY + ms); }
    std::int64_t StepDue() const { return timers.DueAt(TIMER_STEP) - STEP_DELAY; }
    bool Accepted() const { return LogHistory().size() == 2; }  // the parse logs the reply
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
    host.At(199);
    EXPECT_EQ(host.dlg.Receive().Buffered(), static_cast<int>(kReply.size()));
    EXPECT_EQ(host.StepDue(), REPLY_TIMEOUT);
    host.At(200);
    EXPECT_EQ(host.dlg.Receive().Buffered(), 0) << "handed on";
    EXPECT_EQ(host.StepDue(), 210) << "the step machine parses it 10 ms later";
    host.At(210);
    EXPECT_TRUE(host.Accepted());
    EXPECT_EQ(host.LogHistory().back(), kReply.substr(4, kReply.size() - 6));
}

TEST(ReceivePath, ReplySplitByMoreThanTheQuietTimeIsRefused)
{
    InFlightHost host;
    host.port.DeliverTextAfter(0, kReply.substr(0, 8));
    host.port.DeliverTextAfter(101, kReply.substr(8));
    host.At(100);
    EXPECT_EQ(host.dlg.Receive().Fault(), kReplyNoLineEnd) << "the first part has no line end";
    host.At(400);
    EXPECT_FALSE(host.Accepted());
    EXPECT_EQ(host.dlg.Receive().Fault(), kReplyNoLineEnd) << "the rest cannot pass after a failed check";
    EXPECT_EQ(host.StepDue(), REPLY_TIMEOUT) << "the reply time-out runs on";
}

TEST(ReceivePath, EachKindOfLineErrorSpoilsTheReply)
{
    for (const std::int16_t code :
         {CommEvent::kFrameError, CommEvent::kOverrun, CommEvent::kRxOverflow, CommEvent::kParityError}) {
        InFlightHost host;
        host.port.DeliverTextAfter(0, kReply.substr(0, 6));
        host.port.LineErrorAfter(10, code);
        host.port.DeliverTextAfter(20, kReply.substr(6));
        host.At(300);
        EXPECT_FALSE(host.Accepted()) << code;
        EXPECT_EQ(host.dlg.Receive().Fault(), 1) << code << ": counted once, left alone by the check";
    }
}

TEST(ReceivePath, BufferClampsAtTheLastPlace)
{
    OpenPortHost host;
    std::vector<std::uint8_t> bytes(1030, 'A');
    bytes.back() = 'Z';
    host.port.DeliverAfter(0, bytes);
    host.clock.AdvanceTo(200);
    const ReceivePath& rx = host.dlg.Receive();
    EXPECT_EQ(rx.Buffered(), 1023);
    EXPECT_EQ(rx.BufferedBytes(), std::string(1023, 'A')) << "further bytes go to the place past the count";
    EXPECT_EQ(rx.Fault(), kReplyNoSoh);
}

}  // namespace
