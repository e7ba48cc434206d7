#include "dialog/OperationInputs.h"

#include "dialog/ControlIds.h"
#include "dialog/Layout.h"

namespace {

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

std::vector<OperationInput> ReadOperationInputs(const DialogWindow& wnd, std::span<const int> fields)
{
    std::vector<OperationInput> inputs;
    for (int id : fields)
        if (const ControlSpec* field = FindControl(id))
            inputs.push_back({LabelOf(*field), ValueOf(wnd, *field)});
    return inputs;
}
