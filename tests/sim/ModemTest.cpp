// The simulated modem line by line (exact reply lines, each fault switch, when
// reply pieces are due), and the server on a real pseudo-terminal. Expected
// frames were put together by hand from the HART layouts; a fault row is the
// clean reply with that one change, check byte included.
#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <numeric>
#include <stdexcept>
#include <tuple>

#include "sim/Console.h"
#include "sim/PtyServer.h"

using F = sim::FaultKind;
using sim::kAllCommands;

namespace {

// SOH 'P' '0' '1' hex CR LF, and the reply line a well-behaved modem sends.
std::string Request(const std::string& hex) { return "\x01P01" + hex + "\r\n"; }
std::string Reply(const std::string& hex) { return "\x01P00" + hex + "\r\n"; }

std::vector<sim::Chunk> FeedText(sim::Modem& modem, const std::string& text, std::uint64_t nowMs = 0)
{
    return modem.Feed(reinterpret_cast<const std::uint8_t*>(text.data()), text.size(), nowMs);
}
std::string Joined(const std::vector<sim::Chunk>& chunks)
{
    std::string text;
    for (const sim::Chunk& c : chunks)
        text.append(c.bytes.begin(), c.bytes.end());
    return text;
}

struct Step {
    std::string line;   // what the master writes
    std::string reply;  // every byte the modem answers with ("" for none)
    std::uint64_t atMs = 0;
};

struct Row {
    const char* name;
    sim::ModemOptions options;
    std::vector<Step> steps;
    std::vector<int> delays = {};  // of the last step's pieces; empty: not compared
};

sim::ModemOptions Timed(std::vector<sim::FaultRule> faults = {}, bool immediate = false)
{
    sim::ModemOptions options;
    options.immediate = immediate;
    options.faults = std::move(faults);
    return options;
}
sim::ModemOptions Immediate(std::vector<sim::FaultRule> faults = {}) { return Timed(std::move(faults), true); }

// Clean reply frame to command 0 at polling address 0 of a fresh transmitter.
const std::string kCmd0 = "0680000E0000FEB57C050501020800010203B4";
const std::string kReq0 = Request("0280000082"), kCmd0Line = Reply(kCmd0);
const std::string kReq1 = Request("82B57C01020301004A"), kCmd1 = Reply("86B57C010203010700000C424800004F");
const std::string kReq15 = Request("82B57C0102030F0044"),
                  kCmd15 = Reply("86B57C0102030F13000000000C42C80000000000003F00000000B55F");
const std::string kReq105 = Request("82B57C010203690022");
const std::string kDamping2s = Request("82B57C0102032204400000002D");
// Tag "ABCD    " (04 20 C4, 82 08 20), descriptor of 16 spaces (82 08 20 four times), 31.12.2013 (1F 0C 71).
const std::string kPacked = "0420C4820820820820820820820820820820" + std::string("1F0C71");
const std::vector<int> kCmd0Pieces = {344, 355, 367, 378};

// Fresh transmitter, time 0: PV 50 kPa exactly, range 0-100 kPa, damping 0.5 s.
// clang-format off
const Row kRows[] = {
    {"Cmd0AtOnceInOnePieceWhenImmediate", Immediate(), {{kReq0, kCmd0Line, 1000}}, {0}},  // Command 0, short frame at polling address 0: expansion 254, B5 7C, 5 preambles, revisions 5/1/2, hardware 08, flags 0, id 01 02 03.
    {"Cmd1", Immediate(), {{kReq1, kCmd1}}},  // unit 12 (kPa), PV 50.0 = 42480000
    {"Cmd2", Immediate(), {{Request("82B57C010203020049"), Reply("86B57C010203020A000041400000424800004C")}}},  // 12.0 mA, 50 %
    {"Cmd3", Immediate(), {{Request("82B57C010203030048"), Reply("86B57C010203031A000041400000" "0C424800000C424800000C424800000C42480000" "57")}}},  // 12.0 mA, kPa 50.0 four times
    {"Cmd15", Immediate(), {{kReq15, kCmd15}}},  // alarm 0, linear, kPa, 100.0, 0.0, 0.5 s, writable, label B5
    {"Cmd105", Immediate(), {{kReq105, Reply("86B57C01020369040000000123")}}},  // burst mode off, burst command 1
    {"Cmd44Echo", Immediate(), {{Request("82B57C0102032C010660"), Reply("86B57C0102032C0300400626")}}},  // unit 6 (psi)
    {"Cmd109Burst", Immediate(), {{Request("82B57C0102036D010126"), Reply("86F57C0102036D0300000160")}}},  // the reply already carries the burst bit
    {"DampingWriteShowsInCommand15", Immediate(), {{kDamping2s, Reply("86B57C01020322060040400000006B")}, {kReq15, Reply("86B57C0102030F13004000000C42C80000000000004000000000B560")}}},  // Damping 2.0 echoed with configuration-changed bit 0x40; command 15 then reads 2.0 (40000000).
    {"TagWriteShowsInCommand13", Immediate(), {{Request("82B57C0102031215" + kPacked + "64"), Reply("86B57C01020312170040" + kPacked + "22")}, {Request("82B57C0102030D0046"), Reply("86B57C0102030D170040" + kPacked + "3D")}}},
    {"NewPollingAddressMovesCommand0", Immediate(), {{Request("82B57C01020306010549"), Reply("86B57C010203060300480507")}, {kReq0, ""}, {Request("0285000087"), Reply("0685000E0048FEB57C050501020800010203F9")}}},  // Polling address 5 echoed; multidrop fixes the current (0x08); command 0 is then answered at address 5 only.
    {"WriteProtectionRefusesWithCode7AndNoData", Immediate(), {{Request("82B57C010203C002010088"), Reply("86B57C010203C0030000018D")}, {kDamping2s, Reply("86B57C0102032202070068")}, {kReq15, Reply("86B57C0102030F13000000000C42C80000000000003F00000001B55E")}}},  // Protected (command 192): the damping write is refused with code 7 and no data, and changed nothing.
    {"NoAnswerToOtherAddressesOrBadFrames", Immediate(), {{Request("0281000083"), ""}, {Request("0280000083"), ""}, {Request("82B57C01020401004D"), ""}, {Request("82B57D01020301004B"), ""}, {Request("827E7C010203010081"), ""}, {Request("0280000183"), ""}, {Request("02800000"), ""}}},  // Polling address 1, bad check byte, other device id, device type, manufacturer; a byte count promising a missing byte; no check byte.
    {"LongAddressIgnoresMasterBurstAndUpperManufacturerBits", [] { auto o = Immediate(); o.identity.manufacturer = 0x7F; return o; }(), {{Request("82FF7C010203010000"), Reply("86BF7C010203010700000C4248000045")}, {Request("82BF7C010203010040"), Reply("86BF7C010203010700000C4248000045")}, {Request("823F7C0102030100C0"), Reply("863F7C010203010700000C42480000C5")}}},  // Manufacturer 7F: 0x80 | 0x7F as the tool sends it, 0x80 | (0x7F & 0x3F) as HART does; a secondary master (bit 7 clear) is answered with its own address.
    {"MultidropSurvey", [] { auto o = Immediate(); std::tie(o.multidrop, o.processKpa, o.sensorErrorPct) = std::make_tuple(3, 40.0, 10.0); return o; }(), {{kReq0, ""}, {Request("0282000080"), Reply("0682000E0008FEB57C050501020800010204B9")}, {Request("0284000086"), ""}, {Request("82B57C0102050D0040"), Reply("86B57C0102050D170008414B71C338204121534D54858183544A08200F017C12")}, {Request("82B57C01020402004E"), Reply("86B57C010204020A00084080000042300000FA")}}},  // Three at addresses 1 to 3, ids 01 02 03 to 01 02 05, current fixed (0x08): command 0 answered at address 2 only (id 01 02 04); command 13 of the third reads tag PT-103; command 2 of the second 4.0 mA and 44 % (40 kPa read 10 % high).
    {"MalformedLinesAreIgnored", Immediate(), {{"\x01P010280000082\n", ""}, {"\x01P000280000082\r\n", ""}, {"\x01X010280000082\r\n", ""}, {"P010280000082\r\n", ""}, {"\x01P0182b57c01020301004a\r\n", ""}, {"\x01P01028000008\r\n", ""}, {"\x01P0102800" + kReq0, kCmd0Line}}},  // CR missing, digits other than 01, letter other than P, SOH missing, lower-case hex, odd hex count; a broken line does not spoil the next request.

    {"NoAnswer", Immediate({{F::kNoAnswer}}), {{kReq0, ""}}},
    {"LetterX", Immediate({{F::kLetterX}}), {{kReq0, "\x01X00" + kCmd0 + "\r\n"}}},
    {"LetterR", Immediate({{F::kLetterR}}), {{kReq0, "\x01R00" + kCmd0 + "\r\n"}}},
    {"LetterW", Immediate({{F::kLetterW}}), {{kReq0, "\x01W00" + kCmd0 + "\r\n"}}},
    {"LowerCaseHex", Immediate({{F::kLowerCaseHex}}), {{kReq0, "\x01P000680000e0000feb57c050501020800010203b4\r\n"}}},
    {"MissingLf", Immediate({{F::kMissingLf}}), {{kReq0, "\x01P00" + kCmd0 + "\r"}}},
    {"ShortCount", Immediate({{F::kShortCount}}), {{kReq0, Reply("0680000D0000FEB57C0505010208000102B4")}}},  // byte count 0D, last data byte gone
    {"LongCount", Immediate({{F::kLongCount}}), {{kReq0, Reply("068000120000FEB57C050501020800010203A8")}}},  // byte count 0E + 4, bytes unchanged
    {"StatusOnly", Immediate({{F::kStatusOnly}}), {{kReq0, Reply("068000024000C4")}}},  // response code 64, device status, nothing else
    {"ResponseCode16", Immediate({{F::kResponseCode, kAllCommands, 16}}), {{kReq0, Reply("0680000E1000FEB57C050501020800010203A4")}}},
    {"BurstBit", Immediate({{F::kBurstBit}}), {{kReq0, Reply("06C0000E0000FEB57C050501020800010203F4")}}},
    {"BadEchoCmd15", Immediate({{F::kBadEcho}}), {{kReq15, Reply("86B57C0102030F130000FEFE0C42C80000000000003F000000FEB5A1")}}},  // alarm, transfer function, write protection 254
    {"BadEchoCmd44", Immediate({{F::kBadEcho, 44, 3}}), {{Request("82B57C0102032C010660"), Reply("86B57C0102032C0300400323")}}},  // the unit byte
    {"BadEchoCmd105", Immediate({{F::kBadEcho}}), {{kReq105, Reply("86B57C01020369040000FEFE22")}}},  // burst mode and burst command
    {"StatusOnlyCmd105", Immediate({{F::kStatusOnly, 105}}), {{kReq105, Reply("86B57C0102036902400064")}}},  // refused as a device without it
    {"BadEchoCmd0Unchanged", Immediate({{F::kBadEcho}}), {{kReq0, kCmd0Line}}},  // no setting or unit code to bend
    {"BadUnitCmd1", Immediate({{F::kBadUnit}}), {{kReq1, Reply("86B57C01020301070000204248000063")}}},  // unit code 32 instead of 12
    {"BadCheckByte", Immediate({{F::kBadCheckByte}}), {{kReq0, Reply("0680000E0000FFB57C050501020800010203B4")}}},  // FE -> FF, check byte kept
    {"OtherCommand", Immediate({{F::kOtherCommand}}), {{kReq0, Reply("0680010E0000FEB57C050501020800010203B5")}}},
    {"OtherAddress", Immediate({{F::kOtherAddress}}), {{kReq0, Reply("0681000E0000FEB57C050501020800010203B5")}, {kReq1, Reply("86B57C010202010700000C424800004E")}}},  // Short frame: polling address 1; long frame: device id 01 02 02.
    {"LostWriteNotActedOn", Immediate({{F::kNoAnswer, 34}}), {{kDamping2s, ""}, {kReq15, kCmd15}}},  // A lost request or a command the device lacks does not change the damping: command 15 still reads 0.5 s.
    {"StatusOnlyWriteNotActedOn", Immediate({{F::kStatusOnly, 34}}), {{kDamping2s, Reply("86B57C010203220240002F")}, {kReq15, kCmd15}}},

    // A loop byte is 11 bits at 1200 baud, a line byte 10 bits at 9600. Command 0: request 110 bits = 92 ms, turnaround 20, reply 264 bits = 220 ms; its 44-byte line in 4 pieces of 11.
    {"RequestInPieces", Timed(), {{kReq0.substr(0, 5), ""}, {kReq0.substr(5), kCmd0Line, 250}}, kCmd0Pieces},  // counted from the last byte
    // Half duplex: a request that comes while a reply is on its way waits; at 100 ms the first reply is done at 378.
    {"SecondRequestInSameWrite", Timed(), {{kReq0 + kReq0, kCmd0Line + kCmd0Line}}, {344, 355, 367, 378, 722, 733, 745, 756}},
    {"SecondRequestDuringReply", Timed(), {{kReq0, kCmd0Line}, {kReq0, kCmd0Line, 100}}, {622, 633, 645, 656}},
    {"SecondRequestLongAfter", Timed(), {{kReq0, kCmd0Line}, {kReq0, kCmd0Line, 5000}}, kCmd0Pieces},
    {"LongestReply", Timed(), {{Request("82B57C0102030C0047"), Reply("86B57C0102030C1A00004C93553015051202014948144813933495141528208208203D")}}, {536, 556, 576, 596}},  // Command 12, the message "SIMULATED HART TRANSMITTER" packed, the longest reply the tool asks for: 9-byte request 129 ms, turnaround 20, 35-byte reply 367 ms; its 76-byte line in pieces of 19 at 20, 40, 60, 80 ms.
    // The second half held back by 150 ms by default (a lone immediate piece split in two first), or by the given time.
    {"LongGapImmediate", Immediate({{F::kLongGap}}), {{kReq0, kCmd0Line}}, {0, 150}},
    {"LongGap220", Timed({{F::kLongGap, kAllCommands, 220}}), {{kReq0, kCmd0Line}}, {344, 355, 587, 598}},
    // Lines around the reply: a command 1 burst frame (PV 50.0) 150 ms before it, the previous reply 200 ms after, "00" 105 ms after.
    {"BurstBefore", Timed({{F::kBurstBefore}}), {{kReq0, Reply("81F57C010203010700000C4248000008") + kCmd0Line}}, {194, 344, 355, 367, 378}},
    {"RepeatLate", Timed({{F::kRepeatLate, 0}}), {{kReq1, kCmd1}, {kReq0, kCmd0Line + kCmd1, 5000}}, {344, 355, 367, 378, 578}},
    {"TrailingBytes", Timed({{F::kTrailingBytes}}), {{kReq0, kCmd0Line + "00"}}, {344, 355, 367, 378, 483}},
};
// clang-format on

void PrintTo(const Row& row, std::ostream* os) { *os << row.name; }

class ModemTest : public ::testing::TestWithParam<Row> {};

TEST_P(ModemTest, RepliesAreExactAndDueAtTheLoopTime)
{
    sim::Modem modem(GetParam().options);
    std::vector<int> delays;
    for (const Step& step : GetParam().steps) {
        const std::vector<sim::Chunk> chunks = FeedText(modem, step.line, step.atMs);
        EXPECT_EQ(Joined(chunks), step.reply);
        delays.clear();
        for (const sim::Chunk& c : chunks)
            delays.push_back(c.delayMs);
    }
    EXPECT_TRUE(GetParam().delays.empty() || delays == GetParam().delays) << ::testing::PrintToString(delays);
}

INSTANTIATE_TEST_SUITE_P(Modem, ModemTest, ::testing::ValuesIn(kRows),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ModemLineTest, ARequestByteByByteIsAnsweredAtItsLastByte)
{
    sim::Modem modem(Immediate());
    for (std::size_t i = 0; i + 1 < kReq1.size(); ++i)
        EXPECT_TRUE(FeedText(modem, kReq1.substr(i, 1)).empty()) << "byte " << i;
    EXPECT_EQ(Joined(FeedText(modem, kReq1.substr(kReq1.size() - 1))), kCmd1);
}

// Replies to command 0 with random faults from a pool of two.
TEST(FaultRandomTest, SeedRepeatsAndRateDecidesHowManyAreSpoiled)
{
    const auto run = [](double rate, std::uint32_t seed, int requests) {
        sim::ModemOptions options = Immediate();
        std::tie(options.randomFaultRate, options.randomFaults, options.seed) =
            std::make_tuple(rate, std::vector<F>{F::kLetterX, F::kNoAnswer}, seed);
        sim::Modem modem(options);
        std::vector<std::string> replies;
        for (int i = 0; i < requests; ++i)
            replies.push_back(Joined(FeedText(modem, kReq0)));
        return replies;
    };
    const auto clean = [](const std::vector<std::string>& r) { return std::count(r.begin(), r.end(), kCmd0Line); };
    EXPECT_EQ(run(0.3, 7, 60), run(0.3, 7, 60));
    EXPECT_NE(run(0.3, 7, 60), run(0.3, 8, 60));
    EXPECT_EQ(clean(run(0.0, 1, 50)), 50);
    EXPECT_EQ(clean(run(1.0, 1, 50)), 0);
    const auto mixed = run(0.3, 1, 200);
    EXPECT_TRUE(clean(mixed) > 110 && clean(mixed) < 170) << clean(mixed);
    for (const auto& r : mixed)
        EXPECT_TRUE(r.empty() || r == kCmd0Line || r == "\x01X00" + kCmd0 + "\r\n");
}

using TimedHex = std::vector<std::pair<std::uint64_t, std::string>>;  // time, frame hex (or how it begins)

const TimedHex kBurstRequests = {
    {0, "82B57C0102036D010126"},     // enter burst mode
    {1346, "82B57C01020301004A"},    // command 1 just as a burst starts
    {2800, "82B57C0102036C010325"},  // burst command 3 (configuration changed)
    {4100, "82B57C0102036D010027"},  // exit burst mode
};
const TimedHex kBurstLines = {
    {322, "86F57C0102036D030000"},     // 314 ms on the loop, pieces 8 to 32 ms: out at 346
    {1049, "81F57C01020301070000"},    // starts at 846: 193 ms on the loop, pieces 10 to 40 ms
    {1549, "81F57C01020301070000"},    // 1346, out at 1579
    {1931, "86F57C01020301070000"},    // 1579 + 342 ms on the loop + 10, out at 1961
    {2664, "81F57C01020301070000"},    // 2461
    {3122, "86F57C0102036C03004003"},  // 2800 + 314 + 8, out at 3146
    {4033, "81F57C010203031A0040"},    // 3646: 367 ms on the loop, pieces 20 to 80 ms
    {4422, "86B57C0102036D03004000"},  // 4100 + 314 + 8, and no burst after
};

// A transmitter in burst mode, played as a port would: bursts taken when due
// (one due just as a request comes left to Feed). Bursts start 500 ms after a
// reply's last piece, then every 500 ms.
TEST(BurstTimingTest, FramesEveryPeriodBetweenTheRepliesUntilExit)
{
    sim::Modem modem;
    TimedHex lines;  // a piece that starts with SOH starts a line
    const auto take = [&lines](const std::vector<sim::Chunk>& chunks, std::uint64_t nowMs) {
        for (const sim::Chunk& chunk : chunks) {
            if (chunk.bytes.at(0) == 0x01)
                lines.emplace_back(nowMs + chunk.delayMs, "");
            lines.back().second.append(chunk.bytes.begin(), chunk.bytes.end());
        }
    };
    const auto runBefore = [&](std::uint64_t t) {
        for (auto next = modem.NextEventMs(); next && *next < t; next = modem.NextEventMs())
            take(modem.Advance(*next), *next);
    };
    for (const auto& [atMs, frame] : kBurstRequests) {
        runBefore(atMs);
        take(FeedText(modem, Request(frame), atMs), atMs);
    }
    runBefore(10000);
    ASSERT_EQ(lines.size(), kBurstLines.size());
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const auto& [atMs, text] = lines[i];
        const auto frame = sim::FromUpperHex(text.substr(4, text.size() - 6)).value_or(sim::Bytes{1});
        const int check = std::accumulate(frame.begin(), frame.end(), 0, [](int a, std::uint8_t b) { return a ^ b; });
        EXPECT_TRUE(atMs == kBurstLines[i].first && text.starts_with("\x01P00" + kBurstLines[i].second) && check == 0)
            << atMs << " ms: " << text;
    }
}

