// The primitive states of the step machine: one send state and, right after
// it, one parse state for every HART command the tool sends.
#pragma once

#include "hart/CommandTable.h"

#include <cstdint>

// The send state of a command in the table; its parse state is one more.
std::int16_t SendStateOf(std::uint8_t command);
// The command whose send or parse state this is, or nullptr.
const CommandInfo* CommandOfSendState(std::int16_t state);
const CommandInfo* CommandOfParseState(std::int16_t state);
// Whether a state number is a send or parse state of some command: script
// states must keep out of them.
bool IsPrimitiveState(std::int16_t state);
