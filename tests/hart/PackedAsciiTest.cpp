#include "hart/PackedAscii.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using Bytes = std::vector<std::uint8_t>;

TEST(PackAscii4, Vectors)
{
    std::uint8_t out[3];
    PackAscii4(out, "ABCD");
    EXPECT_EQ(Bytes(out, out + 3), (Bytes{0x04, 0x20, 0xC4}));
    PackAscii4(out, "    ");
    EXPECT_EQ(Bytes(out, out + 3), (Bytes{0x82, 0x08, 0x20}));
    PackAscii4(out, "@@@@");
    EXPECT_EQ(Bytes(out, out + 3), (Bytes{0x00, 0x00, 0x00}));
}

TEST(UnpackAscii4, Vectors)
{
    char out[5] = {};
    const std::uint8_t abcd[3] = {0x04, 0x20, 0xC4};
    UnpackAscii4(out, abcd);
    EXPECT_STREQ(out, "ABCD");
    const std::uint8_t spaces[3] = {0x82, 0x08, 0x20};
    UnpackAscii4(out, spaces);
    EXPECT_STREQ(out, "    ");
    const std::uint8_t zero[3] = {0x00, 0x00, 0x00};
    UnpackAscii4(out, zero);
    EXPECT_STREQ(out, "@@@@");
}

TEST(PackedAscii, WholeAlphabetRoundTrips)
{
    // The 64 characters in code order: 0x40-0x5F for codes 0-31, 0x20-0x3F for 32-63.
    std::string alphabet;
    for (int c = 0x40; c <= 0x5F; ++c)
        alphabet += static_cast<char>(c);
    for (int c = 0x20; c <= 0x3F; ++c)
        alphabet += static_cast<char>(c);
    ASSERT_EQ(alphabet.size(), 64u);

    std::uint8_t packed[48];
    ASSERT_TRUE(PackTextField(alphabet, 64, packed));
    EXPECT_EQ(UnpackTextField(packed, 64), alphabet);
    // Codes in order: the first group is 0, 1, 2, 3.
    EXPECT_EQ(Bytes(packed, packed + 3), (Bytes{0x00, 0x10, 0x83}));
    // The last group is codes 60-63: 0xF00000 + 0x3D000 + 0xF80 + 0x3F.
    EXPECT_EQ(Bytes(packed + 45, packed + 48), (Bytes{0xF3, 0xDF, 0xBF}));
}

TEST(PackTextField, UpperCasesAndPads)
{
    std::uint8_t tag[6];
    ASSERT_TRUE(PackTextField("PT1", 8, tag));
    EXPECT_EQ(Bytes(tag, tag + 6), (Bytes{0x41, 0x4C, 0x60, 0x82, 0x08, 0x20}));
    EXPECT_EQ(UnpackTextField(tag, 8), "PT1     ");

    std::uint8_t lower[6];
    ASSERT_TRUE(PackTextField("abcd", 8, lower));
    EXPECT_EQ(Bytes(lower, lower + 3), (Bytes{0x04, 0x20, 0xC4}));
}

TEST(PackTextField, EmptyTextIsAllSpaces)
{
    std::uint8_t desc[12];
    ASSERT_TRUE(PackTextField("", 16, desc));
    for (int g = 0; g < 4; ++g)
        EXPECT_EQ(Bytes(desc + 3 * g, desc + 3 * g + 3), (Bytes{0x82, 0x08, 0x20})) << "group " << g;
    EXPECT_EQ(UnpackTextField(desc, 16), std::string(16, ' '));
}

TEST(PackTextField, NonLettersAbove0x60KeepTheirLowSixBits)
{
    std::uint8_t out[3];
    ASSERT_TRUE(PackTextField("`{|}", 4, out));
    EXPECT_EQ(UnpackTextField(out, 4), " ;<=");
}

TEST(PackTextField, RefusesWhatWouldOverrun)
{
    std::uint8_t out[7] = {0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE};
    EXPECT_FALSE(PackTextField("NINECHARS", 8, out)) << "longer than the field";
    EXPECT_FALSE(PackTextField("AB", 6, out)) << "not whole groups";
    EXPECT_FALSE(PackTextField("", 0, out));
    for (std::uint8_t b : out)
        EXPECT_EQ(b, 0xEE);

    ASSERT_TRUE(PackTextField("EIGHTCHR", 8, out));
    EXPECT_EQ(out[6], 0xEE) << "six bytes for eight characters";
    EXPECT_EQ(UnpackTextField(out, 8), "EIGHTCHR");
}

TEST(UnpackTextField, ExactWidthOrNothing)
{
    const std::uint8_t msg[24] = {};
    EXPECT_EQ(UnpackTextField(msg, 32), std::string(32, '@'));
    EXPECT_EQ(UnpackTextField(msg, 6), "");
    EXPECT_EQ(UnpackTextField(msg, 0), "");
}
