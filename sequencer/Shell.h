// The window around the operations, as the step machine and the modules need
// it: its controls, the activity log and the two control groups. The dialog
// object provides it.
#pragma once

#include "dialog/DialogWindow.h"

#include <string_view>

class Shell {
public:
    virtual DialogWindow& Window() = 0;
    // Appends one entry; the caller runs TrimLog after its entries.
    virtual void AppendLog(std::string_view text) = 0;
    virtual void TrimLog() = 0;
    virtual void DisableAllControls() = 0;
    virtual void EnableAllControls() = 0;

protected:
    ~Shell() = default;
};
