// Action scripts: parsing, checking before running, and the transcript.
#include "dialog/ControlIds.h"
#include "ui/headless/HeadlessHost.h"
#include "ui/headless/SimulatedLine.h"
#include "ui/script/ScriptLine.h"
#include "ui/script/ScriptRunner.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

TEST(ScriptLine, ReadsVerbTargetTextAndTimeOrRefusesTheLine)
{
    const struct {
        const char *name, *text, *parsed;  // parsed: verb|target|text|ms, or "error"
    } rows[] = {
        {"CommentOrBlank", "  # a comment", "None|||"},
        {"ClickCaptionInACrLfFile", "click HART Communication\r", "Click|HART Communication||"},
        {"TypeKeepsInnerBlanks", "type 1083 PT 101  ", "Type|1083|PT 101|"},
        {"TypeNothing", "type 1083 ", "Type|1083||"},
        {"WaitDefault", "wait", "Wait|||30000"},
        {"SleepNeedsItsTime", "sleep", "error"},
        {"WaitTimeNotANumber", "wait -5", "error"},
        {"TypeNeedsAnId", "type Tag x", "error"},
        {"ShowOneIdOnly", "show 1112 1113", "error"},
        {"ChooseNeedsAnEntry", "choose 1134", "error"},
        {"SleepLongestATimerTakes", "sleep 2147483647", "Sleep|||2147483647"},
        {"WaitBeyondATimer", "wait 2147483648", "error"},
    };
    const char* verbs[] = {"None", "Click", "Type", "Choose", "Wait", "Sleep", "Show", "Expect"};
    for (const auto& row : rows) {
        const ScriptParse p = ParseScriptLine(row.text);
        const std::string ms = p.line.ms ? std::to_string(*p.line.ms) : "";
        const std::string parsed = verbs[int(p.line.verb)] + ("|" + p.line.target + "|" + p.line.text + "|" + ms);
        EXPECT_EQ(p.error.empty() ? parsed : "error", row.parsed) << row.name;
    }
}

// The window on the virtual clock, the simulated transmitter on COM1.
struct ScriptStage : testing::Test, ScriptClock {
    bool WaitUntil(const std::function<bool()>& f, long ms) override { return clock.AdvanceUntil(f, clock.Now() + ms); }
    int Run(const std::string& script) { return runner.Run(in = std::istringstream(script)); }

    HeadlessHost host;
    VirtualClock& clock = host.clock;
    SimulatedLine line{host.clock, host.port};
    std::istringstream in;
    std::ostringstream out;
    ScriptRunner runner{host.window, [this] { return host.dlg.IsOperationRunning(); }, *this, out};
    ScriptStage() { host.port.SetAvailablePorts({1}); }
};

TEST_F(ScriptStage, ABadLineStopsTheScriptBeforeAnythingRuns)
{
    EXPECT_EQ(Run("click Search Com\nclick Read\nclick 4711\nfrobnicate\nshow 4294968299\nexpect 4294968299 x\n"), 2);
    EXPECT_EQ(
        out.str(),
        "line 2: \"Read\" names 10 controls (1132, 1135, 1138, 1086, 1143, 1146, 1123, 1126, 1129, 1149): use the id\n"
        "line 3: no button with id 4711\n"
        "line 4: unknown action 'frobnicate'\n"
        "line 5: show needs one control id\n"
        "line 6: expect needs a control id\n");
    EXPECT_EQ(host.window.ComboGetCount(IDC_PORT_LIST), 0) << "Search Com did not run";
}

TEST_F(ScriptStage, ConnectTranscriptWithShowAndExpectThenAWaitThatRunsOut)
{
    EXPECT_EQ(Run("click Search Com\nchoose 1006 COM1\nclick Open Com\nclick HART Communication\nwait\n"
                  "show 1112\nshow 1125\nexpect 1094 kPa\n"),
              0);
    EXPECT_EQ(out.str().substr(0, 16), "log: 0280000082\n");
    EXPECT_EQ(out.str().substr(out.str().find("show")), "show 1112: text=\"Fenmarks\" enabled=1 check=0 sel=-1\n"
                                                        "show 1125: text=\"High Alarm\" enabled=1 check=0 sel=0\n");
    line.Modem().AddFault(sim::FaultRule{sim::FaultKind::kNoAnswer, sim::kAllCommands, -1, -1});
    out.str("");
    EXPECT_EQ(Run("click 1138\nwait 100\n"), 0);
    EXPECT_EQ(out.str().substr(out.str().find('\n') + 1), "line 2: wait: still running after 100 ms\n") << out.str();
}

TEST_F(ScriptStage, ComplaintsGoOnAFailedExpectStops)
{
    host.window.Enable(IDC_TAG, true);
    host.window.Enable(IDC_UNIT_LIST, true);
    EXPECT_EQ(Run("click HART Communication\nshow 1003\ntype 1083 a long tag text\nexpect 1083 a long t\n"
                  "choose 1134 14\nexpect 1134 MPa\nchoose 1134 nonsense\nexpect 1001 Close Com\nclick Search Com\n"),
              1);
    EXPECT_EQ(out.str(), "line 1: click 1003: the control is disabled\n"
                         "show 1003: text=\"HART Communication\" enabled=0 check=0 sel=-1\n"
                         "line 7: choose 1134: no entry 'nonsense' to choose now\n"
                         "line 8: expect 1001: wanted \"Close Com\", found \"Open Com\"\n");
    EXPECT_TRUE(host.port.Writes().empty());
    EXPECT_EQ(host.window.ComboGetCount(IDC_PORT_LIST), 0) << "Search Com did not run";
}

}  // namespace
