#include "hart/DateAndAssembly.h"

#include <gtest/gtest.h>

#include <vector>

using Bytes = std::vector<std::uint8_t>;

TEST(Date, TextToDayMonthAndYearSince1900AndBack)
{
    const struct {
        const char* text;
        Bytes expected;
        const char* shown;  // nullptr: not checked
    } cases[] = {
        {"2013-12-31", {0x1F, 0x0C, 0x71}, "2013-12-31"},
        {"2013-1-5", {0x05, 0x01, 0x71}, "2013-01-05"},
        {"2155-0-255", {0xFF, 0x00, 0xFF}, "2155-00-255"},  // no range check either way
        {"1899-1-1", {0x01, 0x01, 0xFF}, nullptr},          // the year byte wraps
        {" 2013- 12- 31", {0x1F, 0x0C, 0x71}, nullptr},
        {"+2013--1-5", {0x05, 0xFF, 0x71}, nullptr},
        {"2013-12-31xyz", {0x1F, 0x0C, 0x71}, nullptr},
        // 9999999999 = 0x2540BE3FF: low byte FF, minus 1900 (low byte 6C) = 93.
        {"9999999999-1-1", {0x01, 0x01, 0x93}, nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        std::uint8_t date[3] = {0xEE, 0xEE, 0xEE};
        ASSERT_TRUE(TextToDate(c.text, date));
        EXPECT_EQ(Bytes(date, date + 3), c.expected);
        if (c.shown != nullptr) {
            EXPECT_EQ(DateToText(date), c.shown);
        }
    }
}

TEST(TextToDate, FewerThanThreeNumbersIsAnInputError)
{
    for (const char* text : {"2013/12/31", "2013-12", "", "-", "2013 -12-31", "2013-12-", "date"}) {
        std::uint8_t date[3] = {0xEE, 0xEE, 0xEE};
        EXPECT_FALSE(TextToDate(text, date)) << '"' << text << '"';
        EXPECT_EQ(Bytes(date, date + 3), Bytes(3, 0xEE)) << text;
    }
    std::uint8_t date[3] = {};
    EXPECT_FALSE(TextToDate(nullptr, date));
}

TEST(Assembly, ToBytesAndText)
{
    std::uint8_t b[3];
    AssemblyToBytes(16777215, b);
    EXPECT_EQ(Bytes(b, b + 3), (Bytes{0xFF, 0xFF, 0xFF}));
    EXPECT_EQ(AssemblyToText(b), "16777215");
    AssemblyToBytes(65536, b);
    EXPECT_EQ(Bytes(b, b + 3), (Bytes{0x01, 0x00, 0x00}));
    EXPECT_EQ(AssemblyToText(b), "65536");
    AssemblyToBytes(0x123456, b);
    EXPECT_EQ(Bytes(b, b + 3), (Bytes{0x12, 0x34, 0x56}));
}
