// Exact reply lines for known requests. Every expected frame below was put
// together by hand from the HART layouts: delimiter, address, command, byte
// count, response code, device status, data, XOR check byte.
#include <gtest/gtest.h>

#include "SimTestSupport.h"

using namespace simtest;

namespace {

struct Conversation {
    const char* name;
    std::vector<Step> steps;
};

const std::string kWriteDamping2s = "82B57C0102032204400000002D";
const std::string kReadCmd15 = "82B57C0102030F0044";
// Tag "ABCD    " (04 20 C4, 82 08 20), descriptor of 16 spaces, 31.12.2013.
const std::string kPacked = "0420C4820820"
                            "820820820820820820820820"
                            "1F0C71";

// Fresh transmitter, time 0: PV 50 kPa exactly, range 0-100 kPa, damping 0.5 s.
const Conversation kConversations[] = {
    // Command 0, short frame at polling address 0: expansion 254, B5 7C,
    // 5 preambles, revisions 5/1/2, hardware 08, flags 0, id 01 02 03.
    {"Cmd0Short", {{"0280000082", Reply("0680000E0000FEB57C050501020800010203B4")}}},
    // Command 1: unit 12 (kPa), PV 50.0 = 42480000.
    {"Cmd1", {{"82B57C01020301004A", Reply("86B57C010203010700000C424800004F")}}},
    // Command 2: 12.0 mA = 41400000, 50 % = 42480000.
    {"Cmd2", {{"82B57C010203020049", Reply("86B57C010203020A000041400000424800004C")}}},
    // Command 3: 12.0 mA, then kPa 50.0 for PV, SV, TV and QV alike.
    {"Cmd3",
     {{"82B57C010203030048", Reply("86B57C010203031A000041400000"
                                   "0C424800000C424800000C424800000C42480000"
                                   "57")}}},
    // Command 15: alarm 0, linear, kPa, 100.0, 0.0, 0.5 s, writable, label B5.
    {"Cmd15", {{kReadCmd15, Reply("86B57C0102030F13000000000C42C80000000000003F00000000B55F")}}},
    // Command 44, unit 6 (psi): echoed.
    {"Cmd44Echo", {{"82B57C0102032C010660", Reply("86B57C0102032C0300400626")}}},
    // Command 109, enter burst mode: the reply already carries the burst bit.
    {"Cmd109Burst", {{"82B57C0102036D010126", Reply("86F57C0102036D0300000160")}}},
    // Command 34, damping 2.0: echoed with configuration-changed bit 0x40,
    // and command 15 then reads 2.0 (40000000).
    {"DampingWriteShowsInCommand15",
     {{kWriteDamping2s, Reply("86B57C01020322060040400000006B")},
      {kReadCmd15, Reply("86B57C0102030F13004000000C42C80000000000004000000000B560")}}},
    {"TagWriteShowsInCommand13",
     {{"82B57C0102031215" + kPacked + "64", Reply("86B57C01020312170040" + kPacked + "22")},
      {"82B57C0102030D0046", Reply("86B57C0102030D170040" + kPacked + "3D")}}},
    // Command 6, polling address 5: echoed; multidrop fixes the current (0x08).
    // Command 0 is then answered at address 5 only.
    {"NewPollingAddressMovesCommand0",
     {{"82B57C01020306010549", Reply("86B57C010203060300480507")},
      {"0280000082", ""},
      {"0285000087", Reply("0685000E0048FEB57C050501020800010203F9")}}},
    // Protected (command 192), the damping write is refused with code 7 and no
    // data, and changed nothing: still 0.5 s, status clean.
    {"WriteProtectionRefusesWithCode7AndNoData",
     {{"82B57C010203C002010088", Reply("86B57C010203C0030000018D")},
      {kWriteDamping2s, Reply("86B57C0102032202070068")},
      {kReadCmd15, Reply("86B57C0102030F13000000000C42C80000000000003F00000001B55E")}}},
    {"NoAnswerToOtherAddressesOrBadFrames",
     {{"0281000083", ""},          // polling address 1
      {"0280000083", ""},          // bad check byte
      {"82B57C01020401004D", ""},  // other device id
      {"82B57D01020301004B", ""},  // other device type
      {"827E7C010203010081", ""},  // other manufacturer
      {"0280000183", ""},          // byte count promises a data byte that is missing
      {"02800000", ""}}},          // no check byte
};

void PrintTo(const Conversation& c, std::ostream* os) { *os << c.name; }

class ConversationTest : public ::testing::TestWithParam<Conversation> {};

TEST_P(ConversationTest, RepliesAreExact)
{
    sim::Modem modem(Immediate());
    Converse(modem, GetParam().steps);
}

INSTANTIATE_TEST_SUITE_P(Modem, ConversationTest, ::testing::ValuesIn(kConversations),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ModemAddressTest, LongAddressIgnoresMasterBurstAndUpperManufacturerBits)
{
    sim::ModemOptions options = Immediate();
    options.identity.manufacturer = 0x7F;
    sim::Modem modem(options);
    // 0x80 | 0x7F as the tool sends it, and 0x80 | (0x7F & 0x3F) as HART does;
    // a secondary master (bit 7 clear) is answered with its own address.
    Converse(modem, {{"82FF7C010203010000", Reply("86BF7C010203010700000C4248000045")},
                     {"82BF7C010203010040", Reply("86BF7C010203010700000C4248000045")},
                     {"823F7C0102030100C0", Reply("863F7C010203010700000C42480000C5")}});
}

TEST(ModemLineTest, MalformedLinesAreIgnored)
{
    sim::Modem modem(Immediate());
    for (const char* line : {
             "\x01P010280000082\n",            // CR missing
             "\x01P000280000082\r\n",          // digits other than 01
             "\x01X010280000082\r\n",          // letter other than P
             "P010280000082\r\n",              // SOH missing
             "\x01P0182b57c01020301004a\r\n",  // lower-case hex
             "\x01P01028000008\r\n",           // odd hex count
         }) {
        EXPECT_TRUE(FeedText(modem, line).empty()) << line + 1;
    }
    // A broken line does not spoil the next request.
    EXPECT_EQ(Joined(FeedText(modem, "\x01P0102800\x01P010280000082\r\n")), Reply(kCmd0));
}

TEST(ModemLineTest, RequestsInPiecesOrTogetherAreEachAnswered)
{
    sim::Modem modem(Immediate());
    const std::string request = Request("82B57C01020301004A");
    for (std::size_t i = 0; i + 1 < request.size(); ++i) {
        EXPECT_TRUE(FeedText(modem, request.substr(i, 1)).empty()) << "byte " << i;
    }
    const std::string cmd1 = Reply("86B57C010203010700000C424800004F");
    EXPECT_EQ(Joined(FeedText(modem, request.substr(request.size() - 1))), cmd1);
    EXPECT_EQ(Joined(FeedText(modem, Request("0280000082") + request)), Reply(kCmd0) + cmd1);
}

}  // namespace
