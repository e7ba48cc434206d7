// Hex text and the modem's line envelope. (The check byte and floats on the
// wire: the request and reply frames of the HART test.)
#include "modem/Envelope.h"
#include "modem/Hex.h"

#include <gtest/gtest.h>

#include <numeric>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

TEST(Hex, EveryByteValueToTextAndBack)
{
    Bytes bytes(256), back(256);
    std::iota(bytes.begin(), bytes.end(), std::uint8_t{0});
    std::string text(514, '#');
    ASSERT_EQ(BytesToHex(bytes.data(), text.data(), 256), 512);
    EXPECT_EQ(text.substr(2 * 0xAB, 4), "ABAC");
    EXPECT_EQ(text.substr(512), std::string("\0#", 2)) << "exactly 2n + 1 characters";
    ASSERT_EQ(HexToBytes(text.data(), back.data(), 512), 256);
    EXPECT_EQ(back, bytes);
}

TEST(Hex, LowerCaseReadOddLastDigitAndEmptyCountsWriteNothing)
{
    EXPECT_EQ(HexToNibble('G'), 0) << "unchecked input gives no wild value";
    std::uint8_t out[2] = {0, 0x11};
    EXPECT_EQ(HexToBytes("a5F", out, 3), 1);
    EXPECT_EQ(Bytes(out, out + 2), (Bytes{0xA5, 0x11}));
    char text[2] = {'#', '#'};
    EXPECT_EQ(HexToBytes("FF", out, 0), 0);
    EXPECT_EQ(BytesToHex(out, text, 0), 0);
    EXPECT_EQ(BytesToHex(out, text, -3), -3);
    EXPECT_EQ(out[0], 0xA5);
    EXPECT_EQ(text[0], '#');
}

TEST(Envelope, FiveByteFrameGoesOutAsSixteenByteLineAndANul)
{
    std::uint8_t line[32];
    ASSERT_EQ(WrapRequestLine("0280000082", 10, line), 16);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(line), 17), std::string("\x01P010280000082\r\n", 17));
}

TEST(ReplyLine, TellsWhichPartOfTheEnvelopeIsWrong)
{
    const struct {
        const char* name;
        std::string line;
        ReplyLineFault expected;
    } rows[] = {{"SmallestReply", "\x01P00\r\n", kReplyLineOk},
                {"PayloadAccepted", "\x01P1206800000140000\r\n", kReplyLineOk},
                {"LetterX", "\x01X99\r\n", kReplyLineOk},
                {"Empty", "", kReplyNoSoh},
                {"NoSoh", "\x02P00\r\n", kReplyNoSoh},
                {"BadLetter", "\x01Q00\r\n", kReplyBadLetter},
                {"LowerCaseLetter", "\x01p00\r\n", kReplyBadLetter},
                {"FirstDigit", "\x01PA0\r\n", kReplyBadDigit1},
                {"SecondDigit", "\x01P0A\r\n", kReplyBadDigit2},
                {"FiveBytes", "\x01P0\r\n", kReplyBadDigit2},
                {"LowerCaseLastDigit", "\x01P00060a\r\n", kReplyBadHex},
                {"TwoLinesGlued", "\x01P00\r\n\x01P00\r\n", kReplyBadHex},
                {"MissingLf", "\x01P000680\r", kReplyNoLineEnd},
                {"LfWithoutCr", "\x01P0006A\n", kReplyNoLineEnd},
                {"NoLineEnd", "\x01P00", kReplyNoLineEnd}};
    for (const auto& row : rows) {
        const auto* bytes = reinterpret_cast<const std::uint8_t*>(row.line.data());
        EXPECT_EQ(CheckReplyLine(bytes, static_cast<int>(row.line.size())), row.expected) << row.name;
    }
}

}  // namespace
