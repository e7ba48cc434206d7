#include "sequencer/StepTable.h"

#include "sequencer/CommandStates.h"

#include <string>

void StepTable::Add(std::vector<StepEntry> rows)
{
    for (StepEntry& row : rows) {
        for (std::int16_t state = row.state; state <= row.LastState(); ++state) {
            const std::string name = "script state " + std::to_string(state);
            if (state <= 0)
                throw StepTableError(name + ": not a state a script can hold");
            if (IsPrimitiveState(state))
                throw StepTableError(name + ": a send or parse state");
            if (Find(state))
                throw StepTableError(name + ": claimed twice");
        }
        if (row.kind == StepKind::Exchange && !row.commandOf && SendStateOf(row.command) == 0)
            throw StepTableError("script state " + std::to_string(row.state) + ": sends a command without states");
        m_Rows.push_back(std::move(row));
    }
}

const StepEntry* StepTable::Find(std::int16_t state, StepRole* role) const
{
    for (const StepEntry& row : m_Rows) {
        if (state < row.state || state > row.LastState())
            continue;
        if (role)
            *role = row.kind == StepKind::Run   ? StepRole::Run
                    : state == row.CheckState() ? StepRole::Check
                    : state == row.SendState()  ? StepRole::Send
                                                : StepRole::Prepare;
        return &row;
    }
    return nullptr;
}
