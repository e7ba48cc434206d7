// The modem unplugged: the operation under way runs out its tries, the window
// shows a closed port and says why, and the port can be found and opened
// again when the device is back.
#include "tests/modules/Scenario.h"

using Log = std::vector<std::string>;

namespace {

void ExpectClosedPortAndLossLine(Scenario& s, std::size_t mark)
{
    const Log messages = s.MessagesFrom(mark);
    ASSERT_FALSE(messages.empty());
    EXPECT_EQ(messages.back(), "Com port lost!");
    EXPECT_EQ(s.window.GetText(IDC_OPEN_COM), "Open Com");
    for (int id : {IDC_OPEN_COM, IDC_SEARCH_COM, IDC_PORT_LIST})
        EXPECT_TRUE(s.window.IsEnabled(id)) << id;
    for (int id : {IDC_HART_COMM, IDC_AUTO_READ, IDC_STOP_READ, IDC_READ_RANGE, IDC_SET_DAMPING})
        EXPECT_FALSE(s.window.IsEnabled(id)) << id;
    EXPECT_FALSE(s.port.GetPortOpen());
}

void RunUntilRest(Scenario& s)
{
    ASSERT_TRUE(s.clock.AdvanceUntil([&] { return !s.dlg.IsOperationRunning(); }, s.clock.Now() + 60000));
}

}  // namespace

TEST(PortLoss, DuringAutoReadTheLoopFailsThenThePortShowsClosed)
{
    Scenario s;
    s.Connect();
    const std::size_t mark = s.LogHistory().size();
    s.window.Click(IDC_AUTO_READ);
    s.port.LoseDeviceAfter(1000);
    RunUntilRest(s);
    EXPECT_EQ(s.MessagesFrom(mark), (Log{"Communication fail!", "Com port lost!"}));
    ExpectClosedPortAndLossLine(s, mark);

    // The device is back: found, opened and connected without a restart.
    s.port.SetAvailablePorts({1});
    s.window.Click(IDC_SEARCH_COM);
    ASSERT_EQ(s.window.ComboGetCount(IDC_PORT_LIST), 1);
    s.window.Click(IDC_OPEN_COM);
    s.Connect();
    EXPECT_EQ(s.window.GetText(IDC_MFR), "Fenmarks");
    EXPECT_EQ(s.MessagesFrom(mark).size(), 2u);
}

TEST(PortLoss, DuringAWriteTheTriesRunOutOnTheClosedPort)
{
    Scenario s;
    s.Connect();
    const std::size_t mark = s.LogHistory().size();
    s.window.Type(IDC_DAMPING, "3");
    s.window.Click(IDC_SET_DAMPING);
    s.port.LoseDeviceAfter(5);
    RunUntilRest(s);
    EXPECT_EQ(s.LogFrom(mark), (Log{"Communication fail!", "Com port lost!"})) << "nothing reached the line";
    ExpectClosedPortAndLossLine(s, mark);
}

TEST(PortLoss, WhileIdleTheWindowSaysSoAtOnce)
{
    Scenario s;
    s.Connect();
    const std::size_t mark = s.LogHistory().size();
    s.port.LoseDeviceAfter(0);
    s.clock.AdvanceBy(1);
    ExpectClosedPortAndLossLine(s, mark);
    EXPECT_EQ(s.MessagesFrom(mark).size(), 1u);
}
