#include "sequencer/CommandStates.h"

#include <iterator>

namespace {

struct CommandState {
    std::uint8_t command;
    std::int16_t send;  // the parse state is send + 1
};

// Two blocks: the common commands from 501 on, the device-specific ones from
// 601 on; a command's place keeps its number even where a neighbour is unused.
constexpr CommandState kCommandStates[] = {
    {0, 501},   {1, 503},   {2, 505},   {6, 509},   {12, 511},  {13, 513},  {14, 515},  {15, 517},  {16, 519},
    {17, 521},  {18, 523},  {19, 525},  {34, 527},  {35, 529},  {36, 531},  {37, 533},  {40, 535},  {43, 537},
    {44, 539},  {45, 541},  {46, 543},  {47, 545},  {105, 547}, {108, 601}, {109, 603}, {128, 605}, {130, 607},
    {131, 609}, {134, 611}, {135, 613}, {165, 615}, {172, 619}, {192, 621},
};

static_assert(std::size(kCommandStates) == 33, "one pair of states for each command of the table");

constexpr bool StatesAreDistinct()
{
    for (std::size_t i = 0; i < std::size(kCommandStates); ++i)
        for (std::size_t j = 0; j < i; ++j) {
            const int gap = kCommandStates[i].send - kCommandStates[j].send;
            if (kCommandStates[i].command == kCommandStates[j].command || (gap > -2 && gap < 2))
                return false;
        }
    return true;
}
static_assert(StatesAreDistinct());

const CommandState* RowOfState(std::int16_t state, int offset)
{
    for (const CommandState& row : kCommandStates)
        if (row.send + offset == state)
            return &row;
    return nullptr;
}

}  // namespace

std::int16_t SendStateOf(std::uint8_t command)
{
    for (const CommandState& row : kCommandStates)
        if (row.command == command)
            return row.send;
    return 0;
}

const CommandInfo* CommandOfSendState(std::int16_t state)
{
    const CommandState* row = RowOfState(state, 0);
    return row ? FindCommand(row->command) : nullptr;
}

const CommandInfo* CommandOfParseState(std::int16_t state)
{
    const CommandState* row = RowOfState(state, 1);
    return row ? FindCommand(row->command) : nullptr;
}

bool IsPrimitiveState(std::int16_t state) { return RowOfState(state, 0) || RowOfState(state, 1); }
