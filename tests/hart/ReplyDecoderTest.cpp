#include "hart/ReplyDecoder.h"

#include "hart/ResultCodes.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr std::uint8_t kChecksum = 0xCC; // never verified
constexpr std::uint8_t kSentinel = 0x5A;

Bytes Cat(Bytes a, const Bytes& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// A long reply as the transmitter sends it: delimiter, 5-byte address,
// command, byte count (status bytes included), status bytes, data, check byte.
Bytes LongReply(std::uint8_t cmd, const Bytes& data, std::uint8_t resp = 0, std::uint8_t status = 0,
                std::uint8_t addr1 = 0xB5)
{
    Bytes f = {0x86, addr1, 0x7C, 0x01, 0x02, 0x03, cmd, static_cast<std::uint8_t>(2 + data.size()), resp, status};
    f = Cat(f, data);
    f.push_back(kChecksum);
    return f;
}

Bytes ShortReply(const Bytes& data, std::uint8_t addr1 = 0x80)
{
    Bytes f = {0x06, addr1, 0x00, static_cast<std::uint8_t>(2 + data.size()), 0x00, 0x00};
    f = Cat(f, data);
    f.push_back(kChecksum);
    return f;
}

Bytes Filler(std::size_t n, std::uint8_t v = 0x11) { return Bytes(n, v); }

ReplyRecord SentinelRecord()
{
    ReplyRecord r;
    r.m_nReplyItems = kSentinel;
    for (auto& c : r.m_nReplyCode)
        c = kSentinel;
    for (auto& f : r.m_fReplyValue)
        f = -7.5f;
    static const std::uint8_t marker = 0;
    r.m_pReplyData = &marker;
    return r;
}

void ExpectUntouched(const ReplyRecord& r)
{
    const ReplyRecord s = SentinelRecord();
    EXPECT_EQ(r.m_nReplyItems, s.m_nReplyItems);
    for (int i = 0; i < 7; ++i)
        EXPECT_EQ(r.m_nReplyCode[i], s.m_nReplyCode[i]) << "code " << i;
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(r.m_fReplyValue[i], s.m_fReplyValue[i]) << "value " << i;
    EXPECT_EQ(r.m_pReplyData, s.m_pReplyData);
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
    EXPECT_NE(cmd, nullptr);
    if (cmd != nullptr)
        d.out = DecodeReplyFrame(*cmd, frame.data(), static_cast<int>(frame.size()), d.record, d.uid);
    return d;
}

// --- the minimum byte count of every reply layout, on both sides --------

struct MinimumCase {
    int command;
    int minByteCount;
};

void PrintTo(const MinimumCase& c, std::ostream* os) { *os << "command " << c.command; }

class MinimumByteCount : public testing::TestWithParam<MinimumCase> {};

Bytes ReplyWithCount(int command, int byteCount)
{
    const Bytes body = Filler(static_cast<std::size_t>(byteCount));
    if (command == 0) {
        Bytes f = {0x06, 0x80, 0x00, static_cast<std::uint8_t>(byteCount)};
        f = Cat(f, body);
        f.push_back(kChecksum);
        return f;
    }
    Bytes f = {0x86, 0xB5, 0x7C, 0x01, 0x02, 0x03, static_cast<std::uint8_t>(command),
               static_cast<std::uint8_t>(byteCount)};
    f = Cat(f, body);
    f.push_back(kChecksum);
    return f;
}

} // namespace

TEST_P(MinimumByteCount, OneBelowIsTooShortExactlyIsAccepted)
{
    const auto [command, min] = GetParam();
    const Decoded below = Decode(command, ReplyWithCount(command, min - 1));
    EXPECT_EQ(below.out.result, kResultTooShort);
    EXPECT_EQ(below.out.byteCount, min - 1);
    ExpectUntouched(below.record);

    const Decoded at = Decode(command, ReplyWithCount(command, min));
    EXPECT_EQ(at.out.result, kResultOk);
    EXPECT_NE(at.record.m_nReplyItems, kSentinel);
}

