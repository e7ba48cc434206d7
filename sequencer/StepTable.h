// The scripts of the step machine as rows. A row is either one state that
// runs an operation of its module, or one exchange of a command: its prepare
// state (a fresh count of tries), its send state and its check state, with
// consecutive numbers. The machine runs an exchange itself: it counts a try
// that brought no reply, or a reply without the values the row asks for, and
// calls the row's check only with a reply. Modules bring their rows; the
// table checks them as they join.
#pragma once

#include <cstdint>
#include <functional>
#include <stdexcept>
#include <vector>

enum class StepKind : std::uint8_t {
    Run,       // runs the row's operation
    Exchange,  // prepare, send and check of one command
};

// The values a reply must carry beyond an answer; else the try failed.
struct ItemRule {
    enum Kind : std::uint8_t { Any, Exactly, AtLeast } kind = Any;
    std::int16_t count = 0;
    bool Holds(std::int16_t items) const { return kind == Any || (kind == Exactly ? items == count : items >= count); }
};

struct StepEntry {
    std::int16_t state = 0;  // Run: the state; Exchange: the first of its states
    StepKind kind = StepKind::Run;
    std::function<void()> run;  // Run: the operation; Exchange: the check, with a reply

    // --- Exchange only
    std::uint8_t command = 0;
    // Chooses the command at each send instead (a plan of several writes).
    std::function<std::uint8_t()> commandOf;
    bool prepared = true;  // the first state is a prepare state; else it is the send
    ItemRule items;
    // Runs at the send state instead of sending when it returns false (it
    // then moves the machine on itself).
    std::function<bool()> beforeSend;
    // Runs when the tries are used up; without it the operation finishes
    // with "Communication fail!".
    std::function<void()> outOfTries;

    std::int16_t SendState() const { return prepared ? static_cast<std::int16_t>(state + 1) : state; }
    std::int16_t CheckState() const { return static_cast<std::int16_t>(SendState() + 1); }
    std::int16_t LastState() const { return kind == StepKind::Run ? state : CheckState(); }

    // Refinements of an exchange row, as the module writes it.
    StepEntry&& WithoutPrepare() &&
    {
        prepared = false;
        return std::move(*this);
    }
    StepEntry&& Items(ItemRule::Kind kind, std::int16_t count) &&
    {
        items = {kind, count};
        return std::move(*this);
    }
    StepEntry&& SendOnlyIf(std::function<bool()> condition) &&
    {
        beforeSend = std::move(condition);
        return std::move(*this);
    }
    StepEntry&& WhenOutOfTries(std::function<void()> end) &&
    {
        outOfTries = std::move(end);
        return std::move(*this);
    }
};

inline StepEntry RunStepOf(std::int16_t state, std::function<void()> run)
{
    StepEntry row;
    row.state = state;
    row.run = std::move(run);
    return row;
}
// Prepare at first, send at first + 1, check at first + 2.
inline StepEntry ExchangeOf(std::int16_t first, std::uint8_t command, std::function<void()> check)
{
    StepEntry row = RunStepOf(first, std::move(check));
    row.kind = StepKind::Exchange;
    row.command = command;
    return row;
}

// An exchange whose command a plan chooses at each send.
inline StepEntry ExchangeOf(std::int16_t first, std::function<std::uint8_t()> commandOf, std::function<void()> check)
{
    StepEntry row = ExchangeOf(first, 0, std::move(check));
    row.commandOf = std::move(commandOf);
    return row;
}

// Thrown at start-up when modules claim a state twice, the rest state, or a
// state of the send and parse range: a programming error, never an input.
class StepTableError : public std::logic_error {
public:
    using std::logic_error::logic_error;
};

// Where a state lies in its row.
enum class StepRole : std::uint8_t { Run, Prepare, Send, Check };

class StepTable {
public:
    void Add(std::vector<StepEntry> rows);
    // The row that holds a script state, or nullptr; role tells which of its
    // states it is.
    const StepEntry* Find(std::int16_t state, StepRole* role = nullptr) const;

private:
    std::vector<StepEntry> m_Rows;
};
