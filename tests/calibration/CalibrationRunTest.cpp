// Calibration runs on the virtual clock against the simulated transmitter:
// errors worked out by hand, a run that fails mid-way, and the refusal of a
// transfer function the error formula does not hold for.
#include "calibration/CalibrationFile.h"
#include "calibration/CalibrationProcedure.h"
#include "tests/modules/Scenario.h"

namespace {

// Connected, with a steady sensor.
struct CalScenario : Scenario {
    CalibrationProcedure& cal = dlg.Calibration();
    CalScenario(float lower, float upper)
    {
        device().lowerRange = lower;
        device().upperRange = upper;
        device().wobble = false;
        Connect();
    }
    std::string Start(RunOptions options = {}, const std::string& kind = "as-found")
    {
        const std::string refused = cal.Start(kind, options, "2026-12-07", "2026-12-07 09:00:00");
        RunUntilRest();
        return refused.empty() ? cal.LastFailure() : refused;
    }
    // The sensor at kpa, the reference reading ref: the point as judged.
    CalPoint Point(double kpa, double ref)
    {
        device().processKpa = kpa;
        EXPECT_EQ(cal.RecordPoint(ref), "");
        const std::size_t at = *cal.NextPoint();
        RunUntilRest();
        return cal.CurrentRun()->points[at];
    }
};

}  // namespace

// Errors in percent of span: PV (PV - ref) / span; current (mA - (4 + 16 (ref -
// LRV) / span)) / 16. An offset of 0.2 kPa on a 100 kPa span is 0.2 % on both.
TEST(CalibrationRun, ErrorsInPercentOfSpanWorkedOutByHand)
{
    const struct {
        const char* name;
        float lower, upper;
        double trimOffsetKpa, kpa, ref;
        float outputMa;  // 0: the output follows the PV
        double pvError, maError;
        bool pass;
    } rows[] = {
        {"NoError", 0, 100, 0, 50, 50, 0, 0, 0, true},
        {"PvOffsetOutOfTolerance", 0, 100, 0.3, 50, 50, 0, 0.3, 0.3, false},
        {"ReferenceAboveTheSensor", 0, 100, 0, 75, 75.1, 0, -0.1, -0.1, true},
        {"NegativeLowerRange", -50, 50, 0.1, -25, -25, 0, 0.1, 0.1, true},
        {"NegativeLowerRangeAtZero", -50, 50, 0, 0, 0.3, 0, -0.3, -0.3, false},
        // 12.1 mA where 12 belongs: 0.1 / 16 of the output span.
        {"CurrentAloneOff", 0, 100, 0, 50, 50, 12.1f, 0, 0.625, false},
    };
    for (const auto& row : rows) {
        CalScenario s(row.lower, row.upper);
        s.device().trimOffsetKpa = row.trimOffsetKpa;
        s.device().fixedCurrentMa = row.outputMa;
        ASSERT_EQ(s.Start({{50}, false, 0.25, 2}), "") << row.name;
        const CalPoint p = s.Point(row.kpa, row.ref);
        EXPECT_NEAR(p.pvErrorPct, row.pvError, 1e-4) << row.name;
        EXPECT_NEAR(p.maErrorPct, row.maError, 1e-3) << row.name;
        EXPECT_EQ(p.pass, row.pass) << row.name;
    }
}

// Up, then the same points down: hysteresis shows as errors of the way down.
TEST(CalibrationRun, UpdownJudgesTheWayDownOnItsOwn)
{
    CalScenario s(0, 100);
    ASSERT_EQ(s.Start({{0, 50, 100}, true, 0.25, 1}), "");
    ASSERT_EQ(s.cal.CurrentRun()->points.size(), 5u);
    for (double pct : {0.0, 50.0, 100.0})
        EXPECT_TRUE(s.Point(pct, pct).pass) << pct;
    s.device().trimOffsetKpa = 0.3;  // the way down reads high
    const CalPoint down = s.Point(50, 50);
    EXPECT_TRUE(down.down);
    EXPECT_NEAR(down.pvErrorPct, 0.3, 1e-4);
    EXPECT_FALSE(down.pass);
    EXPECT_EQ(s.cal.SkipPoint(), "");
    EXPECT_EQ(s.cal.EndRun(), "");
    EXPECT_FALSE(s.cal.CurrentRun()->Passed());
    EXPECT_EQ(s.cal.CurrentRun()->DoneCount(), 4);
}

// A point whose reads fail ends the run; what was read stays, in the file too.
TEST(CalibrationRun, AFailureMidRunKeepsThePointsDoneAndSaysWhichFailed)
{
    CalScenario s(0, 100);
    std::vector<std::string> events;
    s.cal.onChange = [&](const std::string& e) { events.push_back(e); };
    ASSERT_EQ(s.Start({{0, 50, 100}, false, 0.25, 1}), "");
    s.Point(0, 0);
    s.Fault(F::kNoAnswer, 2);
    const std::size_t mark = s.LogHistory().size();
    s.device().processKpa = 50;
    ASSERT_EQ(s.cal.RecordPoint(50), "");
    s.RunUntilRest();
    const CalRun& run = *s.cal.CurrentRun();
    EXPECT_EQ(s.cal.LastFailure(), "point 50 %: no answer to command 2");
    EXPECT_EQ(run.points[0].state, CalPoint::State::Done);
    EXPECT_EQ(run.points[1].state, CalPoint::State::Failed);
    EXPECT_TRUE(run.ended);
    EXPECT_EQ(s.MessagesFrom(mark), Log{"Communication fail!"});
    EXPECT_EQ(events, (std::vector<std::string>{"device", "point", "failure"}));
    const auto filed = CalibrationFromJson(ToJson(s.cal.Record()));
    ASSERT_TRUE(std::holds_alternative<Calibration>(filed));
    EXPECT_EQ(std::get<Calibration>(filed).asFound->failure, run.failure);
}

TEST(CalibrationRun, ASquareRootTransferFunctionIsRefused)
{
    CalScenario s(0, 100);
    s.device().transferFunction = 1;
    EXPECT_EQ(s.Start(), "the transfer function is square root: errors in percent of span hold for a linear one only");
    EXPECT_EQ(s.cal.CurrentRun(), nullptr);
    EXPECT_TRUE(s.window.IsEnabled(IDC_HART_COMM)) << "the window is given back";
}

// One calibration a device and day: the as-left run joins the as-found one.
TEST(CalibrationRun, AsLeftJoinsTheAsFoundOfTheSameDay)
{
    CalScenario s(0, 100);
    s.cal.Record().technician = "A. Tester";
    ASSERT_EQ(s.Start({{50}, false, 0.25, 1}), "");
    s.Point(50, 50);
    ASSERT_EQ(s.Start({{50}, false, 0.25, 1}, "as-left"), "");
    s.Point(50, 50);
    const Calibration& c = s.cal.Record();
    EXPECT_TRUE(c.asFound && c.asLeft);
    EXPECT_EQ(c.technician, "A. Tester");
    EXPECT_EQ(FileNameOf(c), "PT-101_66051_2026-12-07.json");
}
