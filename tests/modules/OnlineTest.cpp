// Connect, search and Set Addr against the simulated transmitter, and what
// the connect shows of it: names, number, sensor limits.
#include "tests/modules/Scenario.h"

namespace {

// Command 0 at a polling address, and the reply of the default transmitter there.
std::string Poll(int address) { return HexFrame({0x02, 0x80 | address, 0x00, 0x00}); }
std::string Identity(int address, int status)
{
    return HexFrame({0x06, 0x80 | address, 0x00, 0x0E, 0x00, status, 0xFE, 0xB5, 0x7C, 5, 5, 1, 2, 8, 0, 1, 2, 3});
}
// clang-format off
// Command 14: sensor serial number 003039, unit kPa, limits 200.0 and -100.0, minimum span 2.0 (floats most significant byte first).
const std::vector<int> kSensor = {0x00, 0x30, 0x39, 12, 0x43, 0x48, 0, 0, 0xC2, 0xC8, 0, 0, 0x40, 0, 0, 0};
// Command 15: alarm 0, linear, range in kPa 100.0..0.0, damping 0.5 s, writable, label B5.
const std::vector<int> kOutput = {0, 0, 12, 0x42, 0xC8, 0, 0, 0, 0, 0, 0, 0x3F, 0, 0, 0, 0, 0xB5};
// clang-format on
const std::string kSensorShort = LongReply(14, 0, {kSensor.begin(), kSensor.end() - 1});

const Log kNotFound = {"Not found!", "Or polling address is not 0!", "Please try <Search Addr>!"};
auto At(int address)
{
    return [address](sim::TransmitterState& d) { d.identity.pollingAddress = static_cast<std::uint8_t>(address); };
}

// clang-format off
const Operation kSetAddr5 = {"SetAddr5", {{IDC_POLL_ADDR, "5"}}, IDC_SET_ADDR, {LongRequest(6, {5}), LongReply(6, 0x48, {5}), "Setting succeed!"}, {{IDC_POLL_ADDR, "5"}}, {}, nullptr, {IDC_SET_ADDR}};
const Operation kOperations[] = {
    {"ConnectAtAddressZero", {}, IDC_HART_COMM, {Poll(0), Identity(0, 0), LongRequest(14), LongReply(14, 0, kSensor), LongRequest(15), LongReply(15, 0, kOutput)},
     {{IDC_MFR, "Fenmarks"}, {IDC_DEV_TYPE, "Harrow"}, {IDC_DEV_ID, "66051"}, {IDC_SENSOR_UPPER, "200.000 kPa"}, {IDC_SENSOR_LOWER, "-100.000 kPa"}, {IDC_MIN_SPAN, "2.000 kPa"},
      {IDC_RANGE_UPPER, "+1.0000e+02"}, {IDC_RANGE_LOWER, "+0.0000e+00"}, {IDC_RANGE_UNIT, "kPa"}, {IDC_TRANS_FUNC, "Linear"}, {IDC_DAMPING, "0.500"},
      {IDC_WRITE_PROTECT, "Writable"}, {IDC_ALARM, "High Alarm"}, {IDC_POLL_ADDR, "0"}},
     {}, nullptr, {IDC_AUTO_READ, IDC_READ_VERSION}, {IDC_SET_ADDR}},
    {"ConnectMissesAddressThree", {}, IDC_HART_COMM, {Poll(0), Poll(0), Poll(0), "Not found!", "Or polling address is not 0!", "Please try <Search Addr>!"}, {{IDC_POLL_ADDR, ""}}, {}, At(3), kWaysToConnect, {IDC_POLL_ADDR, IDC_AUTO_READ, IDC_READ_RANGE, IDC_SEARCH_COM}},
    {"SearchFindsAddressThree", {}, IDC_SEARCH_ADDR, {Poll(1), Poll(2), Poll(3), Identity(3, 0x08), LongRequest(14), LongReply(14, 0x08, kSensor), LongRequest(15), LongReply(15, 0x08, kOutput)},
     {{IDC_POLL_ADDR, "3"}, {IDC_MFR, "Fenmarks"}}, {}, At(3), {}, {IDC_SET_ADDR}},
    {"ShortReplyToCommand0IsNoAnswer", {}, IDC_HART_COMM, kNotFound, {{IDC_MFR, ""}}, {{F::kShortCount, 0}}},
    {"FailingCommand14EndsTheConnect", {}, IDC_HART_COMM, {Poll(0), Identity(0, 0), LongRequest(14), LongRequest(14), LongRequest(14), "Communication Fail"},
     {{IDC_MFR, "Fenmarks"}, {IDC_SENSOR_UPPER, ""}}, {{F::kNoAnswer, 14}}, nullptr, kWaysToConnect, {IDC_POLL_ADDR, IDC_AUTO_READ, IDC_READ_RANGE}},
    {"ShortReplyToCommand14IsAFailedTry", {}, IDC_HART_COMM, {Poll(0), Identity(0, 0), LongRequest(14), kSensorShort, LongRequest(14), kSensorShort, LongRequest(14), kSensorShort, "Communication Fail"},
     {}, {{F::kShortCount, 14}}},
    {"DuringSearchOneFailedCommand14EndsTheConnect", {}, IDC_SEARCH_ADDR, {Poll(1), Identity(1, 0x08), LongRequest(14), "Communication Fail"}, {}, {{F::kNoAnswer, 14}}, At(1), kWaysToConnect},
    {"SensorLimitsInAnUnknownUnitLeftEmpty", {}, IDC_HART_COMM, {"Unit code not right!"}, {{IDC_SENSOR_UPPER, ""}, {IDC_RANGE_UNIT, "kPa"}}, {{F::kBadUnit, 14}}},
    {"UnknownTypeAndTheLargestDeviceNumber", {}, IDC_HART_COMM, {}, {{IDC_MFR, "Fenmarks"}, {IDC_DEV_TYPE, "Unknow"}, {IDC_DEV_ID, "16777215"}, {IDC_SENSOR_UPPER, "200.000 kPa"}}, {},
     [](auto& d) { d.identity.deviceType = 0x7D, d.identity.deviceId = {0xFF, 0xFF, 0xFF}; }},
    {"SetAddrAbove15", {{IDC_POLL_ADDR, "16"}}, IDC_SET_ADDR, {"Must between 0 and 15!"}, {{IDC_POLL_ADDR, "16"}}},
    {"SetAddrBelow0", {{IDC_POLL_ADDR, "-1"}}, IDC_SET_ADDR, {"Must between 0 and 15!"}, {{IDC_POLL_ADDR, "-1"}}},
    {"SetAddrStatusOnly", {{IDC_POLL_ADDR, "4"}}, IDC_SET_ADDR, {"Command not implemented!"}, {{IDC_POLL_ADDR, "4"}}, {{F::kStatusOnly, 6}}},
    {"SetAddrBadEcho", {{IDC_POLL_ADDR, "4"}}, IDC_SET_ADDR, {"Data reply not right!"}, {{IDC_POLL_ADDR, ""}}, {{F::kBadEcho, 6}}},
};
// clang-format on

}  // namespace

