// The shared read of command 15 and the writes of transfer function, PV unit
// and damping, against the simulated transmitter.
#include "tests/modules/Scenario.h"

#include <functional>

using Log = std::vector<std::string>;

TEST(SharedRead, UnitCodeTenIsShownAsTheTableNamesIt)
{
    Scenario s;
    s.device().rangeUnit = 10;
    s.device().pvUnit = 10;
    s.Connect();
    EXPECT_EQ(s.window.GetText(IDC_RANGE_UNIT), "kg/c2");
    s.Run(IDC_READ_UNIT);
    EXPECT_EQ(s.window.ComboGetCurSel(IDC_UNIT_LIST), 9);
    EXPECT_EQ(s.Selected(IDC_UNIT_LIST), "kg/cm2");
    EXPECT_TRUE(s.MessagesFrom(0).empty());
}

TEST(SharedRead, AlarmKeepLastSelectsTheThirdEntry)
{
    Scenario s;
    s.device().alarmSelection = 239;
    s.Connect();
    EXPECT_EQ(s.Selected(IDC_ALARM), "Keep Last");
}

struct BadCodeCase {
    const char* name;
    std::function<void(Scenario&)> spoil;
    Log messages;
    std::vector<int> emptied;      // fields or lists left empty
    std::vector<int> stillFilled;  // fields or lists shown all the same
};

class SharedReadBadCodeTest : public testing::TestWithParam<BadCodeCase> {};

TEST_P(SharedReadBadCodeTest, ComplainsAndFillsTheOtherFields)
{
    Scenario s;
    GetParam().spoil(s);
    s.Connect();
    EXPECT_EQ(s.MessagesFrom(0), GetParam().messages);
    const auto shown = [&](int id) {
        return s.window.KindOf(id) == ControlKind::ComboBox ? s.Selected(id) : s.window.GetText(id);
    };
    for (int id : GetParam().emptied)
        EXPECT_EQ(shown(id), "") << id;
    for (int id : GetParam().stillFilled)
        EXPECT_NE(shown(id), "") << id;
    EXPECT_TRUE(s.window.IsEnabled(IDC_AUTO_READ)) << "the read still ends normally";
    EXPECT_EQ(s.window.ListShown(IDC_LOG), s.window.ListGetCount(IDC_LOG) - 1) << "the complaint is in view";
}

INSTANTIATE_TEST_SUITE_P(Codes, SharedReadBadCodeTest,
                         testing::Values(BadCodeCase{"Alarm",
                                                     [](Scenario& s) { s.device().alarmSelection = 2; },
                                                     {"Alarm code not right!"},
                                                     {IDC_ALARM},
                                                     {IDC_RANGE_UPPER, IDC_RANGE_UNIT, IDC_TRANS_FUNC, IDC_DAMPING,
                                                      IDC_WRITE_PROTECT}},
                                         BadCodeCase{"TransferFunction",
                                                     [](Scenario& s) { s.device().transferFunction = 5; },
                                                     {"Trans-Func. code not right!"},
                                                     {IDC_TRANS_FUNC},
                                                     {IDC_RANGE_UPPER, IDC_DAMPING, IDC_WRITE_PROTECT, IDC_ALARM}},
                                         BadCodeCase{"RangeUnit",
                                                     [](Scenario& s) { s.Fault(sim::FaultKind::kBadUnit, 15); },
                                                     {"Unit code not right!"},
                                                     {IDC_RANGE_UPPER, IDC_RANGE_LOWER, IDC_RANGE_UNIT},
                                                     {IDC_TRANS_FUNC, IDC_DAMPING, IDC_WRITE_PROTECT, IDC_ALARM}},
                                         BadCodeCase{"AllCodes",
                                                     [](Scenario& s) { s.Fault(sim::FaultKind::kBadEcho, 15); },
                                                     {"Trans-Func. code not right!", "Write Protect code not right!",
                                                      "Alarm code not right!"},
                                                     {IDC_TRANS_FUNC, IDC_WRITE_PROTECT, IDC_ALARM},
                                                     {IDC_RANGE_UPPER, IDC_RANGE_LOWER, IDC_RANGE_UNIT, IDC_DAMPING}}),
                         [](const testing::TestParamInfo<BadCodeCase>& info) { return std::string(info.param.name); });

