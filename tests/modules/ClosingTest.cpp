// Closing the window with the loop current fixed: the operator's answer
// decides whether the loop is returned first; the record notes what happened.
// A signal that ends the program cuts the operation under way short.
#include "tests/modules/Scenario.h"

namespace {

struct Notes : OperationObserver {
    std::vector<std::string> lines;
    void Note(std::string_view text) override { lines.emplace_back(text); }
};

struct Ends : OperationObserver {
    std::vector<std::string> lines;
    void OperationEnded() override { lines.emplace_back("end"); }
    void OperationInterrupted(std::string_view cause) override
    {
        lines.push_back("cut short by " + std::string(cause));
    }
};

const char kQuestion[] = "The loop current is fixed at 12.000 mA. Return it to the measured value before closing?";

struct ClosingScenario : Scenario {
    Notes notes;
    ClosingScenario()
    {
        dlg.AddObserver(notes);
        Connect();
        window.Type(IDC_D_CURR, "12");
        Run(IDC_FIXED_CURR);
    }
    // Exit with the answer given; the time runs until the window ends or 20 s pass.
    std::size_t Exit(Answer answer)
    {
        window.SetAnswer(answer);
        const std::size_t mark = LogHistory().size();
        window.PressEscape();
        clock.AdvanceUntil([this] { return window.Ended(); }, clock.Now() + 20000);
        return mark;
    }
};

const std::string kExitRequest = LongRequest(40, {0, 0, 0, 0});

}  // namespace

TEST(Closing, YesReturnsTheLoopThenCloses)
{
    ClosingScenario s;
    ASSERT_EQ(s.device().fixedCurrentMa, 12.0f);
    const std::size_t mark = s.Exit(Answer::Yes);
    EXPECT_EQ(s.window.Questions(), std::vector<std::string>{kQuestion});
    EXPECT_EQ(s.LogFrom(mark), (Log{kExitRequest, LongReply(40, 0, {0, 0, 0, 0}), "Current fixed!"}));
    EXPECT_EQ(s.device().fixedCurrentMa, 0.0f);
    EXPECT_TRUE(s.window.Ended());
    EXPECT_EQ(s.notes.lines, (std::vector<std::string>{"write loop current ? -> 12",
                                                       "returning the loop current fixed at 12.000 mA before closing",
                                                       "write loop current 12 -> 0", "the loop current is returned"}));
}

TEST(Closing, NoClosesAtOnceAndCancelStays)
{
    ClosingScenario no, cancel;
    no.Exit(Answer::No);
    EXPECT_TRUE(no.window.Ended());
    EXPECT_EQ(no.device().fixedCurrentMa, 12.0f);
    EXPECT_EQ(no.notes.lines.back(), "closed with the loop current fixed at 12.000 mA");
    const std::size_t mark = cancel.Exit(Answer::Cancel);
    EXPECT_FALSE(cancel.window.Ended());
    EXPECT_EQ(cancel.LogFrom(mark), Log{});
    EXPECT_EQ(cancel.notes.lines, std::vector<std::string>{"write loop current ? -> 12"}) << "only the fixing";
}

TEST(Closing, NoQuestionOnceTheLoopIsReleased)
{
    ClosingScenario s;
    s.Run(IDC_EXIT_FIXED);
    s.Exit(Answer::Cancel);
    EXPECT_TRUE(s.window.Questions().empty());
    EXPECT_TRUE(s.window.Ended());
}

TEST(Closing, AutoReadIsStoppedBeforeTheLoopIsReturned)
{
    ClosingScenario s;
    ASSERT_TRUE(s.window.Click(IDC_AUTO_READ));
    s.clock.AdvanceBy(500);
    s.Exit(Answer::Yes);
    EXPECT_TRUE(s.window.Ended());
    EXPECT_EQ(s.device().fixedCurrentMa, 0.0f);
    EXPECT_EQ(s.LogHistory().back(), "Current fixed!");
}

TEST(Closing, ALoopThatCannotBeReturnedIsNotedAndTheWindowCloses)
{
    ClosingScenario s;
    s.Fault(F::kNoAnswer, 40);
    const std::size_t mark = s.Exit(Answer::Yes);
    EXPECT_EQ(s.LogFrom(mark), (Log{kExitRequest, kExitRequest, kExitRequest, "Communication fail!"}));
    EXPECT_TRUE(s.window.Ended());
    EXPECT_EQ(s.notes.lines.back(), "the loop current is still fixed at 12.000 mA");
}

// The operation ends before its next request; the reply already asked for
// still counts: Fixed Curr.'s tells that the loop is fixed, to be returned.
TEST(Closing, ASignalEndsTheOperationBeforeItsNextRequest)
{
    Scenario s;
    Ends ends;
    s.dlg.AddObserver(ends);
    s.Connect();
    s.window.Type(IDC_D_CURR, "12");
    const std::size_t sends = s.port.WriteTimes().size();
    ASSERT_TRUE(s.window.Click(IDC_FIXED_CURR));
    s.clock.AdvanceUntil([&] { return s.port.WriteTimes().size() > sends; }, s.clock.Now() + 1000);
    s.dlg.Interrupt("SIGTERM");
    s.RunUntilRest();
    EXPECT_EQ(s.dlg.FixedLoopCurrent(), 12.0f);

    ASSERT_TRUE(s.window.Click(IDC_AUTO_READ));
    s.clock.AdvanceBy(500);
    const std::size_t mark = s.LogHistory().size();
    s.dlg.Interrupt("SIGHUP");
    s.RunUntilRest();
    const Log after = s.LogFrom(mark);
    EXPECT_TRUE(after.empty() || (after.size() == 1 && after[0].starts_with("86"))) << "a request after the signal";
    EXPECT_EQ(ends.lines, (std::vector<std::string>{"end", "end", "cut short by SIGHUP"}));
}

TEST(Closing, ASignalClosesAPortStillOpeningItsSession)
{
    Scenario s(SimLink::HartIp);
    Ends ends;
    s.dlg.AddObserver(ends);
    ASSERT_TRUE(s.window.Click(IDC_OPEN_COM));  // closes
    ASSERT_TRUE(s.window.Click(IDC_OPEN_COM));
    ASSERT_TRUE(s.dlg.IsOperationRunning());
    s.dlg.Interrupt("SIGINT");
    EXPECT_FALSE(s.dlg.IsOperationRunning());
    EXPECT_FALSE(s.port.GetPortOpen());
    EXPECT_EQ(ends.lines, (std::vector<std::string>{"end", "cut short by SIGINT"}));
}
