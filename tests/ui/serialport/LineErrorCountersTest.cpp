#include "ui/serialport/LineErrorCounters.h"

#include "PseudoTerminal.h"
#include "dialog/SerialPort.h"

#include <gtest/gtest.h>

namespace {

struct DiffRow {
    const char* name;
    LineErrorCounts before;  // frame, overrun, parity, bufferOverrun
    LineErrorCounts after;
    std::vector<std::int16_t> events;
};

void PrintTo(const DiffRow& row, std::ostream* os) { *os << row.name; }

class LineErrorDiff : public testing::TestWithParam<DiffRow> {};

TEST_P(LineErrorDiff, OneEventPerCountedError)
{
    EXPECT_EQ(LineErrorEvents(GetParam().before, GetParam().after), GetParam().events);
}

constexpr auto F = CommEvent::kFrameError;
constexpr auto O = CommEvent::kOverrun;
constexpr auto B = CommEvent::kRxOverflow;
constexpr auto P = CommEvent::kParityError;

INSTANTIATE_TEST_SUITE_P(Rows, LineErrorDiff,
                         testing::Values(DiffRow{"Unchanged", {5, 6, 7, 8}, {5, 6, 7, 8}, {}},
                                         DiffRow{"OneOfEach", {1, 1, 1, 1}, {2, 2, 2, 2}, {F, O, B, P}},
                                         DiffRow{"ParityAndBuffer", {0, 0, 10, 3}, {0, 0, 12, 4}, {B, P, P}},
                                         DiffRow{"CounterWrapped", {0xFFFFFFFFu, 0, 0, 0}, {1, 0, 0, 0}, {F, F}},
                                         DiffRow{"CapSpansKinds",
                                                 {0, 0, 0, 0},
                                                 {10, 0, 9, 0},
                                                 {F, F, F, F, F, F, F, F, F, F, P, P, P, P, P, P}}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(LineErrorCountersRead, DevicesWithoutCountersGiveNone)
{
    EXPECT_EQ(ReadLineErrorCounts(-1), std::nullopt);
    PseudoTerminal pty;
    EXPECT_EQ(ReadLineErrorCounts(pty.MasterFd()), std::nullopt);
}

}  // namespace
