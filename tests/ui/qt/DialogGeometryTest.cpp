// Dialog units to pixels, the dialog font, and where labels and unit texts
// go (that they cover nothing is checked on the built window).
#include "dialog/ControlIds.h"
#include "dialog/Layout.h"
#include "ui/qt/DialogUnits.h"
#include "ui/qt/LabelPlacement.h"

#include <gtest/gtest.h>

#include <QFontDatabase>
#include <QFontInfo>
#include <QStringList>

namespace {

struct Mapping {
    int base, dlu;
    int wantX;  // dlu * base / 4, rounded half away from zero
    int wantY;  // dlu * base / 8, likewise
};

void PrintTo(const Mapping& m, std::ostream* os) { *os << "base " << m.base << ", " << m.dlu << " DLU"; }

class DialogUnitMapping : public testing::TestWithParam<Mapping> {};

TEST_P(DialogUnitMapping, RoundsLikeThePlatform)
{
    const Mapping m = GetParam();
    const DialogUnits units{m.base, m.base};
    EXPECT_EQ(units.X(m.dlu), m.wantX);
    EXPECT_EQ(units.Y(m.dlu), m.wantY);
}

INSTANTIATE_TEST_SUITE_P(Units, DialogUnitMapping,
                         testing::Values(Mapping{6, 556, 834, 417}, Mapping{12, 351, 1053, 527}, Mapping{6, 1, 2, 1},
                                         Mapping{7, 2, 4, 2}, Mapping{6, 0, 0, 0}, Mapping{12, -3, -9, -5}));

TEST(DialogUnits, RectMapsPlaceAndExtentEachOnItsOwn)
{
    const DialogUnits units{6, 12};
    // 13 * 1.5 = 19.5 -> 20; 253 * 1.5 = 379.5 -> 380; 51 * 1.5 = 76.5 -> 77; 64 * 1.5 = 96.
    EXPECT_EQ(units.Rect({13, 253, 51, 64}), QRect(20, 380, 77, 96));
}

TEST(DialogFont, ChineseFaceFallsBackToTheStandIn)
{
    if (!QFontDatabase::families().contains(QStringLiteral("WenQuanYi Micro Hei")))
        GTEST_SKIP() << "stand-in font not installed";
    const QFont font = DialogFont(MainDialogLayout());
    EXPECT_EQ(font.pointSize(), 9);
    EXPECT_EQ(QFontInfo(font).family(), QStringLiteral("WenQuanYi Micro Hei"));
}

bool Inside(const DluRect& a, const DluRect& o)
{
    return a.x >= o.x && a.y >= o.y && a.x + a.w <= o.x + o.w && a.y + a.h <= o.y + o.h;
}

bool Same(const DluRect& a, const DluRect& b) { return Inside(a, b) && Inside(b, a); }

TEST(LabelPlacement, PlacesBesideAboveAndAfterTheField)
{
    const DialogSpec& d = MainDialogLayout();
    const auto label = [&](int id) { return LabelRect(d, *FindControl(id)).value_or(DluRect{}); };
    // Right-aligned: from 6 inside "Module 2 - Online" (x 7) to 3 before the field (x 70).
    EXPECT_TRUE(Same(label(IDC_POLL_ADDR), {13, 199, 54, 14}));
    // A combo's label is one line high, not the 85 of its dropped list.
    EXPECT_TRUE(Same(label(IDC_UNIT_LIST), {384, 37, 43, 14}));
    // Above the field (y 91), below the "D-ID" field (ends at y 69).
    EXPECT_TRUE(Inside(label(IDC_SENSOR_UPPER), {13, 69, 100, 22}));
    EXPECT_GT(label(IDC_SENSOR_UPPER).w, 0);
    // The unit text between the damping field (ends at x 478) and "Read" (x 494).
    EXPECT_TRUE(Inside(UnitLabelRect(*FindControl(IDC_DAMPING)).value_or(DluRect{}), {478, 55, 16, 14}));
    EXPECT_FALSE(UnitLabelRect(*FindControl(IDC_TAG)));
    EXPECT_FALSE(LabelRect(d, *FindControl(IDC_PORT_LIST)));
    EXPECT_FALSE(LabelRect(d, *FindControl(IDC_SEARCH_COM)));
}

}  // namespace
