// Where the label and the unit text of a field stand, worked out from the
// field's own place and the group box around it, so the layout table only
// names the texts.
#pragma once

#include "dialog/Layout.h"

#include <optional>

// The label's rectangle in dialog units, or nothing for a field without one.
std::optional<DluRect> LabelRect(const DialogSpec& dialog, const ControlSpec& field);

// The unit text's rectangle right of the field, or nothing.
std::optional<DluRect> UnitLabelRect(const ControlSpec& field);

// Height of a field's visible line: a combo box's rectangle includes the
// dropped list.
int FieldLineHeight(const ControlSpec& field);
