// The transmitter's own rules: refusals, range and output behaviour, trims.
#include <gtest/gtest.h>

#include <cmath>

#include "SimTestSupport.h"
#include "sim/Transmitter.h"

using simtest::FloatAt;

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes F(float v) {
    const auto bits = std::bit_cast<std::uint32_t>(v);
    return {static_cast<std::uint8_t>(bits >> 24), static_cast<std::uint8_t>(bits >> 16),
            static_cast<std::uint8_t>(bits >> 8), static_cast<std::uint8_t>(bits)};
}

Bytes Cat(std::initializer_list<Bytes> parts) {
    Bytes all;
    for (const Bytes& p : parts) all.insert(all.end(), p.begin(), p.end());
    return all;
}

// Data bytes treated as a frame: FloatAt counts from 0.
float DataFloat(const sim::Reply& r, std::size_t at) { return FloatAt(r.data, at); }

struct Refusal {
    const char* name;
    std::uint8_t command;
    Bytes data;
    std::uint8_t code;
};

const Refusal kRefusals[] = {
    {"Address16", 6, {16}, 2},
    {"UnitZero", 44, {0}, 2},
    {"Unit32", 44, {32}, 2},
    {"TransferFunction2", 47, {2}, 2},
    {"BurstCommand4", 108, {4}, 2},
    {"BurstMode2", 109, {2}, 2},
    {"Display3", 134, {3, 0}, 2},
    {"Alarm2", 135, {2, 0}, 2},
    {"Protect2", 192, {2, 0}, 2},
    {"Month13", 18, Cat({Bytes(18, 0x82), {31, 13, 113}}), 9},
    {"Day0", 18, Cat({Bytes(18, 0x82), {0, 12, 113}}), 9},
    {"UpperAboveSensor", 35, Cat({{12}, F(250.0f), F(0.0f)}), 11},
    {"LowerBelowSensor", 35, Cat({{12}, F(100.0f), F(-150.0f)}), 10},
    {"ZeroSpan", 35, Cat({{12}, F(10.0f), F(10.0f)}), 29},
    {"RangeBadUnit", 35, Cat({{99}, F(10.0f), F(0.0f)}), 2},
    {"FixedTooLow", 40, F(3.0f), 4},
    {"FixedTooHigh", 40, F(23.0f), 3},
    {"ZeroTrimFar", 45, F(5.5f), 3},
    {"GainTrimFar", 46, F(18.0f), 4},
    {"SensorTrimAboveLimit", 131, Cat({{12}, F(300.0f)}), 3},
    {"VersionWrongCode", 172, {0x4B, 0x4E, 0x20, 0x4A, 0x56, 0x00}, 16},
    {"TooFewDampingBytes", 34, {0x40, 0x00}, 5},
    {"TooFewTagBytes", 18, Bytes(20, 0), 5},
    {"UnknownCommand", 3, {}, 64},
};

class RefusalTest : public ::testing::TestWithParam<Refusal> {};

TEST_P(RefusalTest, RefusedWithCodeAndNoData) {
    sim::Transmitter t;
    const sim::TransmitterState before = t.state();
    const sim::Reply r = t.Handle(GetParam().command, GetParam().data, 0);
    EXPECT_EQ(r.responseCode, GetParam().code);
    EXPECT_TRUE(r.data.empty());
    EXPECT_EQ(r.deviceStatus & sim::status::kConfigChanged, 0);
    EXPECT_EQ(t.state().identity.pollingAddress, before.identity.pollingAddress);
    EXPECT_EQ(t.state().upperRange, before.upperRange);
    EXPECT_EQ(t.state().date, before.date);
}

INSTANTIATE_TEST_SUITE_P(Transmitter, RefusalTest, ::testing::ValuesIn(kRefusals),
                         [](const auto& info) { return std::string(info.param.name); });

struct Write {
    std::uint8_t command;
    Bytes data;
};