INSTANTIATE_TEST_SUITE_P(Online, OperationTest, testing::ValuesIn(kOperations), OperationName);

// The address written, the transmitter is still reached through its unique
// identifier; Set Addr is enabled while the box differs from the address
// connected to.
TEST(Online, SetAddrKeepsTalkingAndThePollingBoxComparesWithTheAddressConnectedTo)
{
    Scenario s;
    RunOperation(s, kSetAddr5);
    EXPECT_EQ(s.device().identity.pollingAddress, 5);
    s.Run(IDC_READ_RANGE);
    EXPECT_EQ(s.MessagesFrom(0), (Log{"Setting succeed!"}));
    const std::pair<const char*, bool> rows[] = {{"0", false}, {"7", true}, {"", true}};
    for (const auto& [typed, enabled] : rows) {
        s.window.Type(IDC_POLL_ADDR, typed);
        EXPECT_EQ(s.window.IsEnabled(IDC_SET_ADDR), enabled) << '"' << typed << "\" (an empty box changes nothing)";
    }
}

TEST(Online, SearchWithNothingThereTriesEachAddressOnce)
{
    Scenario s;
    s.Fault(F::kNoAnswer, sim::kAllCommands);
    s.Run(IDC_SEARCH_ADDR);
    Log expected;
    for (int address = 1; address <= 15; ++address)
        expected.push_back(Poll(address));
    expected.push_back("Not found!");
    EXPECT_EQ(s.LogHistory(), expected);
    EXPECT_EQ(s.window.GetText(IDC_POLL_ADDR), "");
    EXPECT_TRUE(s.window.IsEnabled(IDC_SEARCH_ADDR));
    EXPECT_FALSE(s.window.IsEnabled(IDC_AUTO_READ));
    // Each address: 10 ms to send, 2000 ms time-out, 10 ms back, 1000 ms on.
    const auto& t = s.port.WriteTimes();
    EXPECT_EQ(t[1] - t[0], 3020);
    EXPECT_EQ(t[14] - t[13], 3020);
}

TEST(Online, TextWithoutDigitsSendsAddressZero)
{
    Scenario s;
    s.device().identity.pollingAddress = 3;
    s.Run(IDC_SEARCH_ADDR);
    s.window.Type(IDC_POLL_ADDR, "ab");
    EXPECT_EQ(s.window.GetText(IDC_POLL_ADDR), "AB") << "the box forces upper case";
    const std::size_t mark = s.LogHistory().size();
    s.Run(IDC_SET_ADDR);
    EXPECT_EQ(s.LogFrom(mark), (Log{LongRequest(6, {0}), LongReply(6, 0x40, {0}), "Setting succeed!"}));
    EXPECT_EQ(s.window.GetText(IDC_POLL_ADDR), "0");
}
