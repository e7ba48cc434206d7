// The window layout table against the control list of the main window,
// written out here a second time on purpose: a typo in either shows up.
#include "dialog/ControlIds.h"
#include "dialog/Layout.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

namespace {

using K = ControlKind;

struct Row {
    int id;
    ControlKind kind;
    std::string text;  // caption, or the label of a field
    DluRect rect;
    bool enabled;
    int limit;
    std::vector<std::string> entries;
};

void PrintTo(const Row& r, std::ostream* os) { *os << "id " << r.id << " \"" << r.text << '"'; }

const std::vector<std::string> kUnits = {"inH2O", "inHg",   "ftH2O", "mmH2O", "mmHg", "psi", "bar", "mbar",
                                         "g/cm2", "kg/cm2", "Pa",    "kPa",   "torr", "atm", "MPa"};

const std::vector<Row> kExpected = {
    {1006, K::ComboBox, "", {13, 253, 51, 64}, false, 0, {}},
    {1000, K::Button, "Search Com", {70, 253, 43, 14}, true, 0, {}},
    {2, K::Button, "Exit", {13, 271, 51, 14}, true, 0, {}},
    {1001, K::Button, "Open Com", {70, 271, 43, 14}, false, 0, {}},
    {1004, K::ListBox, "", {13, 289, 100, 48}, true, 0, {}},
    {1005, K::SerialControl, "", {25, 306, 25, 25}, true, 0, {}},
    {1, K::Button, "确定", {53, 310, 50, 14}, true, 0, {}},
    {1003, K::Button, "HART Communication", {13, 181, 100, 14}, false, 0, {}},
    {1002, K::Edit, "Polling Addr", {70, 199, 43, 14}, false, 2, {}},
    {1109, K::Button, "Search Addr", {13, 217, 51, 14}, false, 0, {}},
    {1111, K::Button, "Set Addr", {70, 217, 43, 14}, false, 0, {}},
    {1112, K::ReadOnlyEdit, "MFR.", {35, 20, 78, 14}, true, 0, {}},
    {1113, K::ReadOnlyEdit, "D-Type", {43, 37, 70, 14}, true, 0, {}},
    {1114, K::ReadOnlyEdit, "D-ID", {35, 55, 78, 14}, true, 0, {}},
    {1088, K::ReadOnlyEdit, "Sensor Upper Limit", {13, 91, 100, 14}, true, 0, {}},
    {1018, K::ReadOnlyEdit, "Sensor Lower Limit", {13, 127, 100, 14}, true, 0, {}},
    {1115, K::ReadOnlyEdit, "Mini-Span", {54, 145, 59, 14}, true, 0, {}},
    {1008, K::ReadOnlyEdit, "Primary Vari.", {186, 20, 54, 14}, true, 0, {}},
    {1009, K::ReadOnlyEdit, "PV Unit", {186, 37, 54, 14}, true, 0, {}},
    {1011, K::ReadOnlyEdit, "Percent of R.", {186, 55, 54, 14}, true, 0, {}},
    {1010, K::ReadOnlyEdit, "D-Current(mA)", {186, 73, 54, 14}, true, 0, {}},
    {1089, K::Button, "Auto Read", {130, 91, 52, 14}, false, 0, {}},
    {1118, K::Button, "Stop Read", {186, 91, 54, 14}, false, 0, {}},
    {1090, K::Edit, "Range Upper", {186, 127, 54, 14}, false, 0, {}},
    {1019, K::Edit, "Range Lower", {186, 145, 54, 14}, false, 0, {}},
    {1094, K::ReadOnlyEdit, "Range Unit", {186, 163, 54, 14}, true, 0, {}},
    {1120, K::Button, "Apply 0%", {130, 181, 52, 14}, false, 0, {}},
    {1121, K::Button, "Apply 100%", {186, 181, 54, 14}, false, 0, {}},
    {1093, K::Button, "Set Range", {130, 199, 52, 14}, false, 0, {}},
    {1119, K::Button, "Read Range", {186, 199, 54, 14}, false, 0, {}},
    {1096, K::Edit, "Trim Upper", {186, 235, 54, 14}, false, 0, {}},
    {1095, K::Edit, "Trim Lower", {186, 253, 54, 14}, false, 0, {}},
    {1100, K::ReadOnlyEdit, "Trim Unit", {186, 271, 54, 14}, true, 0, {}},
    {1098, K::Button, "Apply Lower", {130, 289, 52, 14}, false, 0, {}},
    {1099, K::Button, "Apply Upper", {186, 289, 54, 14}, false, 0, {}},
    {1097, K::Button, "Shift Zero", {130, 307, 52, 14}, false, 0, {}},
    {1102, K::Button, "Read Trim", {186, 307, 54, 14}, false, 0, {}},
    {1105, K::Edit, "D-Curr.(mA)", {310, 20, 57, 14}, false, 6, {}},
    {1103, K::Button, "Fixed Curr.", {258, 37, 48, 14}, false, 0, {}},
    {1104, K::Button, "Exit Fixed", {310, 37, 57, 14}, false, 0, {}},
    {1107, K::Edit, "A-Curr.(mA)", {310, 55, 57, 14}, false, 6, {}},
    {1106, K::Button, "4mA Trim", {258, 73, 48, 14}, false, 0, {}},
    {1108, K::Button, "20mA Trim", {310, 73, 57, 14}, false, 0, {}},
    {1140, K::RadioButton, "Cmd 1", {259, 109, 37, 14}, false, 0, {}},
    {1141, K::RadioButton, "Cmd 2", {259, 127, 37, 14}, false, 0, {}},
    {1142, K::RadioButton, "Cmd 3", {259, 145, 37, 14}, false, 0, {}},
    {1156, K::RadioButton, "Status", {321, 109, 46, 14}, true, 0, {}},
    {1154, K::Button, "Enter Burst", {310, 127, 57, 14}, false, 0, {}},
    {1155, K::Button, "Exit Burst", {310, 145, 57, 14}, false, 0, {}},
    {1131, K::ComboBox, "Trans-Func", {430, 20, 59, 50}, false, 0, {"Linear", "Square Root"}},
    {1132, K::Button, "Read", {494, 20, 21, 14}, false, 0, {}},
    {1133, K::Button, "Set", {520, 20, 21, 14}, false, 0, {}},
    {1134, K::ComboBox, "PV Unit", {430, 37, 59, 85}, false, 0, kUnits},
    {1135, K::Button, "Read", {494, 37, 21, 14}, false, 0, {}},
    {1136, K::Button, "Set", {520, 37, 21, 14}, false, 0, {}},
    {1137, K::Edit, "Damping", {430, 55, 48, 14}, false, 6, {}},
    {1138, K::Button, "Read", {494, 55, 21, 14}, false, 0, {}},
    {1139, K::Button, "Set", {520, 55, 21, 14}, false, 0, {}},
    {1083, K::Edit, "Tag", {430, 73, 59, 14}, false, 8, {}},
    {1084, K::Edit, "Descriptor", {430, 91, 59, 14}, false, 16, {}},
    {1085, K::Edit, "Date", {430, 109, 59, 14}, false, 10, {}},
    {1086, K::Button, "Read", {494, 73, 21, 50}, false, 0, {}},
    {1087, K::Button, "Set", {520, 73, 21, 50}, false, 0, {}},
    {1145, K::Edit, "Message", {430, 127, 59, 14}, false, 32, {}},
    {1143, K::Button, "Read", {494, 127, 21, 14}, false, 0, {}},
    {1144, K::Button, "Set", {520, 127, 21, 14}, false, 0, {}},
    {1148, K::Edit, "Assembly", {430, 145, 59, 14}, false, 8, {}},
    {1146, K::Button, "Read", {494, 145, 21, 14}, false, 0, {}},
    {1147, K::Button, "Set", {520, 145, 21, 14}, false, 0, {}},
    {1122, K::ComboBox, "W-Protect", {430, 181, 59, 50}, true, 0, {"Writable", "Protected"}},
    {1123, K::Button, "Read", {494, 181, 21, 14}, false, 0, {}},
    {1124, K::Button, "Set", {520, 181, 21, 14}, false, 0, {}},
    {1125, K::ComboBox, "Alarm", {430, 199, 59, 63}, true, 0, {"High Alarm", "Low Alarm", "Keep Last"}},
    {1126, K::Button, "Read", {494, 199, 21, 14}, false, 0, {}},
    {1127, K::Button, "Set", {520, 199, 21, 14}, false, 0, {}},
    {1128, K::ComboBox, "Display", {430, 217, 59, 52}, true, 0, {"Primary Vari.", "Percent of R.", "D-Current"}},
    {1129, K::Button, "Read", {494, 217, 21, 14}, false, 0, {}},
    {1130, K::Button, "Set", {520, 217, 21, 14}, false, 0, {}},
    {1151, K::ReadOnlyEdit, "Version", {430, 235, 59, 14}, true, 0, {}},
    {1149, K::Button, "Read", {494, 235, 21, 14}, false, 0, {}},
};

bool SameRect(const DluRect& a, const DluRect& b) { return a.x == b.x && a.y == b.y && a.w == b.w && a.h == b.h; }

class MainControlRow : public testing::TestWithParam<Row> {};

TEST_P(MainControlRow, MatchesTheControlList)
{
    const Row& want = GetParam();
    const ControlSpec* c = FindControl(want.id);
    ASSERT_NE(c, nullptr);
    EXPECT_EQ(c->kind, want.kind);
    const bool labelled = c->kind == K::Edit || c->kind == K::ReadOnlyEdit || c->kind == K::ComboBox;
    EXPECT_EQ(std::string(labelled ? c->label : c->caption), want.text);
    EXPECT_TRUE(SameRect(c->rect, want.rect));
    EXPECT_EQ(c->enabled, want.enabled);
    EXPECT_EQ(c->textLimit, want.limit);
    EXPECT_EQ(std::vector<std::string>(c->entries.begin(), c->entries.end()), want.entries);
    EXPECT_EQ(c->labelPlace == LabelPlace::None, want.text.empty() || !labelled);
}

INSTANTIATE_TEST_SUITE_P(Layout, MainControlRow, testing::ValuesIn(kExpected));

TEST(MainLayout, FrameEachListedIdOnceAndTheMenuString)
{
    const DialogSpec& d = MainDialogLayout();
    EXPECT_EQ(d.title, "Dravel HART Communication Tool (Ver1.0)");
    EXPECT_EQ(d.width, 556);
    EXPECT_EQ(d.height, 351);
    EXPECT_EQ(d.fontFace, "宋体");
    EXPECT_EQ(d.fontPoints, 9);
    std::multiset<int> ids;
    for (const auto& c : d.controls)
        if (c.id != IDC_STATIC)
            ids.insert(c.id);
    EXPECT_EQ(ids.size(), kExpected.size());
    for (const Row& r : kExpected)
        EXPECT_EQ(ids.count(r.id), 1u) << r.id;
    for (int id : {int(IDC_STATIC), 0, 1157})
        EXPECT_EQ(FindControl(id), nullptr) << id;
    EXPECT_EQ(LoadResourceString(IDS_ABOUTBOX), "关于 Tamsel(&A)...");
    EXPECT_EQ(IDM_ABOUTBOX, 0x0010u);
    for (int id : {0, 102})
        EXPECT_TRUE(LoadResourceString(id).empty()) << id;
}

TEST(MainLayout, TenGroupBoxesWithTheirPlaces)
{
    const std::vector<std::pair<std::string, DluRect>> want = {
        {"Module 1 - Comm Setting", {7, 241, 113, 102}},    {"Module 2 - Online", {7, 169, 113, 68}},
        {"Module 3 - Inst. Infor.", {7, 8, 113, 157}},      {"Module 4 - Process Variables", {124, 8, 123, 104}},
        {"Module 5 - Range Setting", {124, 115, 123, 104}}, {"Module 6 - Sensor Trim", {124, 223, 124, 120}},
        {"Module 7 - Loop Test/Trim", {251, 8, 123, 85}},   {"Module 8 - Burst Setting", {251, 97, 123, 68}},
        {"Module 9 - Common Settings", {378, 8, 171, 157}}, {"Module 10 - Specific Settings", {251, 169, 298, 174}},
    };
    std::vector<const ControlSpec*> groups;
    for (const auto& c : MainDialogLayout().controls)
        if (c.kind == K::GroupBox)
            groups.push_back(&c);
    ASSERT_EQ(groups.size(), 10u);
    for (const auto& [caption, rect] : want) {
        const auto it =
            std::find_if(groups.begin(), groups.end(), [&](const ControlSpec* c) { return c->caption == caption; });
        ASSERT_NE(it, groups.end()) << caption;
        EXPECT_TRUE(SameRect((*it)->rect, rect)) << caption;
        EXPECT_EQ((*it)->id, IDC_STATIC);
    }
}

TEST(MainLayout, OnlyTheListedInputsStartEnabled)
{
    std::set<int> enabled;
    for (const auto& c : MainDialogLayout().controls) {
        const bool input =
            c.kind == K::Button || c.kind == K::RadioButton || c.kind == K::Edit || c.kind == K::ComboBox;
        if (input && c.enabled && !(c.style & kStyleHidden))
            enabled.insert(c.id);
    }
    EXPECT_EQ(enabled,
              (std::set<int>{IDC_SEARCH_COM, IDCANCEL, IDC_STATUS, IDC_WRITE_PROTECT, IDC_ALARM, IDC_DISPLAY}));
}

TEST(MainLayout, StylesLabelPlacesAndTheWarning)
{
    const auto& controls = MainDialogLayout().controls;
    const auto it =
        std::find_if(controls.begin(), controls.end(), [](const ControlSpec& c) { return c.kind == K::StaticText; });
    ASSERT_NE(it, controls.end());
    EXPECT_EQ(it->caption, "Need proper pressure!!!");
    EXPECT_TRUE(SameRect(it->rect, {130, 325, 109, 14}));
    EXPECT_TRUE(it->style & kStyleCentered);
    // Upper case, the hidden default button and the unit text are seen at work on the window.
    EXPECT_TRUE(FindControl(IDC_POLL_ADDR)->style & kStyleCentered);
    for (int id : {IDC_TRIM_UPPER, IDC_TRIM_LOWER})
        EXPECT_TRUE(FindControl(id)->style & kStyleNoHScroll);
    for (int id : {IDC_READ_TAG, IDC_SET_TAG})
        EXPECT_TRUE(FindControl(id)->style & kStyleMultiLine);
    for (int id : {IDC_MFR, IDC_DEV_TYPE, IDC_DEV_ID, IDC_MIN_SPAN})
        EXPECT_EQ(FindControl(id)->labelPlace, LabelPlace::LeftAligned) << id;
    for (int id : {IDC_SENSOR_UPPER, IDC_SENSOR_LOWER})
        EXPECT_EQ(FindControl(id)->labelPlace, LabelPlace::Above) << id;
    EXPECT_EQ(FindControl(IDC_PV)->labelPlace, LabelPlace::Left);
}

}  // namespace
