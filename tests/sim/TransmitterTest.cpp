// The transmitter's own rules: refusals, range and output behaviour, trims.
#include <gtest/gtest.h>

#include <set>
#include <tuple>
#include <utility>

#include "sim/Transmitter.h"
#include "sim/Wire.h"

namespace {

using Bytes = std::vector<std::uint8_t>;
using sim::status::kCurrentFixed;
using sim::status::kCurrentSaturated;

// A float as it goes on the wire, most significant byte first (the frames of
// the modem test pin the encoding), and back.
Bytes F(float v)
{
    Bytes b;
    sim::AppendFloat(b, v);
    return b;
}
Bytes Cat(std::initializer_list<Bytes> parts)
{
    Bytes all;
    for (const Bytes& p : parts)
        all.insert(all.end(), p.begin(), p.end());
    return all;
}

float FloatAt(const sim::Reply& r, std::size_t at) { return sim::ReadFloat(&r.data.at(at + 3) - 3); }

struct Write {
    std::uint8_t command;  // and its request data
    Bytes data;
};

// A refusal carries no data and changes nothing. Write protection refuses
// the configuration writes with code 7, which a writable device takes.
TEST(RefusalTest, RefusedWithCodeNoDataAndNoChange)
{
    constexpr std::uint8_t kProtected = sim::rc::kWriteProtected;
    // clang-format off
    const std::pair<Write, std::uint8_t> refusals[] = {  // request, response code
        {{6, {16}}, 2}, {{44, {0}}, 2}, {{44, {32}}, 2}, {{47, {2}}, 2}, {{108, {4}}, 2}, {{109, {2}}, 2},
        {{134, {3, 0}}, 2}, {{135, {2, 0}}, 2}, {{192, {2, 0}}, 2},
        {{18, Cat({Bytes(18, 0x82), {31, 13, 113}})}, 9},  // month 13
        {{18, Cat({Bytes(18, 0x82), {0, 12, 113}})}, 9},   // day 0
        {{35, Cat({{12}, F(250.0f), F(0.0f)})}, 11},       // upper above the sensor
        {{35, Cat({{12}, F(100.0f), F(-150.0f)})}, 10},    // lower below the sensor
        {{35, Cat({{12}, F(10.0f), F(10.0f)})}, 29},       // no span
        {{35, Cat({{99}, F(10.0f), F(0.0f)})}, 2},         // unknown unit
        {{40, F(3.0f)}, 4}, {{40, F(23.0f)}, 3}, {{45, F(5.5f)}, 3}, {{46, F(18.0f)}, 4}, {{131, Cat({{12}, F(300.0f)})}, 3},
        {{172, {0x4B, 0x4E, 0x20, 0x4A, 0x56, 0x00}}, 16},  // wrong access code
        {{34, {0x40, 0x00}}, 5}, {{18, Bytes(20, 0)}, 5},   // too few bytes
        {{4, {}}, 64},                                      // no such command
        {{6, {3}}, kProtected}, {{18, Cat({Bytes(18, 0x82), {1, 1, 100}})}, kProtected}, {{34, F(1.0f)}, kProtected},
        {{35, Cat({{12}, F(80.0f), F(0.0f)})}, kProtected}, {{44, {6}}, kProtected}, {{131, Cat({{12}, F(49.0f)})}, kProtected},
    };
    // clang-format on
    for (const auto& [request, code] : refusals) {
        SCOPED_TRACE("command " + std::to_string(request.command));
        sim::Transmitter t, writable;
        t.State().writeProtected = code == kProtected;
        const sim::Reply r = t.Handle(request.command, request.data, 0);
        EXPECT_EQ(r.responseCode, code);
        EXPECT_TRUE(r.data.empty());
        EXPECT_EQ(r.deviceStatus & sim::status::kConfigChanged, 0);
        EXPECT_EQ(t.State().identity.pollingAddress, 0);
        EXPECT_EQ(t.State().upperRange, 100.0f);
        EXPECT_EQ(t.State().date, (Bytes{15, 1, 124}));
        if (code == kProtected) {
            EXPECT_EQ(writable.Handle(request.command, request.data, 0).responseCode, sim::rc::kOk);
        }
    }
    // Reads, output commands and unprotecting still work while protected.
    sim::Transmitter t;
    t.Handle(192, {1, 0}, 0);
    for (const Write& w : {Write{1, {}}, Write{40, F(12.0f)}, Write{109, {1}}, Write{192, {0, 0}}, Write{34, F(1.0f)}})
        EXPECT_EQ(t.Handle(w.command, w.data, 0).responseCode, sim::rc::kOk) << int{w.command};
}

// A read after writes, PV 50 kPa at time 0: floats and bytes at data
// positions, and device status bits.
TEST(ReadBackTest, ReadsShowWhatWasWritten)
{
    using Floats = std::vector<std::pair<std::size_t, float>>;
    using Codes = std::vector<std::pair<std::size_t, int>>;
    constexpr std::uint8_t kFixed = kCurrentFixed, kSaturated = kCurrentSaturated,
                           kChanged = sim::status::kConfigChanged;
    struct ReadCase {
        const char* name;
        std::vector<Write> writes;
        std::uint8_t read;
        Floats floats;
        Codes codes;
        std::uint8_t statusMask, status;
    };
    // clang-format off
    const ReadCase cases[] = {
        {"RangeTo200", {{35, Cat({{12}, F(200.0f), F(0.0f)})}}, 2, {{0, 8.0f}, {4, 25.0f}}, {}, kFixed | kSaturated, 0},
        {"SquareRoot", {{47, {1}}}, 2, {{0, 15.3137f}, {4, 70.7107f}}, {}, kFixed | kSaturated, 0},  // 100 * sqrt(0.5)
        {"Fixed", {{40, F(12.5f)}}, 2, {{0, 12.5f}, {4, 50.0f}}, {}, kFixed | kSaturated, kFixed},
        {"FixedReleased", {{40, F(12.5f)}, {40, F(0.0f)}}, 2, {{0, 12.0f}, {4, 50.0f}}, {}, kFixed | kSaturated, 0},
        {"MultidropParked", {{6, {4}}}, 2, {{0, 4.0f}, {4, 50.0f}}, {}, kFixed | kSaturated, kFixed},
        {"Saturated", {{35, Cat({{12}, F(40.0f), F(0.0f)})}}, 2, {{0, 20.5f}, {4, 125.0f}}, {}, kFixed | kSaturated, kSaturated},
        {"UnitPsiKeepsPercent", {{44, {6}}}, 2, {{0, 12.0f}, {4, 50.0f}}, {}, kFixed | kSaturated, 0},
        {"UnitPsiConvertsPv", {{44, {6}}}, 1, {{1, 7.25189f}}, {{0, 6}}, 0, 0},  // 1 psi = 6.894757 kPa
        {"UnitPsiConvertsRange", {{44, {6}}}, 15, {{3, 14.50377f}}, {{2, 6}}, 0, 0},
        {"AlarmAndTransferFunction", {{135, {239, 0}}, {47, {1}}}, 15, {}, {{0, 239}, {1, 1}}, kChanged, kChanged},
        {"ChangedFlagClearedBy38", {{47, {1}}, {38, {}}}, 15, {}, {}, kChanged, 0},
        {"BurstConfig", {{108, {3}}, {109, {1}}}, 105, {}, {{0, 1}, {1, 3}}, 0, 0},
        {"SensorTrimPoints", {{131, Cat({{12}, F(49.0f)})}}, 128, {{14, 200.0f}, {18, 49.0f}}, {{13, 12}}, 0, 0},
    };
    // clang-format on
    for (const ReadCase& c : cases) {
        SCOPED_TRACE(c.name);
        sim::Transmitter t;
        for (const Write& w : c.writes)
            t.Handle(w.command, w.data, 0);
        const sim::Reply r = t.Handle(c.read, {}, 0);
        for (const auto& [at, value] : c.floats)
            EXPECT_NEAR(FloatAt(r, at), value, 1e-3f) << at;
        for (const auto& [at, value] : c.codes)
            EXPECT_EQ(r.data.at(at), value) << at;
        EXPECT_EQ(r.deviceStatus & c.statusMask, c.status);
    }
}

TEST(OutputRulesTest, WarningsCarryDataAndTakeEffectFixingRefusedInMultidrop)
{
    sim::Transmitter t;
    const Bytes span = Cat({{12}, F(51.0f), F(50.0f)});
    const sim::Reply small = t.Handle(35, span, 0), damping = t.Handle(34, F(40.0f), 0);
    EXPECT_EQ(std::tie(small.responseCode, small.data), std::tie(sim::rc::kSpanTooSmall, span));
    EXPECT_EQ(std::tie(damping.responseCode, damping.data), std::make_tuple(sim::rc::kSetToNearest, F(32.0f)));
    EXPECT_EQ(std::tie(t.State().upperRange, t.State().damping), std::make_tuple(51.0f, 32.0f));
    t.Handle(6, {4}, 0);
    EXPECT_EQ(t.Handle(40, F(12.0f), 0).responseCode, 11);
}

TEST(ProcessTest, PvWobblesALittleAsAFunctionOfTime)
{
    sim::Transmitter t;
    EXPECT_EQ(t.PvInUnit(0), 50.0f);
    std::set<float> seen;
    for (std::uint64_t ms = 500; ms <= 12000; ms += 500) {
        EXPECT_NEAR(t.PvInUnit(ms), 50.0f, 0.25f);
        EXPECT_EQ(t.PvInUnit(ms), t.PvInUnit(ms));  // no randomness
        seen.insert(t.PvInUnit(ms));
    }
    EXPECT_GT(seen.size(), 1u) << "it moves";
}

TEST(CalibrationTest, RangeHereZeroAndSensorTrimPointsShowInCommand128)
{
    sim::Transmitter z;
    z.Handle(37, {}, 0);  // lower value = 50, span 100 kept
    EXPECT_EQ(z.State().lowerRange, 50.0f);
    EXPECT_EQ(z.State().upperRange, 150.0f);
    z.State().processKpa = 80.0;
    z.Handle(36, {}, 0);
    EXPECT_EQ(z.State().upperRange, 80.0f);
    EXPECT_EQ(z.Handle(43, {}, 1000).data.size(), 0u);
    EXPECT_NEAR(z.PvInUnit(1000), 0.0f, 1e-5f);
    sim::Transmitter t;
    EXPECT_EQ(t.Handle(131, Cat({{12}, F(49.0f)}), 0).data, Cat({{12}, F(49.0f)}));
    EXPECT_NEAR(t.PvInUnit(0), 49.0f, 1e-5f);
    // Upper point at the same pressure: too close to the lower one.
    EXPECT_EQ(t.Handle(130, Cat({{12}, F(60.0f)}), 0).responseCode, 9);
    t.State().processKpa = 100.0;  // PV now 99
    EXPECT_EQ(t.Handle(130, Cat({{12}, F(100.0f)}), 0).responseCode, 0);
    EXPECT_NEAR(t.PvInUnit(0), 100.0f, 1e-4f);
    t.State().processKpa = 50.0;  // the lower point holds
    EXPECT_NEAR(t.PvInUnit(0), 49.0f, 1e-4f);
    EXPECT_FLOAT_EQ(FloatAt(t.Handle(128, {}, 0), 14), 100.0f);
}

// A gain error (and an offset) shows in the PV until a lower trim at the lower
// range value and an upper trim at the upper one, in either order, mend it.
TEST(TransmitterTrimTest, TwoTrimsMendASensorGainErrorInEitherOrder)
{
    // Error %, offset kPa, lower trim first.
    const std::tuple<const char*, double, double, bool> rows[] = {{"High5LowerFirst", 5.0, 0.0, true},
                                                                  {"Low3OffsetLowerFirst", -3.0, 1.5, true},
                                                                  {"High8OffsetUpperFirst", 8.0, -2.0, false}};
    for (const auto& [name, errorPct, offsetKpa, lowerFirst] : rows) {
        SCOPED_TRACE(name);
        sim::Transmitter t;
        sim::TransmitterState& s = t.State();
        std::tie(s.wobble, s.sensorErrorPct, s.trimOffsetKpa, s.processKpa) =
            std::make_tuple(false, errorPct, offsetKpa, 120.0);
        t.Handle(35, Cat({{12}, F(180.0f), F(20.0f)}), 0);
        EXPECT_NEAR(t.PvKpa(1000), 120.0 * (1.0 + errorPct / 100.0) + offsetKpa, 1e-9);
        const auto trim = [&t, &s](std::uint8_t command, float kpa) {
            s.processKpa = kpa;
            EXPECT_EQ(t.Handle(command, Cat({{12}, F(kpa)}), 0).responseCode, 0);
        };
        trim(lowerFirst ? 131 : 130, lowerFirst ? 20.0f : 180.0f);
        trim(lowerFirst ? 130 : 131, lowerFirst ? 180.0f : 20.0f);
        for (const float kpa : {-50.0f, 20.0f, 75.0f, 180.0f, 195.0f}) {
            s.processKpa = kpa;
            EXPECT_EQ(t.PvInUnit(2500), kpa);
        }
    }
}

}  // namespace
