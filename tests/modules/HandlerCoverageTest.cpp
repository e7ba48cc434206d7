// Each control the operator clicks, chooses from or types into runs an operation.
#include "app/CTamselDlg.h"
#include "dialog/ControlIds.h"
#include "dialog/Layout.h"

#include <gtest/gtest.h>

#include <set>

TEST(MessageMap, EveryControlTheOperatorActsOnHasItsHandler)
{
    // No operation of their own: they give one its input.
    const std::set<int> inputOnly = {IDC_STATUS,     IDC_PORT_LIST,  IDC_RANGE_UPPER, IDC_RANGE_LOWER,
                                     IDC_TRIM_UPPER, IDC_TRIM_LOWER, IDC_D_CURR,      IDC_A_CURR};
    // Come with the live values and calibration modules; the last one's author empties this.
    const std::set<int> stillMissing = {
        IDC_AUTO_READ,  IDC_STOP_READ,   IDC_SET_RANGE,   IDC_APPLY_0,    IDC_APPLY_100,   IDC_READ_TRIM,
        IDC_SHIFT_ZERO, IDC_APPLY_LOWER, IDC_APPLY_UPPER, IDC_FIXED_CURR, IDC_EXIT_FIXED,  IDC_TRIM_4MA,
        IDC_TRIM_20MA,  IDC_BURST_CMD1,  IDC_BURST_CMD2,  IDC_BURST_CMD3, IDC_ENTER_BURST, IDC_EXIT_BURST};
    for (const ControlSpec& c : MainDialogLayout().controls) {
        const bool edit = c.kind == ControlKind::Edit, list = c.kind == ControlKind::ComboBox;
        if (!edit && !list && c.kind != ControlKind::Button && c.kind != ControlKind::RadioButton)
            continue;
        const Notify notify = edit ? Notify::EditChange : list ? Notify::SelChange : Notify::Clicked;
        EXPECT_EQ(CTamselDlg::HasHandler(c.id, notify), !inputOnly.count(c.id) && !stillMissing.count(c.id))
            << c.id << " " << c.caption << c.label << (stillMissing.count(c.id) ? ": off stillMissing now" : "");
    }
}
