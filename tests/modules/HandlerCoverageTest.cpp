// Each control the operator clicks, chooses from or types into runs an
// operation: the union of the rows the modules and the shell bring.
#include "dialog/ControlIds.h"
#include "dialog/Layout.h"
#include "ui/headless/HeadlessHost.h"

#include <gtest/gtest.h>

#include <set>

TEST(MessageMap, EveryControlTheOperatorActsOnHasItsHandler)
{
    // No operation of their own: they give one its input.
    const std::set<int> inputOnly = {IDC_STATUS,     IDC_PORT_LIST,  IDC_RANGE_UPPER, IDC_RANGE_LOWER,
                                     IDC_TRIM_UPPER, IDC_TRIM_LOWER, IDC_D_CURR,      IDC_A_CURR};
    const HeadlessHost host;
    for (const ControlSpec& c : MainDialogLayout().controls) {
        const bool edit = c.kind == ControlKind::Edit, list = c.kind == ControlKind::ComboBox;
        if (!edit && !list && c.kind != ControlKind::Button && c.kind != ControlKind::RadioButton)
            continue;
        const Notify notify = edit ? Notify::EditChange : list ? Notify::SelChange : Notify::Clicked;
        EXPECT_EQ(host.dlg.HasHandler(c.id, notify), !inputOnly.count(c.id)) << c.id << " " << c.caption << c.label;
    }
}
