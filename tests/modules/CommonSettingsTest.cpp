// The shared read of command 15 and the writes of transfer function, PV unit
// and damping, against the simulated transmitter.
#include "tests/modules/Scenario.h"

namespace {

using D = sim::TransmitterState;

// A bad code empties its own field only; the read ends normally and its complaint is in view.
// clang-format off
const Operation kReads[] = {
    {"UnitCodeTenShownAsTheTableNamesIt", {}, IDC_HART_COMM, {}, {{IDC_RANGE_UNIT, "kg/c2"}, {IDC_SENSOR_UPPER, "2.039 kg/c2"}}, {}, [](D& d) { d.rangeUnit = d.pvUnit = 10; }},
    {"ReadUnitCodeTen", {}, IDC_READ_UNIT, {}, {{IDC_UNIT_LIST, "kg/cm2"}}, {}, [](D& d) { d.rangeUnit = d.pvUnit = 10; }},
    {"ReadUnitSelectsWithoutEnablingSet", {}, IDC_READ_UNIT, {}, {{IDC_UNIT_LIST, "kPa"}}},
    {"AlarmKeepLastSelectsTheThirdEntry", {}, IDC_HART_COMM, {}, {{IDC_ALARM, "Keep Last"}}, {}, [](D& d) { d.alarmSelection = 239; }},
    {"BadAlarmCode", {}, IDC_HART_COMM, {"Alarm code not right!"}, {{IDC_RANGE_UPPER, "+1.0000e+02"}, {IDC_RANGE_LOWER, "+0.0000e+00"}, {IDC_RANGE_UNIT, "kPa"}, {IDC_ALARM, ""}, {IDC_TRANS_FUNC, "Linear"}, {IDC_DAMPING, "0.500"}, {IDC_WRITE_PROTECT, "Writable"}},
     {}, [](D& d) { d.alarmSelection = 2; }, {IDC_AUTO_READ}},
    {"BadTransferFunctionCode", {}, IDC_HART_COMM, {"Trans-Func. code not right!"}, {{IDC_RANGE_UPPER, "+1.0000e+02"}, {IDC_RANGE_LOWER, "+0.0000e+00"}, {IDC_RANGE_UNIT, "kPa"}, {IDC_TRANS_FUNC, ""}, {IDC_DAMPING, "0.500"}, {IDC_WRITE_PROTECT, "Writable"}, {IDC_ALARM, "High Alarm"}},
     {}, [](D& d) { d.transferFunction = 5; }, {IDC_AUTO_READ}},
    {"BadRangeUnit", {}, IDC_HART_COMM, {"Unit code not right!"}, {{IDC_RANGE_UPPER, ""}, {IDC_RANGE_LOWER, ""}, {IDC_RANGE_UNIT, ""}, {IDC_TRANS_FUNC, "Linear"}, {IDC_DAMPING, "0.500"}, {IDC_WRITE_PROTECT, "Writable"}, {IDC_ALARM, "High Alarm"}},
     {{F::kBadUnit, 15}}, nullptr, {IDC_AUTO_READ}},
    {"AllCodesBad", {}, IDC_HART_COMM, {"Trans-Func. code not right!", "Write Protect code not right!", "Alarm code not right!"},
     {{IDC_RANGE_UPPER, "+1.0000e+02"}, {IDC_RANGE_LOWER, "+0.0000e+00"}, {IDC_RANGE_UNIT, "kPa"}, {IDC_TRANS_FUNC, ""}, {IDC_WRITE_PROTECT, ""}, {IDC_ALARM, ""}, {IDC_DAMPING, "0.500"}}, {{F::kBadEcho, 15}}, nullptr, {IDC_AUTO_READ}},
    {"FailedReadLeavesOnlyTheWaysToConnect", {}, IDC_READ_RANGE, {LongRequest(15), LongRequest(15), LongRequest(15), "Communication fail!"}, {}, {{F::kNoAnswer, 15}}, nullptr,
     kWaysToConnect, {IDC_READ_RANGE, IDC_AUTO_READ, IDC_POLL_ADDR, IDC_READ_DAMPING}},
};

// The input enables its "Set"; the echo decides the message. Status only: response code 64, no data.
const Operation kWrites[] = {
    {"DampingEchoed", {{IDC_DAMPING, "2.5"}}, IDC_SET_DAMPING, {LongRequest(34, {0x40, 0x20, 0, 0}), LongReply(34, 0x40, {0x40, 0x20, 0, 0}), "Setting succeed!"}, {{IDC_DAMPING, "2.500"}}},
    {"DampingNotANumberIsRefused", {{IDC_DAMPING, "abc"}}, IDC_SET_DAMPING, {"Input is invalid!"}, {{IDC_DAMPING, "abc"}}},
    {"DampingStatusOnly", {{IDC_DAMPING, "3"}}, IDC_SET_DAMPING, {LongRequest(34, {0x40, 0x40, 0, 0}), LongReply(34, 0, {}, 64), "Command not implemented!"}, {{IDC_DAMPING, "3"}}, {{F::kStatusOnly, 34}}},
    {"DampingShortEcho", {{IDC_DAMPING, "3"}}, IDC_SET_DAMPING, {LongRequest(34, {0x40, 0x40, 0, 0}), LongReply(34, 0x40, {0x40, 0x40, 0}), "Reply not right!"}, {{IDC_DAMPING, "3"}}, {{F::kShortCount, 34}}},
    {"DampingWhileProtected", {{IDC_DAMPING, "4"}}, IDC_SET_DAMPING, {LongRequest(34, {0x40, 0x80, 0, 0}), LongReply(34, 0, {}, 7), "Command not implemented!"}, {}, {}, [](D& d) { d.writeProtected = true; }},
    {"UnitEchoed", {{IDC_UNIT_LIST, "MPa"}}, IDC_SET_UNIT, {LongRequest(44, {0xED}), LongReply(44, 0x40, {0xED}), "Setting succeed!"}, {{IDC_UNIT_LIST, "MPa"}}},
    {"UnitStatusOnly", {{IDC_UNIT_LIST, "kg/cm2"}}, IDC_SET_UNIT, {LongRequest(44, {10}), LongReply(44, 0, {}, 64), "Command not implemented!"}, {{IDC_UNIT_LIST, "kg/cm2"}}, {{F::kStatusOnly, 44}}},
    {"UnitBadEcho", {{IDC_UNIT_LIST, "psi"}}, IDC_SET_UNIT, {LongRequest(44, {6}), LongReply(44, 0x40, {32}), "Data reply not right!"}, {{IDC_UNIT_LIST, ""}}, {{F::kBadUnit, 44}}},
    {"TransferFunctionEchoed", {{IDC_TRANS_FUNC, "Square Root"}}, IDC_SET_TRANS_FUNC, {LongRequest(47, {1}), LongReply(47, 0x40, {1}), "Setting succeed!"}, {{IDC_TRANS_FUNC, "Square Root"}}},
    {"TransferFunctionStatusOnly", {{IDC_TRANS_FUNC, "Square Root"}}, IDC_SET_TRANS_FUNC, {LongRequest(47, {1}), LongReply(47, 0, {}, 64), "Command not implemented!"}, {{IDC_TRANS_FUNC, "Square Root"}}, {{F::kStatusOnly, 47}}},
    {"TransferFunctionBadEcho", {{IDC_TRANS_FUNC, "Square Root"}}, IDC_SET_TRANS_FUNC, {LongRequest(47, {1}), LongReply(47, 0x40, {254}), "Data reply not right!"}, {{IDC_TRANS_FUNC, ""}}, {{F::kBadEcho, 47}}},
};
// clang-format on

}  // namespace

INSTANTIATE_TEST_SUITE_P(SharedRead, OperationTest, testing::ValuesIn(kReads), OperationName);
INSTANTIATE_TEST_SUITE_P(Writes, OperationTest, testing::ValuesIn(kWrites), OperationName);

TEST(SharedRead, EveryReadButtonRunsIt)
{
    for (int id : {IDC_READ_RANGE, IDC_READ_TRANS_FUNC, IDC_READ_DAMPING, IDC_READ_WP, IDC_READ_ALARM}) {
        Scenario s;
        s.Connect();
        s.device().damping = 2.0f;
        s.Run(id);
        EXPECT_EQ(s.window.GetText(IDC_DAMPING), "2.000") << id;
        EXPECT_FALSE(s.window.IsEnabled(IDC_SET_DAMPING)) << id << ": a value read is not a pending edit";
        EXPECT_EQ(s.LogHistory()[s.LogHistory().size() - 2], LongRequest(15)) << id;
    }
}
