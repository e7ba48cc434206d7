#include "modem/Hex.h"

#include <gtest/gtest.h>

#include <array>
#include <cstring>

TEST(Hex, NibbleToHexUsesOnlyTheLowFourBitsAndUpperCase)
{
    EXPECT_EQ(NibbleToHex(0x3C), 'C');
    EXPECT_EQ(NibbleToHex(0x00), '0');
    EXPECT_EQ(NibbleToHex(0x09), '9');
    EXPECT_EQ(NibbleToHex(0x0A), 'A');
    EXPECT_EQ(NibbleToHex(0xFF), 'F');
}

TEST(Hex, HexToNibbleAcceptsBothCases)
{
    EXPECT_EQ(HexToNibble('0'), 0);
    EXPECT_EQ(HexToNibble('9'), 9);
    EXPECT_EQ(HexToNibble('A'), 10);
    EXPECT_EQ(HexToNibble('f'), 15);
    EXPECT_EQ(HexToNibble('G'), 0) << "unchecked input must not produce a wild value";
}

TEST(Hex, BytesToHexWritesTextAndNul)
{
    const std::uint8_t frame[] = {0x02, 0x80, 0x00, 0x00, 0x82};
    std::array<char, 12> text;
    text.fill('#');
    EXPECT_EQ(BytesToHex(frame, text.data(), 5), 10);
    EXPECT_STREQ(text.data(), "0280000082");
    EXPECT_EQ(text[11], '#') << "writes exactly 2n + 1 characters";
}

TEST(Hex, BytesToHexWithNothingToDoLeavesDestinationUntouched)
{
    const std::uint8_t one[] = {0xAB};
    char text[4] = {'#', '#', '#', '#'};
    EXPECT_EQ(BytesToHex(one, text, 0), 0);
    EXPECT_EQ(BytesToHex(one, text, -3), -3);
    EXPECT_EQ(text[0], '#');
}

TEST(Hex, HexToBytesDropsAnOddLastCharacter)
{
    std::uint8_t out[3] = {0, 0x11, 0x11};
    EXPECT_EQ(HexToBytes("A5F", out, 3), 1);
    EXPECT_EQ(out[0], 0xA5);
    EXPECT_EQ(out[1], 0x11);
    EXPECT_EQ(HexToBytes("a5", out, 2), 1);
    EXPECT_EQ(out[0], 0xA5);
    EXPECT_EQ(HexToBytes("FF", out, 0), 0);
}

TEST(Hex, HexRoundTripOverEveryByteValue)
{
    std::array<std::uint8_t, 256> bytes;
    for (int i = 0; i < 256; ++i)
        bytes[i] = static_cast<std::uint8_t>(i);
    std::array<char, 513> text;
    std::array<std::uint8_t, 256> back{};
    ASSERT_EQ(BytesToHex(bytes.data(), text.data(), 256), 512);
    ASSERT_EQ(HexToBytes(text.data(), back.data(), 512), 256);
    EXPECT_EQ(back, bytes);
}

TEST(Hex, XorChecksumOfTheCommandZeroFrame)
{
    const std::uint8_t frame[] = {0x02, 0x80, 0x00, 0x00};
    EXPECT_EQ(XorChecksum(frame, 4), 0x82);
    EXPECT_EQ(XorChecksum(frame, 0), 0x00);
    const std::uint8_t cmd1[] = {0x82, 0xB5, 0x7C, 0x01, 0x02, 0x03, 0x01, 0x00};
    EXPECT_EQ(XorChecksum(cmd1, 8), 0x4A);
}

TEST(Hex, FloatsTravelMostSignificantByteFirst)
{
    const std::uint8_t one[] = {0x3F, 0x80, 0x00, 0x00};
    EXPECT_EQ(FloatFromWire(one), 1.0f);
    std::uint8_t wire[4];
    FloatToWire(-2.5f, wire);
    const std::uint8_t expected[] = {0xC0, 0x20, 0x00, 0x00};
    EXPECT_EQ(0, std::memcmp(wire, expected, 4));

    std::uint8_t reversed[4];
    ReverseBytes4(reversed, one);
    const std::uint8_t hostOrder[] = {0x00, 0x00, 0x80, 0x3F};
    EXPECT_EQ(0, std::memcmp(reversed, hostOrder, 4));
}
