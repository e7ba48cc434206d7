// Action scripts: parsing, checking before running, and the transcript, on the
// virtual clock with the simulated transmitter.
#include "tests/modules/Scenario.h"
#include "ui/script/ScriptLine.h"
#include "ui/script/ScriptRunner.h"

#include <sstream>

namespace {

struct VirtualScriptClock : ScriptClock {
    explicit VirtualScriptClock(VirtualClock& c) : clock(c) {}
    void SleepFor(long ms) override { clock.AdvanceBy(ms); }
    bool WaitUntil(const std::function<bool()>& done, long ms) override
    {
        return clock.AdvanceUntil(done, clock.Now() + ms);
    }
    VirtualClock& clock;
};

struct ScriptStage {
    HeadlessHost host;
    SimulatedLine line{host.clock, host.port};
    VirtualScriptClock clock{host.clock};
    std::ostringstream out;
    ScriptRunner runner{host.window, [this] { return host.dlg.IsOperationRunning(); }, clock, out};

    ScriptStage() { host.port.SetAvailablePorts({1}); }
    int Run(const std::string& script)
    {
        std::istringstream in(script);
        return runner.Run(in);
    }
};

}  // namespace

struct LineCase {
    std::string text;
    ScriptVerb verb;
    std::string target;
    std::string rest;
    long ms;
    bool good;
};

class ScriptLineTest : public testing::TestWithParam<LineCase> {};

TEST_P(ScriptLineTest, Parses)
{
    const LineCase& c = GetParam();
    const ScriptParse p = ParseScriptLine(c.text);
    EXPECT_EQ(p.error.empty(), c.good) << p.error;
    EXPECT_EQ(p.line.verb, c.verb);
    EXPECT_EQ(p.line.target, c.target);
    EXPECT_EQ(p.line.text, c.rest);
    EXPECT_EQ(p.line.ms.value_or(-1), c.ms);
}

INSTANTIATE_TEST_SUITE_P(Rows, ScriptLineTest,
                         testing::Values(LineCase{"  # a comment", ScriptVerb::None, "", "", -1, true},
                                         LineCase{"", ScriptVerb::None, "", "", -1, true},
                                         LineCase{"click HART Communication\r", ScriptVerb::Click, "HART Communication",
                                                  "", -1, true},
                                         LineCase{"type 1083 PT 101  ", ScriptVerb::Type, "1083", "PT 101", -1, true},
                                         LineCase{"type 1083 ", ScriptVerb::Type, "1083", "", -1, true},
                                         LineCase{"choose 1134 kg/cm2", ScriptVerb::Choose, "1134", "kg/cm2", -1, true},
                                         LineCase{"wait", ScriptVerb::Wait, "", "", 30000, true},
                                         LineCase{"wait 500", ScriptVerb::Wait, "", "", 500, true},
                                         LineCase{"sleep 20", ScriptVerb::Sleep, "", "", 20, true},
                                         LineCase{"sleep", ScriptVerb::None, "", "", -1, false},
                                         LineCase{"wait soon", ScriptVerb::None, "", "", -1, false},
                                         LineCase{"wait -5", ScriptVerb::None, "", "", -1, false},
                                         LineCase{"type Tag x", ScriptVerb::None, "", "", -1, false},
                                         LineCase{"show 1112 1113", ScriptVerb::None, "", "", -1, false},
                                         LineCase{"choose 1134", ScriptVerb::None, "", "", -1, false},
                                         LineCase{"press 1000", ScriptVerb::None, "", "", -1, false}));

TEST(ScriptRunner, ABadLineStopsTheScriptBeforeAnythingRuns)
{
    ScriptStage s;
    EXPECT_EQ(s.Run("click Search Com\nclick Read\nclick 4711\nfrobnicate\n"), 2);
    EXPECT_EQ(
        s.out.str(),
        "line 2: \"Read\" names 10 controls (1132, 1135, 1138, 1086, 1143, 1146, 1123, 1126, 1129, 1149): use the id\n"
        "line 3: no button with id 4711\n"
        "line 4: unknown action 'frobnicate'\n");
    EXPECT_EQ(s.host.window.ComboGetCount(IDC_PORT_LIST), 0) << "Search Com did not run";
}

TEST(ScriptRunner, ConnectTranscriptWithShowAndExpect)
{
    ScriptStage s;
    const int status = s.Run("click Search Com\n"
                             "choose 1006 COM1\n"
                             "click Open Com\n"
                             "click HART Communication\n"
                             "wait\n"
                             "show 1112\n"
                             "show 1125\n"
                             "expect 1094 kPa\n");
    EXPECT_EQ(status, 0) << s.out.str();
    std::istringstream lines(s.out.str());
    std::vector<std::string> got;
    for (std::string l; std::getline(lines, l);)
        got.push_back(l);
    ASSERT_EQ(got.size(), 8u);
    EXPECT_EQ(got[0], "log: 0280000082");
    EXPECT_EQ(got[6], "show 1112: text=\"Fenmarks\" enabled=1 check=0 sel=-1");
    EXPECT_EQ(got[7], "show 1125: text=\"High Alarm\" enabled=1 check=0 sel=0");
}

TEST(ScriptRunner, DisabledClickSaysSoAndGoesOn)
{
    ScriptStage s;
    EXPECT_EQ(s.Run("click HART Communication\nshow 1003\n"), 0);
    EXPECT_EQ(s.out.str(), "line 1: click 1003: the control is disabled\n"
                           "show 1003: text=\"HART Communication\" enabled=0 check=0 sel=-1\n");
    EXPECT_TRUE(s.host.port.Writes().empty());
}

TEST(ScriptRunner, FailedExpectStopsTheRun)
{
    ScriptStage s;
    EXPECT_EQ(s.Run("expect 1001 Close Com\nclick Search Com\n"), 1);
    EXPECT_EQ(s.out.str(), "line 1: expect 1001: wanted \"Close Com\", found \"Open Com\"\n");
    EXPECT_EQ(s.host.window.ComboGetCount(IDC_PORT_LIST), 0);
}

TEST(ScriptRunner, WaitThatRunsOutSaysSo)
{
    ScriptStage s;
    s.line.modem().AddFault(sim::FaultRule{sim::FaultKind::kNoAnswer, sim::kAllCommands, -1, -1});
    EXPECT_EQ(s.Run("click Search Com\nclick Open Com\nclick HART Communication\nwait 100\n"), 0);
    EXPECT_NE(s.out.str().find("line 4: wait: still running after 100 ms\n"), std::string::npos) << s.out.str();
}

TEST(ScriptRunner, TypeAppliesTheTextLimitAndChooseTakesAnIndex)
{
    ScriptStage s;
    s.host.window.Enable(IDC_TAG, true);
    s.host.window.Enable(IDC_UNIT_LIST, true);
    EXPECT_EQ(s.Run("type 1083 a long tag text\nexpect 1083 a long t\nchoose 1134 14\nexpect 1134 MPa\n"
                    "choose 1134 nonsense\n"),
              0);
    EXPECT_EQ(s.out.str(), "line 5: choose 1134: no entry 'nonsense' to choose now\n");
}
