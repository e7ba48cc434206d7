#include "hart/ReplyDecoder.h"

#include "hart/ResultCodes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <utility>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr std::int16_t kSentinel = 0x5A;
constexpr std::uint8_t kFill = 0x11;

// Header as the transmitter sends it (short form for command 0), the byte
// count, the body (response code, device status, data) and a check byte
// that is never verified.
Bytes Frame(int command, const Bytes& body, std::uint8_t address1 = 0xB5)
{
    const auto count = static_cast<std::uint8_t>(body.size());
    Bytes f = command == 0 ? Bytes{0x06, address1, 0x00, count}
                           : Bytes{0x86, address1, 0x7C, 0x01, 0x02, 0x03, static_cast<std::uint8_t>(command), count};
    f.insert(f.end(), body.begin(), body.end());
    f.push_back(0xCC);
    return f;
}

ReplyRecord SentinelRecord()
{
    ReplyRecord r;
    r.m_nReplyItems = kSentinel;
    std::fill(std::begin(r.m_nReplyCode), std::end(r.m_nReplyCode), kSentinel);
    std::fill(std::begin(r.m_fReplyValue), std::end(r.m_fReplyValue), -7.5f);
    static const std::uint8_t marker = 0;
    r.m_pReplyData = &marker;
    return r;
}

void ExpectUntouched(const ReplyRecord& r)
{
    EXPECT_EQ(r.m_nReplyItems, kSentinel);
    for (int i = 0; i < 7; ++i)
        EXPECT_EQ(r.m_nReplyCode[i], kSentinel) << "code " << i;
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(r.m_fReplyValue[i], -7.5f) << "value " << i;
    EXPECT_EQ(r.m_pReplyData, SentinelRecord().m_pReplyData);
}

struct Decoded {
    ReplyDecode out;
    ReplyRecord record;
    std::uint8_t uid[5];
};

// Decodes into a sentinel record and a unique identifier of EE bytes.
Decoded Decode(int command, const Bytes& frame)
{
    Decoded d{{}, SentinelRecord(), {0xEE, 0xEE, 0xEE, 0xEE, 0xEE}};
    const CommandInfo* cmd = FindCommand(static_cast<std::uint8_t>(command));
    if (cmd == nullptr)
        ADD_FAILURE() << "no command " << command;
    else
        d.out = DecodeReplyFrame(*cmd, frame.data(), static_cast<int>(frame.size()), d.record, d.uid);
    return d;
}

const Bytes kCommand0Body = {0x00, 0x00, 0xFE, 0xB5, 0x7C, 0x11, 0x11, 0x11, 0x11, 0x11, 0x11, 0x01, 0x02, 0x03};

constexpr int kDataNotChecked = -1;
constexpr int kDataCleared = -2;

struct ValueCase {
    const char* name;
    int command;
    Bytes body;
    int items;
    std::vector<std::pair<int, int>> codes;     // slot, value
    std::vector<std::pair<int, float>> floats;  // slot, value
    int dataAt = kDataNotChecked;               // frame offset m_pReplyData points at
};

void PrintTo(const ValueCase& c, std::ostream* os) { *os << c.name; }

class ReplyValues : public testing::TestWithParam<ValueCase> {};

}  // namespace

TEST(ReplyMinimum, OneBelowIsTooShortExactlyIsAccepted)
{
    const std::pair<int, int> minimums[] = {{0, 14}, {1, 7},    {2, 10},  {12, 26},  {13, 23}, {14, 18}, {15, 19},
                                            {16, 5}, {128, 24}, {165, 3}, {172, 14}, {36, 2},  {6, 2},   {34, 2},
                                            {17, 2}, {18, 2},   {19, 2},  {35, 2},   {130, 2}};
    for (const auto& [command, min] : minimums) {
        SCOPED_TRACE(testing::Message() << "command " << command);
        const Decoded below = Decode(command, Frame(command, Bytes(min - 1, kFill)));
        EXPECT_EQ(below.out.result, kResultTooShort);
        EXPECT_EQ(below.out.byteCount, min - 1);
        ExpectUntouched(below.record);

        const Decoded at = Decode(command, Frame(command, Bytes(min, kFill)));
        EXPECT_EQ(at.out.result, kResultOk);
        EXPECT_NE(at.record.m_nReplyItems, kSentinel);
    }
}