INSTANTIATE_TEST_SUITE_P(Families, MinimumByteCount,
                         testing::Values(MinimumCase{0, 14}, MinimumCase{1, 7}, MinimumCase{2, 10},
                                         MinimumCase{12, 26}, MinimumCase{13, 23}, MinimumCase{14, 18},
                                         MinimumCase{15, 19}, MinimumCase{16, 5}, MinimumCase{128, 24},
                                         MinimumCase{165, 3}, MinimumCase{172, 14}, MinimumCase{36, 2},
                                         MinimumCase{6, 2}, MinimumCase{34, 2}, MinimumCase{17, 2},
                                         MinimumCase{18, 2}, MinimumCase{19, 2}, MinimumCase{35, 2},
                                         MinimumCase{130, 2}),
                         [](const testing::TestParamInfo<MinimumCase>& i) {
                             return "Cmd" + std::to_string(i.param.command);
                         });

// --- where each layout's values come from ---------------------------------

TEST(ReplyValues, Command0IdentityAndUniqueId)
{
    Bytes data = {0xFE, 0xB5, 0x7C};
    data = Cat(data, Filler(6));
    data = Cat(data, {0x01, 0x02, 0x03});
    const Bytes frame = ShortReply(data);
    ASSERT_EQ(frame[7], 0xB5);
    ASSERT_EQ(frame[15], 0x01);
    const Decoded d = Decode(0, frame);
    ASSERT_EQ(d.out.result, kResultOk);
    EXPECT_EQ(d.record.m_nReplyItems, 5);
    const std::int16_t codes[5] = {0xB5, 0x7C, 0x01, 0x02, 0x03};
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(d.record.m_nReplyCode[i], codes[i]) << i;
        EXPECT_EQ(d.uid[i], codes[i]) << i;
    }
}

TEST(ReplyValues, Command1UnitAndPrimaryVariable)
{
    const Decoded d = Decode(1, LongReply(1, {0x0C, 0x42, 0xC8, 0x00, 0x00}));
    ASSERT_EQ(d.out.result, kResultOk);
    EXPECT_EQ(d.record.m_nReplyItems, 2);
    EXPECT_EQ(d.record.m_nReplyCode[0], 12);
    EXPECT_FLOAT_EQ(d.record.m_fReplyValue[0], 100.0f);
    EXPECT_EQ(d.record.m_nReplyCode[1], kSentinel) << "the fixed layouts keep no status head";
}

TEST(ReplyValues, Command2CurrentAndPercent)
{
    const Decoded d = Decode(2, LongReply(2, {0x41, 0xA0, 0x00, 0x00, 0x42, 0xC8, 0x00, 0x00}));
    ASSERT_EQ(d.out.result, kResultOk);
    EXPECT_EQ(d.record.m_nReplyItems, 2);
    EXPECT_FLOAT_EQ(d.record.m_fReplyValue[0], 20.0f);
    EXPECT_FLOAT_EQ(d.record.m_fReplyValue[1], 100.0f);
}

TEST(ReplyValues, Command14SensorLimitsCountFiveItems)
{
    const Decoded d = Decode(14, LongReply(14, {0x01, 0x02, 0x03, 0x0C, 0x42, 0xC8, 0x00, 0x00, 0xC2, 0xC8, 0x00,
                                                0x00, 0x41, 0x20, 0x00, 0x00}));
    ASSERT_EQ(d.out.result, kResultOk);
    EXPECT_EQ(d.record.m_nReplyItems, 5);
    EXPECT_EQ(d.record.m_nReplyCode[0], 1);
    EXPECT_EQ(d.record.m_nReplyCode[1], 2);
    EXPECT_EQ(d.record.m_nReplyCode[2], 3);
    EXPECT_EQ(d.record.m_nReplyCode[3], 12);
    EXPECT_FLOAT_EQ(d.record.m_fReplyValue[0], 100.0f);
    EXPECT_FLOAT_EQ(d.record.m_fReplyValue[1], -100.0f);
    EXPECT_FLOAT_EQ(d.record.m_fReplyValue[2], 10.0f);
}

