#include "hart/DateAndAssembly.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

struct DateCase {
    const char* name;
    const char* text;
    Bytes expected; // day, month, year - 1900
};

void PrintTo(const DateCase& c, std::ostream* os) { *os << c.text; }

class TextToDateTest : public testing::TestWithParam<DateCase> {};

} // namespace

TEST_P(TextToDateTest, Bytes)
{
    std::uint8_t date[3] = {0xEE, 0xEE, 0xEE};
    ASSERT_TRUE(TextToDate(GetParam().text, date));
    EXPECT_EQ(Bytes(date, date + 3), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, TextToDateTest,
    testing::Values(DateCase{"Plain", "2013-12-31", {0x1F, 0x0C, 0x71}},
                    DateCase{"ShortNumbers", "2013-1-5", {0x05, 0x01, 0x71}},
                    DateCase{"NoRangeCheck", "2013-13-45", {0x2D, 0x0D, 0x71}},
                    DateCase{"Year1899Wraps", "1899-1-1", {0x01, 0x01, 0xFF}},
                    DateCase{"Year2156Wraps", "2156-1-1", {0x01, 0x01, 0x00}},
                    DateCase{"BlanksBeforeNumbers", " 2013- 12- 31", {0x1F, 0x0C, 0x71}},
                    DateCase{"SignedNumbers", "+2013--1-5", {0x05, 0xFF, 0x71}},
                    DateCase{"TrailingTextIgnored", "2013-12-31xyz", {0x1F, 0x0C, 0x71}},
                    // 9999999999 = 0x2540BE3FF: low byte FF, minus 1900 (low byte 6C) = 93.
                    DateCase{"OverflowKeepsLowByte", "9999999999-1-1", {0x01, 0x01, 0x93}}),
    [](const testing::TestParamInfo<DateCase>& i) { return i.param.name; });

TEST(TextToDate, FewerThanThreeNumbersIsAnInputError)
{
    for (const char* text : {"2013/12/31", "2013-12", "", "-", "2013 -12-31", "2013-12-", "date"}) {
        std::uint8_t date[3] = {0xEE, 0xEE, 0xEE};
        EXPECT_FALSE(TextToDate(text, date)) << '"' << text << '"';
        EXPECT_EQ(Bytes(date, date + 3), (Bytes{0xEE, 0xEE, 0xEE})) << text;
    }
    std::uint8_t date[3] = {};
    EXPECT_FALSE(TextToDate(nullptr, date));
}

TEST(DateToText, YearMonthDayWithLeadingZeros)
{
    const std::uint8_t newYear[3] = {0x1F, 0x0C, 0x71};
    EXPECT_EQ(DateToText(newYear), "2013-12-31");
    const std::uint8_t january[3] = {0x05, 0x01, 0x71};
    EXPECT_EQ(DateToText(january), "2013-01-05");
    const std::uint8_t extremes[3] = {0xFF, 0x00, 0xFF};
    EXPECT_EQ(DateToText(extremes), "2155-00-255");
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
    const std::uint8_t zero[3] = {};
    EXPECT_EQ(AssemblyToText(zero), "0");
}
