#include "hart/CommandTable.h"

#include <gtest/gtest.h>

#include <set>
#include <vector>

namespace {

struct ExpectedRow {
    int command;
    FrameForm form;
    int dataLen;
    int sendState;
    int parseState;
    int minByteCount;
    int items;
};

constexpr FrameForm S = FrameForm::Short;
constexpr FrameForm L = FrameForm::Long;

// Written out from the command list the transmitter documentation gives,
// independent of the table under test.
const std::vector<ExpectedRow> kExpected = {
    {0, S, 0, 501, 502, 14, 5},   {1, L, 0, 503, 504, 7, 2},    {2, L, 0, 505, 506, 10, 2},
    {6, L, 1, 509, 510, 2, 4},    {12, L, 0, 511, 512, 26, 1},  {13, L, 0, 513, 514, 23, 1},
    {14, L, 0, 515, 516, 18, 5},  {15, L, 0, 517, 518, 19, 8},  {16, L, 0, 519, 520, 5, 3},
    {17, L, 24, 521, 522, 2, 4},  {18, L, 21, 523, 524, 2, 4},  {19, L, 3, 525, 526, 2, 6},
    {34, L, 4, 527, 528, 2, 4},   {35, L, 9, 529, 530, 2, 6},   {36, L, 0, 531, 532, 2, 3},
    {37, L, 0, 533, 534, 2, 3},   {40, L, 4, 535, 536, 2, 4},   {43, L, 0, 537, 538, 2, 3},
    {44, L, 1, 539, 540, 2, 4},   {45, L, 4, 541, 542, 2, 4},   {46, L, 4, 543, 544, 2, 4},
    {47, L, 1, 545, 546, 2, 4},   {108, L, 1, 601, 602, 2, 4},  {109, L, 1, 603, 604, 2, 4},
    {128, L, 0, 605, 606, 24, 3}, {130, L, 5, 607, 608, 2, 5},  {131, L, 5, 609, 610, 2, 5},
    {134, L, 2, 611, 612, 2, 4},  {135, L, 2, 613, 614, 2, 4},  {165, L, 0, 615, 616, 3, 1},
    {172, L, 6, 619, 620, 14, 1}, {192, L, 2, 621, 622, 2, 4},
};

} // namespace

TEST(CommandTable, EveryRowMatchesTheCommandList)
{
    ASSERT_EQ(AllCommands().size(), kExpected.size());
    std::set<int> seen;
    for (const ExpectedRow& e : kExpected) {
        SCOPED_TRACE(testing::Message() << "command " << e.command);
        const CommandInfo* c = FindCommand(static_cast<std::uint8_t>(e.command));
        ASSERT_NE(c, nullptr);
        EXPECT_EQ(c->command, e.command);
        EXPECT_EQ(c->form, e.form);
        EXPECT_EQ(c->dataLen, e.dataLen);
        EXPECT_EQ(c->sendState, e.sendState);
        EXPECT_EQ(c->parseState, e.parseState);
        EXPECT_EQ(c->minByteCount, e.minByteCount);
        EXPECT_EQ(c->items, e.items);
        EXPECT_EQ(FindCommandBySendState(static_cast<std::int16_t>(e.sendState)), c);
        EXPECT_EQ(FindCommandByParseState(static_cast<std::int16_t>(e.parseState)), c);
        seen.insert(e.command);
    }
    EXPECT_EQ(seen.size(), 32u);
}

TEST(CommandTable, LookupsMissOutsideTheTable)
{
    EXPECT_EQ(FindCommand(3), nullptr);
    EXPECT_EQ(FindCommand(255), nullptr);
    EXPECT_EQ(FindCommandBySendState(507), nullptr) << "507/508 are not a command pair";
    EXPECT_EQ(FindCommandBySendState(502), nullptr) << "a parse state is not a send state";
    EXPECT_EQ(FindCommandByParseState(501), nullptr);
    EXPECT_EQ(FindCommandByParseState(0), nullptr);
    EXPECT_EQ(FindCommandBySendState(617), nullptr);
}

TEST(CommandTable, OnlyCommandZeroUsesTheShortFrame)
{
    for (const CommandInfo& c : AllCommands())
        EXPECT_EQ(c.form == FrameForm::Short, c.command == 0) << "command " << int(c.command);
}

TEST(CommandTable, VersionReadSendsItsFixedAccessCode)
{
    const CommandInfo* c = FindCommand(172);
    ASSERT_NE(c, nullptr);
    EXPECT_EQ(c->fill, DataFill::Template);
    const std::uint8_t expected[6] = {0x4B, 0x4E, 0x20, 0x4A, 0x56, 0xA6};
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(c->templateData[i], expected[i]) << "byte " << i;
}

TEST(CommandTable, DataFillOfEachCommand)
{
    const std::vector<std::pair<int, DataFill>> fills = {
        {0, DataFill::PollingAddress},     {1, DataFill::None},          {6, DataFill::Code0},
        {17, DataFill::Block},             {18, DataFill::Block},        {19, DataFill::Codes012},
        {34, DataFill::Float0},            {35, DataFill::Code0Float0Float1}, {40, DataFill::Float0},
        {44, DataFill::Code0},             {45, DataFill::Float0},       {46, DataFill::Float0},
        {47, DataFill::Code0},             {108, DataFill::Code0},       {109, DataFill::Code0},
        {130, DataFill::Code0Float0},      {131, DataFill::Code0Float0}, {134, DataFill::Code0FixedByte1},
        {135, DataFill::Code0FixedByte1},  {192, DataFill::Code0FixedByte1},
    };
    for (const auto& [command, fill] : fills) {
        const CommandInfo* c = FindCommand(static_cast<std::uint8_t>(command));
        ASSERT_NE(c, nullptr) << command;
        EXPECT_EQ(c->fill, fill) << "command " << command;
    }
}
