// The two control groups and the activity log. The expected sets are written
// out here independently of the code's own tables.
#include "dialog/ControlIds.h"
#include "dialog/Layout.h"
#include "ui/headless/HeadlessHost.h"

#include <gtest/gtest.h>

#include <set>

namespace {

const std::set<int> kD = {1006, 1000, 1001, 1003, 1002, 1109, 1111, 1089, 1118, 1090, 1019, 1093, 1120,
                          1121, 1119, 1096, 1095, 1098, 1099, 1097, 1102, 1105, 1107, 1103, 1104, 1106,
                          1108, 1140, 1141, 1142, 1154, 1155, 1131, 1132, 1134, 1135, 1137, 1138, 1133,
                          1136, 1139, 1083, 1084, 1085, 1086, 1087, 1145, 1143, 1148, 1146, 1144, 1147,
                          1122, 1123, 1125, 1126, 1128, 1129, 1149, 1124, 1127, 1130};
const std::set<int> kE = {1001, 1003, 1002, 1109, 1089, 1090, 1019, 1093, 1120, 1121, 1119, 1097, 1102, 1105, 1107,
                          1103, 1104, 1106, 1108, 1140, 1141, 1142, 1154, 1155, 1131, 1132, 1134, 1135, 1137, 1138,
                          1083, 1084, 1085, 1086, 1145, 1143, 1148, 1146, 1122, 1123, 1125, 1126, 1128, 1129, 1149};
const std::set<int> kTrimGated = {1096, 1095, 1098, 1099};

std::set<int> InteractiveIds()
{
    std::set<int> ids;
    for (const ControlSpec& c : MainDialogLayout().controls)
        if (c.id != IDC_STATIC && c.kind != ControlKind::SerialControl)
            ids.insert(c.id);
    return ids;
}

void SetAll(HeadlessHost& host, bool enabled)
{
    for (int id : InteractiveIds())
        host.window.Enable(id, enabled);
}

std::set<int> Enabled(const HeadlessHost& host)
{
    std::set<int> ids;
    for (int id : InteractiveIds())
        if (host.window.IsEnabled(id))
            ids.insert(id);
    return ids;
}

}  // namespace

TEST(ControlGroups, DisableTouchesExactlyItsSet)
{
    HeadlessHost host;
    SetAll(host, true);
    host.dlg.DisableAllControls();
    std::set<int> expected;
    for (int id : InteractiveIds())
        if (!kD.count(id))
            expected.insert(id);
    EXPECT_EQ(Enabled(host), expected);
    EXPECT_TRUE(expected.count(IDCANCEL) && expected.count(IDC_LOG) && expected.count(IDC_STATUS));
}

TEST(ControlGroups, EnableWithoutTrimUnitLeavesTheTrimControlsAlone)
{
    HeadlessHost host;
    SetAll(host, false);
    host.dlg.EnableAllControls();
    EXPECT_EQ(Enabled(host), kE);
}

TEST(ControlGroups, EnableWithTrimUnitAlsoEnablesTheTrimControls)
{
    HeadlessHost host;
    SetAll(host, false);
    host.window.SetText(IDC_TRIM_UNIT, "kPa");
    host.dlg.EnableAllControls();
    std::set<int> expected = kE;
    expected.insert(kTrimGated.begin(), kTrimGated.end());
    EXPECT_EQ(Enabled(host), expected);
}

TEST(ActivityLog, TrimLogOnEmptyLogDoesNothing)
{
    HeadlessHost host;
    host.dlg.TrimLog();
    EXPECT_EQ(host.window.ListGetCount(IDC_LOG), 0);
    EXPECT_EQ(host.window.ListGetCurSel(IDC_LOG), -1);
}

TEST(ActivityLog, KeepsNineDropsTwoOldestAtTen)
{
    HeadlessHost host;
    for (int i = 0; i < 9; ++i) {
        host.dlg.AppendLog("entry " + std::to_string(i));
        host.dlg.TrimLog();
    }
    EXPECT_EQ(host.window.ListGetCount(IDC_LOG), 9);
    EXPECT_EQ(host.window.ListShown(IDC_LOG), 8) << "the newest is scrolled into view";
    EXPECT_EQ(host.window.ListGetCurSel(IDC_LOG), -1) << "and not left highlighted";

    host.dlg.AppendLog("entry 9");
    host.dlg.TrimLog();
    ASSERT_EQ(host.window.ListGetCount(IDC_LOG), 8);
    EXPECT_EQ(host.window.ListGetText(IDC_LOG, 0), "entry 2");
    EXPECT_EQ(host.window.ListGetText(IDC_LOG, 7), "entry 9");
}

TEST(ActivityLog, SeveralAppendsBetweenTrimsStillRemoveOnlyTwo)
{
    HeadlessHost host;
    for (int i = 0; i < 12; ++i)
        host.window.ListAddString(IDC_LOG, "e" + std::to_string(i));
    host.dlg.TrimLog();
    EXPECT_EQ(host.window.ListGetCount(IDC_LOG), 10);
    EXPECT_EQ(host.window.ListGetText(IDC_LOG, 0), "e2");
}
