// Range setting, sensor trim and loop test on the simulated transmitter: what
// each operation sends, its verdict on each kind of reply, the trim gate.
#include "tests/modules/Scenario.h"

namespace {

enum ReplyKind { kAnswered, kStatusOnly, kBareSuccess, kShortReply, kUnknownUnit, kNoAnswer };
constexpr const char* kReplyNames[] = {"", "StatusOnly", "BareSuccess", "ShortReply", "UnknownUnit", "NoAnswer"};
constexpr F kFaults[] = {F{}, F::kStatusOnly, F::kStatusOnly, F::kShortCount, F::kBadUnit, F::kNoAnswer};
constexpr const char *kSucceed = "Setting succeed!", *kNotImplemented = "Command not implemented!",
                     *kNotRight = "Reply not right!", *kFail = "Communication fail!", *kFixed = "Current fixed!",
                     *kFixedBounds = "Must between 3.5 and 22.0!", *kInvalid = "Input is invalid!";

void TrimRead(Scenario& s) { s.Run(IDC_READ_TRIM); }
// clang-format off
void PsiShownLast(Scenario& s) { s.device().pvUnit = 6; s.Run(IDC_READ_UNIT); }

// An operation: what runs first (or nothing), the operator's input, the button, the command sent
// (kNothing: the input is refused) with its data, which the answer echoes; the answer's device
// status (-1: not compared), the log entries and a field after it; the verdict on each kind of
// reply but no answer (nullptr: the reply does not apply).
constexpr int kNothing = -1;
struct Operation {
    const char* name; void (*before)(Scenario&); std::vector<std::pair<int, const char*>> typed; int button;
    int command; std::vector<int> data; int status; std::size_t entries; std::pair<int, const char*> shown;
    const char* verdicts[kNoAnswer];
};
const Operation kOperations[] = {
    // Typed values are in the unit "Range Unit" shows and go out in kPa; trim
    // points go out as typed, with the unit "Trim Unit" shows.
    {"SetRangeInPsi", [](Scenario& s) { s.device().rangeUnit = 6; s.Run(IDC_READ_RANGE); }, {{IDC_RANGE_UPPER, "10"}, {IDC_RANGE_LOWER, "0"}}, IDC_SET_RANGE, 35, {0x0C, 0x42, 0x89, 0xE5, 0x1E, 0, 0, 0, 0}, 0x40, 3, {IDC_RANGE_UPPER, "+6.8947e+01"}, {kSucceed}},
    {"SetRangeInKpaAfterPsiShownElsewhere", PsiShownLast, {{IDC_RANGE_UPPER, "10"}, {IDC_RANGE_LOWER, "0"}}, IDC_SET_RANGE, 35, {0x0C, 0x41, 0x20, 0, 0, 0, 0, 0, 0}, 0x44, 3, {IDC_RANGE_UPPER, "+1.0000e+01"}, {kSucceed}},
    {"SetRangeWithNoUnitShown", [](Scenario& s) { s.Fault(F::kBadUnit, 15); s.Run(IDC_READ_RANGE); }, {}, IDC_SET_RANGE, kNothing, {}, -1, 1, {IDC_RANGE_UNIT, ""}, {"Unit code not right!"}},
    // A field without a number, or one the float on the wire cannot hold in kPa, sends nothing; text after a number is ignored.
    {"SetRangeEmptyUpper", {}, {{IDC_RANGE_UPPER, ""}, {IDC_RANGE_LOWER, "0"}}, IDC_SET_RANGE, kNothing, {}, -1, 1, {IDC_RANGE_UPPER, ""}, {kInvalid}},
    {"SetRangeLettersLower", {}, {{IDC_RANGE_UPPER, "100"}, {IDC_RANGE_LOWER, "abc"}}, IDC_SET_RANGE, kNothing, {}, -1, 1, {IDC_RANGE_LOWER, "abc"}, {kInvalid}},
    {"SetRangeInfiniteInKpa", [](Scenario& s) { s.device().rangeUnit = 7; s.Run(IDC_READ_RANGE); }, {{IDC_RANGE_UPPER, "3e38"}, {IDC_RANGE_LOWER, "0"}}, IDC_SET_RANGE, kNothing, {}, -1, 1, {IDC_RANGE_UNIT, "bar"}, {kInvalid}},
    {"SetRangeTextAfterTheNumber", {}, {{IDC_RANGE_UPPER, "12abc"}, {IDC_RANGE_LOWER, "0"}}, IDC_SET_RANGE, 35, {0x0C, 0x41, 0x40, 0, 0, 0, 0, 0, 0}, 0x44, 3, {IDC_RANGE_UPPER, "+1.2000e+01"}, {kSucceed}},
    {"ApplyUpperEmpty", TrimRead, {{IDC_TRIM_UPPER, ""}}, IDC_APPLY_UPPER, kNothing, {}, -1, 1, {IDC_TRIM_UPPER, ""}, {kInvalid}},
    {"ApplyLowerLetters", TrimRead, {{IDC_TRIM_LOWER, "x"}}, IDC_APPLY_LOWER, kNothing, {}, -1, 1, {IDC_TRIM_LOWER, "x"}, {kInvalid}},
    {"ApplyLowerAtZeroAfterPsiShownElsewhere", [](Scenario& s) { TrimRead(s); PsiShownLast(s); }, {{IDC_TRIM_LOWER, "0"}}, IDC_APPLY_LOWER, 131, {0x0C, 0, 0, 0, 0}, 0x40, 3, {IDC_TRIM_UNIT, "kPa"}, {kSucceed}},
    {"SetRange", {}, {{IDC_RANGE_UPPER, "150"}, {IDC_RANGE_LOWER, "-20"}}, IDC_SET_RANGE, 35, {0x0C, 0x43, 0x16, 0, 0, 0xC1, 0xA0, 0, 0}, 0x40, 3, {IDC_RANGE_LOWER, "-2.0000e+01"}, {kSucceed, kNotImplemented, kNotImplemented, kNotRight, "Reply data not right!"}},
    {"Apply0Percent", {}, {}, IDC_APPLY_0, 37, {}, 0x40, 5, {IDC_RANGE_LOWER, "+5.0130e+01"}, {kSucceed, kNotImplemented, kSucceed, kFail}},
    {"Apply100Percent", {}, {}, IDC_APPLY_100, 36, {}, 0x40, 5, {IDC_RANGE_UPPER, "+5.0130e+01"}, {kSucceed, kNotImplemented, kSucceed, kFail}},
    {"ReadTrim", {}, {}, IDC_READ_TRIM, 128, {}, -1, 2, {IDC_TRIM_UPPER, "+2.0000e+02"}, {"", kFail, kFail, kFail, "Reply data not right!"}},
    {"ApplyLower", TrimRead, {{IDC_TRIM_LOWER, "-10"}}, IDC_APPLY_LOWER, 131, {0x0C, 0xC1, 0x20, 0, 0}, 0x44, 3, {IDC_TRIM_LOWER, "-1.0000e+01"}, {kSucceed, kNotImplemented, kNotImplemented, kNotRight, "Data reply not right!"}},
    {"ApplyUpper", TrimRead, {{IDC_TRIM_UPPER, "60"}}, IDC_APPLY_UPPER, 130, {0x0C, 0x42, 0x70, 0, 0}, 0x40, 3, {IDC_TRIM_UPPER, "+6.0000e+01"}, {kSucceed, kNotImplemented, kNotImplemented, kNotRight, "Data reply not right!"}},
    {"ShiftZero", {}, {}, IDC_SHIFT_ZERO, 43, {}, 0x40, 3, {}, {kSucceed, kNotImplemented, kSucceed, kFail}},
    {"FixedCurrentAtHighest", {}, {{IDC_D_CURR, "22.0"}}, IDC_FIXED_CURR, 40, {0x41, 0xB0, 0, 0}, 0x08, 3, {IDC_D_CURR, "22.0000"}, {kFixed, kNotImplemented, "Current not fixed!", kNotRight}},
    {"FixedCurrentAtLowest", {}, {{IDC_D_CURR, "3.5"}}, IDC_FIXED_CURR, 40, {0x40, 0x60, 0, 0}, 0x08, 3, {IDC_D_CURR, "3.5000"}, {kFixed}},
    {"FixedBelow", {}, {{IDC_D_CURR, "3.49"}}, IDC_FIXED_CURR, kNothing, {}, -1, 1, {IDC_D_CURR, ""}, {kFixedBounds}},
    {"FixedAbove", {}, {{IDC_D_CURR, "22.01"}}, IDC_FIXED_CURR, kNothing, {}, -1, 1, {IDC_D_CURR, ""}, {kFixedBounds}},
    {"FixedEmpty", {}, {{IDC_D_CURR, ""}}, IDC_FIXED_CURR, kNothing, {}, -1, 1, {IDC_D_CURR, ""}, {kFixedBounds}},
    {"ExitFixed", {}, {}, IDC_EXIT_FIXED, 40, {0, 0, 0, 0}, 0, 3, {IDC_D_CURR, "0.0000"}, {kFixed}},
    {"Trim4mA", {}, {{IDC_A_CURR, "4.002"}}, IDC_TRIM_4MA, 45, {0x40, 0x80, 0x10, 0x62}, 0x40, 3, {IDC_A_CURR, "4.0020"}, {kSucceed, kNotImplemented, kNotImplemented, kNotRight}},
    {"Trim4mAAtLowest", {}, {{IDC_A_CURR, "3.5"}}, IDC_TRIM_4MA, 45, {0x40, 0x60, 0, 0}, 0x40, 3, {IDC_A_CURR, "3.5000"}, {kSucceed}},
    {"Trim4mAAtHighest", {}, {{IDC_A_CURR, "4.5"}}, IDC_TRIM_4MA, 45, {0x40, 0x90, 0, 0}, 0x40, 3, {IDC_A_CURR, "4.5000"}, {kSucceed}},
    {"Trim4mAAbove", {}, {{IDC_A_CURR, "4.51"}}, IDC_TRIM_4MA, kNothing, {}, -1, 1, {IDC_A_CURR, ""}, {"Must between 3.5 and 4.5!"}},
    {"Trim20mA", {}, {{IDC_A_CURR, "20.01"}}, IDC_TRIM_20MA, 46, {0x41, 0xA0, 0x14, 0x7B}, 0x40, 3, {IDC_A_CURR, "+20.0100"}, {kSucceed, kNotImplemented, kNotImplemented, kNotRight}},
    {"Trim20mABelow", {}, {{IDC_A_CURR, "19.49"}}, IDC_TRIM_20MA, kNothing, {}, -1, 1, {IDC_A_CURR, ""}, {"Must between 19.5 and 20.5!"}},
    {"Trim20mALetters", {}, {{IDC_A_CURR, "abc"}}, IDC_TRIM_20MA, kNothing, {}, -1, 1, {IDC_A_CURR, ""}, {"Must between 19.5 and 20.5!"}},
    {"Trim20mAAtLowest", {}, {{IDC_A_CURR, "19.5"}}, IDC_TRIM_20MA, 46, {0x41, 0x9C, 0, 0}, 0x40, 3, {IDC_A_CURR, "+19.5000"}, {kSucceed}},
    {"Trim20mAAtHighest", {}, {{IDC_A_CURR, "20.5"}}, IDC_TRIM_20MA, 46, {0x41, 0xA4, 0, 0}, 0x40, 3, {IDC_A_CURR, "+20.5000"}, {kSucceed}},
};
// clang-format on

using Case = std::pair<const Operation*, ReplyKind>;

std::vector<Case> AllCases()
{
    std::vector<Case> cases;
    for (const Operation& op : kOperations)
        for (int r = kAnswered; r <= kNoAnswer; ++r)
            if (r == kNoAnswer ? op.command != kNothing : op.verdicts[r] != nullptr)
                cases.push_back({&op, static_cast<ReplyKind>(r)});
    return cases;
}

}  // namespace

