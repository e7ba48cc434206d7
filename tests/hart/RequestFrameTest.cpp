#include "hart/RequestFrame.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <iterator>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr std::uint8_t kUid[5] = {0xB5, 0x7C, 0x01, 0x02, 0x03};

struct FrameCase {
    const char* name;
    int command;
    RequestParams params;
    std::array<std::uint8_t, 5> uniqueId;
    Bytes expected; // check bytes worked out by hand
};

RequestParams Codes(std::int16_t a, std::int16_t b = 0, std::int16_t c = 0)
{
    RequestParams p;
    p.reqCode[0] = a;
    p.reqCode[1] = b;
    p.reqCode[2] = c;
    return p;
}

RequestParams Value(std::int16_t code, float v0, float v1 = 0.0f)
{
    RequestParams p = Codes(code);
    p.reqValue[0] = v0;
    p.reqValue[1] = v1;
    return p;
}

constexpr std::array<std::uint8_t, 5> B5 = {0xB5, 0x7C, 0x01, 0x02, 0x03};

Bytes Build(int command, const RequestParams& params, const std::uint8_t* uid)
{
    const CommandInfo* cmd = FindCommand(static_cast<std::uint8_t>(command));
    EXPECT_NE(cmd, nullptr);
    if (cmd == nullptr)
        return {};
    std::uint8_t frame[kMaxRequestFrame + 8];
    const int n = BuildRequestFrame(*cmd, params, uid, frame);
    return Bytes(frame, frame + n);
}

void PrintTo(const FrameCase& c, std::ostream* os) { *os << c.name; }

class RequestFrameTest : public testing::TestWithParam<FrameCase> {};

} // namespace

