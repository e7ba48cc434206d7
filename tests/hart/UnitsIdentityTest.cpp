#include "hart/Identity.h"
#include "hart/Units.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace {

struct UnitCase {
    int row;
    int code;
    const char* name;
    float perKpa;
};

void PrintTo(const UnitCase& c, std::ostream* os) { *os << "row " << c.row; }

class UnitRowTest : public testing::TestWithParam<UnitCase> {};

} // namespace

// Other tests move the row; a re-executed child sees the program's start value.
TEST(Units, CurrentRowStartsAtZero)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(std::exit(g_nUnitRow == 0 ? 0 : 1), testing::ExitedWithCode(0), "");
}

TEST_P(UnitRowTest, CodeNameFactorAndLookup)
{
    const UnitCase& c = GetParam();
    EXPECT_EQ(UnitTable[c.row].code, c.code);
    EXPECT_STREQ(UnitTable[c.row].name, c.name);
    EXPECT_STREQ(UnitName(c.row), c.name);
    EXPECT_EQ(UnitPerKpa[c.row], c.perKpa);
    EXPECT_EQ(UnitCodeOfRow(c.row), c.code);
    g_nUnitRow = 99;
    EXPECT_FALSE(IsBadUnitCode(static_cast<std::uint8_t>(c.code)));
    EXPECT_EQ(g_nUnitRow, c.row);
}

INSTANTIATE_TEST_SUITE_P(
    AllRows, UnitRowTest,
    testing::Values(UnitCase{0, 1, "inH2O", 4.021849f}, UnitCase{1, 2, "inHg", 0.2953006f},
                    UnitCase{2, 3, "ftH2O", 0.3351539f}, UnitCase{3, 4, "mmH2O", 102.2394f},
                    UnitCase{4, 5, "mmHg", 7.500627f}, UnitCase{5, 6, "psi", 0.1450379f},
                    UnitCase{6, 7, "bar", 0.01f}, UnitCase{7, 8, "mbar", 10.0f}, UnitCase{8, 9, "g/cm2", 10.1972f},
                    UnitCase{9, 10, "kg/c2", 0.01019719f}, UnitCase{10, 11, "Pa", 1000.0f},
                    UnitCase{11, 12, "kPa", 1.0f}, UnitCase{12, 13, "torr", 7.500627f},
                    UnitCase{13, 14, "atm", 0.009869253f}, UnitCase{14, 237, "MPa", 0.001f}),
    [](const testing::TestParamInfo<UnitCase>& i) { return "Row" + std::to_string(i.param.row); });

TEST(Units, UnknownCodeKeepsTheCurrentRow)
{
    ASSERT_FALSE(IsBadUnitCode(237));
    EXPECT_EQ(g_nUnitRow, 14);
    EXPECT_TRUE(IsBadUnitCode(0));
    EXPECT_TRUE(IsBadUnitCode(15));
    EXPECT_TRUE(IsBadUnitCode(255));
    EXPECT_EQ(g_nUnitRow, 14);
}

TEST(Units, ToKilopascal)
{
    EXPECT_DOUBLE_EQ(UnitToKpa(7, 100.0f), 10.0);
    EXPECT_NEAR(UnitToKpa(5, 14.50379f), 100.0, 1e-4);
    EXPECT_DOUBLE_EQ(UnitToKpa(11, 123.25f), 123.25);
    EXPECT_DOUBLE_EQ(UnitToKpa(10, 2500.0f), 2.5);
    EXPECT_EQ(UnitToKpa(15, 100.0f), 0.0);
    EXPECT_EQ(UnitToKpa(255, 100.0f), 0.0);
}

TEST(Units, RowsOutsideTheTable)
{
    EXPECT_STREQ(UnitName(15), "");
    EXPECT_STREQ(UnitName(-1), "");
    EXPECT_EQ(UnitCodeOfRow(15), 0);
    EXPECT_EQ(UnitCodeOfRow(-1), 0) << "a list with no selection has no unit";
}

TEST(Identity, ManufacturerNames)
{
    EXPECT_STREQ(MfrName(0x00), "Brimwaters");
    EXPECT_STREQ(MfrName(0xB5), "Fenmarks");
    EXPECT_STREQ(MfrName(0x01), "Unknow");
    EXPECT_STREQ(MfrName(0xFF), "Unknow");
}

TEST(Identity, DeviceTypeNeedsBothCodes)
{
    EXPECT_STREQ(DevTypeName(0x00, 0x01), "Sorrel");
    EXPECT_STREQ(DevTypeName(0x00, 0x02), "Sorrel");
    EXPECT_STREQ(DevTypeName(0xB5, 0x7C), "Harrow");
    EXPECT_STREQ(DevTypeName(0xB5, 0x7B), "Quiver");
    EXPECT_STREQ(DevTypeName(0xB5, 0x7A), "Tallow");
    EXPECT_STREQ(DevTypeName(0xB5, 0x7D), "Unknow");
    EXPECT_STREQ(DevTypeName(0x00, 0x7C), "Unknow");
    EXPECT_STREQ(DevTypeName(0xB5, 0x01), "Unknow");
}
