// Request frames and replies through the command table (in hex, as the log shows
// them), and the texts, numbers, units and names inside them.
#include "hart/DateAndAssembly.h"
#include "hart/Identity.h"
#include "hart/PackedAscii.h"
#include "hart/ReplyDecoder.h"
#include "hart/RequestFrame.h"
#include "hart/ResultCodes.h"
#include "hart/Units.h"
#include "modem/Hex.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <iterator>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;
using Uid = std::array<std::uint8_t, 5>;

constexpr Uid kUid = {0xB5, 0x7C, 0x01, 0x02, 0x03};

Bytes FromHex(const std::string& hex)
{
    Bytes b(hex.size() / 2);
    HexToBytes(hex.data(), b.data(), static_cast<std::int16_t>(hex.size()));
    return b;
}

std::string ToHex(const std::uint8_t* bytes, int n)
{
    std::string hex(2 * n + 1, '\0');
    BytesToHex(bytes, hex.data(), static_cast<std::int16_t>(n));
    hex.pop_back();
    return hex;
}

std::string Fill(int bytes) { return std::string(2 * bytes, '1'); }

const CommandInfo& Command(int command) { return *FindCommand(static_cast<std::uint8_t>(command)); }

const std::string kBlockHex = "101112131415161718191A1B1C1D1E1F2021222324252627";
const Bytes kBlock = FromHex(kBlockHex);

struct RequestCase {
    const char* name;
    int command;
    RequestParams params;
    std::string wire;  // check bytes worked out by hand
    Uid uid = kUid;
};

void PrintTo(const RequestCase& c, std::ostream* os) { *os << c.name; }
class RequestFrame : public testing::TestWithParam<RequestCase> {};

TEST_P(RequestFrame, BytesOnTheWireAndNothingPast)
{
    const RequestCase& c = GetParam();
    std::uint8_t frame[kMaxRequestFrame + 4];
    std::fill(std::begin(frame), std::end(frame), 0xEE);
    const int n = BuildRequestFrame(Command(c.command), c.params, c.uid.data(), frame);
    EXPECT_EQ(ToHex(frame, n), c.wire);
    EXPECT_TRUE(std::all_of(frame + n, std::end(frame), [](std::uint8_t b) { return b == 0xEE; }));
}

const RequestCase kRequests[] = {
    {"Cmd0Address0", 0, {}, "0280000082"},
    {"Cmd0Address15", 0, {.reqCode = {15}}, "028F00008D"},
    {"Cmd1", 1, {}, "82B57C01020301004A"},
    {"ManufacturerBit40Passes", 1, {}, "82C601000000010044", {0x46, 0x01, 0, 0, 0}},
    {"Cmd6NewAddress", 6, {.reqCode = {5}}, "82B57C01020306010549"},
    {"Cmd17WholeBlock", 17, {.reqBlock = kBlock.data()}, "82B57C0102031118" + kBlockHex + "42"},
    {"Cmd18TwentyOneBytes", 18, {.reqBlock = kBlock.data()}, "82B57C0102031215" + kBlockHex.substr(0, 42) + "68"},
    {"Cmd18TemplateWithoutBlock", 18, {}, "82B57C01020312150001020304050607080900010203040506070809004C"},
    {"Cmd19LowBytesOnly", 19, {.reqCode = {0x0112, 0x34, 0x56}}, "82B57C01020313031234562B"},
    {"Cmd34Float", 34, {.reqValue = {1.0f}}, "82B57C01020322043F800000D2"},
    {"Cmd35TwoFloats", 35, {.reqCode = {12}, .reqValue = {100.0f, 0.0f}}, "82B57C01020323090C42C8000000000000E7"},
    {"Cmd130UnitAndFloat", 130, {.reqCode = {12}, .reqValue = {2.0f}}, "82B57C01020382050C4000000080"},
    {"Cmd134SecondByteFixed", 134, {.reqCode = {2, 0x77}}, "82B57C01020386020200CD"},
    {"Cmd172SendsItsAccessCode", 172, {.reqCode = {0x55, 0x66, 0x77}}, "82B57C010203AC064B4E204A56A67E"},
};
INSTANTIATE_TEST_SUITE_P(Rows, RequestFrame, testing::ValuesIn(kRequests),
                         [](const auto& info) { return std::string(info.param.name); });