TEST(ReplyValues, Command15Settings)
{
    const Decoded d = Decode(15, LongReply(15, {0xEF, 0x01, 0xED, 0x3F, 0x80, 0x00, 0x00, 0x00, 0x00, 0x00,
                                                0x00, 0x40, 0x00, 0x00, 0x00, 0x01, 0x05}));
    ASSERT_EQ(d.out.result, kResultOk);
    EXPECT_EQ(d.record.m_nReplyItems, 8);
    EXPECT_EQ(d.record.m_nReplyCode[0], 239);
    EXPECT_EQ(d.record.m_nReplyCode[1], 1);
    EXPECT_EQ(d.record.m_nReplyCode[2], 237);
    EXPECT_EQ(d.record.m_nReplyCode[3], 1);
    EXPECT_EQ(d.record.m_nReplyCode[4], 5);
    EXPECT_FLOAT_EQ(d.record.m_fReplyValue[0], 1.0f);
    EXPECT_FLOAT_EQ(d.record.m_fReplyValue[1], 0.0f);
    EXPECT_FLOAT_EQ(d.record.m_fReplyValue[2], 2.0f);
}

TEST(ReplyValues, Command16BytesWidenUnsigned)
{
    const Decoded d = Decode(16, LongReply(16, {0xFF, 0x80, 0x7F}));
    ASSERT_EQ(d.out.result, kResultOk);
    EXPECT_EQ(d.record.m_nReplyItems, 3);
    EXPECT_EQ(d.record.m_nReplyCode[0], 255);
    EXPECT_EQ(d.record.m_nReplyCode[1], 128);
    EXPECT_EQ(d.record.m_nReplyCode[2], 127);
}

TEST(ReplyValues, Command128TrimPointsFromByte13)
{
    Bytes data = Filler(13, 0x99);
    data = Cat(data, {0x0C, 0x42, 0xC8, 0x00, 0x00, 0x40, 0xA0, 0x00, 0x00});
    const Decoded d = Decode(128, LongReply(128, data));
    ASSERT_EQ(d.out.result, kResultOk);
    EXPECT_EQ(d.record.m_nReplyItems, 3);
    EXPECT_EQ(d.record.m_nReplyCode[0], 12);
    EXPECT_FLOAT_EQ(d.record.m_fReplyValue[0], 100.0f);
    EXPECT_FLOAT_EQ(d.record.m_fReplyValue[1], 5.0f);
}

TEST(ReplyValues, Command165DisplayCode)
{
    const Decoded d = Decode(165, LongReply(165, {0x02}));
    ASSERT_EQ(d.out.result, kResultOk);
    EXPECT_EQ(d.record.m_nReplyItems, 1);
    EXPECT_EQ(d.record.m_nReplyCode[0], 2);
}

TEST(ReplyValues, BlockLayoutsPointIntoTheFrame)
{
    const Bytes f12 = LongReply(12, Filler(24));
    const Decoded d12 = Decode(12, f12);
    ASSERT_EQ(d12.out.result, kResultOk);
    EXPECT_EQ(d12.record.m_nReplyItems, 1);
    EXPECT_EQ(d12.record.m_pReplyData, f12.data() + 10);

    const Bytes f13 = LongReply(13, Filler(21));
    const Decoded d13 = Decode(13, f13);
    ASSERT_EQ(d13.out.result, kResultOk);
    EXPECT_EQ(d13.record.m_pReplyData, f13.data() + 10);

    const Bytes f172 = LongReply(172, {0, 0, 0, 0, 0, 0, 'V', '1', '.', '2', 0, 0});
    const Decoded d172 = Decode(172, f172);
    ASSERT_EQ(d172.out.result, kResultOk);
    EXPECT_EQ(d172.record.m_nReplyItems, 1);
    EXPECT_EQ(d172.record.m_pReplyData, f172.data() + 16);
    EXPECT_EQ(d172.record.m_pReplyData[0], 'V');
}