// One valid request for every command that changes the configuration.
const Write kConfigWrites[] = {
    {6, {3}}, {17, Bytes(24, 0x82)}, {18, Cat({Bytes(18, 0x82), {1, 1, 100}})},
    {19, {0, 0, 1}}, {34, F(1.0f)}, {35, Cat({{12}, F(80.0f), F(0.0f)})}, {36, {}}, {37, {}},
    {43, {}}, {44, {6}}, {45, F(4.0f)}, {46, F(20.0f)}, {47, {1}}, {108, {2}},
    {130, Cat({{12}, F(50.0f)})}, {131, Cat({{12}, F(49.0f)})}, {134, {1, 0}}, {135, {1, 0}},
};

class ProtectedWriteTest : public ::testing::TestWithParam<Write> {};

TEST_P(ProtectedWriteTest, RefusedWithCode7WhileProtectedAcceptedOtherwise) {
    sim::Transmitter t;
    EXPECT_EQ(t.Handle(GetParam().command, GetParam().data, 0).responseCode, sim::rc::kOk);

    sim::Transmitter locked;
    locked.Handle(192, {1, 0}, 0);
    const sim::Reply r = locked.Handle(GetParam().command, GetParam().data, 0);
    EXPECT_EQ(r.responseCode, sim::rc::kWriteProtected);
    EXPECT_TRUE(r.data.empty());
}

INSTANTIATE_TEST_SUITE_P(Transmitter, ProtectedWriteTest, ::testing::ValuesIn(kConfigWrites),
                         [](const auto& info) {
                             return "Cmd" + std::to_string(info.param.command);
                         });

TEST(WriteProtectionTest, ReadsOutputAndUnprotectStillWork) {
    sim::Transmitter t;
    t.Handle(192, {1, 0}, 0);
    EXPECT_EQ(t.Handle(1, {}, 0).responseCode, sim::rc::kOk);
    EXPECT_EQ(t.Handle(40, F(12.0f), 0).responseCode, sim::rc::kOk);
    EXPECT_EQ(t.Handle(109, {1}, 0).responseCode, sim::rc::kOk);
    const sim::Reply off = t.Handle(192, {0, 0}, 0);
    EXPECT_EQ(off.data, Bytes{0});
    EXPECT_EQ(t.Handle(34, F(1.0f), 0).responseCode, sim::rc::kOk);
}

TEST(OutputTest, RangeWriteMovesPercentAndCurrent) {
    sim::Transmitter t;  // PV 50 kPa at time 0
    const sim::Reply echo = t.Handle(35, Cat({{12}, F(200.0f), F(0.0f)}), 0);
    EXPECT_EQ(echo.data, Cat({{12}, F(200.0f), F(0.0f)}));
    const sim::Reply r = t.Handle(2, {}, 0);
    EXPECT_FLOAT_EQ(DataFloat(r, 0), 8.0f);   // 4 + 16 * 0.25
    EXPECT_FLOAT_EQ(DataFloat(r, 4), 25.0f);
}

TEST(OutputTest, SmallSpanIsAWarningWithData) {
    sim::Transmitter t;
    const sim::Reply r = t.Handle(35, Cat({{12}, F(51.0f), F(50.0f)}), 0);
    EXPECT_EQ(r.responseCode, sim::rc::kSpanTooSmall);
    EXPECT_EQ(r.data.size(), 9u);
    EXPECT_EQ(t.state().upperRange, 51.0f);
}

TEST(OutputTest, SquareRootTransferFunction) {
    sim::Transmitter t;
    t.Handle(47, {1}, 0);
    const sim::Reply r = t.Handle(2, {}, 0);
    EXPECT_NEAR(DataFloat(r, 4), 70.7107f, 1e-3f);  // 100 * sqrt(0.5)
    EXPECT_NEAR(DataFloat(r, 0), 15.3137f, 1e-3f);  // 4 + 16 * 0.7071
}

