// Connect, search and Set Addr against the simulated transmitter.
#include "tests/modules/Scenario.h"

using Log = std::vector<std::string>;

namespace {
// The float 100.0 and friends, most significant byte first.
const std::vector<int> k200 = {0x43, 0x48, 0x00, 0x00}, kMinus100 = {0xC2, 0xC8, 0x00, 0x00},
                       k2 = {0x40, 0x00, 0x00, 0x00}, k100 = {0x42, 0xC8, 0x00, 0x00}, k0 = {0, 0, 0, 0},
                       kHalf = {0x3F, 0x00, 0x00, 0x00};

std::vector<int> Join(std::initializer_list<std::vector<int>> parts)
{
    std::vector<int> all;
    for (const auto& p : parts)
        all.insert(all.end(), p.begin(), p.end());
    return all;
}
}  // namespace

TEST(Online, ConnectAtAddressZeroShowsIdentityLimitsAndSettings)
{
    Scenario s;
    s.Connect();

    ASSERT_EQ(s.LogHistory().size(), 6u);
    EXPECT_EQ(s.LogHistory()[0], "0280000082");
    EXPECT_EQ(s.LogHistory()[1].substr(0, 8), "0680000E") << "command 0 reply, byte count 14";
    EXPECT_EQ(s.LogHistory()[2], LongRequest(14));
    EXPECT_EQ(s.LogHistory()[3], LongReply(14, 0, Join({{0x00, 0x30, 0x39, 12}, k200, kMinus100, k2})));
    EXPECT_EQ(s.LogHistory()[4], LongRequest(15));
    // alarm 0, linear, range in kPa 100..0, damping 0.5 s, writable, label B5
    EXPECT_EQ(s.LogHistory()[5], LongReply(15, 0, Join({{0, 0, 12}, k100, k0, kHalf, {0, 0xB5}})));

    EXPECT_EQ(s.window.GetText(IDC_MFR), "Fenmarks");
    EXPECT_EQ(s.window.GetText(IDC_DEV_TYPE), "Harrow");
    EXPECT_EQ(s.window.GetText(IDC_DEV_ID), "66051");
    EXPECT_EQ(s.window.GetText(IDC_SENSOR_UPPER), "200.000 kPa");
    EXPECT_EQ(s.window.GetText(IDC_SENSOR_LOWER), "-100.000 kPa");
    EXPECT_EQ(s.window.GetText(IDC_MIN_SPAN), "2.000 kPa");
    EXPECT_EQ(s.window.GetText(IDC_RANGE_UPPER), "+1.0000e+02");
    EXPECT_EQ(s.window.GetText(IDC_RANGE_LOWER), "+0.0000e+00");
    EXPECT_EQ(s.window.GetText(IDC_RANGE_UNIT), "kPa");
    EXPECT_EQ(s.Selected(IDC_TRANS_FUNC), "Linear");
    EXPECT_EQ(s.window.GetText(IDC_DAMPING), "0.500");
    EXPECT_EQ(s.Selected(IDC_WRITE_PROTECT), "Writable");
    EXPECT_EQ(s.Selected(IDC_ALARM), "High Alarm");
    EXPECT_EQ(s.window.GetText(IDC_POLL_ADDR), "0");
    EXPECT_FALSE(s.window.IsEnabled(IDC_SET_ADDR)) << "the box shows the address connected to";
    EXPECT_FALSE(s.window.IsEnabled(IDC_SET_DAMPING)) << "a value read is not a pending edit";
    EXPECT_TRUE(s.window.IsEnabled(IDC_AUTO_READ));
    EXPECT_TRUE(s.window.IsEnabled(IDC_READ_VERSION));
    EXPECT_EQ(s.dlg.OnlineModule().m_nScanAddr, 0);
}

