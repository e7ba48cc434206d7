// The console lines of --commands: each answered once; a refused line
// changes nothing.
#include <gtest/gtest.h>

#include <tuple>

#include "sim/Console.h"
#include "sim/Responder.h"

namespace {

struct Row {
    const char* line;
    const char* answer;
    double kpa1, kpa2;  // applied pressure at addresses 1 and 2 after it
    bool wobble1, wobble2;
};

// Two multidropped transmitters at addresses 1 and 2, 50 kPa, the first
// wobbling, the second still.
// clang-format off
const Row kRows[] = {
    {"pressure 80", "ok", 80, 80, true, false},
    {"  pressure -12.5 2\r", "ok", 50, -12.5, true, false},
    {"wobble 0 1", "ok", 50, 50, false, false},
    {"wobble 1", "ok", 50, 50, true, true},
    {"pressure 80 3", "error: no transmitter at polling address 3", 50, 50, true, false},
    {"pressure 80 16", "error: bad polling address '16', not 0 to 15", 50, 50, true, false},
    {"pressure 1e6", "error: bad pressure '1e6', not kPa from -100000 to 100000", 50, 50, true, false},
    {"pressure nan", "error: bad pressure 'nan', not kPa from -100000 to 100000", 50, 50, true, false},
    {"pressure 80 1 2", "error: pressure takes KPA and an optional polling address", 50, 50, true, false},
    {"wobble", "error: wobble takes 0 or 1 and an optional polling address", 50, 50, true, false},
    {"wobble 2", "error: bad value '2', not 0 or 1", 50, 50, true, false},
    {"", "error: empty line", 50, 50, true, false},
    {"hold 1", "error: unknown command 'hold', not pressure or wobble", 50, 50, true, false},
};
// clang-format on

TEST(SimConsoleTest, LinesSetThePressureAndWobbleOfTheTransmittersTheyName)
{
    for (const Row& r : kRows) {
        SCOPED_TRACE(r.line);
        sim::ModemOptions options;
        options.multidrop = 2;
        sim::Responder line(options);
        line.Devices().at(1).State().wobble = false;
        EXPECT_EQ(sim::RunConsoleLine(r.line, line.Devices()), r.answer);
        const sim::TransmitterState &one = line.Devices().at(0).State(), &two = line.Devices().at(1).State();
        EXPECT_EQ(std::tie(one.processKpa, two.processKpa, one.wobble, two.wobble),
                  std::tie(r.kpa1, r.kpa2, r.wobble1, r.wobble2));
    }
    sim::ModemOptions steady;
    steady.steady = true;
    EXPECT_FALSE(sim::Responder(steady).Device().State().wobble);
}

}  // namespace