constexpr std::int16_t kSentinel = 0x5A;
constexpr float kUnset = -7.5f;
const std::uint8_t kMarker = 0;
constexpr Uid kNoUid = {0xEE, 0xEE, 0xEE, 0xEE, 0xEE};
const std::string kUntouched = "- | - - - - - - - | - - - | -";

struct Decoded {
    ReplyDecode out;
    std::string record;  // items | codes 0-6 | values 0-2 | data offset in the frame; "-": untouched
    Uid uid = kNoUid;
};

// Decodes a frame given in hex into a record of sentinels.
Decoded Decode(int command, const std::string& hex)
{
    const Bytes frame = FromHex(hex);
    ReplyRecord r{kSentinel, {}, {}, &kMarker};
    std::fill(std::begin(r.m_nReplyCode), std::end(r.m_nReplyCode), kSentinel);
    std::fill(std::begin(r.m_fReplyValue), std::end(r.m_fReplyValue), kUnset);
    Decoded d;
    d.out = DecodeReplyFrame(Command(command), frame.data(), static_cast<int>(frame.size()), r, d.uid.data());
    std::ostringstream s;
    const auto put = [&s](bool untouched, const auto& v) { untouched ? s << " -" : s << ' ' << v; };
    put(r.m_nReplyItems == kSentinel, r.m_nReplyItems);
    s << " |";
    for (const std::int16_t c : r.m_nReplyCode)
        put(c == kSentinel, c);
    s << " |";
    for (const float v : r.m_fReplyValue)
        put(v == kUnset, v);
    s << " |";
    const std::uint8_t* data = r.m_pReplyData;
    put(data == &kMarker, data == &kMarker ? "" : data ? std::to_string(data - frame.data()) : "null");
    d.record = s.str().substr(1);
    return d;
}

// A reply as the transmitter sends it: header (short form for command 0), byte count,
// body (response code, device status, data) and a check byte that is never verified.
std::string Reply(int command, const std::string& body)
{
    const std::uint8_t head[] = {static_cast<std::uint8_t>(command), static_cast<std::uint8_t>(body.size() / 2)};
    return (command == 0 ? "06B500" : "86B57C010203" + ToHex(head, 1)) + ToHex(head + 1, 1) + body + "CC";
}

// Values come only from bytes this reply delivered: a reply below the
// command's minimum, or a frame without its header and every declared byte,
// stores nothing. The burst bit is read from any received address byte.
struct DecodeCase {
    const char* name;
    int command;
    std::string frame;
    std::string record;
    std::int16_t result = kResultOk, byteCount = 0;  // 0: not compared
    const char* burst = "0";                         // "?": not known
};

void PrintTo(const DecodeCase& c, std::ostream* os) { *os << c.name; }
class ReplyFrame : public testing::TestWithParam<DecodeCase> {};

TEST_P(ReplyFrame, JudgedOnTheBytesReceivedValuesStoredWhereTheLayoutPutsThem)
{
    const DecodeCase& c = GetParam();
    const Decoded d = Decode(c.command, c.frame);
    EXPECT_EQ(d.out.result, c.result);
    EXPECT_EQ(d.record, c.record);
    EXPECT_EQ(d.out.byteCount, c.byteCount ? c.byteCount : d.out.byteCount);
    EXPECT_EQ(d.out.burstKnown ? d.out.burst ? "1" : "0" : "?", std::string(c.burst));
    EXPECT_EQ(d.uid, c.command == 0 && c.result == kResultOk ? kUid : kNoUid)
        << "only command 0 yields the unique identifier";
}