// Console lines to two multidropped transmitters, the second still: each
// answered once, a refused one changing nothing.
TEST(SimConsoleTest, LinesSetThePressureAndWobbleOfTheTransmittersTheyName)
{
    // The line, its answer, then the pressure and wobble at addresses 1 and 2.
    const std::tuple<std::string, std::string, double, double, bool, bool> rows[] = {
        {"pressure 80", "ok", 80, 80, true, false},
        {" pressure -12.5 2\r", "ok", 50, -12.5, true, false},
        {"wobble 0 1", "ok", 50, 50, false, false},
        {"wobble 1", "ok", 50, 50, true, true},
        {"pressure 80 3", "error: no transmitter at polling address 3", 50, 50, true, false},
        {"pressure 80 16", "error: bad polling address '16', not 0 to 15", 50, 50, true, false},
        {"pressure 1e6", "error: bad pressure '1e6', not kPa from -100000 to 100000", 50, 50, true, false},
        {"wobble 2", "error: bad value '2', not 0 or 1", 50, 50, true, false},
        {"wobble", "error: wobble takes 0 or 1 and an optional polling address", 50, 50, true, false},
        {"hold 1", "error: unknown command 'hold', not pressure or wobble", 50, 50, true, false}};
    for (const auto& [text, answer, kpa1, kpa2, wobble1, wobble2] : rows) {
        sim::ModemOptions options;
        options.multidrop = 2;
        sim::Responder line(options);
        line.Devices()[1].State().wobble = false;
        EXPECT_EQ(sim::RunConsoleLine(text, line.Devices()), answer);
        const sim::TransmitterState &one = line.Devices()[0].State(), &two = line.Devices()[1].State();
        EXPECT_EQ(std::tie(one.processKpa, two.processKpa, one.wobble, two.wobble),
                  std::tie(kpa1, kpa2, wobble1, wobble2))
            << text;
    }
}

