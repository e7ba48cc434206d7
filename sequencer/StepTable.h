// The scripts of the step machine as rows, one per state number: a prepare
// state, the send state of the prepare/send/check pattern, or a state that
// runs an operation of its module. Modules bring their rows; the table checks
// them as they join.
#pragma once

#include <cstdint>
#include <functional>
#include <stdexcept>
#include <vector>

enum class StepKind : std::uint8_t {
    Prepare,  // m_nTries = 0; go on to next after the step delay
    Send,     // send the command; its parse state returns to next
    Run,      // run the row's operation
};

struct StepEntry {
    std::int16_t state = 0;
    StepKind kind = StepKind::Run;
    std::uint8_t command = 0;   // Send: the HART command
    std::int16_t next = 0;      // Prepare: the following state; Send: the check state
    std::function<void()> run;  // Run only
};

inline StepEntry PrepareStep(std::int16_t state)
{
    return {state, StepKind::Prepare, 0, static_cast<std::int16_t>(state + 1), {}};
}
inline StepEntry SendStep(std::int16_t state, std::uint8_t command, std::int16_t checkState)
{
    return {state, StepKind::Send, command, checkState, {}};
}
inline StepEntry RunStepOf(std::int16_t state, std::function<void()> run)
{
    return {state, StepKind::Run, 0, 0, std::move(run)};
}

// Thrown at start-up when modules claim a state twice, the rest state, or a
// state of the send and parse range: a programming error, never an input.
class StepTableError : public std::logic_error {
public:
    using std::logic_error::logic_error;
};

class StepTable {
public:
    void Add(std::vector<StepEntry> rows);
    // The row of a script state, or nullptr.
    const StepEntry* Find(std::int16_t state) const;

private:
    std::vector<StepEntry> m_Rows;
};