TEST_P(ReplyValues, StoredWhereTheLayoutPutsThem)
{
    const ValueCase& c = GetParam();
    const Bytes frame = Frame(c.command, c.body);
    const Decoded d = Decode(c.command, frame);
    ASSERT_EQ(d.out.result, kResultOk);
    EXPECT_EQ(d.record.m_nReplyItems, c.items);
    for (const auto& [slot, value] : c.codes)
        EXPECT_EQ(d.record.m_nReplyCode[slot], value) << "code " << slot;
    for (const auto& [slot, value] : c.floats)
        EXPECT_FLOAT_EQ(d.record.m_fReplyValue[slot], value) << "value " << slot;
    if (c.dataAt != kDataNotChecked) {
        EXPECT_EQ(d.record.m_pReplyData, c.dataAt == kDataCleared ? nullptr : frame.data() + c.dataAt);
    }
}

// Status families: codes 0-2 are byte count, response code, device status.
// A value the reply does not carry is cleared and not counted.
INSTANTIATE_TEST_SUITE_P(
    Layouts, ReplyValues,
    testing::ValuesIn(std::vector<ValueCase>{
        {"Cmd0Identity", 0, kCommand0Body, 5, {{0, 0xB5}, {1, 0x7C}, {2, 1}, {3, 2}, {4, 3}}, {}},
        {"Cmd1NoStatusHead", 1, {0, 0, 0x0C, 0x42, 0xC8, 0x00, 0x00}, 2, {{0, 12}, {1, kSentinel}}, {{0, 100}}},
        {"Cmd2", 2, {0, 0, 0x41, 0xA0, 0x00, 0x00, 0x42, 0xC8, 0x00, 0x00}, 2, {}, {{0, 20}, {1, 100}}},
        {"Cmd14SevenValuesFiveItems",
         14,
         {0, 0, 0x01, 0x02, 0x03, 0x0C, 0x42, 0xC8, 0x00, 0x00, 0xC2, 0xC8, 0x00, 0x00, 0x41, 0x20, 0x00, 0x00},
         5,
         {{0, 1}, {1, 2}, {2, 3}, {3, 12}},
         {{0, 100}, {1, -100}, {2, 10}}},
        {"Cmd15",
         15,
         {0, 0, 0xEF, 0x01, 0xED, 0x3F, 0x80, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x40, 0x00, 0x00, 0x00, 0x01, 0x05},
         8,
         {{0, 239}, {1, 1}, {2, 237}, {3, 1}, {4, 5}},
         {{0, 1}, {1, 0}, {2, 2}}},
        {"Cmd16WidenUnsigned", 16, {0, 0, 0xFF, 0x80, 0x7F}, 3, {{0, 255}, {1, 128}, {2, 127}}, {}},
        {"Cmd128FromByte13",
         128,
         {0,    0,    0x99, 0x99, 0x99, 0x99, 0x99, 0x99, 0x99, 0x99, 0x99, 0x99,
          0x99, 0x99, 0x99, 0x0C, 0x42, 0xC8, 0x00, 0x00, 0x40, 0xA0, 0x00, 0x00},
         3,
         {{0, 12}},
         {{0, 100}, {1, 5}}},
        {"Cmd165", 165, {0, 0, 0x02}, 1, {{0, 2}}, {}},
        {"Cmd12Block", 12, Bytes(26, kFill), 1, {}, {}, 10},
        {"Cmd13Block", 13, Bytes(23, kFill), 1, {}, {}, 10},
        {"Cmd172Version", 172, {0, 0, 0, 0, 0, 0, 0, 0, 'V', '1', '.', '2', 0, 0}, 1, {}, {}, 16},
        {"Status", 36, {0x40, 0x08}, 3, {{0, 2}, {1, 0x40}, {2, 0x08}, {3, kSentinel}}, {}},
        {"Echo", 6, {0, 0, 0x05}, 4, {{0, 3}, {3, 5}}, {}},
        {"EchoMissingIsClearedNotCheckByte", 6, {0, 0}, 3, {{0, 2}, {3, 0}}, {}},
        {"FloatEcho", 34, {0, 0, 0x3F, 0x80, 0x00, 0x00}, 4, {{0, 6}}, {{0, 1}}},
        {"FloatEchoPartial", 34, {0, 0, 0x3F, 0x80, 0x00}, 3, {}, {{0, 0}}},
        {"Cmd17Block", 17, Bytes(26, kFill), 4, {{0, 26}}, {}, 10},
        {"Cmd17NoBlock", 17, {0, 0}, 3, {}, {}, kDataCleared},
        {"Cmd19AssemblySkipsCode3", 19, {0, 0, 0x01, 0x00, 0x02}, 6, {{3, kSentinel}, {4, 1}, {5, 0}, {6, 2}}, {}},
        {"Cmd35",
         35,
         {0, 0, 0x0C, 0x42, 0xC8, 0x00, 0x00, 0xC2, 0xC8, 0x00, 0x00},
         6,
         {{3, 12}},
         {{0, 100}, {1, -100}}},
        {"Cmd35Partial", 35, {0, 0, 0x0C, 0x42, 0xC8, 0x00, 0x00}, 5, {{3, 12}}, {{0, 100}, {1, 0}}},
        {"Cmd130", 130, {0, 0, 0x0C, 0x3F, 0x80, 0x00, 0x00}, 5, {{3, 12}}, {{0, 1}}}}),
    [](const testing::TestParamInfo<ValueCase>& i) { return i.param.name; });

