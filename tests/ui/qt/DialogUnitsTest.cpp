// Dialog units to pixels, and the dialog font.
#include "ui/dialog/Layout.h"
#include "ui/qt/DialogUnits.h"

#include <gtest/gtest.h>

#include <QFontDatabase>
#include <QFontInfo>
#include <QStringList>

namespace {

struct Mapping {
    int base;
    int dlu;
    int wantX;  // base as the average width: dlu * base / 4, rounded half away from zero
    int wantY;  // base as the height: dlu * base / 8, likewise
};

void PrintTo(const Mapping& m, std::ostream* os) { *os << "base " << m.base << ", " << m.dlu << " DLU"; }

class DialogUnitMapping : public testing::TestWithParam<Mapping> {};

TEST_P(DialogUnitMapping, RoundsLikeThePlatform) {
    const Mapping m = GetParam();
    const DialogUnits units{m.base, m.base};
    EXPECT_EQ(units.X(m.dlu), m.wantX);
    EXPECT_EQ(units.Y(m.dlu), m.wantY);
}

INSTANTIATE_TEST_SUITE_P(Units, DialogUnitMapping,
                         testing::Values(Mapping{6, 556, 834, 417}, Mapping{12, 351, 1053, 527},
                                         Mapping{6, 1, 2, 1}, Mapping{7, 2, 4, 2},
                                         Mapping{6, 0, 0, 0}, Mapping{12, -3, -9, -5},
                                         Mapping{16, 14, 56, 28}));

TEST(DialogUnits, RectMapsPlaceAndExtentEachOnItsOwn) {
    const DialogUnits units{6, 12};
    // 13 * 1.5 = 19.5 -> 20; 253 * 1.5 = 379.5 -> 380; 51 * 1.5 = 76.5 -> 77; 64 * 1.5 = 96.
    EXPECT_EQ(units.Rect({13, 253, 51, 64}), QRect(20, 380, 77, 96));
    EXPECT_EQ(units.Size(556, 351), QSize(834, 527));
}

TEST(DialogUnits, GrowWithTheFont) {
    QFont small = DialogFont(MainDialogLayout());
    QFont large = small;
    large.setPointSize(small.pointSize() * 2);
    const DialogUnits a = DialogUnits::FromFont(small);
    const DialogUnits b = DialogUnits::FromFont(large);
    EXPECT_GT(a.baseX, 0);
    EXPECT_GT(a.baseY, a.baseX);  // characters are taller than wide
    EXPECT_GT(b.baseX, a.baseX);
    EXPECT_GT(b.baseY, a.baseY);
}

TEST(DialogFont, ChineseFaceFallsBackToTheStandIn) {
    if (!QFontDatabase::families().contains(QStringLiteral("WenQuanYi Micro Hei")))
        GTEST_SKIP() << "stand-in font not installed";
    const QFont font = DialogFont(MainDialogLayout());
    EXPECT_EQ(font.pointSize(), 9);
    EXPECT_EQ(QFontInfo(font).family(), QStringLiteral("WenQuanYi Micro Hei"));
}

}  // namespace
