#include "hart/PackedAscii.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using Bytes = std::vector<std::uint8_t>;

TEST(PackedAscii, FourCharactersBothWays)
{
    const struct {
        const char* text;
        Bytes packed;
    } cases[] = {{"ABCD", {0x04, 0x20, 0xC4}}, {"    ", {0x82, 0x08, 0x20}}, {"@@@@", {0x00, 0x00, 0x00}}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        std::uint8_t packed[3];
        PackAscii4(packed, c.text);
        EXPECT_EQ(Bytes(packed, packed + 3), c.packed);
        char text[5] = {};
        UnpackAscii4(text, c.packed.data());
        EXPECT_STREQ(text, c.text);
    }
}

TEST(PackedAscii, WholeAlphabetRoundTrips)
{
    // The 64 characters in code order: 0x40-0x5F for codes 0-31, 0x20-0x3F for 32-63.
    std::string alphabet;
    for (int c = 0x40; c <= 0x5F; ++c)
        alphabet += static_cast<char>(c);
    for (int c = 0x20; c <= 0x3F; ++c)
        alphabet += static_cast<char>(c);

    std::uint8_t packed[48];
    ASSERT_TRUE(PackTextField(alphabet, 64, packed));
    EXPECT_EQ(UnpackTextField(packed, 64), alphabet);
    EXPECT_EQ(Bytes(packed, packed + 3), (Bytes{0x00, 0x10, 0x83})) << "codes 0-3";
    EXPECT_EQ(Bytes(packed + 45, packed + 48), (Bytes{0xF3, 0xDF, 0xBF})) << "codes 60-63";
}

TEST(PackTextField, UpperCasesAndPads)
{
    std::uint8_t tag[6];
    ASSERT_TRUE(PackTextField("PT1", 8, tag));
    EXPECT_EQ(Bytes(tag, tag + 6), (Bytes{0x41, 0x4C, 0x60, 0x82, 0x08, 0x20}));
    EXPECT_EQ(UnpackTextField(tag, 8), "PT1     ");

    ASSERT_TRUE(PackTextField("abcd", 8, tag));
    EXPECT_EQ(Bytes(tag, tag + 3), (Bytes{0x04, 0x20, 0xC4}));
    // Only letters are upper-cased; other characters keep their low six bits.
    ASSERT_TRUE(PackTextField("`{|}", 4, tag));
    EXPECT_EQ(UnpackTextField(tag, 4), " ;<=");
}

TEST(PackedAscii, FieldsOfWholeGroupsOnly)
{
    std::uint8_t out[7] = {0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE};
    EXPECT_FALSE(PackTextField("NINECHARS", 8, out)) << "longer than the field";
    EXPECT_FALSE(PackTextField("AB", 6, out)) << "not whole groups";
    EXPECT_FALSE(PackTextField("", 0, out));
    EXPECT_EQ(Bytes(out, out + 7), Bytes(7, 0xEE));

    ASSERT_TRUE(PackTextField("EIGHTCHR", 8, out));
    EXPECT_EQ(out[6], 0xEE) << "six bytes for eight characters";
    EXPECT_EQ(UnpackTextField(out, 8), "EIGHTCHR");

    const std::uint8_t msg[24] = {};
    EXPECT_EQ(UnpackTextField(msg, 32), std::string(32, '@'));
    EXPECT_EQ(UnpackTextField(msg, 6), "");
    EXPECT_EQ(UnpackTextField(msg, 0), "");
}
