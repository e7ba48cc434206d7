#include "hart/CommandTable.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

struct ExpectedRow {
    int command;
    FrameForm form;
    int dataLen;
    DataFill fill;
    int minByteCount, items;
};

constexpr FrameForm S = FrameForm::Short;
constexpr FrameForm L = FrameForm::Long;
using F = DataFill;

// Written out from the transmitter's command list, independent of the table under test.
const std::vector<ExpectedRow> kExpected = {
    {0, S, 0, F::PollingAddress, 14, 5},
    {1, L, 0, F::None, 7, 2},
    {2, L, 0, F::None, 10, 2},
    {6, L, 1, F::Code0, 2, 4},
    {12, L, 0, F::None, 26, 1},
    {13, L, 0, F::None, 23, 1},
    {14, L, 0, F::None, 18, 5},
    {15, L, 0, F::None, 19, 8},
    {16, L, 0, F::None, 5, 3},
    {17, L, 24, F::Block, 2, 4},
    {18, L, 21, F::Block, 2, 4},
    {19, L, 3, F::Codes012, 2, 6},
    {34, L, 4, F::Float0, 2, 4},
    {35, L, 9, F::Code0Float0Float1, 2, 6},
    {36, L, 0, F::None, 2, 3},
    {37, L, 0, F::None, 2, 3},
    {40, L, 4, F::Float0, 2, 4},
    {43, L, 0, F::None, 2, 3},
    {44, L, 1, F::Code0, 2, 4},
    {45, L, 4, F::Float0, 2, 4},
    {46, L, 4, F::Float0, 2, 4},
    {47, L, 1, F::Code0, 2, 4},
    {108, L, 1, F::Code0, 2, 4},
    {109, L, 1, F::Code0, 2, 4},
    {128, L, 0, F::None, 24, 3},
    {130, L, 5, F::Code0Float0, 2, 5},
    {131, L, 5, F::Code0Float0, 2, 5},
    {134, L, 2, F::Code0FixedByte1, 2, 4},
    {135, L, 2, F::Code0FixedByte1, 2, 4},
    {165, L, 0, F::None, 3, 1},
    {172, L, 6, F::Template, 14, 1},
    {192, L, 2, F::Code0FixedByte1, 2, 4},
};

}  // namespace

TEST(CommandTable, EveryRowMatchesTheCommandList)
{
    ASSERT_EQ(AllCommands().size(), kExpected.size());
    for (const ExpectedRow& e : kExpected) {
        SCOPED_TRACE(testing::Message() << "command " << e.command);
        const CommandInfo* c = FindCommand(static_cast<std::uint8_t>(e.command));
        ASSERT_NE(c, nullptr);
        EXPECT_EQ(c->command, e.command);
        EXPECT_EQ(c->form, e.form);
        EXPECT_EQ(c->dataLen, e.dataLen);
        EXPECT_EQ(c->fill, e.fill);
        EXPECT_EQ(c->minByteCount, e.minByteCount);
        EXPECT_EQ(c->items, e.items);
    }
}

TEST(CommandTable, LookupsMissOutsideTheTable)
{
    EXPECT_EQ(FindCommand(3), nullptr);
    EXPECT_EQ(FindCommand(255), nullptr);
}
