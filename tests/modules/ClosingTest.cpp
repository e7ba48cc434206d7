// Closing the window with the loop current fixed: the operator's answer
// decides whether the loop is returned first; the record notes what happened.
#include "tests/modules/Scenario.h"

namespace {

struct Notes : OperationObserver {
    std::vector<std::string> lines;
    void Note(std::string_view text) override { lines.emplace_back(text); }
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