// Several multidropped transmitters in burst mode take turns.
TEST(MultidropBurstTest, BurstingTransmittersTakeTurns)
{
    sim::ModemOptions options;
    std::tie(options.multidrop, options.steady) = std::make_tuple(3, true);
    sim::Responder line(options);
    line.Devices()[0].State().burstMode = line.Devices()[2].State().burstMode = true;
    std::string ids;  // of each frame: 81, two address bytes, then the id
    for (int i = 0; i < 3; ++i)
        ids += sim::ToHex(line.BurstFrame(0)).substr(6, 6) + " ";
    EXPECT_EQ(ids, "010203 010205 010203 ");
    EXPECT_FALSE(line.Devices()[1].State().wobble) << "steady";
}

// The server on a real pseudo-terminal: the test plays the master program
// with plain POSIX calls and bounded waits.
constexpr int kWaitMs = 2000;

int OpenRaw(const std::string& path)
{
    const int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY);
    termios tio{};
    if (fd >= 0 && tcgetattr(fd, &tio) == 0) {
        cfmakeraw(&tio);
        tcsetattr(fd, TCSANOW, &tio);
    }
    return fd;
}

// Writes the request, then reads until CR LF; every wait for a piece is bounded.
std::string Ask(int fd, const std::string& request)
{
    std::string line;
    if (::write(fd, request.data(), request.size()) != static_cast<ssize_t>(request.size()))
        return line;
    pollfd p{fd, POLLIN, 0};
    char buffer[128];
    ssize_t got = 0;
    while (!line.ends_with("\r\n") && ::poll(&p, 1, kWaitMs) == 1 && (got = ::read(fd, buffer, sizeof buffer)) > 0)
        line.append(buffer, static_cast<std::size_t>(got));
    return line;
}

