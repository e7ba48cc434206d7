#include "hart/RequestFrame.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <iterator>
#include <numeric>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;
using Uid = std::array<std::uint8_t, 5>;

constexpr Uid kUid = {0xB5, 0x7C, 0x01, 0x02, 0x03};

// A long frame to kUid: delimiter and address, then the rest.
Bytes ToUid(const Bytes& rest)
{
    Bytes f = rest;
    f.insert(f.begin(), {0x82, 0xB5, 0x7C, 0x01, 0x02, 0x03});
    return f;
}

Bytes Build(int command, const RequestParams& params, const Uid& uid = kUid)
{
    const CommandInfo* cmd = FindCommand(static_cast<std::uint8_t>(command));
    if (cmd == nullptr) {
        ADD_FAILURE() << "no command " << command;
        return {};
    }
    std::uint8_t frame[kMaxRequestFrame];
    return Bytes(frame, frame + BuildRequestFrame(*cmd, params, uid.data(), frame));
}

}  // namespace

TEST(RequestFrame, BytesOnTheWire)
{
    const struct {
        const char* name;
        int command;
        RequestParams params;
        Uid uid;
        Bytes expected;  // check bytes worked out by hand
    } cases[] = {
        {"cmd 0 address 0", 0, {}, {}, {0x02, 0x80, 0x00, 0x00, 0x82}},
        {"cmd 0 address 15", 0, {.reqCode = {15}}, {}, {0x02, 0x8F, 0x00, 0x00, 0x8D}},
        {"cmd 0 ignores values and uid", 0, {.reqValue = {1.0f}}, kUid, {0x02, 0x80, 0x00, 0x00, 0x82}},
        {"cmd 1", 1, {}, kUid, ToUid({0x01, 0x00, 0x4A})},
        {"manufacturer bit 0x40 passes",
         1,
         {},
         {0x46, 0x01, 0x00, 0x00, 0x00},
         {0x82, 0xC6, 0x01, 0x00, 0x00, 0x00, 0x01, 0x00, 0x44}},
        {"cmd 6 new address 5", 6, {.reqCode = {5}}, kUid, ToUid({0x06, 0x01, 0x05, 0x49})},
        {"cmd 19 low bytes only",
         19,
         {.reqCode = {0x0112, 0x34, 0x56}},
         kUid,
         ToUid({0x13, 0x03, 0x12, 0x34, 0x56, 0x2B})},
        {"cmd 34 float 1.0", 34, {.reqValue = {1.0f}}, kUid, ToUid({0x22, 0x04, 0x3F, 0x80, 0x00, 0x00, 0xD2})},
        {"cmd 35 unit and two floats",
         35,
         {.reqCode = {12}, .reqValue = {100.0f, 0.0f}},
         kUid,
         ToUid({0x23, 0x09, 0x0C, 0x42, 0xC8, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xE7})},
        {"cmd 130 unit and float",
         130,
         {.reqCode = {12}, .reqValue = {2.0f}},
         kUid,
         ToUid({0x82, 0x05, 0x0C, 0x40, 0x00, 0x00, 0x00, 0x80})},
        {"cmd 134 second byte fixed", 134, {.reqCode = {2, 0x77}}, kUid, ToUid({0x86, 0x02, 0x02, 0x00, 0xCD})},
        {"cmd 172 sends its access code",
         172,
         {.reqCode = {0x55, 0x66, 0x77}},
         kUid,
         ToUid({0xAC, 0x06, 0x4B, 0x4E, 0x20, 0x4A, 0x56, 0xA6, 0x7E})},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(Build(c.command, c.params, c.uid), c.expected);
    }
}

TEST(RequestFrame, BlockCommandsSendExactlyTheirLengthOfTheBlock)
{
    std::uint8_t block[30];
    std::iota(std::begin(block), std::end(block), 0x10);
    const RequestParams p{.reqBlock = block};

    // XOR of 0x10..0x27 is 0, so the check byte is that of the header alone.
    const Bytes f17 = Build(17, p);
    ASSERT_EQ(f17.size(), 33u);
    EXPECT_EQ(Bytes(f17.begin() + 6, f17.begin() + 9), (Bytes{0x11, 24, 0x10}));
    EXPECT_EQ(Bytes(f17.end() - 2, f17.end()), (Bytes{0x27, 0x42}));

    // XOR of 0x10..0x24 is 0x24; header 0x4C.
    const Bytes f18 = Build(18, p);
    ASSERT_EQ(f18.size(), 30u);
    EXPECT_EQ(Bytes(f18.begin() + 6, f18.begin() + 9), (Bytes{0x12, 21, 0x10}));
    EXPECT_EQ(Bytes(f18.end() - 2, f18.end()), (Bytes{0x24, 0x68}));
}

TEST(RequestFrame, MissingBlockSendsTemplateInsteadOfReadingNull)
{
    const Bytes f = Build(18, RequestParams{});
    ASSERT_EQ(f.size(), 30u);
    EXPECT_EQ(f[8], 0x00);
    EXPECT_EQ(f[9], 0x01);
    EXPECT_EQ(f[28], 0x00);
}

TEST(RequestFrame, EveryCommandWritesItsLengthAndNothingPast)
{
    const std::uint8_t block[kMaxRequestData] = {};
    const RequestParams p{.reqBlock = block};
    for (const CommandInfo& c : AllCommands()) {
        SCOPED_TRACE(testing::Message() << "command " << int(c.command));
        std::uint8_t frame[kMaxRequestFrame + 4];
        std::fill(std::begin(frame), std::end(frame), 0xEE);
        const int n = BuildRequestFrame(c, p, kUid.data(), frame);
        EXPECT_EQ(n, c.form == FrameForm::Short ? 5 : 9 + c.dataLen);
        for (int i = n; i < kMaxRequestFrame + 4; ++i)
            EXPECT_EQ(frame[i], 0xEE) << "byte " << i;
    }
}