TEST(OutputTest, FixedCurrentOverridesThePvAndSetsTheStatusBit) {
    sim::Transmitter t;
    const sim::Reply fixed = t.Handle(40, F(12.5f), 0);
    EXPECT_EQ(fixed.data, F(12.5f));
    EXPECT_EQ(fixed.deviceStatus, sim::status::kCurrentFixed);
    EXPECT_FLOAT_EQ(DataFloat(t.Handle(2, {}, 0), 0), 12.5f);
    EXPECT_EQ(t.Handle(40, F(0.0f), 0).data, F(0.0f));
    const sim::Reply free = t.Handle(2, {}, 0);
    EXPECT_FLOAT_EQ(DataFloat(free, 0), 12.0f);
    EXPECT_EQ(free.deviceStatus, 0);
}

TEST(OutputTest, MultidropParksTheCurrentAndRefusesFixing) {
    sim::Transmitter t;
    t.Handle(6, {4}, 0);
    EXPECT_FLOAT_EQ(DataFloat(t.Handle(2, {}, 0), 0), 4.0f);
    EXPECT_EQ(t.Handle(40, F(12.0f), 0).responseCode, 11);
}

TEST(OutputTest, SaturatedCurrentIsClampedAndFlagged) {
    sim::Transmitter t;
    t.Handle(35, Cat({{12}, F(40.0f), F(0.0f)}), 0);  // PV 50 is 125 %
    const sim::Reply r = t.Handle(2, {}, 0);
    EXPECT_FLOAT_EQ(DataFloat(r, 0), 20.5f);
    EXPECT_FLOAT_EQ(DataFloat(r, 4), 125.0f);
    EXPECT_NE(r.deviceStatus & sim::status::kCurrentSaturated, 0);
}

TEST(ProcessTest, PvMovesALittleOverTime) {
    sim::Transmitter t;
    EXPECT_EQ(t.PvInUnit(0), 50.0f);
    bool moved = false;
    for (std::uint64_t ms = 500; ms <= 12000; ms += 500) {
        EXPECT_NEAR(t.PvInUnit(ms), 50.0f, 0.25f);
        moved = moved || t.PvInUnit(ms) != 50.0f;
        EXPECT_EQ(t.PvInUnit(ms), t.PvInUnit(ms));  // a function of time only
    }
    EXPECT_TRUE(moved);
}

TEST(ProcessTest, UnitWriteConvertsPvAndRange) {
    sim::Transmitter t;
    t.Handle(44, {6}, 0);  // psi: 1 psi = 6.894757 kPa
    const sim::Reply pv = t.Handle(1, {}, 0);
    EXPECT_EQ(pv.data.at(0), 6);
    EXPECT_NEAR(DataFloat(pv, 1), 7.25189f, 1e-4f);
    const sim::Reply range = t.Handle(15, {}, 0);
    EXPECT_EQ(range.data.at(2), 6);
    EXPECT_NEAR(DataFloat(range, 3), 14.50377f, 1e-4f);
    // Percent and current do not depend on the unit.
    EXPECT_FLOAT_EQ(DataFloat(t.Handle(2, {}, 0), 4), 50.0f);
}

TEST(ProcessTest, DampingOutsideItsRangeIsSetToTheNearestValue) {
    sim::Transmitter t;
    const sim::Reply r = t.Handle(34, F(40.0f), 0);
    EXPECT_EQ(r.responseCode, sim::rc::kSetToNearest);
    EXPECT_EQ(r.data, F(32.0f));
    EXPECT_EQ(t.state().damping, 32.0f);
}

TEST(CalibrationTest, ZeroMakesThePvReadZero) {
    sim::Transmitter t;
    EXPECT_EQ(t.Handle(43, {}, 1000).data.size(), 0u);
    EXPECT_NEAR(t.PvInUnit(1000), 0.0f, 1e-5f);
}

TEST(CalibrationTest, ApplyRangeHere) {
    sim::Transmitter t;
    t.Handle(37, {}, 0);  // lower value = 50, span 100 kept
    EXPECT_EQ(t.state().lowerRange, 50.0f);
    EXPECT_EQ(t.state().upperRange, 150.0f);
    t.state().processKpa = 80.0;
    t.Handle(36, {}, 0);
    EXPECT_EQ(t.state().upperRange, 80.0f);
}

