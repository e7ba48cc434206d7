// The transmitter's own rules: refusals, range and output behaviour, trims.
#include <gtest/gtest.h>

#include <bit>
#include <utility>

#include "sim/Transmitter.h"

namespace {

using Bytes = std::vector<std::uint8_t>;
using sim::status::kCurrentFixed;
using sim::status::kCurrentSaturated;

Bytes F(float v)
{
    const auto bits = std::bit_cast<std::uint32_t>(v);
    return {static_cast<std::uint8_t>(bits >> 24), static_cast<std::uint8_t>(bits >> 16),
            static_cast<std::uint8_t>(bits >> 8), static_cast<std::uint8_t>(bits)};
}

Bytes Cat(std::initializer_list<Bytes> parts)
{
    Bytes all;
    for (const Bytes& p : parts)
        all.insert(all.end(), p.begin(), p.end());
    return all;
}

// Big-endian float at a position of the reply data.
float FloatAt(const sim::Reply& r, std::size_t at)
{
    std::uint32_t bits = 0;
    for (std::size_t i = 0; i < 4; ++i)
        bits = (bits << 8) | r.data.at(at + i);
    return std::bit_cast<float>(bits);
}

struct Write {
    std::uint8_t command;
    Bytes data;
};

TEST(RefusalTest, RefusedWithCodeNoDataAndNoChange)
{
    const std::pair<Write, std::uint8_t> refusals[] = {
        // request, response code
        {{6, {16}}, 2},
        {{44, {0}}, 2},
        {{44, {32}}, 2},
        {{47, {2}}, 2},
        {{108, {4}}, 2},
        {{109, {2}}, 2},
        {{134, {3, 0}}, 2},
        {{135, {2, 0}}, 2},
        {{192, {2, 0}}, 2},
        {{18, Cat({Bytes(18, 0x82), {31, 13, 113}})}, 9},  // month 13
        {{18, Cat({Bytes(18, 0x82), {0, 12, 113}})}, 9},   // day 0
        {{35, Cat({{12}, F(250.0f), F(0.0f)})}, 11},       // upper above the sensor
        {{35, Cat({{12}, F(100.0f), F(-150.0f)})}, 10},    // lower below the sensor
        {{35, Cat({{12}, F(10.0f), F(10.0f)})}, 29},       // no span
        {{35, Cat({{99}, F(10.0f), F(0.0f)})}, 2},         // unknown unit
        {{40, F(3.0f)}, 4},
        {{40, F(23.0f)}, 3},
        {{45, F(5.5f)}, 3},
        {{46, F(18.0f)}, 4},
        {{131, Cat({{12}, F(300.0f)})}, 3},
        {{172, {0x4B, 0x4E, 0x20, 0x4A, 0x56, 0x00}}, 16},  // wrong access code
        {{34, {0x40, 0x00}}, 5},
        {{18, Bytes(20, 0)}, 5},
        {{4, {}}, 64},
    };
    for (const auto& [request, code] : refusals) {
        SCOPED_TRACE("command " + std::to_string(request.command));
        sim::Transmitter t;
        const sim::Reply r = t.Handle(request.command, request.data, 0);
        EXPECT_EQ(r.responseCode, code);
        EXPECT_TRUE(r.data.empty());
        EXPECT_EQ(r.deviceStatus & sim::status::kConfigChanged, 0);
        EXPECT_EQ(t.state().identity.pollingAddress, 0);
        EXPECT_EQ(t.state().upperRange, 100.0f);
        EXPECT_EQ(t.state().date, (Bytes{15, 1, 124}));
    }
}

TEST(WriteProtectionTest, OnlyConfigWritesRefusedWithCode7WhileProtected)
{
    const Write writes[] = {
        {6, {3}},
        {17, Bytes(24, 0x82)},
        {18, Cat({Bytes(18, 0x82), {1, 1, 100}})},
        {19, {0, 0, 1}},
        {34, F(1.0f)},
        {35, Cat({{12}, F(80.0f), F(0.0f)})},
        {36, {}},
        {37, {}},
        {43, {}},
        {44, {6}},
        {45, F(4.0f)},
        {46, F(20.0f)},
        {47, {1}},
        {108, {2}},
        {130, Cat({{12}, F(50.0f)})},
        {131, Cat({{12}, F(49.0f)})},
        {134, {1, 0}},
        {135, {1, 0}},
    };
    for (const Write& w : writes) {
        SCOPED_TRACE("command " + std::to_string(w.command));
        sim::Transmitter t;
        EXPECT_EQ(t.Handle(w.command, w.data, 0).responseCode, sim::rc::kOk);
        sim::Transmitter locked;
        locked.Handle(192, {1, 0}, 0);
        const sim::Reply r = locked.Handle(w.command, w.data, 0);
        EXPECT_EQ(r.responseCode, sim::rc::kWriteProtected);
        EXPECT_TRUE(r.data.empty());
    }
    // Reads, output commands and unprotecting still work.
    sim::Transmitter t;
    t.Handle(192, {1, 0}, 0);
    EXPECT_EQ(t.Handle(1, {}, 0).responseCode, sim::rc::kOk);
    EXPECT_EQ(t.Handle(40, F(12.0f), 0).responseCode, sim::rc::kOk);
    EXPECT_EQ(t.Handle(109, {1}, 0).responseCode, sim::rc::kOk);
    EXPECT_EQ(t.Handle(192, {0, 0}, 0).data, Bytes{0});
    EXPECT_EQ(t.Handle(34, F(1.0f), 0).responseCode, sim::rc::kOk);
}

TEST(OutputTest, CurrentPercentAndStatusAfterWrites)
{
    struct OutputCase {
        const char* name;
        std::vector<Write> writes;
        float currentMa;
        float percent;
        std::uint8_t outputStatus;  // current fixed and saturated bits
    };
    // Command 2 after the writes, PV 50 kPa at time 0.
    const OutputCase cases[] = {
        {"RangeTo200", {{35, Cat({{12}, F(200.0f), F(0.0f)})}}, 8.0f, 25.0f, 0},
        {"SquareRoot", {{47, {1}}}, 15.3137f, 70.7107f, 0},  // 100 * sqrt(0.5)
        {"Fixed", {{40, F(12.5f)}}, 12.5f, 50.0f, kCurrentFixed},
        {"FixedReleased", {{40, F(12.5f)}, {40, F(0.0f)}}, 12.0f, 50.0f, 0},
        {"MultidropParked", {{6, {4}}}, 4.0f, 50.0f, kCurrentFixed},
        {"Saturated", {{35, Cat({{12}, F(40.0f), F(0.0f)})}}, 20.5f, 125.0f, kCurrentSaturated},
        {"UnitPsiKeepsPercent", {{44, {6}}}, 12.0f, 50.0f, 0},
    };
    for (const OutputCase& c : cases) {
        SCOPED_TRACE(c.name);
        sim::Transmitter t;
        for (const Write& w : c.writes)
            t.Handle(w.command, w.data, 0);
        const sim::Reply r = t.Handle(2, {}, 0);
        EXPECT_NEAR(FloatAt(r, 0), c.currentMa, 1e-3f);
        EXPECT_NEAR(FloatAt(r, 4), c.percent, 1e-3f);
        EXPECT_EQ(r.deviceStatus & (kCurrentFixed | kCurrentSaturated), c.outputStatus);
    }
}

TEST(OutputRulesTest, WarningsCarryDataAndTakeEffectFixingRefusedInMultidrop)
{
    sim::Transmitter t;
    const Bytes span = Cat({{12}, F(51.0f), F(50.0f)});
    const sim::Reply small = t.Handle(35, span, 0);
    EXPECT_EQ(small.responseCode, sim::rc::kSpanTooSmall);
    EXPECT_EQ(small.data, span);
    EXPECT_EQ(t.state().upperRange, 51.0f);
    const sim::Reply damping = t.Handle(34, F(40.0f), 0);
    EXPECT_EQ(damping.responseCode, sim::rc::kSetToNearest);
    EXPECT_EQ(damping.data, F(32.0f));
    EXPECT_EQ(t.state().damping, 32.0f);
    t.Handle(6, {4}, 0);
    EXPECT_EQ(t.Handle(40, F(12.0f), 0).responseCode, 11);
}

TEST(ProcessTest, PvWobblesALittleAsAFunctionOfTime)
{
    sim::Transmitter t;
    EXPECT_EQ(t.PvInUnit(0), 50.0f);
    bool moved = false;
    for (std::uint64_t ms = 500; ms <= 12000; ms += 500) {
        EXPECT_NEAR(t.PvInUnit(ms), 50.0f, 0.25f);
        EXPECT_EQ(t.PvInUnit(ms), t.PvInUnit(ms));  // no randomness
        moved = moved || t.PvInUnit(ms) != 50.0f;
    }
    EXPECT_TRUE(moved);
}

TEST(ProcessTest, UnitWriteConvertsPvAndRange)
{
    sim::Transmitter t;
    t.Handle(44, {6}, 0);  // psi: 1 psi = 6.894757 kPa
    const sim::Reply pv = t.Handle(1, {}, 0);
    EXPECT_EQ(pv.data.at(0), 6);
    EXPECT_NEAR(FloatAt(pv, 1), 7.25189f, 1e-4f);
    const sim::Reply range = t.Handle(15, {}, 0);
    EXPECT_EQ(range.data.at(2), 6);
    EXPECT_NEAR(FloatAt(range, 3), 14.50377f, 1e-4f);
}

TEST(CalibrationTest, ZeroAndRangeHere)
{
    sim::Transmitter t;
    t.Handle(37, {}, 0);  // lower value = 50, span 100 kept
    EXPECT_EQ(t.state().lowerRange, 50.0f);
    EXPECT_EQ(t.state().upperRange, 150.0f);
    t.state().processKpa = 80.0;
    t.Handle(36, {}, 0);
    EXPECT_EQ(t.state().upperRange, 80.0f);
    EXPECT_EQ(t.Handle(43, {}, 1000).data.size(), 0u);
    EXPECT_NEAR(t.PvInUnit(1000), 0.0f, 1e-5f);
}

TEST(CalibrationTest, SensorTrimPointsShowInCommand128)
{
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
    EXPECT_FLOAT_EQ(FloatAt(r, 14), 100.0f);
    EXPECT_FLOAT_EQ(FloatAt(r, 18), 49.0f);
}

TEST(IdentityTest, SettingsPersistAndReadBack)
{
    sim::Transmitter t;
    const Bytes code{0x4B, 0x4E, 0x20, 0x4A, 0x56, 0xA6};
    EXPECT_EQ(t.Handle(172, code, 0).data, Cat({code, {'V', '1', '.', '0', '5', 0}}));
    EXPECT_EQ(t.Handle(19, {0xFF, 0xFF, 0xFF}, 0).data, (Bytes{0xFF, 0xFF, 0xFF}));
    EXPECT_EQ(t.Handle(16, {}, 0).data, (Bytes{0xFF, 0xFF, 0xFF}));
    const Bytes message(24, 0x04);
    EXPECT_EQ(t.Handle(17, message, 0).data, message);
    EXPECT_EQ(t.Handle(12, {}, 0).data, message);
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

TEST(PackedTextTest, KnownGroups)
{
    EXPECT_EQ(sim::PackText("abcd", 4), (Bytes{0x04, 0x20, 0xC4}));
    EXPECT_EQ(sim::PackText("", 4), (Bytes{0x82, 0x08, 0x20}));
    const Bytes zeros{0, 0, 0};
    EXPECT_EQ(sim::UnpackText(zeros.data(), 3), "@@@@");
    const Bytes packed = sim::PackText("PT1", 8);
    ASSERT_EQ(packed.size(), 6u);
    EXPECT_EQ(sim::UnpackText(packed.data(), packed.size()), "PT1     ");
}

}  // namespace