// The status families put byte count, response code and device status in
// codes 0-2; a value such a reply does not carry is cleared and not counted.
// clang-format off
const DecodeCase kFrames[] = {
    {"Cmd0Identity", 0, Reply(0, "0000FEB57C111111111111010203"), "5 | 181 124 1 2 3 - - | - - - | -"},
    {"Cmd1NoStatusHead", 1, Reply(1, "00000C42C80000"), "2 | 12 - - - - - - | 100 - - | -"},
    {"Cmd14SevenValuesFiveItems", 14, Reply(14, "00000102030C42C80000C2C8000041200000"), "5 | 1 2 3 12 - - - | 100 -100 10 | -"},
    {"Cmd15", 15, Reply(15, "0000EF01ED3F80000000000000400000000105"), "8 | 239 1 237 1 5 - - | 1 0 2 | -"},
    {"Cmd16WidenUnsigned", 16, Reply(16, "0000FF807F"), "3 | 255 128 127 - - - - | - - - | -"},
    {"Cmd128FromByte13", 128, Reply(128, "0000" + Fill(13) + "0C42C8000040A00000"), "3 | 12 - - - - - - | 100 5 - | -"},
    {"Cmd12Block", 12, Reply(12, Fill(26)), "1 | - - - - - - - | - - - | 10"},
    {"Cmd172Version", 172, Reply(172, "000000000000000056312E320000"), "1 | - - - - - - - | - - - | 16"},
    {"Status", 36, Reply(36, "4008"), "3 | 2 64 8 - - - - | - - - | -"},
    {"Echo", 6, Reply(6, "000005"), "4 | 3 0 0 5 - - - | - - - | -"},
    {"EchoMissingIsClearedNotCheckByte", 6, Reply(6, "0000"), "3 | 2 0 0 0 - - - | - - - | -"},
    {"FloatEcho", 34, Reply(34, "00003F800000"), "4 | 6 0 0 - - - - | 1 - - | -"},
    {"FloatEchoPartial", 34, Reply(34, "00003F8000"), "3 | 5 0 0 - - - - | 0 - - | -"},
    {"Cmd17Block", 17, Reply(17, Fill(26)), "4 | 26 17 17 - - - - | - - - | 10"},
    {"Cmd17NoBlock", 17, Reply(17, "0000"), "3 | 2 0 0 - - - - | - - - | null"},
    {"Cmd19AssemblySkipsCode3", 19, Reply(19, "0000010002"), "6 | 5 0 0 - 1 0 2 | - - - | -"},
    {"Cmd35", 35, Reply(35, "00000C42C80000C2C80000"), "6 | 11 0 0 12 - - - | 100 -100 - | -"},
    {"CheckByteNotNeeded", 14, "86B57C0102030E12" "00000102030C42C80000C2C8000041200000", "5 | 1 2 3 12 - - - | 100 -100 10 | -", kResultOk, 18},
    {"Cmd0OneShort", 0, "06B5000D" + Fill(13) + "CC", kUntouched, kResultTooShort, 13},
    {"Cmd14OneShortInBurst", 14, "86F57C0102030E11" + Fill(17) + "CC", kUntouched, kResultTooShort, 17, "1"},
    {"Cmd15OneShort", 15, "86B57C0102030F12" + Fill(18) + "CC", kUntouched, kResultTooShort, 18},
    {"Cmd172OneShort", 172, "86B57C010203AC0D" + Fill(13) + "CC", kUntouched, kResultTooShort, 13},
    {"StatusOneShort", 36, "86B57C010203240111CC", kUntouched, kResultTooShort, 1},
    {"DeclaredByteMissing", 14, "86B57C0102030E12" + Fill(17), kUntouched, kResultTooShort, 18},
    {"NoByteCount", 14, "86B57C0102030E", kUntouched, kResultTooShort, -1},
    {"ShortFormCutAfterAddress", 0, "06C000", kUntouched, kResultTooShort, -1, "1"},
    {"DelimiterOnly", 1, "86", kUntouched, kResultTooShort, -1, "?"},
    {"Empty", 1, "", kUntouched, kResultTooShort, -1, "?"},
};
// clang-format on
INSTANTIATE_TEST_SUITE_P(Rows, ReplyFrame, testing::ValuesIn(kFrames),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(PackedAscii, AllSixtyFourCodesRoundTrip)
{
    // In code order: 0x40-0x5F for codes 0-31, 0x20-0x3F for codes 32-63.
    std::string alphabet;
    for (int code = 0; code < 64; ++code)
        alphabet += static_cast<char>(code < 32 ? 0x40 + code : code);
    std::uint8_t packed[48];
    ASSERT_TRUE(PackTextField(alphabet, 64, packed));
    EXPECT_EQ(ToHex(packed, 3), "001083") << "codes 0-3";
    EXPECT_EQ(ToHex(packed + 45, 3), "F3DFBF") << "codes 60-63";
    EXPECT_EQ(UnpackTextField(packed, 64), alphabet);
}

TEST(PackedAscii, FieldsAreUpperCasedPaddedAndOfWholeGroups)
{
    std::uint8_t out[7] = {0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE};
    EXPECT_FALSE(PackTextField("NINECHARS", 8, out)) << "longer than the field";
    EXPECT_FALSE(PackTextField("AB", 6, out)) << "not whole groups";
    EXPECT_FALSE(PackTextField("", 0, out));
    EXPECT_EQ(ToHex(out, 7), "EEEEEEEEEEEEEE");
    ASSERT_TRUE(PackTextField("pt1", 8, out));
    EXPECT_EQ(ToHex(out, 7), "414C60820820EE") << "six bytes for eight characters";
    EXPECT_EQ(UnpackTextField(out, 8), "PT1     ");
    ASSERT_TRUE(PackTextField("`{|}", 4, out));  // only letters are upper-cased
    EXPECT_EQ(UnpackTextField(out, 4), " ;<=");
}

TEST(Date, TextsToBytesAndBack)
{
    const std::pair<const char*, const char*> shown[] = {
        {"2013-12-31", "2013-12-31"},    {"2013-1-5", "2013-01-05"},
        {"2155-0-255", "2155-00-255"},   {"1899-1-1", "2155-01-01"},  // no range check; the year byte wraps
        {" 2013- 12- 31", "2013-12-31"}, {"2013-12-31xyz", "2013-12-31"},
        {"+2013--1-5", "2013-255-05"},   {"9999999999-1-1", "2047-01-01"},  // 0x2540BE3FF - 1900: low byte 0x93
    };
    for (const auto& [text, back] : shown) {
        std::uint8_t date[3] = {};
        ASSERT_TRUE(TextToDate(text, date)) << text;
        EXPECT_EQ(DateToText(date), back) << text;
    }
    std::uint8_t date[3] = {0xEE, 0xEE, 0xEE};
    for (const char* text : {"2013/12/31", "2013-12", "", "2013 -12-31", "2013-12-", "date"})
        EXPECT_FALSE(TextToDate(text, date)) << '"' << text << '"';
    EXPECT_EQ(ToHex(date, 3), "EEEEEE") << "a refused text writes nothing";
    ASSERT_TRUE(TextToDate("2013-12-31", date));
    EXPECT_EQ(ToHex(date, 3), "1F0C71") << "day, month, year - 1900";
}

TEST(Codes, UnknownUnitsLeaveTheRowConvertToNothingAndUnknownIdentitiesHaveNoName)
{
    EXPECT_FALSE(IsBadUnitCode(237));
    EXPECT_TRUE(IsBadUnitCode(15));
    EXPECT_EQ(g_nUnitRow, 14) << "MPa; an unknown code leaves the row";
    EXPECT_DOUBLE_EQ(UnitToKpa(7, 100.0f), 10.0);  // mbar
    EXPECT_EQ(UnitToKpa(15, 100.0f), 0.0);
    EXPECT_EQ(UnitCodeOfRow(-1), 0) << "a list with no selection has no unit";
    EXPECT_STREQ(MfrName(0x01), "Unknow");
    EXPECT_STREQ(DevTypeName(0x00, 0x7C), "Unknow") << "a type means nothing without its manufacturer";
    EXPECT_STREQ(DevTypeName(0xB5, 0x7D), "Unknow");
}

}  // namespace