TEST(SharedRead, FailedReadLeavesOnlyTheWaysToConnect)
{
    Scenario s;
    s.Connect();
    s.Fault(sim::FaultKind::kNoAnswer, 15);
    const std::size_t mark = s.LogHistory().size();
    s.Run(IDC_READ_RANGE);
    EXPECT_EQ(s.LogFrom(mark), (Log{LongRequest(15), LongRequest(15), LongRequest(15), "Communication fail!"}));
    for (int id : {IDC_HART_COMM, IDC_SEARCH_ADDR, IDC_OPEN_COM})
        EXPECT_TRUE(s.window.IsEnabled(id)) << id;
    for (int id : {IDC_READ_RANGE, IDC_AUTO_READ, IDC_POLL_ADDR, IDC_READ_DAMPING})
        EXPECT_FALSE(s.window.IsEnabled(id)) << id;
}

TEST(SharedRead, EveryReadButtonRunsIt)
{
    for (int id : {IDC_READ_RANGE, IDC_READ_TRANS_FUNC, IDC_READ_DAMPING, IDC_READ_WP, IDC_READ_ALARM}) {
        Scenario s;
        s.Connect();
        s.device().damping = 2.0f;
        s.Run(id);
        EXPECT_EQ(s.window.GetText(IDC_DAMPING), "2.000") << id;
        EXPECT_FALSE(s.window.IsEnabled(IDC_SET_DAMPING)) << id;
        EXPECT_EQ(s.LogHistory()[s.LogHistory().size() - 2], LongRequest(15)) << id;
    }
}

// --- Writes

struct WriteCase {
    const char* name;
    int command;
    std::function<void(Scenario&)> edit;  // the operator's input
    int setButton;
    std::vector<int> requestData;
    std::function<void(Scenario&)> spoil;
    Log messages;
    std::function<void(Scenario&)> check;  // what the window shows afterwards
};

class WriteTest : public testing::TestWithParam<WriteCase> {};

TEST_P(WriteTest, SendsTheInputAndJudgesTheEcho)
{
    const WriteCase& c = GetParam();
    Scenario s;
    s.Connect();
    c.edit(s);
    ASSERT_TRUE(s.window.IsEnabled(c.setButton)) << "the edit enables Set";
    if (c.spoil)
        c.spoil(s);
    const std::size_t mark = s.LogHistory().size();
    s.Run(c.setButton);
    ASSERT_FALSE(s.LogFrom(mark).empty());
    EXPECT_EQ(s.LogFrom(mark)[0], LongRequest(c.command, c.requestData));
    EXPECT_EQ(s.MessagesFrom(mark), c.messages);
    c.check(s);
    for (int set : {IDC_SET_TRANS_FUNC, IDC_SET_UNIT, IDC_SET_DAMPING})
        EXPECT_FALSE(s.window.IsEnabled(set)) << set << ": disabled until the input changes again";
    EXPECT_TRUE(s.window.IsEnabled(IDC_READ_DAMPING));
}

namespace {
auto TypeDamping(const char* text)
{
    return [text](Scenario& s) { s.window.Type(IDC_DAMPING, text); };
}
auto Shows(int id, std::string text)
{
    return [id, text](Scenario& s) {
        const std::string shown = s.window.KindOf(id) == ControlKind::ComboBox ? s.Selected(id) : s.window.GetText(id);
        EXPECT_EQ(shown, text) << id;
    };
}
auto Spoil(sim::FaultKind kind, int command)
{
    return [kind, command](Scenario& s) { s.Fault(kind, command); };
}
}  // namespace

