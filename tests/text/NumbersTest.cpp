// The operator's numbers: decimal notation only, and only what a float holds.
#include "text/Numbers.h"

#include <gtest/gtest.h>

TEST(LeadingNumber, ReadsDecimalNotationAndNothingElse)
{
    const struct {
        const char* text;
        double value;
    } rows[] = {{"2.5", 2.5},       {"  -1.5e1x", -15.0}, {".5", 0.5},    {"5.", 5.0},    {"12abc", 12.0},
                {"1e", 1.0},        {"abc", 0.0},         {"", 0.0},      {"nan", 0.0},   {"inf", 0.0},
                {"-infinity", 0.0}, {"0x1p3", 0.0},       {"1e308", 0.0}, {"-1e39", 0.0}, {"3.4e38", 3.4e38}};
    for (const auto& row : rows)
        EXPECT_EQ(LeadingNumber(row.text), row.value) << '"' << row.text << '"';
}