class CalibrationReplyTest : public testing::TestWithParam<Case> {};

TEST_P(CalibrationReplyTest, SendsTheRequestAndJudgesTheReply)
{
    const auto [op, reply] = GetParam();
    Scenario s;
    s.Connect();
    if (op->before)
        op->before(s);
    for (const auto& [field, text] : op->typed)
        s.window.Type(field, text);
    if (reply != kAnswered)
        s.Fault(kFaults[reply], op->command);
    if (reply == kBareSuccess)  // only the status bytes, with response code 0
        s.Fault(F::kResponseCode, op->command, 0);
    const std::size_t mark = s.LogHistory().size();
    s.Run(op->button);
    const std::string request = op->command == kNothing ? "" : LongRequest(op->command, op->data);
    const Log log = s.LogFrom(mark);
    const std::string verdict = reply == kNoAnswer ? kFail : op->verdicts[reply];
    EXPECT_EQ(s.MessagesFrom(mark), verdict.empty() ? Log{} : Log{verdict});
    EXPECT_EQ(log.at(0), op->command == kNothing ? verdict : request);
    const bool trimUnitShown = !s.window.GetText(IDC_TRIM_UNIT).empty();
    for (int id : {IDC_TRIM_UPPER, IDC_TRIM_LOWER, IDC_APPLY_LOWER, IDC_APPLY_UPPER})
        EXPECT_EQ(s.window.IsEnabled(id), trimUnitShown) << id;
    const std::string shown = op->shown.first ? s.window.GetText(op->shown.first) : "";
    if (reply == kNoAnswer) {
        EXPECT_EQ(log, (Log{request, request, request, kFail}));
    } else if (reply == kUnknownUnit) {
        EXPECT_EQ(shown, "");
    } else if (reply == kAnswered) {
        EXPECT_EQ(log.size(), op->entries);
        if (op->status >= 0) {
            EXPECT_EQ(log.at(1), LongReply(op->command, op->status, op->data));
        }
        if (op->shown.first) {
            EXPECT_EQ(shown, op->shown.second);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Operations, CalibrationReplyTest, testing::ValuesIn(AllCases()),
                         [](const testing::TestParamInfo<Case>& info) {
                             return std::string(info.param.first->name) + kReplyNames[info.param.second];
                         });

// After an apply, the read-back has the same tries; its failed end leaves only the ways to connect.
// clang-format off
INSTANTIATE_TEST_SUITE_P(ApplyRange, OperationTest, testing::Values(::Operation{"TheReadBackHasTheSameTries", {}, IDC_APPLY_100,
    {LongRequest(36), LongReply(36, 0x40, {}), kSucceed, LongRequest(15), LongRequest(15), LongRequest(15), kFail}, {}, {{F::kNoAnswer, 15}}, nullptr, {IDC_HART_COMM}, {IDC_APPLY_100}}), OperationName);
// clang-format on