TEST(ReplyValues, StatusHeadAndEachStatusFamily)
{
    const Decoded s = Decode(36, LongReply(36, {}, 0x40, 0x08));
    ASSERT_EQ(s.out.result, kResultOk);
    EXPECT_EQ(s.record.m_nReplyItems, 3);
    EXPECT_EQ(s.record.m_nReplyCode[0], 2);
    EXPECT_EQ(s.record.m_nReplyCode[1], 0x40);
    EXPECT_EQ(s.record.m_nReplyCode[2], 0x08);
    EXPECT_EQ(s.record.m_nReplyCode[3], kSentinel);

    const Decoded e = Decode(6, LongReply(6, {0x05}));
    EXPECT_EQ(e.record.m_nReplyItems, 4);
    EXPECT_EQ(e.record.m_nReplyCode[0], 3);
    EXPECT_EQ(e.record.m_nReplyCode[3], 5);

    const Decoded fe = Decode(34, LongReply(34, {0x3F, 0x80, 0x00, 0x00}));
    EXPECT_EQ(fe.record.m_nReplyItems, 4);
    EXPECT_FLOAT_EQ(fe.record.m_fReplyValue[0], 1.0f);

    const Bytes f17 = LongReply(17, Filler(24));
    const Decoded b = Decode(17, f17);
    EXPECT_EQ(b.record.m_nReplyItems, 4);
    EXPECT_EQ(b.record.m_nReplyCode[0], 26);
    EXPECT_EQ(b.record.m_pReplyData, f17.data() + 10);

    const Decoded a = Decode(19, LongReply(19, {0x01, 0x00, 0x02}));
    EXPECT_EQ(a.record.m_nReplyItems, 6);
    EXPECT_EQ(a.record.m_nReplyCode[3], kSentinel) << "element 3 is not written";
    EXPECT_EQ(a.record.m_nReplyCode[4], 1);
    EXPECT_EQ(a.record.m_nReplyCode[5], 0);
    EXPECT_EQ(a.record.m_nReplyCode[6], 2);

    const Decoded r = Decode(35, LongReply(35, {0x0C, 0x42, 0xC8, 0x00, 0x00, 0xC2, 0xC8, 0x00, 0x00}));
    EXPECT_EQ(r.record.m_nReplyItems, 6);
    EXPECT_EQ(r.record.m_nReplyCode[3], 12);
    EXPECT_FLOAT_EQ(r.record.m_fReplyValue[0], 100.0f);
    EXPECT_FLOAT_EQ(r.record.m_fReplyValue[1], -100.0f);

    const Decoded t = Decode(130, LongReply(130, {0x0C, 0x3F, 0x80, 0x00, 0x00}));
    EXPECT_EQ(t.record.m_nReplyItems, 5);
    EXPECT_EQ(t.record.m_nReplyCode[3], 12);
    EXPECT_FLOAT_EQ(t.record.m_fReplyValue[0], 1.0f);
}

// --- unique identifier and burst flag -------------------------------------

TEST(ReplyUniqueId, OnlyASuccessfulCommand0WritesIt)
{
    Bytes data = {0xFE, 0xB5, 0x7C};
    data = Cat(data, Filler(6));
    data = Cat(data, {0x01, 0x02, 0x03});
    Bytes shortOne = ShortReply(data);
    shortOne[3] = 13; // one below the minimum
    const Decoded failed = Decode(0, shortOne);
    EXPECT_EQ(failed.out.result, kResultTooShort);
    for (std::uint8_t b : failed.uid)
        EXPECT_EQ(b, 0xEE);

    const Decoded other = Decode(14, LongReply(14, Filler(16)));
    EXPECT_EQ(other.out.result, kResultOk);
    for (std::uint8_t b : other.uid)
        EXPECT_EQ(b, 0xEE);
}

TEST(ReplyBurst, ReadFromAddressByteEvenWhenTooShort)
{
    const Decoded d = Decode(14, LongReply(14, Filler(3), 0, 0, 0xB5 | 0x40));
    EXPECT_EQ(d.out.result, kResultTooShort);
    EXPECT_TRUE(d.out.burstKnown);
    EXPECT_TRUE(d.out.burst);

    const Decoded quiet = Decode(1, LongReply(1, Filler(5), 0, 0, 0xB5 & ~0x40));
    EXPECT_TRUE(quiet.out.burstKnown);
    EXPECT_FALSE(quiet.out.burst);

    const Decoded shortForm = Decode(0, {0x06, 0xC0, 0x00});
    EXPECT_TRUE(shortForm.out.burstKnown);
    EXPECT_TRUE(shortForm.out.burst);
}

