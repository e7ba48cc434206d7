// The send and parse states and the step machine's timeline on the virtual
// clock: exact bytes on the wire, the log line, the result of every kind of
// reply, and the time of every step to the millisecond.
#include "dialog/ControlIds.h"
#include "dialog/Timing.h"
#include "hart/ResultCodes.h"
#include "sequencer/StepTable.h"
#include "tests/support/OpenPortHost.h"
#include "ui/headless/SimulatedLine.h"

#include <gtest/gtest.h>

#include <map>

namespace {

constexpr std::int16_t kScriptState = 77;  // stands for the script's check state: runs nothing

struct Host : OpenPortHost, OperationObserver {
    Host()
    {
        const std::uint8_t id[5] = {0xB5, 0x7C, 0x01, 0x02, 0x03};  // the simulator's default transmitter
        std::copy(id, id + 5, dlg.Machine().m_UniqueId);
        window.AddListObserver([this](int, const std::string& text) { loggedAt[text] = clock.Now(); });
        dlg.AddObserver(*this);
    }
    std::map<std::string, std::int64_t> loggedAt;  // when each log text was last appended
    std::vector<std::string> errors;
    void Error(std::string_view text) override { errors.emplace_back(text); }

    // A script's send of a command: its send state runs at the next tick.
    void Send(std::uint8_t command)
    {
        dlg.Machine().SendRequest(command, kScriptState);
        clock.AdvanceBy(STEP_DELAY);
    }
    // Starts the damping write (command 34) as its "Set" button would.
    void StartDampingWrite()
    {
        window.SetText(IDC_DAMPING, "2.5");
        dlg.OnCommand(IDC_SET_DAMPING, Notify::Clicked);
    }
    bool Idle() const { return !dlg.IsOperationRunning(); }
};

}  // namespace

// Each send goes out in the envelope from a clean receive state, is logged,
// and arms the reply time-out.
TEST(SendState, TheRequestGoesOutInTheEnvelopeAndIsLogged)
{
    const struct {
        std::uint8_t command;
        std::int16_t code;  // the polling address or new address
        std::string hex;
    } rows[] = {{1, 0, "82B57C01020301004A"}, {0, 15, "028F00008D"}, {6, 5, "82B57C01020306010549"}};
    for (const auto& row : rows) {
        Host host;
        host.port.DeliverTextAfter(0, "\x01P00");
        host.port.LineErrorAfter(0, CommEvent::kParityError);
        host.clock.AdvanceBy(1);
        ASSERT_TRUE(host.dlg.Receive().Buffered() != 0 && host.dlg.Receive().Fault() != 0);
        host.dlg.Machine().m_nReqCode[0] = row.code;
        host.Send(row.command);
        const std::vector<std::uint8_t>& line = host.port.Writes().at(0);
        EXPECT_EQ(std::string(line.begin(), line.end()), "\x01P01" + row.hex + "\r\n");
        EXPECT_EQ(host.LogHistory(), std::vector<std::string>{row.hex});
        EXPECT_EQ(host.dlg.Machine().m_strTx, row.hex);
        EXPECT_EQ(host.timers.DueAt(TIMER_STEP) - host.clock.Now(), REPLY_TIMEOUT);
        EXPECT_TRUE(host.dlg.Receive().Buffered() == 0 && host.dlg.Receive().Fault() == 0) << "a clean receive state";
        EXPECT_FALSE(host.timers.IsArmed(TIMER_RX)) << "no quiet time left to run";
    }
}

struct ParseCase {
    const char* name;
    std::string reply;  // the modem's whole line, 30 ms after the request; empty: none
    std::int16_t result;
    std::string logged;  // the reply as logged; empty: not logged
    int burst;           // m_bBurst afterwards (1 before)
};

class ParseStateTest : public testing::TestWithParam<ParseCase> {};