TEST_P(RequestFrameTest, BytesOnTheWire)
{
    const FrameCase& c = GetParam();
    EXPECT_EQ(Build(c.command, c.params, c.uniqueId.data()), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Frames, RequestFrameTest,
    testing::Values(
        FrameCase{"Cmd0Address0", 0, Codes(0), {}, {0x02, 0x80, 0x00, 0x00, 0x82}},
        FrameCase{"Cmd0Address15", 0, Codes(15), {}, {0x02, 0x8F, 0x00, 0x00, 0x8D}},
        FrameCase{"Cmd0IgnoresValuesAndUid", 0, Value(0, 1.0f), B5, {0x02, 0x80, 0x00, 0x00, 0x82}},
        FrameCase{"Cmd1", 1, Codes(0), B5, {0x82, 0xB5, 0x7C, 0x01, 0x02, 0x03, 0x01, 0x00, 0x4A}},
        FrameCase{"Cmd1ZeroUid", 1, Codes(0), {0, 0, 0, 0, 0}, {0x82, 0x80, 0x00, 0x00, 0x00, 0x00, 0x01, 0x00, 0x03}},
        FrameCase{"ManufacturerBit40PassesThrough", 1, Codes(0), {0x46, 0x01, 0x00, 0x00, 0x00},
                  {0x82, 0xC6, 0x01, 0x00, 0x00, 0x00, 0x01, 0x00, 0x44}},
        FrameCase{"Cmd6NewAddress5", 6, Codes(5), B5, {0x82, 0xB5, 0x7C, 0x01, 0x02, 0x03, 0x06, 0x01, 0x05, 0x49}},
        FrameCase{"Cmd19LowBytesOnly", 19, Codes(0x0112, 0x34, 0x56), B5,
                  {0x82, 0xB5, 0x7C, 0x01, 0x02, 0x03, 0x13, 0x03, 0x12, 0x34, 0x56, 0x2B}},
        FrameCase{"Cmd34FloatOne", 34, Value(0, 1.0f), B5,
                  {0x82, 0xB5, 0x7C, 0x01, 0x02, 0x03, 0x22, 0x04, 0x3F, 0x80, 0x00, 0x00, 0xD2}},
        FrameCase{"Cmd35UnitAndTwoFloats", 35, Value(12, 100.0f, 0.0f), B5,
                  {0x82, 0xB5, 0x7C, 0x01, 0x02, 0x03, 0x23, 0x09, 0x0C, 0x42, 0xC8, 0x00, 0x00, 0x00, 0x00, 0x00,
                   0x00, 0xE7}},
        FrameCase{"Cmd40", 40, Value(0, 12.0f), B5,
                  {0x82, 0xB5, 0x7C, 0x01, 0x02, 0x03, 0x28, 0x04, 0x41, 0x40, 0x00, 0x00, 0x66}},
        FrameCase{"Cmd130UnitAndFloat", 130, Value(12, 2.0f), B5,
                  {0x82, 0xB5, 0x7C, 0x01, 0x02, 0x03, 0x82, 0x05, 0x0C, 0x40, 0x00, 0x00, 0x00, 0x80}},
        FrameCase{"Cmd134SecondByteFixed", 134, Codes(2, 0x77), B5,
                  {0x82, 0xB5, 0x7C, 0x01, 0x02, 0x03, 0x86, 0x02, 0x02, 0x00, 0xCD}},
        FrameCase{"Cmd172AsTemplate", 172, Codes(0x55, 0x66, 0x77), B5,
                  {0x82, 0xB5, 0x7C, 0x01, 0x02, 0x03, 0xAC, 0x06, 0x4B, 0x4E, 0x20, 0x4A, 0x56, 0xA6, 0x7E}}),
    [](const testing::TestParamInfo<FrameCase>& info) { return info.param.name; });

TEST(RequestFrame, BlockCommandsSendExactlyTheirLengthOfTheBlock)
{
    std::uint8_t block[30];
    for (int i = 0; i < 30; ++i)
        block[i] = static_cast<std::uint8_t>(0x10 + i);
    RequestParams p;
    p.reqBlock = block;

    // XOR of 0x10..0x27 is 0, so the check byte is that of the header alone.
    const Bytes f17 = Build(17, p, kUid);
    ASSERT_EQ(f17.size(), 33u);
    EXPECT_EQ(f17[7], 24);
    EXPECT_EQ(f17[8], 0x10);
    EXPECT_EQ(f17[31], 0x27);
    EXPECT_EQ(f17[32], 0x42);

    // XOR of 0x10..0x24 is 0x24; header 0x4C.
    const Bytes f18 = Build(18, p, kUid);
    ASSERT_EQ(f18.size(), 30u);
    EXPECT_EQ(f18[7], 21);
    EXPECT_EQ(f18[28], 0x24);
    EXPECT_EQ(f18[29], 0x68);
}

TEST(RequestFrame, EveryTrySendsTheSameBlock)
{
    const std::uint8_t block[21] = {0x04, 0x20, 0xC4};
    RequestParams p;
    p.reqBlock = block;
    const Bytes first = Build(18, p, kUid);
    const Bytes second = Build(18, p, kUid);
    EXPECT_EQ(first, second);
    EXPECT_EQ(block[0], 0x04) << "the block is only read";
}

TEST(RequestFrame, MissingBlockSendsTemplateInsteadOfReadingNull)
{
    const Bytes f = Build(18, RequestParams{}, kUid);
    ASSERT_EQ(f.size(), 30u);
    EXPECT_EQ(f[8], 0x00);
    EXPECT_EQ(f[9], 0x01);
    EXPECT_EQ(f[28], 0x00);
}

TEST(RequestFrame, WritesNothingPastTheFrame)
{
    for (const CommandInfo& c : AllCommands()) {
        std::uint8_t frame[kMaxRequestFrame + 4];
        std::fill(std::begin(frame), std::end(frame), 0xEE);
        std::uint8_t block[24] = {};
        RequestParams p;
        p.reqBlock = block;
        const int n = BuildRequestFrame(c, p, kUid, frame);
        EXPECT_EQ(n, c.form == FrameForm::Short ? 5 : 9 + c.dataLen) << "command " << int(c.command);
        for (int i = n; i < kMaxRequestFrame + 4; ++i)
            EXPECT_EQ(frame[i], 0xEE) << "command " << int(c.command) << " byte " << i;
    }
}