TEST(ReplyUniqueId, OnlyASuccessfulCommand0WritesIt)
{
    const Decoded ok = Decode(0, Frame(0, kCommand0Body));
    EXPECT_EQ(Bytes(ok.uid, ok.uid + 5), (Bytes{0xB5, 0x7C, 0x01, 0x02, 0x03}));

    Bytes tooShort = Frame(0, kCommand0Body);
    tooShort[3] = 13;
    const Decoded failed = Decode(0, tooShort);
    EXPECT_EQ(failed.out.result, kResultTooShort);
    EXPECT_EQ(Bytes(failed.uid, failed.uid + 5), Bytes(5, 0xEE));

    const Decoded other = Decode(14, Frame(14, Bytes(18, kFill)));
    EXPECT_EQ(other.out.result, kResultOk);
    EXPECT_EQ(Bytes(other.uid, other.uid + 5), Bytes(5, 0xEE));
}

TEST(ReplyBurst, ReadFromAReceivedAddressByteWhateverTheResult)
{
    struct Case {
        const char* what;
        int command;
        Bytes frame;
        std::int16_t result;
        bool known, burst;
    };
    const Case cases[] = {
        {"too short, bit set", 14, Frame(14, Bytes(5, kFill), 0xB5 | 0x40), kResultTooShort, true, true},
        {"complete, bit clear", 1, Frame(1, Bytes(7, kFill)), kResultOk, true, false},
        {"short form cut after the address", 0, {0x06, 0xC0, 0x00}, kResultTooShort, true, true},
        {"delimiter only", 1, {0x86}, kResultTooShort, false, false},
        {"empty", 1, {}, kResultTooShort, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const Decoded d = Decode(c.command, c.frame);
        EXPECT_EQ(d.out.result, c.result);
        EXPECT_EQ(d.out.burstKnown, c.known);
        EXPECT_EQ(d.out.burst, c.burst);
    }
}

// Values come only from bytes this reply delivered: the frame must hold its
// header and every declared byte (the check byte is not needed).
TEST(ReplyShortFrame, FrameMustHoldHeaderAndEveryDeclaredByte)
{
    struct Case {
        int command, header, byteCount;
    };
    for (const Case c : {Case{0, 4, 14}, Case{1, 8, 7}, Case{14, 8, 18}}) {
        SCOPED_TRACE(testing::Message() << "command " << c.command);
        Bytes f = Frame(c.command, Bytes(c.byteCount, kFill));
        f.pop_back();
        EXPECT_EQ(Decode(c.command, f).out.result, kResultOk);

        f.pop_back();
        const Decoded cut = Decode(c.command, f);
        EXPECT_EQ(cut.out.result, kResultTooShort);
        EXPECT_EQ(cut.out.byteCount, c.byteCount);
        ExpectUntouched(cut.record);

        f.resize(c.header - 1);
        const Decoded noCount = Decode(c.command, f);
        EXPECT_EQ(noCount.out.result, kResultTooShort);
        EXPECT_EQ(noCount.out.byteCount, -1);
        ExpectUntouched(noCount.record);
    }
}

TEST(ReplyShortFrame, NullFrameIsTooShort)
{
    ReplyRecord record = SentinelRecord();
    std::uint8_t uid[5] = {};
    const ReplyDecode d = DecodeReplyFrame(*FindCommand(1), nullptr, 20, record, uid);
    EXPECT_EQ(d.result, kResultTooShort);
    EXPECT_FALSE(d.burstKnown);
    ExpectUntouched(record);
}