// A validated reply runs the parse 10 ms after the 100 ms quiet time; anything
// else waits out the reply time-out and changes no reply field.
TEST_P(ParseStateTest, SetsTheResultAndReturnsToTheScript)
{
    const ParseCase& c = GetParam();
    Host host;
    StepMachine& m = host.dlg.Machine();
    m.m_nReplyCode[0] = 99;
    m.m_bBurst = 1;
    host.Send(1);
    if (!c.reply.empty())
        host.port.DeliverTextAfter(30, c.reply);
    host.clock.AdvanceUntil([&] { return m.m_nStep == kScriptState; }, 10000);

    EXPECT_EQ(m.m_nResult, c.result);
    EXPECT_EQ(host.LogHistory().size(), c.logged.empty() ? 1u : 2u);
    if (!c.logged.empty()) {
        EXPECT_EQ(host.LogHistory().back() + " | " + m.m_strRx, c.logged + " | " + c.logged) << "log | reply";
    }
    EXPECT_EQ(host.clock.Now() - host.port.WriteTimes().at(0),
              c.result != kResultNoReply ? 30 + 100 + 10 : REPLY_TIMEOUT);
    EXPECT_EQ(host.timers.DueAt(TIMER_STEP) - host.clock.Now(), STEP_DELAY);
    EXPECT_EQ(m.m_bBurst, c.burst);
    if (c.result == kResultOk) {
        EXPECT_TRUE(m.m_nReplyItems == 2 && m.m_nReplyCode[0] == 12 && m.m_fReplyValue[0] == 12.5f) << "unit, PV";
    } else if (c.result == kResultNoReply) {
        EXPECT_EQ(m.m_nReplyCode[0], 99);
    }
}

// Replies to command 1: 86 B5 7C 01 02 03 01 | byte count | status 00 00 | unit 0C, value | check byte.
// clang-format off
INSTANTIATE_TEST_SUITE_P(Replies, ParseStateTest, testing::Values(
    ParseCase{"Accepted", "\x01P0086B57C01020301070000" "0C41480000" "4C\r\n", kResultOk, "86B57C01020301070000" "0C41480000" "4C", 0},
    ParseCase{"TooShort", "\x01P0086B57C01020301060000" "0C3F8000" "FB\r\n", kResultTooShort, "86B57C01020301060000" "0C3F8000" "FB", 0},
    ParseCase{"TooShortInBurstMode", "\x01P0086F57C010203010200" "000C\r\n", kResultTooShort, "86F57C010203010200" "000C", 1},  // address F5: bit 0x40
    ParseCase{"LetterX", "\x01X00\r\n", kResultModemError, "", 1},
    ParseCase{"LetterR", "\x01R00\r\n", kResultBadLetter, "", 1},
    ParseCase{"LetterW", "\x01W12\r\n", kResultBadLetter, "", 1},
    ParseCase{"LowerCaseRefused", "\x01P0086b57c01020301070000\r\n", kResultNoReply, "", 1},
    ParseCase{"NoReply", "", kResultNoReply, "", 1},
    // None of these is the reply: byte count 7 promised and only the unit sent; a flipped bit; another command;
    // another device; a burst frame (which tells that the transmitter is in burst mode).
    ParseCase{"Incomplete", "\x01P0086B57C01020301070000" "0C\r\n", kResultNoReply, "", 1},
    ParseCase{"FlippedBit", "\x01P0086B57C01020301070000" "0C3F800001FA\r\n", kResultNoReply, "", 1},
    ParseCase{"OtherCommand", "\x01P0086B57C01020302070000" "0C3F800000F9\r\n", kResultNoReply, "", 0},
    ParseCase{"OtherDevice", "\x01P0086B57C01020201070000" "0C3F800000FB\r\n", kResultNoReply, "", 1},
    ParseCase{"BurstFrame", "\x01P0081F57C01020301070000" "0C3F800000BD\r\n", kResultNoReply, "", 1}),
    [](const testing::TestParamInfo<ParseCase>& info) { return std::string(info.param.name); });
// clang-format on

