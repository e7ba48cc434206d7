#include "ui/qt/LabelPlacement.h"

#include <algorithm>

namespace {

constexpr int kGroupMargin = 6;  // labels start this far inside their group box
constexpr int kGap = 3;          // between a label and its field
constexpr int kLineHeight = 14;  // one row of edits and buttons
constexpr int kTextHeight = 8;   // one line of text
constexpr int kUnitWidth = 10;

const ControlSpec* GroupAround(const DialogSpec& dialog, const ControlSpec& field)
{
    for (const auto& c : dialog.controls) {
        if (c.kind != ControlKind::GroupBox)
            continue;
        const DluRect& g = c.rect;
        if (field.rect.x >= g.x && field.rect.x < g.x + g.w && field.rect.y >= g.y && field.rect.y < g.y + g.h)
            return &c;
    }
    return nullptr;
}

}  // namespace

int FieldLineHeight(const ControlSpec& field)
{
    return field.kind == ControlKind::ComboBox ? std::min(field.rect.h, kLineHeight) : field.rect.h;
}

std::optional<DluRect> LabelRect(const DialogSpec& dialog, const ControlSpec& field)
{
    if (field.label.empty() || field.labelPlace == LabelPlace::None)
        return std::nullopt;
    const DluRect& f = field.rect;
    if (field.labelPlace == LabelPlace::Above)
        return DluRect{f.x, f.y - kTextHeight - 2, f.w, kTextHeight};
    // Left of the field: from the group's inner edge up to the field, so a
    // right-aligned label ends next to it and a left-aligned one lines up with
    // the group's other labels.
    const ControlSpec* group = GroupAround(dialog, field);
    const int left = group ? group->rect.x + kGroupMargin : std::max(0, f.x - 60);
    const int right = f.x - kGap;
    if (right <= left)
        return std::nullopt;
    return DluRect{left, f.y, right - left, FieldLineHeight(field)};
}

std::optional<DluRect> UnitLabelRect(const ControlSpec& field)
{
    if (field.unitLabel.empty())
        return std::nullopt;
    const DluRect& f = field.rect;
    return DluRect{f.x + f.w + kGap, f.y, kUnitWidth, FieldLineHeight(field)};
}