TEST(Online, TransmitterAtAddressThreeIsFoundBySearchOnly)
{
    Scenario s;
    s.device().identity.pollingAddress = 3;
    s.Connect();
    EXPECT_EQ(s.LogHistory(), (Log{"0280000082", "0280000082", "0280000082", "Not found!",
                                   "Or polling address is not 0!", "Please try <Search Addr>!"}));
    EXPECT_EQ(s.window.GetText(IDC_POLL_ADDR), "");
    for (int id : {IDC_HART_COMM, IDC_SEARCH_ADDR, IDC_OPEN_COM})
        EXPECT_TRUE(s.window.IsEnabled(id)) << id;
    for (int id : {IDC_POLL_ADDR, IDC_AUTO_READ, IDC_READ_RANGE, IDC_SEARCH_COM})
        EXPECT_FALSE(s.window.IsEnabled(id)) << id;

    const std::size_t mark = s.LogHistory().size();
    s.Run(IDC_SEARCH_ADDR);
    const Log log = s.LogFrom(mark);
    ASSERT_GE(log.size(), 4u);
    EXPECT_EQ(log[0], HexFrame({0x02, 0x81, 0x00, 0x00}));
    EXPECT_EQ(log[1], HexFrame({0x02, 0x82, 0x00, 0x00}));
    EXPECT_EQ(log[2], HexFrame({0x02, 0x83, 0x00, 0x00}));
    EXPECT_EQ(log[3].substr(0, 8), "0683000E") << "answered at the third address tried";
    EXPECT_TRUE(s.MessagesFrom(mark).empty());
    EXPECT_EQ(s.window.GetText(IDC_POLL_ADDR), "3");
    EXPECT_EQ(s.window.GetText(IDC_MFR), "Fenmarks");
    EXPECT_EQ(s.dlg.OnlineModule().m_nScanAddr, 3);
    EXPECT_FALSE(s.window.IsEnabled(IDC_SET_ADDR));
}

TEST(Online, SearchWithNothingThereTriesEachAddressOnce)
{
    Scenario s;
    s.Fault(sim::FaultKind::kNoAnswer, sim::kAllCommands);
    s.Run(IDC_SEARCH_ADDR);
    ASSERT_EQ(s.LogHistory().size(), 16u);
    for (int address = 1; address <= 15; ++address)
        EXPECT_EQ(s.LogHistory()[address - 1], HexFrame({0x02, 0x80 | address, 0x00, 0x00}));
    EXPECT_EQ(s.LogHistory().back(), "Not found!");
    EXPECT_EQ(s.window.GetText(IDC_POLL_ADDR), "");
    EXPECT_TRUE(s.window.IsEnabled(IDC_SEARCH_ADDR));
    EXPECT_FALSE(s.window.IsEnabled(IDC_AUTO_READ));
    // Each address: 10 ms to send, 2000 ms time-out, 10 ms back, 1000 ms on.
    const auto& t = s.port.WriteTimes();
    EXPECT_EQ(t[1] - t[0], 3020);
    EXPECT_EQ(t[14] - t[13], 3020);
}

TEST(Online, ReplyTooShortForCommandZeroIsNoAnswer)
{
    Scenario s;
    s.Fault(sim::FaultKind::kShortCount, 0);
    s.Connect();
    EXPECT_EQ(s.MessagesFrom(0), (Log{"Not found!", "Or polling address is not 0!", "Please try <Search Addr>!"}));
    EXPECT_EQ(s.dlg.Machine().m_UniqueId[0], 0) << "a short reply does not name the transmitter";
}

TEST(Online, FailingCommand14EndsTheConnect)
{
    Scenario s;
    s.Fault(sim::FaultKind::kNoAnswer, 14);
    s.Connect();
    EXPECT_EQ(s.MessagesFrom(0), (Log{"Communication Fail"}));
    EXPECT_EQ(s.window.GetText(IDC_MFR), "Fenmarks") << "the identity was shown before";
    EXPECT_EQ(s.window.GetText(IDC_SENSOR_UPPER), "");
    for (int id : {IDC_HART_COMM, IDC_SEARCH_ADDR, IDC_OPEN_COM})
        EXPECT_TRUE(s.window.IsEnabled(id)) << id;
    for (int id : {IDC_POLL_ADDR, IDC_AUTO_READ, IDC_READ_RANGE})
        EXPECT_FALSE(s.window.IsEnabled(id)) << id;
    EXPECT_EQ(s.port.Writes().size(), 1u + 3u) << "command 0 once, command 14 three times";
}

TEST(Online, SensorLimitsInAnUnknownUnitAreLeftEmpty)
{
    Scenario s;
    s.Fault(sim::FaultKind::kBadUnit, 14);
    s.Connect();
    EXPECT_EQ(s.MessagesFrom(0), (Log{"Unit code not right!"}));
    EXPECT_EQ(s.window.GetText(IDC_SENSOR_UPPER), "");
    EXPECT_EQ(s.window.GetText(IDC_RANGE_UNIT), "kPa") << "connecting went on with command 15";
}