TEST(ParseState, OnlyASuccessfulCommandZeroChangesTheUniqueIdentifier)
{
    Host host;
    host.dlg.Machine().m_nReqCode[0] = 0;
    host.Send(0);
    // Byte count 13, one short of command 0's 14.
    host.port.DeliverTextAfter(0, "\x01P000680000D0000FE26770505010C0801AABB31\r\n");
    host.clock.AdvanceBy(110);
    EXPECT_EQ(host.dlg.Machine().m_nResult, kResultTooShort);
    EXPECT_TRUE(host.dlg.Machine().m_UniqueId[0] == 0xB5 && host.dlg.Machine().m_UniqueId[4] == 0x03);

    host.Send(0);
    // 06 80 00 0E | 00 00 | FE 26 77 05 05 01 0C 08 01 | AA BB CC | checksum
    host.port.DeliverTextAfter(0, "\x01P000680000E0000FE26770505010C0801AABBCCFE\r\n");
    host.clock.AdvanceBy(110);
    EXPECT_EQ(host.dlg.Machine().m_nResult, kResultOk);
    const std::uint8_t expected[5] = {0x26, 0x77, 0xAA, 0xBB, 0xCC};
    EXPECT_TRUE(std::equal(expected, expected + 5, host.dlg.Machine().m_UniqueId));
}

TEST(Timeline, ThreeTriesWithoutATransmitterThenCommunicationFail)
{
    Host host;
    host.StartDampingWrite();
    ASSERT_TRUE(host.clock.AdvanceUntil([&] { return host.Idle(); }, 20000));
    const std::vector<std::int64_t>& sent = host.port.WriteTimes();
    EXPECT_EQ(sent, (std::vector<std::int64_t>{30, 3050, 6070})) << "prepare, send and the send state 10 ms apart";
    EXPECT_EQ(host.loggedAt.at("Communication fail!"), 30 + 8050);
    EXPECT_TRUE(host.window.IsEnabled(IDC_HART_COMM)) << "the script's end enabled the controls";
    EXPECT_FALSE(host.timers.IsArmed(TIMER_STEP));
}

TEST(Timeline, AReplyCutsTheTimeOutShort)
{
    Host host;
    SimulatedLine line(host.clock, host.port);
    line.Modem().SetImmediate(true);
    host.StartDampingWrite();
    ASSERT_TRUE(host.clock.AdvanceUntil([&] { return host.Idle(); }, 20000));
    ASSERT_EQ(host.port.WriteTimes().size(), 1u);
    // Reply at once, 100 ms quiet time, parse 10 ms later, check 10 ms after.
    EXPECT_EQ(host.loggedAt.at("Setting succeed!") - host.port.WriteTimes()[0], 100 + 10 + 10);

    // Burst traffic arriving after the end: not a reply, but it tells that
    // the transmitter is in burst mode; nothing else happens.
    const auto log = host.LogHistory();
    host.port.DeliverTextAfter(0, "\x01P0086F57C010203010700000C3F800000BA\r\n");
    host.clock.AdvanceBy(2000);
    EXPECT_EQ(host.dlg.Machine().m_bBurst, 1);
    EXPECT_EQ(host.LogHistory(), log);
    EXPECT_EQ(host.port.Writes().size(), 1u);
    EXPECT_FALSE(host.dlg.IsOperationRunning());
}

