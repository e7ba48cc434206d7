// The main window (template 102) and the About box (template 100) as constant
// rows. Each group box comes before its controls, which also gives the tab
// order; labels belong to the row of their field.
#include "dialog/Layout.h"

#include "dialog/ControlIds.h"

#include <algorithm>

namespace {

using Entries = std::span<const std::string_view>;

constexpr ControlSpec Group(std::string_view caption, DluRect r)
{
    return {IDC_STATIC, ControlKind::GroupBox, caption, r, true, kStyleNone, 0, {}, {}, LabelPlace::None, {}};
}

constexpr ControlSpec Static(std::string_view text, DluRect r, unsigned style)
{
    return {IDC_STATIC, ControlKind::StaticText, text, r, true, style, 0, {}, {}, LabelPlace::None, {}};
}

constexpr ControlSpec Button(int id, std::string_view caption, DluRect r, bool enabled, unsigned style = kStyleNone)
{
    return {id, ControlKind::Button, caption, r, enabled, style, 0, {}, {}, LabelPlace::None, {}};
}

constexpr ControlSpec Radio(int id, std::string_view caption, DluRect r, bool enabled)
{
    return {id, ControlKind::RadioButton, caption, r, enabled, kStyleNone, 0, {}, {}, LabelPlace::None, {}};
}

// Input edits start disabled; the operations of the window enable them.
constexpr ControlSpec Edit(int id, std::string_view label, DluRect r, int limit, unsigned style = kStyleNone,
                           std::string_view unit = {})
{
    return {id, ControlKind::Edit, {}, r, false, style, limit, {}, label, LabelPlace::Left, unit};
}

// Display fields are always enabled.
constexpr ControlSpec Display(int id, std::string_view label, DluRect r, LabelPlace place = LabelPlace::Left)
{
    return {id, ControlKind::ReadOnlyEdit, {}, r, true, kStyleNone, 0, {}, label, place, {}};
}

constexpr ControlSpec Combo(int id, std::string_view label, DluRect r, bool enabled, Entries entries)
{
    return {id,      ControlKind::ComboBox,
            {},      r,
            enabled, kStyleNone,
            0,       entries,
            label,   label.empty() ? LabelPlace::None : LabelPlace::Left,
            {}};
}

constexpr std::string_view kTransFuncs[] = {"Linear", "Square Root"};
constexpr std::string_view kPvUnits[] = {"inH2O", "inHg",   "ftH2O", "mmH2O", "mmHg", "psi", "bar", "mbar",
                                         "g/cm2", "kg/cm2", "Pa",    "kPa",   "torr", "atm", "MPa"};
constexpr std::string_view kWriteProtect[] = {"Writable", "Protected"};
constexpr std::string_view kAlarm[] = {"High Alarm", "Low Alarm", "Keep Last"};
constexpr std::string_view kDisplay[] = {"Primary Vari.", "Percent of R.", "D-Current"};

constexpr bool kOn = true;
constexpr bool kOff = false;

constexpr ControlSpec kMainControls[] = {
    Group("Module 1 - Comm Setting", {7, 241, 113, 102}),
    Combo(IDC_PORT_LIST, {}, {13, 253, 51, 64}, kOff, {}),
    Button(IDC_SEARCH_COM, "Search Com", {70, 253, 43, 14}, kOn),
    Button(IDCANCEL, "Exit", {13, 271, 51, 14}, kOn),
    Button(IDC_OPEN_COM, "Open Com", {70, 271, 43, 14}, kOff),
    {IDC_LOG, ControlKind::ListBox, {}, {13, 289, 100, 48}, true, kStyleNone, 0, {}, {}, LabelPlace::None, {}},
    {IDC_COMM, ControlKind::SerialControl, {}, {25, 306, 25, 25}, true, kStyleNone, 0, {}, {}, LabelPlace::None, {}},
    Button(IDOK, "确定", {53, 310, 50, 14}, kOn, kStyleHidden),

    Group("Module 2 - Online", {7, 169, 113, 68}),
    Button(IDC_HART_COMM, "HART Communication", {13, 181, 100, 14}, kOff),
    Edit(IDC_POLL_ADDR, "Polling Addr", {70, 199, 43, 14}, 2, kStyleCentered | kStyleUpperCase),
    Button(IDC_SEARCH_ADDR, "Search Addr", {13, 217, 51, 14}, kOff),
    Button(IDC_SET_ADDR, "Set Addr", {70, 217, 43, 14}, kOff),

    Group("Module 3 - Inst. Infor.", {7, 8, 113, 157}),
    Display(IDC_MFR, "MFR.", {35, 20, 78, 14}, LabelPlace::LeftAligned),
    Display(IDC_DEV_TYPE, "D-Type", {43, 37, 70, 14}, LabelPlace::LeftAligned),
    Display(IDC_DEV_ID, "D-ID", {35, 55, 78, 14}, LabelPlace::LeftAligned),
    Display(IDC_SENSOR_UPPER, "Sensor Upper Limit", {13, 91, 100, 14}, LabelPlace::Above),
    Display(IDC_SENSOR_LOWER, "Sensor Lower Limit", {13, 127, 100, 14}, LabelPlace::Above),
    Display(IDC_MIN_SPAN, "Mini-Span", {54, 145, 59, 14}, LabelPlace::LeftAligned),

    Group("Module 4 - Process Variables", {124, 8, 123, 104}),
    Display(IDC_PV, "Primary Vari.", {186, 20, 54, 14}),
    Display(IDC_PV_UNIT, "PV Unit", {186, 37, 54, 14}),
    Display(IDC_PERCENT, "Percent of R.", {186, 55, 54, 14}),
    Display(IDC_CURRENT, "D-Current(mA)", {186, 73, 54, 14}),
    Button(IDC_AUTO_READ, "Auto Read", {130, 91, 52, 14}, kOff),
    Button(IDC_STOP_READ, "Stop Read", {186, 91, 54, 14}, kOff),

    Group("Module 5 - Range Setting", {124, 115, 123, 104}),
    Edit(IDC_RANGE_UPPER, "Range Upper", {186, 127, 54, 14}, 0),
    Edit(IDC_RANGE_LOWER, "Range Lower", {186, 145, 54, 14}, 0),
    Display(IDC_RANGE_UNIT, "Range Unit", {186, 163, 54, 14}),
    Button(IDC_APPLY_0, "Apply 0%", {130, 181, 52, 14}, kOff),
    Button(IDC_APPLY_100, "Apply 100%", {186, 181, 54, 14}, kOff),
    Button(IDC_SET_RANGE, "Set Range", {130, 199, 52, 14}, kOff),
    Button(IDC_READ_RANGE, "Read Range", {186, 199, 54, 14}, kOff),

    Group("Module 6 - Sensor Trim", {124, 223, 124, 120}),
    Edit(IDC_TRIM_UPPER, "Trim Upper", {186, 235, 54, 14}, 0, kStyleNoHScroll),
    Edit(IDC_TRIM_LOWER, "Trim Lower", {186, 253, 54, 14}, 0, kStyleNoHScroll),
    Display(IDC_TRIM_UNIT, "Trim Unit", {186, 271, 54, 14}),
    Button(IDC_APPLY_LOWER, "Apply Lower", {130, 289, 52, 14}, kOff),
    Button(IDC_APPLY_UPPER, "Apply Upper", {186, 289, 54, 14}, kOff),
    Button(IDC_SHIFT_ZERO, "Shift Zero", {130, 307, 52, 14}, kOff),
    Button(IDC_READ_TRIM, "Read Trim", {186, 307, 54, 14}, kOff),
    Static("Need proper pressure!!!", {130, 325, 109, 14}, kStyleCentered),

    Group("Module 7 - Loop Test/Trim", {251, 8, 123, 85}),
    Edit(IDC_D_CURR, "D-Curr.(mA)", {310, 20, 57, 14}, 6),
    Button(IDC_FIXED_CURR, "Fixed Curr.", {258, 37, 48, 14}, kOff),
    Button(IDC_EXIT_FIXED, "Exit Fixed", {310, 37, 57, 14}, kOff),
    Edit(IDC_A_CURR, "A-Curr.(mA)", {310, 55, 57, 14}, 6),
    Button(IDC_TRIM_4MA, "4mA Trim", {258, 73, 48, 14}, kOff),
    Button(IDC_TRIM_20MA, "20mA Trim", {310, 73, 57, 14}, kOff),

    Group("Module 8 - Burst Setting", {251, 97, 123, 68}),
    Radio(IDC_BURST_CMD1, "Cmd 1", {259, 109, 37, 14}, kOff),
    Radio(IDC_BURST_CMD2, "Cmd 2", {259, 127, 37, 14}, kOff),
    Radio(IDC_BURST_CMD3, "Cmd 3", {259, 145, 37, 14}, kOff),
    Radio(IDC_STATUS, "Status", {321, 109, 46, 14}, kOn),
    Button(IDC_ENTER_BURST, "Enter Burst", {310, 127, 57, 14}, kOff),
    Button(IDC_EXIT_BURST, "Exit Burst", {310, 145, 57, 14}, kOff),

    Group("Module 9 - Common Settings", {378, 8, 171, 157}),
    Combo(IDC_TRANS_FUNC, "Trans-Func", {430, 20, 59, 50}, kOff, kTransFuncs),
    Button(IDC_READ_TRANS_FUNC, "Read", {494, 20, 21, 14}, kOff),
    Button(IDC_SET_TRANS_FUNC, "Set", {520, 20, 21, 14}, kOff),
    Combo(IDC_UNIT_LIST, "PV Unit", {430, 37, 59, 85}, kOff, kPvUnits),
    Button(IDC_READ_UNIT, "Read", {494, 37, 21, 14}, kOff),
    Button(IDC_SET_UNIT, "Set", {520, 37, 21, 14}, kOff),
    Edit(IDC_DAMPING, "Damping", {430, 55, 48, 14}, 6, kStyleNone, "s"),
    Button(IDC_READ_DAMPING, "Read", {494, 55, 21, 14}, kOff),
    Button(IDC_SET_DAMPING, "Set", {520, 55, 21, 14}, kOff),
    Edit(IDC_TAG, "Tag", {430, 73, 59, 14}, 8),
    Edit(IDC_DESCRIPTOR, "Descriptor", {430, 91, 59, 14}, 16),
    Edit(IDC_DATE, "Date", {430, 109, 59, 14}, 10),
    Button(IDC_READ_TAG, "Read", {494, 73, 21, 50}, kOff, kStyleMultiLine),
    Button(IDC_SET_TAG, "Set", {520, 73, 21, 50}, kOff, kStyleMultiLine),
    Edit(IDC_MESSAGE, "Message", {430, 127, 59, 14}, 32),
    Button(IDC_READ_MESSAGE, "Read", {494, 127, 21, 14}, kOff),
    Button(IDC_SET_MESSAGE, "Set", {520, 127, 21, 14}, kOff),
    Edit(IDC_ASSEMBLY, "Assembly", {430, 145, 59, 14}, 8),
    Button(IDC_READ_ASSEMBLY, "Read", {494, 145, 21, 14}, kOff),
    Button(IDC_SET_ASSEMBLY, "Set", {520, 145, 21, 14}, kOff),

    Group("Module 10 - Specific Settings", {251, 169, 298, 174}),
    Combo(IDC_WRITE_PROTECT, "W-Protect", {430, 181, 59, 50}, kOn, kWriteProtect),
    Button(IDC_READ_WP, "Read", {494, 181, 21, 14}, kOff),
    Button(IDC_SET_WP, "Set", {520, 181, 21, 14}, kOff),
    Combo(IDC_ALARM, "Alarm", {430, 199, 59, 63}, kOn, kAlarm),
    Button(IDC_READ_ALARM, "Read", {494, 199, 21, 14}, kOff),
    Button(IDC_SET_ALARM, "Set", {520, 199, 21, 14}, kOff),
    Combo(IDC_DISPLAY, "Display", {430, 217, 59, 52}, kOn, kDisplay),
    Button(IDC_READ_DISPLAY, "Read", {494, 217, 21, 14}, kOff),
    Button(IDC_SET_DISPLAY, "Set", {520, 217, 21, 14}, kOff),
    Display(IDC_VERSION, "Version", {430, 235, 59, 14}),
    Button(IDC_READ_VERSION, "Read", {494, 235, 21, 14}, kOff),
};

constexpr DialogSpec kMainDialog = {
    "Dravel HART Communication Tool (Ver1.0)", 556, 351, "宋体", 9, kMainControls,
};

// Icon and text side by side, the closing button on the right, all centred
// on the box's middle line.
constexpr ControlSpec kAboutControls[] = {
    Static({}, {11, 17, 20, 20}, kStyleIcon),
    Static("Tamsel 1.0 版", {40, 23, 119, 8}, kStyleNone),
    Button(IDOK, "确定", {178, 20, 50, 14}, kOn),
};

constexpr DialogSpec kAboutDialog = {
    "关于 Tamsel", 235, 55, "宋体", 9, kAboutControls,
};

}  // namespace

const DialogSpec& MainDialogLayout() { return kMainDialog; }

const DialogSpec& AboutDialogLayout() { return kAboutDialog; }

const ControlSpec* FindControl(int id)
{
    if (id == IDC_STATIC)
        return nullptr;  // many rows share it
    const auto& controls = kMainDialog.controls;
    const auto it = std::find_if(controls.begin(), controls.end(), [id](const ControlSpec& c) { return c.id == id; });
    return it == controls.end() ? nullptr : &*it;
}

std::string_view LoadResourceString(int id)
{
    if (id == IDS_ABOUTBOX)
        return "关于 Tamsel(&A)...";
    return {};
}