TEST(CalibrationTest, SensorTrimPointsShowInCommand128) {
    sim::Transmitter t;
    EXPECT_EQ(t.Handle(131, Cat({{12}, F(49.0f)}), 0).data, Cat({{12}, F(49.0f)}));
    EXPECT_NEAR(t.PvInUnit(0), 49.0f, 1e-5f);
    // Upper point at the same pressure: too close to the lower one.
    EXPECT_EQ(t.Handle(130, Cat({{12}, F(60.0f)}), 0).responseCode, 9);
    t.state().processKpa = 100.0;  // PV now 99
    EXPECT_EQ(t.Handle(130, Cat({{12}, F(100.0f)}), 0).responseCode, 0);
    EXPECT_NEAR(t.PvInUnit(0), 100.0f, 1e-4f);
    t.state().processKpa = 50.0;  // the lower point holds
    EXPECT_NEAR(t.PvInUnit(0), 49.0f, 1e-4f);

    const sim::Reply r = t.Handle(128, {}, 0);
    ASSERT_EQ(r.data.size(), 22u);
    EXPECT_EQ(r.data[13], 12);
    EXPECT_FLOAT_EQ(DataFloat(r, 14), 100.0f);
    EXPECT_FLOAT_EQ(DataFloat(r, 18), 49.0f);
}

TEST(IdentityTest, VersionReplyLayout) {
    sim::Transmitter t;
    const Bytes code{0x4B, 0x4E, 0x20, 0x4A, 0x56, 0xA6};
    const sim::Reply r = t.Handle(172, code, 0);
    EXPECT_EQ(r.data, Cat({code, {'V', '1', '.', '0', '5', 0}}));
}

TEST(IdentityTest, AssemblyAndMessagePersist) {
    sim::Transmitter t;
    EXPECT_EQ(t.Handle(19, {0xFF, 0xFF, 0xFF}, 0).data, (Bytes{0xFF, 0xFF, 0xFF}));
    EXPECT_EQ(t.Handle(16, {}, 0).data, (Bytes{0xFF, 0xFF, 0xFF}));
    const Bytes message(24, 0x04);
    EXPECT_EQ(t.Handle(17, message, 0).data, message);
    EXPECT_EQ(t.Handle(12, {}, 0).data, message);
}

TEST(IdentityTest, SettingsPersistAndReadBack) {
    sim::Transmitter t;
    t.Handle(134, {2, 0}, 0);
    EXPECT_EQ(t.Handle(165, {}, 0).data, Bytes{2});
    t.Handle(135, {239, 0}, 0);
    t.Handle(47, {1}, 0);
    const sim::Reply r = t.Handle(15, {}, 0);
    EXPECT_EQ(r.data.at(0), 239);
    EXPECT_EQ(r.data.at(1), 1);
    EXPECT_NE(r.deviceStatus & sim::status::kConfigChanged, 0);
    EXPECT_EQ(t.Handle(38, {}, 0).deviceStatus & sim::status::kConfigChanged, 0);
    t.Handle(108, {3}, 0);
    EXPECT_EQ(t.state().burstCommand, 3);
}

TEST(PackedTextTest, KnownGroups) {
    EXPECT_EQ(sim::PackText("abcd", 4), (Bytes{0x04, 0x20, 0xC4}));
    EXPECT_EQ(sim::PackText("", 4), (Bytes{0x82, 0x08, 0x20}));
    EXPECT_EQ(sim::PackText("PT1", 8).size(), 6u);
    const Bytes zeros{0, 0, 0};
    EXPECT_EQ(sim::UnpackText(zeros.data(), 3), "@@@@");
    const Bytes packed = sim::PackText("PT1", 8);
    EXPECT_EQ(sim::UnpackText(packed.data(), packed.size()), "PT1     ");
}

}  // namespace
