#include "hart/Identity.h"
#include "hart/Units.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <iterator>

// Other tests move the row; a re-executed child sees the program's start value.
TEST(Units, CurrentRowStartsAtZero)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(std::exit(g_nUnitRow == 0 ? 0 : 1), testing::ExitedWithCode(0), "");
}

TEST(Units, EveryRowMatchesTheUnitListAndIsFoundByCode)
{
    struct Row {
        int code;
        const char* name;
        float perKpa;
    };
    const Row rows[] = {
        {1, "inH2O", 4.021849f}, {2, "inHg", 0.2953006f},    {3, "ftH2O", 0.3351539f}, {4, "mmH2O", 102.2394f},
        {5, "mmHg", 7.500627f},  {6, "psi", 0.1450379f},     {7, "bar", 0.01f},        {8, "mbar", 10.0f},
        {9, "g/cm2", 10.1972f},  {10, "kg/c2", 0.01019719f}, {11, "Pa", 1000.0f},      {12, "kPa", 1.0f},
        {13, "torr", 7.500627f}, {14, "atm", 0.009869253f},  {237, "MPa", 0.001f},
    };
    static_assert(std::size(rows) == kUnitRows);
    for (int row = 0; row < kUnitRows; ++row) {
        SCOPED_TRACE(testing::Message() << "row " << row);
        EXPECT_EQ(UnitTable[row].code, rows[row].code);
        EXPECT_STREQ(UnitName(row), rows[row].name);
        EXPECT_EQ(UnitPerKpa[row], rows[row].perKpa);
        EXPECT_EQ(UnitCodeOfRow(row), rows[row].code);
        g_nUnitRow = 99;
        EXPECT_FALSE(IsBadUnitCode(static_cast<std::uint8_t>(rows[row].code)));
        EXPECT_EQ(g_nUnitRow, row);
    }
    // An unknown code leaves the row of the last known one.
    EXPECT_TRUE(IsBadUnitCode(0));
    EXPECT_TRUE(IsBadUnitCode(15));
    EXPECT_EQ(g_nUnitRow, 14);
}

TEST(Units, ToKilopascalAndRowsOutsideTheTable)
{
    EXPECT_DOUBLE_EQ(UnitToKpa(7, 100.0f), 10.0);
    EXPECT_NEAR(UnitToKpa(5, 14.50379f), 100.0, 1e-4);
    EXPECT_DOUBLE_EQ(UnitToKpa(11, 123.25f), 123.25);
    EXPECT_EQ(UnitToKpa(15, 100.0f), 0.0);
    EXPECT_STREQ(UnitName(15), "");
    EXPECT_STREQ(UnitName(-1), "");
    EXPECT_EQ(UnitCodeOfRow(15), 0);
    EXPECT_EQ(UnitCodeOfRow(-1), 0) << "a list with no selection has no unit";
}

TEST(Identity, NamesNeedEveryCode)
{
    EXPECT_STREQ(MfrName(0x00), "Brimwaters");
    EXPECT_STREQ(MfrName(0xB5), "Fenmarks");
    EXPECT_STREQ(MfrName(0x01), "Unknow");
    const struct {
        std::uint8_t mfr, type;
        const char* name;
    } types[] = {{0x00, 0x01, "Sorrel"}, {0x00, 0x02, "Sorrel"}, {0xB5, 0x7C, "Harrow"}, {0xB5, 0x7B, "Quiver"},
                 {0xB5, 0x7A, "Tallow"}, {0xB5, 0x7D, "Unknow"}, {0x00, 0x7C, "Unknow"}, {0xB5, 0x01, "Unknow"}};
    for (const auto& t : types)
        EXPECT_STREQ(DevTypeName(t.mfr, t.type), t.name) << int(t.mfr) << "/" << int(t.type);
}