TEST(ReplyBurst, UnknownWithoutAnAddressByte)
{
    const Decoded one = Decode(1, {0x86});
    EXPECT_EQ(one.out.result, kResultTooShort);
    EXPECT_FALSE(one.out.burstKnown);
    EXPECT_EQ(one.out.byteCount, -1);

    const Decoded none = Decode(1, {});
    EXPECT_FALSE(none.out.burstKnown);

    ReplyRecord record = SentinelRecord();
    std::uint8_t uid[5] = {};
    const ReplyDecode null = DecodeReplyFrame(*FindCommand(1), nullptr, 20, record, uid);
    EXPECT_EQ(null.result, kResultTooShort);
    EXPECT_FALSE(null.burstKnown);
    ExpectUntouched(record);
}

// --- values only from bytes this reply delivered --------------------------

TEST(ReplyShortFrame, DeclaredCountLongerThanFrameIsTooShort)
{
    Bytes f = LongReply(14, Filler(16));
    f.resize(8 + 10); // header and ten of the eighteen declared bytes
    const Decoded d = Decode(14, f);
    EXPECT_EQ(d.out.result, kResultTooShort);
    EXPECT_EQ(d.out.byteCount, 18);
    ExpectUntouched(d.record);
}

TEST(ReplyShortFrame, FrameEndingRightAfterTheDeclaredBytesIsEnough)
{
    Bytes f = LongReply(1, {0x0C, 0x42, 0xC8, 0x00, 0x00});
    f.pop_back(); // no check byte
    EXPECT_EQ(Decode(1, f).out.result, kResultOk);
    f.pop_back();
    EXPECT_EQ(Decode(1, f).out.result, kResultTooShort);
}

TEST(ReplyShortFrame, NoByteCountByteIsTooShort)
{
    const Bytes longHead = {0x86, 0xB5, 0x7C, 0x01, 0x02, 0x03, 0x24};
    const Decoded l = Decode(36, longHead);
    EXPECT_EQ(l.out.result, kResultTooShort);
    EXPECT_EQ(l.out.byteCount, -1);
    ExpectUntouched(l.record);

    const Decoded s = Decode(0, {0x06, 0x80, 0x00});
    EXPECT_EQ(s.out.result, kResultTooShort);
    EXPECT_EQ(s.out.byteCount, -1);
}

TEST(ReplyShortFrame, Command0ShortReplyUsesItsFourByteHeader)
{
    Bytes f = ShortReply(Filler(12));
    f.resize(4 + 13); // one declared byte missing
    EXPECT_EQ(Decode(0, f).out.result, kResultTooShort);
    f.push_back(0x03);
    EXPECT_EQ(Decode(0, f).out.result, kResultOk);
}

TEST(ReplyShortFrame, EchoWithoutDataDoesNotTakeTheCheckByte)
{
    const Decoded d = Decode(6, LongReply(6, {}));
    ASSERT_EQ(d.out.result, kResultOk);
    EXPECT_EQ(d.record.m_nReplyCode[0], 2);
    EXPECT_EQ(d.record.m_nReplyCode[3], 0) << "cleared, not the check byte 0xCC nor an older echo";
    EXPECT_EQ(d.record.m_nReplyItems, 3);
}

TEST(ReplyShortFrame, PartialStatusValuesStoreWhatArrived)
{
    const Decoded fe = Decode(34, LongReply(34, {0x3F, 0x80, 0x00}));
    ASSERT_EQ(fe.out.result, kResultOk);
    EXPECT_EQ(fe.record.m_fReplyValue[0], 0.0f);
    EXPECT_EQ(fe.record.m_nReplyItems, 3);

    const Decoded r = Decode(35, LongReply(35, {0x0C, 0x42, 0xC8, 0x00, 0x00}));
    ASSERT_EQ(r.out.result, kResultOk);
    EXPECT_EQ(r.record.m_nReplyCode[3], 12);
    EXPECT_FLOAT_EQ(r.record.m_fReplyValue[0], 100.0f);
    EXPECT_EQ(r.record.m_fReplyValue[1], 0.0f);
    EXPECT_EQ(r.record.m_nReplyItems, 5);

    const Decoded b = Decode(17, LongReply(17, {}));
    ASSERT_EQ(b.out.result, kResultOk);
    EXPECT_EQ(b.record.m_pReplyData, nullptr);
    EXPECT_EQ(b.record.m_nReplyItems, 3);
}
