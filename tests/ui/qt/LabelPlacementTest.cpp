// Where labels and unit texts go, checked against every control of the
// main window: a label sits in its group box and covers no control.
#include "ui/dialog/ControlIds.h"
#include "ui/dialog/Layout.h"
#include "ui/qt/LabelPlacement.h"

#include <gtest/gtest.h>

namespace {

bool Overlap(const DluRect& a, const DluRect& b) {
    return a.x < b.x + b.w && b.x < a.x + a.w && a.y < b.y + b.h && b.y < a.y + a.h;
}

bool Inside(const DluRect& a, const DluRect& outer) {
    return a.x >= outer.x && a.y >= outer.y && a.x + a.w <= outer.x + outer.w &&
           a.y + a.h <= outer.y + outer.h;
}

DluRect VisibleRect(const ControlSpec& c) { return {c.rect.x, c.rect.y, c.rect.w, FieldLineHeight(c)}; }

TEST(LabelPlacement, RightAlignedLabelEndsNextToItsFieldFromTheGroupEdge) {
    const auto r = LabelRect(MainDialogLayout(), *FindControl(IDC_POLL_ADDR));
    ASSERT_TRUE(r);
    EXPECT_EQ(r->x, 13);               // "Module 2 - Online" starts at 7
    EXPECT_EQ(r->x + r->w, 70 - 3);    // the field starts at 70
    EXPECT_EQ(r->y, 199);
    EXPECT_EQ(r->h, 14);
}

TEST(LabelPlacement, ComboLabelIsOneLineHigh) {
    const auto r = LabelRect(MainDialogLayout(), *FindControl(IDC_UNIT_LIST));
    ASSERT_TRUE(r);
    EXPECT_EQ(r->x, 384);  // "Module 9 - Common Settings" starts at 378
    EXPECT_EQ(r->y, 37);
    EXPECT_EQ(r->h, 14);   // not the 85 of the dropped list
}

TEST(LabelPlacement, AboveLabelStandsOverTheField) {
    const auto r = LabelRect(MainDialogLayout(), *FindControl(IDC_SENSOR_UPPER));
    ASSERT_TRUE(r);
    EXPECT_EQ(r->x, 13);
    EXPECT_EQ(r->w, 100);
    EXPECT_LE(r->y + r->h, 91);
    EXPECT_GE(r->y, 55 + 14);  // below the "D-ID" field
}

TEST(LabelPlacement, UnitTextBetweenFieldAndButton) {
    const auto r = UnitLabelRect(*FindControl(IDC_DAMPING));
    ASSERT_TRUE(r);
    EXPECT_GE(r->x, 430 + 48);
    EXPECT_LE(r->x + r->w, 494);  // the "Read" button
    EXPECT_FALSE(UnitLabelRect(*FindControl(IDC_TAG)));
}

TEST(LabelPlacement, FieldsWithoutLabelGetNone) {
    EXPECT_FALSE(LabelRect(MainDialogLayout(), *FindControl(IDC_PORT_LIST)));
    EXPECT_FALSE(LabelRect(MainDialogLayout(), *FindControl(IDC_SEARCH_COM)));
}

TEST(LabelPlacement, EveryLabelInItsGroupAndOverNoControl) {
    const DialogSpec& d = MainDialogLayout();
    int labels = 0;
    for (const ControlSpec& field : d.controls) {
        for (const auto rect : {LabelRect(d, field), UnitLabelRect(field)}) {
            if (!rect) continue;
            ++labels;
            int groups = 0;
            for (const ControlSpec& other : d.controls) {
                if (other.kind == ControlKind::GroupBox) {
                    groups += Inside(*rect, other.rect);
                    continue;
                }
                if (other.kind == ControlKind::SerialControl || (other.style & kStyleHidden))
                    continue;
                EXPECT_FALSE(Overlap(*rect, VisibleRect(other)))
                    << "label of " << field.id << " covers " << other.id;
            }
            EXPECT_EQ(groups, 1) << "label of " << field.id;
        }
    }
    EXPECT_EQ(labels, 32);  // 31 field labels and the unit "s"
}

}  // namespace
