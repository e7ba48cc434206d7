#include "dialog/OperationInputs.h"

#include "dialog/ControlIds.h"
#include "dialog/Layout.h"

#include <array>

namespace {

struct ButtonInputs {
    int button;
    std::array<int, 3> fields;  // 0: no further field
};

constexpr ButtonInputs kInputs[] = {
    {IDC_OPEN_COM, {IDC_PORT_LIST}},
    {IDC_SET_ADDR, {IDC_POLL_ADDR}},
    {IDC_SET_RANGE, {IDC_RANGE_UPPER, IDC_RANGE_LOWER}},
    {IDC_APPLY_LOWER, {IDC_TRIM_LOWER}},
    {IDC_APPLY_UPPER, {IDC_TRIM_UPPER}},
    {IDC_FIXED_CURR, {IDC_D_CURR}},
    {IDC_TRIM_4MA, {IDC_A_CURR}},
    {IDC_TRIM_20MA, {IDC_A_CURR}},
    {IDC_ENTER_BURST, {IDC_BURST_CMD1, IDC_BURST_CMD2, IDC_BURST_CMD3}},
    {IDC_SET_TRANS_FUNC, {IDC_TRANS_FUNC}},
    {IDC_SET_UNIT, {IDC_UNIT_LIST}},
    {IDC_SET_DAMPING, {IDC_DAMPING}},
    {IDC_SET_TAG, {IDC_TAG, IDC_DESCRIPTOR, IDC_DATE}},
    {IDC_SET_MESSAGE, {IDC_MESSAGE}},
    {IDC_SET_ASSEMBLY, {IDC_ASSEMBLY}},
    {IDC_SET_WP, {IDC_WRITE_PROTECT}},
    {IDC_SET_ALARM, {IDC_ALARM}},
    {IDC_SET_DISPLAY, {IDC_DISPLAY}},
};

std::string LabelOf(const ControlSpec& field)
{
    const std::string_view label = field.kind == ControlKind::RadioButton ? field.caption : field.label;
    return label.empty() ? std::to_string(field.id) : std::string(label);
}

std::string ValueOf(const DialogWindow& wnd, const ControlSpec& field)
{
    switch (field.kind) {
    case ControlKind::ComboBox:
        return wnd.ComboGetText(field.id, wnd.ComboGetCurSel(field.id));
    case ControlKind::RadioButton:
        return wnd.GetCheck(field.id) ? "1" : "0";
    default:
        return wnd.GetText(field.id);
    }
}

}  // namespace

std::vector<OperationInput> ReadOperationInputs(const DialogWindow& wnd, int buttonId)
{
    std::vector<OperationInput> inputs;
    for (const ButtonInputs& row : kInputs)
        if (row.button == buttonId)
            for (int id : row.fields)
                if (const ControlSpec* field = id != 0 ? FindControl(id) : nullptr)
                    inputs.push_back({LabelOf(*field), ValueOf(wnd, *field)});
    return inputs;
}