namespace {
using F = sim::FaultKind;
auto Choose(int list, int entry)
{
    return [list, entry](Scenario& s) { s.window.Choose(list, entry); };
}
// clang-format off
const WriteCase kWrites[] = {
    {"DampingEchoed", 34, TypeDamping("2.5"), IDC_SET_DAMPING, {0x40, 0x20, 0, 0}, nullptr, {"Setting succeed!"}, Shows(IDC_DAMPING, "2.500")},
    {"DampingNotANumberIsZero", 34, TypeDamping("abc"), IDC_SET_DAMPING, {0, 0, 0, 0}, nullptr, {"Setting succeed!"}, Shows(IDC_DAMPING, "0.000")},
    {"DampingStatusOnly", 34, TypeDamping("3"), IDC_SET_DAMPING, {0x40, 0x40, 0, 0}, Spoil(F::kStatusOnly, 34), {"Command not implemented!"}, Shows(IDC_DAMPING, "3")},
    {"DampingShortEcho", 34, TypeDamping("3"), IDC_SET_DAMPING, {0x40, 0x40, 0, 0}, Spoil(F::kShortCount, 34), {"Reply not right!"}, Shows(IDC_DAMPING, "3")},
    {"UnitEchoed", 44, Choose(IDC_UNIT_LIST, 14), IDC_SET_UNIT, {0xED}, nullptr, {"Setting succeed!"}, Shows(IDC_UNIT_LIST, "MPa")},
    {"UnitStatusOnly", 44, Choose(IDC_UNIT_LIST, 9), IDC_SET_UNIT, {10}, Spoil(F::kStatusOnly, 44), {"Command not implemented!"}, Shows(IDC_UNIT_LIST, "kg/cm2")},
    {"UnitBadEcho", 44, Choose(IDC_UNIT_LIST, 5), IDC_SET_UNIT, {6}, Spoil(F::kBadUnit, 44), {"Data reply not right!"}, Shows(IDC_UNIT_LIST, "")},
    {"TransferFunctionEchoed", 47, Choose(IDC_TRANS_FUNC, 1), IDC_SET_TRANS_FUNC, {1}, nullptr, {"Setting succeed!"}, Shows(IDC_TRANS_FUNC, "Square Root")},
    {"TransferFunctionStatusOnly", 47, Choose(IDC_TRANS_FUNC, 1), IDC_SET_TRANS_FUNC, {1}, Spoil(F::kStatusOnly, 47), {"Command not implemented!"}, Shows(IDC_TRANS_FUNC, "Square Root")},
    {"TransferFunctionBadEcho", 47, Choose(IDC_TRANS_FUNC, 1), IDC_SET_TRANS_FUNC, {1}, Spoil(F::kBadEcho, 47), {"Data reply not right!"}, Shows(IDC_TRANS_FUNC, "")},
};
// clang-format on
}  // namespace

INSTANTIATE_TEST_SUITE_P(Rows, WriteTest, testing::ValuesIn(kWrites),
                         [](const testing::TestParamInfo<WriteCase>& info) { return std::string(info.param.name); });

TEST(Writes, ProgramSelectionsDoNotEnableSet)
{
    Scenario s;
    s.Connect();
    for (int set : {IDC_SET_TRANS_FUNC, IDC_SET_UNIT, IDC_SET_DAMPING})
        EXPECT_FALSE(s.window.IsEnabled(set)) << set;
    s.Run(IDC_READ_UNIT);
    EXPECT_EQ(s.Selected(IDC_UNIT_LIST), "kPa");
    EXPECT_FALSE(s.window.IsEnabled(IDC_SET_UNIT));
}

TEST(Writes, WriteWhileProtectedFailsAsNoValidEcho)
{
    Scenario s;
    s.Connect();
    s.device().writeProtected = true;
    s.window.Type(IDC_DAMPING, "4");
    s.Run(IDC_SET_DAMPING);
    EXPECT_EQ(s.MessagesFrom(0), (Log{"Command not implemented!"})) << "response code 7 with no data: byte count 2";
    EXPECT_EQ(s.device().damping, 0.5f);
}
