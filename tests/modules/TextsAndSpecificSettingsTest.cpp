// Identification texts and specific settings on the simulated transmitter,
// one operation a row: input, transmitter, click; the exact log and the window.
#include "tests/modules/Scenario.h"

using sim::FaultKind;
using Bytes = std::vector<int>;

TEST_P(OperationTest, LogsShowsAndEnablesAsItsRowSays)
{
    Scenario s;
    RunOperation(s, GetParam());
}

namespace {

Bytes Cat(Bytes a, const Bytes& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}
Bytes Blanks(int groups) { return groups == 0 ? Bytes{} : Cat({0x82, 0x08, 0x20}, Blanks(groups - 1)); }  // packed

const Bytes kAccessCode = {0x4B, 0x4E, 0x20, 0x4A, 0x56, 0xA6};
const Bytes kPt1 = {0x41, 0x4C, 0x60, 0x82, 0x08, 0x20};                                      // "PT1" and five spaces
const Fields kPt1Typed = {{IDC_TAG, "pt1"}, {IDC_DESCRIPTOR, ""}, {IDC_DATE, "2013-12-31"}};  // sent as kPt1Block
const Bytes kPt1Block = Cat(Cat(kPt1, Blanks(4)), {0x1F, 0x0C, 0x71});
const Bytes kHello = Cat({0x20, 0x53, 0x0C, 0x3E, 0x08, 0x20}, Blanks(6));  // "HELLO" and 27 spaces
void ZeroTextsDated(sim::TransmitterState& d) { d.tag.assign(6, 0), d.descriptor.assign(12, 0), d.date = {5, 1, 113}; }

}  // namespace

// clang-format off
INSTANTIATE_TEST_SUITE_P(SpecificSettings, OperationTest, testing::Values(
    // A reply one byte short is a failed try: the version is read again.
    Operation{"VersionReadAgainAfterAShortReply", {}, IDC_READ_VERSION, {LongRequest(172, kAccessCode), LongReply(172, 0, Cat(kAccessCode, {'V', '2', '.', '1', 0})), LongRequest(172, kAccessCode),
              LongReply(172, 0, Cat(kAccessCode, {'V', '2', '.', '1', 0, 0}))}, {{IDC_VERSION, "V2.1"}}, {{FaultKind::kShortCount, 172, -1, 1}}, [](auto& d) { d.version = "V2.1"; }},
    Operation{"VersionBytesShownAsLatin1", {}, IDC_READ_VERSION, {LongRequest(172, kAccessCode), LongReply(172, 0, Cat(kAccessCode, {'R', 0xE9, 'v', 0xB0, 0, 0}))}, {{IDC_VERSION, "R\u00E9v\u00B0"}}, {}, [](auto& d) { d.version = "R\xE9v\xB0"; }},
    Operation{"KeepLastSends239", {{IDC_ALARM, "Keep Last"}}, IDC_SET_ALARM, {LongRequest(135, {0xEF, 0x00}), LongReply(135, 0x40, {0xEF}), "Setting succeed!"}, {{IDC_ALARM, "Keep Last"}}},
    Operation{"DisplayReadOfThreeClearsTheList", {}, IDC_READ_DISPLAY, {LongRequest(165), LongReply(165, 0, {3}), "Data reply not right!"}, {{IDC_DISPLAY, ""}}, {}, [](auto& d) { d.display = 3; }},
    Operation{"WriteProtectStatusOnlyWhateverTheResponseCode", {{IDC_WRITE_PROTECT, "Protected"}}, IDC_SET_WP, {LongRequest(192, {0x01, 0x00}), LongReply(192, 0, {}), "Command not implemented!"}, {},
              {{FaultKind::kStatusOnly, 192}, {FaultKind::kResponseCode, 192, 0}}}), OperationName);

INSTANTIATE_TEST_SUITE_P(IdentificationTexts, OperationTest, testing::Values(
    Operation{"LowerCaseTagAndEmptyDescriptorPaddedOnEveryTry", kPt1Typed, IDC_SET_TAG, {LongRequest(18, kPt1Block), LongRequest(18, kPt1Block), LongRequest(18, kPt1Block), LongReply(18, 0x40, kPt1Block), "Setting succeed!"},
              {{IDC_TAG, "PT1     "}, {IDC_DESCRIPTOR, std::string(16, ' ')}, {IDC_DATE, "2013-12-31"}}, {{FaultKind::kNoAnswer, 18, -1, 2}}},
    Operation{"MonthThirteenPassesTheCheck", {{IDC_TAG, "pt1"}, {IDC_DATE, "2013-13-45"}}, IDC_SET_TAG, {LongRequest(18, Cat(Cat(kPt1, Blanks(4)), {0x2D, 0x0D, 0x71})), LongReply(18, 0, {}, 9), "Command not implemented!"}},
    Operation{"NonAsciiTagAndDescriptorAndBadDate", {{IDC_TAG, "TÄG"}, {IDC_DESCRIPTOR, "Ü"}, {IDC_DATE, "2013/12/31"}}, IDC_SET_TAG, {"\"Tag\" must be ASSII char!", "\"Descriptor\" must be ASCII char!", "Must be year-month-day!"}},
    Operation{"DateRead", {}, IDC_READ_TAG, {LongRequest(13), LongReply(13, 0, Cat(Bytes(18, 0), {0x05, 0x01, 0x71}))}, {{IDC_TAG, "@@@@@@@@"}, {IDC_DATE, "2013-01-05"}}, {}, ZeroTextsDated},
    Operation{"MessageStatusOnly", {{IDC_MESSAGE, "hello"}}, IDC_SET_MESSAGE, {LongRequest(17, kHello), LongReply(17, 0, {}, 64), "Command not implemented!"}, {{IDC_MESSAGE, "hello"}}, {{FaultKind::kStatusOnly, 17}}},
    Operation{"NonAsciiMessage", {{IDC_MESSAGE, "héllo"}}, IDC_SET_MESSAGE, {"Must be ASCII char!"}},
    Operation{"HighestAssembly", {{IDC_ASSEMBLY, "16777215"}}, IDC_SET_ASSEMBLY, {LongRequest(19, {0xFF, 0xFF, 0xFF}), LongReply(19, 0x40, {0xFF, 0xFF, 0xFF}), "Setting succeed!"}, {{IDC_ASSEMBLY, "16777215"}}},
    Operation{"AssemblyLeadingInteger", {{IDC_ASSEMBLY, "12abc"}}, IDC_SET_ASSEMBLY, {LongRequest(19, {0x00, 0x00, 0x0C}), LongReply(19, 0x40, {0x00, 0x00, 0x0C}), "Setting succeed!"}, {{IDC_ASSEMBLY, "12"}}},
    Operation{"AssemblyBelowZero", {{IDC_ASSEMBLY, "-1"}}, IDC_SET_ASSEMBLY, {"Must between 0 and 16777215!"}},
    Operation{"AssemblyAboveRange", {{IDC_ASSEMBLY, "16777216"}}, IDC_SET_ASSEMBLY, {"Must between 0 and 16777215!"}},
    Operation{"AssemblyEmpty", {{IDC_ASSEMBLY, "1"}, {IDC_ASSEMBLY, ""}}, IDC_SET_ASSEMBLY, {"Input is invalid!"}}), OperationName);
// clang-format on