// Replies leave in real time at loop speed; console lines reach the running
// transmitter, its PV exact once still. (That stopping hangs up the master,
// the unplug run end to end shows.)
TEST(PtyServerTest, AnswersAtLoopSpeedOnAPseudoTerminal)
{
    sim::PtyServer server;
    const std::string path = server.Start();
    EXPECT_EQ(server.Start(), path);  // already running: same device
    const int fd = OpenRaw(path);
    ASSERT_GE(fd, 0);
    const auto sent = std::chrono::steady_clock::now();
    EXPECT_EQ(Ask(fd, kReq0), kCmd0Line);
    EXPECT_GE(std::chrono::steady_clock::now() - sent, std::chrono::milliseconds(300)) << "at loop speed: 378 ms";
    server.WithDevices([](auto& devices) {
        for (const char* line : {"pressure 80", "wobble 0"})
            sim::RunConsoleLine(line, devices);
    });
    EXPECT_EQ(Ask(fd, kReq1), Reply("86B57C010203010700000C42A00000A7"));  // PV 80.0
    ::close(fd);
}

// A second pseudo-terminal stands in for a serial port: the server gets its
// slave, the test plays the master program on the other side.
TEST(PtyServerTest, ServesAGivenTerminalBoundsWhatItsMasterNeverReadsAndStopsWhenItGoesAway)
{
    const int master = posix_openpt(O_RDWR | O_NOCTTY);
    ASSERT_GE(master, 0);
    char name[256];
    ASSERT_TRUE(grantpt(master) == 0 && unlockpt(master) == 0 && ptsname_r(master, name, sizeof name) == 0);
    sim::PtyServer server(Immediate(), [](const std::string&) {});
    EXPECT_EQ(server.Start(name), name);
    EXPECT_EQ(Ask(master, kReq0), kCmd0Line);
    for (int i = 0; i < 4000; ++i)
        ASSERT_EQ(::write(master, kReq0.data(), kReq0.size()), static_cast<ssize_t>(kReq0.size()));
    for (int i = 0; i < 100 && server.PendingBytes() + kCmd0Line.size() <= 64u * 1024u; ++i)
        ::poll(nullptr, 0, 20);  // bounded: until the queue has reached its bound
    EXPECT_GT(server.PendingBytes() + kCmd0Line.size(), 64u * 1024u);
    EXPECT_LE(server.PendingBytes(), 64u * 1024u);
    ::close(master);  // the device goes away: the server stops by itself
    for (int i = 0; i < 100 && server.Running(); ++i)
        ::poll(nullptr, 0, 20);
    EXPECT_FALSE(server.Running());
    server.Stop();
    EXPECT_THROW(server.Start("/nonexistent/tty"), std::runtime_error);
    EXPECT_THROW(server.Start("/dev/null"), std::runtime_error) << "not a terminal";
    EXPECT_FALSE(server.Running());
}

}  // namespace
