// Closing the window while this tool holds the loop current fixed: the
// control system reads that current as the process value, so the loop is
// given back (as "Exit Fixed" does) before the tool goes, unless the operator
// says otherwise. Any running operation ends first.
#pragma once

#include "dialog/DialogWindow.h"
#include "modules/LoopTest.h"
#include "modules/ProcessVariables.h"
#include "sequencer/OperationObserver.h"

#include <cstdint>
#include <functional>

class LoopReturn {
public:
    struct Dialog {
        DialogWindow& window;
        OperationObserver& record;
        std::function<bool()> operationRunning;
        std::function<void(int id)> click;  // as the operator clicks, observed
    };
    LoopReturn(Dialog dialog, LoopTest& loop, ProcessVariables& reads)
        : m_Dlg(std::move(dialog)), m_Loop(loop), m_Reads(reads)
    {
    }

    // Exit, Esc, the close box.
    void OnExit();
    // Returns the loop, then ends the dialog: the answer Yes, and what the
    // command line does at its end.
    void ReturnAndClose();
    // After every step: goes on once the operation under way has ended.
    void AfterStep();

private:
    enum class Phase : std::uint8_t { Idle, AfterOperation, Returning };

    Dialog m_Dlg;
    LoopTest& m_Loop;
    ProcessVariables& m_Reads;
    Phase m_Phase = Phase::Idle;
};