struct SetAddrCase {
    const char* typed;
    Log messages;
    std::string box;  // after the operation
};

class SetAddrTest : public testing::TestWithParam<SetAddrCase> {};

TEST_P(SetAddrTest, ValidatesTheBoxAndWritesTheAddress)
{
    Scenario s;
    s.Connect();
    const std::size_t mark = s.LogHistory().size();
    ASSERT_TRUE(s.window.Type(IDC_POLL_ADDR, GetParam().typed));
    ASSERT_TRUE(s.window.IsEnabled(IDC_SET_ADDR));
    s.Run(IDC_SET_ADDR);
    EXPECT_EQ(s.MessagesFrom(mark), GetParam().messages);
    EXPECT_EQ(s.window.GetText(IDC_POLL_ADDR), GetParam().box);
}

INSTANTIATE_TEST_SUITE_P(Rows, SetAddrTest,
                         testing::Values(SetAddrCase{"16", {"Must between 0 and 15!"}, "16"},
                                         SetAddrCase{"-1", {"Must between 0 and 15!"}, "-1"},
                                         SetAddrCase{"5", {"Setting succeed!"}, "5"}));

TEST(Online, SetAddrWritesTheAddressAndKeepsTalking)
{
    Scenario s;
    s.Connect();
    const std::size_t mark = s.LogHistory().size();
    s.window.Type(IDC_POLL_ADDR, "5");
    s.Run(IDC_SET_ADDR);
    // Device status: configuration changed, and the current fixed in multidrop.
    EXPECT_EQ(s.LogFrom(mark), (Log{LongRequest(6, {5}), LongReply(6, 0x48, {5}), "Setting succeed!"}));
    EXPECT_EQ(s.device().identity.pollingAddress, 5);
    EXPECT_TRUE(s.window.IsEnabled(IDC_SET_ADDR)) << "the box now differs from the address connected to";
    EXPECT_EQ(s.dlg.OnlineModule().m_nScanAddr, 0);

    s.Run(IDC_READ_RANGE);  // still reached through the unique identifier
    EXPECT_EQ(s.MessagesFrom(mark), (Log{"Setting succeed!"}));
}

TEST(Online, TextWithoutDigitsSendsAddressZero)
{
    Scenario s;
    s.device().identity.pollingAddress = 3;
    s.Run(IDC_SEARCH_ADDR);
    ASSERT_EQ(s.window.GetText(IDC_POLL_ADDR), "3");
    s.window.Type(IDC_POLL_ADDR, "ab");
    EXPECT_EQ(s.window.GetText(IDC_POLL_ADDR), "AB") << "the box forces upper case";
    const std::size_t mark = s.LogHistory().size();
    s.Run(IDC_SET_ADDR);
    ASSERT_FALSE(s.LogFrom(mark).empty());
    EXPECT_EQ(s.LogFrom(mark)[0], LongRequest(6, {0}));
    EXPECT_EQ(s.window.GetText(IDC_POLL_ADDR), "0");
}

TEST(Online, SetAddrStatusOnlyAndBadEcho)
{
    const struct {
        sim::FaultKind fault;
        const char* message;
        const char* box;
    } rows[] = {{sim::FaultKind::kStatusOnly, "Command not implemented!", "4"},
                {sim::FaultKind::kBadEcho, "Data reply not right!", ""}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.message);
        Scenario s;
        s.Connect();
        s.Fault(row.fault, 6);
        s.window.Type(IDC_POLL_ADDR, "4");
        s.Run(IDC_SET_ADDR);
        EXPECT_EQ(s.MessagesFrom(0), (Log{row.message}));
        EXPECT_EQ(s.window.GetText(IDC_POLL_ADDR), row.box);
    }
}

TEST(Online, PollingBoxRuleComparesWithTheAddressConnectedTo)
{
    Scenario s;
    s.Connect();
    s.window.Type(IDC_POLL_ADDR, "0");
    EXPECT_FALSE(s.window.IsEnabled(IDC_SET_ADDR));
    s.window.Type(IDC_POLL_ADDR, "7");
    EXPECT_TRUE(s.window.IsEnabled(IDC_SET_ADDR));
    s.window.Type(IDC_POLL_ADDR, "");
    EXPECT_TRUE(s.window.IsEnabled(IDC_SET_ADDR)) << "an empty box changes nothing";
}
