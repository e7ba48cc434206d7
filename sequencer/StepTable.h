// The scripts of the step machine as data. Each state number has one row:
// a prepare state, a send state of the prepare/send/check pattern, or a state
// that runs its own member operation. The modules supply the rows; the
// machine only looks them up.
#pragma once

#include <cstdint>
#include <span>

class CTamselDlg;

enum class StepKind : std::uint8_t {
    Prepare,  // m_nTries = 0; go on to next after STEP_DELAY
    Send,     // return to next after the command's send and parse states
    Run,      // run the row's member operation
};

struct StepEntry {
    std::int16_t state;
    StepKind kind;
    std::uint8_t command;       // Send: the HART command sent
    std::int16_t next;          // Prepare: the following state; Send: the check state
    void (CTamselDlg::*run)();  // Run only
};

constexpr StepEntry PrepareStep(std::int16_t state)
{
    return {state, StepKind::Prepare, 0, static_cast<std::int16_t>(state + 1), nullptr};
}
constexpr StepEntry SendStep(std::int16_t state, std::uint8_t command, std::int16_t checkState)
{
    return {state, StepKind::Send, command, checkState, nullptr};
}
constexpr StepEntry RunStepOf(std::int16_t state, void (CTamselDlg::*run)())
{
    return {state, StepKind::Run, 0, 0, run};
}

// The state in which the machine rests: nothing runs, nothing is armed.
inline constexpr std::int16_t kRestState = 0;

// All script states of the window's modules (defined with the modules).
std::span<const StepEntry> ScriptSteps();
// The row of a script state, or nullptr.
const StepEntry* FindScriptStep(std::int16_t state);
