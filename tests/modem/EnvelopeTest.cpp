#include "modem/Envelope.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {
std::vector<std::uint8_t> Line(const std::string& s) { return {s.begin(), s.end()}; }
}  // namespace

TEST(Envelope, FiveByteFrameGoesOutAsSixteenByteLine)
{
    std::uint8_t line[32];
    ASSERT_EQ(WrapRequestLine("0280000082", 10, line), 16);
    const std::string expected = "\x01P010280000082\r\n";
    EXPECT_EQ(std::string(reinterpret_cast<char*>(line), 16), expected);
    EXPECT_EQ(line[16], 0) << "NUL after the line, not part of it";
}

struct ReplyCase {
    const char* name;
    std::string line;
    ReplyLineFault expected;
};

class CheckReplyLineTest : public testing::TestWithParam<ReplyCase> {};

TEST_P(CheckReplyLineTest, JudgesTheLine)
{
    const auto bytes = Line(GetParam().line);
    EXPECT_EQ(CheckReplyLine(bytes.data(), static_cast<int>(bytes.size())), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Rows, CheckReplyLineTest,
                         testing::Values(ReplyCase{"SmallestReply", "\x01P00\r\n", kReplyLineOk},
                                         ReplyCase{"PayloadAccepted", "\x01P1206800000140000\r\n", kReplyLineOk},
                                         ReplyCase{"LettersRWX", "\x01X99\r\n", kReplyLineOk},
                                         ReplyCase{"NoSoh", "\x02P00\r\n", kReplyNoSoh},
                                         ReplyCase{"BadLetter", "\x01Q00\r\n", kReplyBadLetter},
                                         ReplyCase{"LowerCaseLetter", "\x01p00\r\n", kReplyBadLetter},
                                         ReplyCase{"FirstDigit", "\x01PA0\r\n", kReplyBadDigit1},
                                         ReplyCase{"SecondDigit", "\x01P0A\r\n", kReplyBadDigit2},
                                         ReplyCase{"LowerCaseHex", "\x01P0006a0\r\n", kReplyBadHex},
                                         ReplyCase{"SpaceInPayload", "\x01P0006 0\r\n", kReplyBadHex},
                                         ReplyCase{"MissingLf", "\x01P000680\r", kReplyNoLineEnd},
                                         ReplyCase{"MissingCrLf", "\x01P000680", kReplyNoLineEnd},
                                         ReplyCase{"Empty", "", kReplyNoSoh},
                                         ReplyCase{"FiveBytes", "\x01P0\r\n", kReplyBadDigit2},
                                         ReplyCase{"FourBytes", "\x01P00", kReplyNoLineEnd}),
                         [](const testing::TestParamInfo<ReplyCase>& info) { return std::string(info.param.name); });

TEST(Envelope, LineEndsAreNotTakenForPayload)
{
    // CR LF inside the payload is not hex, so a line glued to another fails.
    const auto bytes = Line("\x01P00\r\n\x01P00\r\n");
    EXPECT_EQ(CheckReplyLine(bytes.data(), static_cast<int>(bytes.size())), kReplyBadHex);
}
