// The modem unplugged while auto read runs, while a write is under way or
// while idle: the operation runs out its tries, then the window shows a
// closed port and says why; the device back, it is found, opened and
// connected again without a restart.
#include "tests/modules/Scenario.h"

TEST(PortLoss, TheWindowShowsAClosedPortSaysWhyAndFindsTheDeviceAgain)
{
    const struct {
        const char* name;
        int control;  // clicked before the loss, if any
        int lostAfterMs;
        Log messages;
        bool onlyMessages;  // nothing reached the line: the log holds the messages only
    } rows[] = {{"DuringAutoRead", IDC_AUTO_READ, 1000, {"Communication fail!", "Com port lost!"}, false},
                {"DuringAWrite", IDC_SET_DAMPING, 5, {"Communication fail!", "Com port lost!"}, true},
                {"WhileIdle", 0, 0, {"Com port lost!"}, true}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        Scenario s;
        s.Connect();
        const std::size_t mark = s.LogHistory().size();
        s.window.Type(IDC_DAMPING, "3");
        if (row.control)
            s.window.Click(row.control);
        s.port.LoseDeviceAfter(row.lostAfterMs);
        s.clock.AdvanceBy(1);
        s.RunUntilRest();
        EXPECT_EQ(row.onlyMessages ? s.LogFrom(mark) : s.MessagesFrom(mark), row.messages);
        EXPECT_EQ(s.window.GetText(IDC_OPEN_COM), "Open Com");
        for (int id : {IDC_OPEN_COM, IDC_SEARCH_COM, IDC_PORT_LIST})
            EXPECT_TRUE(s.window.IsEnabled(id)) << id;
        for (int id : {IDC_HART_COMM, IDC_AUTO_READ, IDC_STOP_READ, IDC_READ_RANGE, IDC_SET_DAMPING})
            EXPECT_FALSE(s.window.IsEnabled(id)) << id;
        EXPECT_FALSE(s.port.GetPortOpen());

        s.port.SetAvailablePorts({1});
        s.window.Click(IDC_SEARCH_COM);
        ASSERT_EQ(s.window.ComboGetCount(IDC_PORT_LIST), 1);
        s.window.Click(IDC_OPEN_COM);
        s.Connect();
        EXPECT_EQ(s.window.GetText(IDC_MFR), "Fenmarks");
        EXPECT_EQ(s.MessagesFrom(mark), row.messages);
    }
}