TEST(Timeline, RefusedOutputSkipsTheParseAndCountsAsATry)
{
    Host host;
    host.port.SetFailWrites(true);
    std::vector<std::int64_t> attempts;
    std::int16_t lastResult = 0;
    host.StartDampingWrite();
    while (!host.Idle() && host.clock.Now() < 20000) {
        if (host.dlg.Machine().m_nStep == 527)
            attempts.push_back(host.clock.Now() + 10);  // the send state runs at the next tick
        host.clock.AdvanceBy(10);
        if (host.dlg.Machine().m_nStep == 115)
            lastResult = host.dlg.Machine().m_nResult;
    }
    EXPECT_EQ(lastResult, kResultSendFailed);
    EXPECT_EQ(attempts, (std::vector<std::int64_t>{30, 1050, 2070})) << "1020 ms apart";
    EXPECT_EQ(host.loggedAt.at("Communication fail!") - attempts[2], 10) << "straight back to the check state";
    EXPECT_EQ(host.LogHistory(), std::vector<std::string>{"Communication fail!"}) << "a refused request is not logged";
    EXPECT_EQ(host.errors.at(0), "send: write failed") << "the port's own words, for the record";
    EXPECT_EQ(host.errors.back(), "command 34, try 3 of 3: the serial port refused the request");
}

// The rest state runs nothing and touches no control; a state no table holds
// is a programming error: it ends the operation, gives the window back and
// says so in the record, not in the operator's log.
TEST(Timeline, RestStateRunsNothingAndAStateNoTableHoldsEndsTheOperation)
{
    Host host;
    host.dlg.DisableAllControls();
    host.dlg.Machine().RunStep();
    EXPECT_FALSE(host.timers.IsArmed(TIMER_STEP));
    EXPECT_EQ(host.dlg.Machine().m_nStep, kRestState);
    EXPECT_FALSE(host.window.IsEnabled(IDC_HART_COMM));
    for (std::int16_t state : {45, 100, 152, 207, 500, 549, 623, -1}) {
        host.dlg.Machine().StartScript(state);
        host.clock.AdvanceBy(STEP_DELAY);
        EXPECT_EQ(host.errors.back(), "step machine: no state " + std::to_string(state) + "; the operation is ended");
        EXPECT_FALSE(host.timers.IsArmed(TIMER_STEP)) << state;
        EXPECT_EQ(host.dlg.Machine().m_nStep, kRestState) << state;
        EXPECT_TRUE(host.window.IsEnabled(IDC_AUTO_READ)) << state;
    }
    EXPECT_TRUE(host.port.Writes().empty());
    EXPECT_TRUE(host.LogHistory().empty());
}

TEST(Timeline, AReplyDuringTheRetryDelayShortensIt)
{
    Host host;
    host.StartDampingWrite();
    // First try times out (sent at 30, parse at 2030, check at 2040 arms 1000).
    host.clock.AdvanceTo(2040);
    ASSERT_EQ(host.dlg.Machine().m_nStep, 114);
    ASSERT_EQ(host.timers.DueAt(TIMER_STEP), 3040);
    // The first try's reply, late: 86 B5 7C 01 02 03 22 06 00 00 40 20 00 00 0B.
    host.port.DeliverTextAfter(0, "\x01P0086B57C01020322060000402000000B\r\n");
    host.clock.AdvanceTo(2140);
    EXPECT_EQ(host.timers.DueAt(TIMER_STEP), 2150) << "the validated line re-armed the step timer";
}

// An exchange claims its prepare, send and check states, or its send and
// check states alone.
TEST(StepTable, RefusesAStateClaimedTwiceOrOutsideTheScriptRanges)
{
    StepTable table;
    table.Add({ExchangeOf(21, 35, {})});
    for (std::int16_t state : {19, 21, 23, 0, -1, 499, 620})
        EXPECT_THROW(table.Add({ExchangeOf(state, 35, {})}), StepTableError) << state;
    EXPECT_THROW(table.Add({ExchangeOf(30, 3, {})}), StepTableError) << "command 3 has no send state";
    EXPECT_THROW(table.Add({RunStepOf(501, {})}), StepTableError) << "a send state";
    EXPECT_NO_THROW(table.Add({ExchangeOf(24, 36, {}).WithoutPrepare(), RunStepOf(20, {}), RunStepOf(26, {})}));
    StepRole role = StepRole::Run;
    ASSERT_NE(table.Find(25, &role), nullptr);
    EXPECT_EQ(role, StepRole::Check);
    EXPECT_EQ(table.Find(27), nullptr);
}
