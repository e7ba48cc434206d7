// What an operation takes from the window when its button is clicked: the
// fields typed into and the entries chosen, as they stand at the click. The
// record keeps them beside the click, since the fields change afterwards.
#pragma once

#include "dialog/DialogWindow.h"

#include <span>
#include <string>
#include <string_view>
#include <vector>

struct OperationInput {
    std::string label;  // the field's label, a radio button's caption, else its id
    std::string value;  // the text, the chosen entry, or 1/0 for a radio button
};

// The values of the fields an operation reads, in the order given.
std::vector<OperationInput> ReadOperationInputs(const DialogWindow& wnd, std::span<const int> fields);
