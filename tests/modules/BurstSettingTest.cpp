// Burst command and burst mode, the Status indicator, and a transmitter that
// bursts while the window works with it.
#include "dialog/Timing.h"
#include "tests/modules/Scenario.h"

using Log = std::vector<std::string>;
using sim::FaultKind;

TEST(BurstSetting, CmdTwoWritesCommand108AndClearsTheOtherChoices)
{
    Scenario s;
    s.Connect();
    s.window.SetCheck(IDC_BURST_CMD1, 1);
    s.window.SetCheck(IDC_BURST_CMD3, 1);
    const std::size_t mark = s.LogHistory().size();
    s.Run(IDC_BURST_CMD2);
    EXPECT_EQ(s.LogFrom(mark), (Log{LongRequest(108, {2}), LongReply(108, 0x40, {2}), "Setting succeed!"}));
    EXPECT_EQ(s.window.GetCheck(IDC_BURST_CMD1), 0);
    EXPECT_EQ(s.window.GetCheck(IDC_BURST_CMD2), 1);
    EXPECT_EQ(s.window.GetCheck(IDC_BURST_CMD3), 0);
    EXPECT_EQ(s.device().burstCommand, 2);
}

TEST(BurstSetting, TheEchoedValueDecidesTheMessage)
{
    const struct {
        int button, command, echo;
        const char* message;
    } rows[] = {{IDC_BURST_CMD3, 108, 5, "Data reply not right!"},
                {IDC_EXIT_BURST, 109, 1, "Burst mode entered!"},
                {IDC_ENTER_BURST, 109, 0, "Burst mode exited!"},
                {IDC_ENTER_BURST, 109, 7, "Data reply not right!"}};
    for (const auto& row : rows) {
        Scenario s;
        s.Connect();
        s.Fault(FaultKind::kBadEcho, row.command, row.echo);
        s.Run(row.button);
        EXPECT_EQ(s.MessagesFrom(0), (Log{row.message})) << row.button << " echo " << row.echo;
    }
}

TEST(BurstSetting, StatusOnlyAndSilence)
{
    Scenario s;
    s.Connect();
    s.Fault(FaultKind::kStatusOnly, 109);
    s.Run(IDC_ENTER_BURST);
    s.line.modem().ClearFaults();
    s.Fault(FaultKind::kNoAnswer, 108);
    s.Run(IDC_BURST_CMD1);
    EXPECT_EQ(s.MessagesFrom(0), (Log{"Command not implemented!", "Communication fail!"}));
}

TEST(BurstSetting, StatusBlinksWhileTheRepliesShowBurstMode)
{
    Scenario s;
    s.Connect();
    s.Run(IDC_ENTER_BURST);
    EXPECT_EQ(s.MessagesFrom(0), (Log{"Burst mode entered!"}));
    std::vector<int> checks;
    for (int second = 0; second < 4; ++second) {
        s.clock.AdvanceBy(BLINK_PERIOD);
        checks.push_back(s.window.GetCheck(IDC_STATUS));
    }
    EXPECT_TRUE(checks == (std::vector<int>{0, 1, 0, 1}) || checks == (std::vector<int>{1, 0, 1, 0}));

    s.Run(IDC_EXIT_BURST);
    EXPECT_EQ(s.MessagesFrom(0).back(), "Burst mode exited!");
    s.clock.AdvanceBy(BLINK_PERIOD);
    EXPECT_EQ(s.window.GetCheck(IDC_STATUS), 0);
    s.clock.AdvanceBy(BLINK_PERIOD);
    EXPECT_EQ(s.window.GetCheck(IDC_STATUS), 0) << "dark after a reply without the burst bit";
}

// Every reply logged is an acknowledge to the command requested just before
// it: a burst frame (81) never reaches the log.
void ExpectRepliesAnswerTheirRequests(const Log& log)
{
    std::string command;
    for (const std::string& line : log) {
        const bool shortFrame = line.rfind("02", 0) == 0 || line.rfind("06", 0) == 0;
        const std::string number = line.substr(shortFrame ? 4 : 12, 2);
        if (line.rfind("02", 0) == 0 || line.rfind("82", 0) == 0)
            command = number;
        else if (line.rfind("06", 0) == 0 || line.rfind("86", 0) == 0)
            EXPECT_EQ(number, command) << line;
        else
            EXPECT_NE(line.find_first_not_of("0123456789ABCDEF"), std::string::npos)
                << "a frame of another kind: " << line;
    }
}

TEST(BurstSetting, TheWindowWorksWithATransmitterBurstingEvery300Ms)
{
    Scenario s;
    s.line.modem().SetBurstPeriod(300);
    s.Connect();
    s.Run(IDC_ENTER_BURST);
    s.Run(IDC_READ_RANGE);
    s.window.Type(IDC_DAMPING, "2");
    s.Run(IDC_SET_DAMPING);
    s.window.Click(IDC_AUTO_READ);
    s.clock.AdvanceBy(5000);
    s.window.Click(IDC_STOP_READ);
    ASSERT_TRUE(s.clock.AdvanceUntil([&] { return !s.dlg.IsOperationRunning(); }, s.clock.Now() + 10000));
    s.Run(IDC_EXIT_BURST);

    EXPECT_EQ(s.MessagesFrom(0), (Log{"Burst mode entered!", "Setting succeed!", "Burst mode exited!"}));
    ExpectRepliesAnswerTheirRequests(s.LogHistory());
    EXPECT_EQ(s.window.GetText(IDC_DAMPING), "2.000");
    EXPECT_EQ(s.device().damping, 2.0f);
    EXPECT_EQ(s.window.GetText(IDC_RANGE_UPPER), "+1.0000e+02");
    EXPECT_EQ(s.window.GetText(IDC_PV_UNIT), "kPa");
    EXPECT_NEAR(std::stod(s.window.GetText(IDC_PERCENT)), 50.0, 0.5);
    EXPECT_FALSE(s.device().burstMode);
    EXPECT_GT(s.port.Writes().size(), 12u) << "the auto read went round several times";
}
