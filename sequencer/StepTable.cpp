#include "sequencer/StepTable.h"

#include "sequencer/CommandStates.h"

#include <string>

void StepTable::Add(std::vector<StepEntry> rows)
{
    for (StepEntry& row : rows) {
        const std::string state = std::to_string(row.state);
        if (row.state <= 0)
            throw StepTableError("script state " + state + ": not a state a script can hold");
        if (IsPrimitiveState(row.state))
            throw StepTableError("script state " + state + ": a send or parse state");
        if (Find(row.state))
            throw StepTableError("script state " + state + ": claimed twice");
        if (row.kind == StepKind::Send && SendStateOf(row.command) == 0)
            throw StepTableError("script state " + state + ": sends a command without states");
        m_Rows.push_back(std::move(row));
    }
}

const StepEntry* StepTable::Find(std::int16_t state) const
{
    for (const StepEntry& row : m_Rows)
        if (row.state == state)
            return &row;
    return nullptr;
}
