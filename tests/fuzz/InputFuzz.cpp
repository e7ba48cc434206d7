// Fuzz target: the readers of what an operator types. The number readers and
// the date, assembly and packed-ASCII conversions take the whole input; then
// its lines are typed into the identification texts' fields (tag,
// descriptor, date, message, assembly number) and every "Set" is clicked.
#include "dialog/ControlIds.h"
#include "hart/DateAndAssembly.h"
#include "hart/PackedAscii.h"
#include "tests/fuzz/FuzzCheck.h"
#include "tests/support/OpenPortHost.h"
#include "text/Numbers.h"

#include <cfloat>
#include <cmath>
#include <cstdlib>
#include <sstream>
#include <vector>

namespace {

// Packs the text into a field just wide enough; what comes back is the text
// upper-cased wherever packed ASCII holds the character.
void CheckPacking(const std::string& text)
{
    const std::size_t width = std::max<std::size_t>(4, (text.size() + 3) / 4 * 4);
    std::vector<std::uint8_t> packed(PackedSize(width));
    Check(PackTextField(text, width, packed.data()));
    const std::string back = UnpackTextField(packed.data(), width);
    Check(back.size() == width);
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char upper = text[i] >= 'a' && text[i] <= 'z' ? static_cast<char>(text[i] - 'a' + 'A') : text[i];
        Check(upper < 0x20 || upper > 0x5F || back[i] == upper);
    }
}

void CheckReaders(const std::string& text)
{
    const double number = LeadingNumber(text);
    Check(std::isfinite(number) && std::fabs(number) <= FLT_MAX);
    const std::optional<long> integer = ScanInteger(text);
    Check(!integer || *integer == LeadingInteger(text));
    if (integer && *integer >= 0 && *integer <= 0xFFFFFF) {
        std::uint8_t bytes[3];
        AssemblyToBytes(static_cast<std::uint32_t>(*integer), bytes);
        Check(AssemblyToText(bytes) == std::to_string(*integer));
    }
    std::uint8_t date[3];
    if (TextToDate(text.c_str(), date))
        Check(DateToText(date).size() >= 10);
    CheckPacking(text);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string text(data, data + size);
    CheckReaders(text);
    OpenPortHost host;
    host.dlg.EnableAllControls();
    std::istringstream lines(text);
    std::string field;
    for (int id : {IDC_TAG, IDC_DESCRIPTOR, IDC_DATE, IDC_MESSAGE, IDC_ASSEMBLY})
        if (std::getline(lines, field))
            host.window.Type(id, field);
    for (int id : {IDC_SET_TAG, IDC_SET_MESSAGE, IDC_SET_ASSEMBLY}) {
        host.window.Click(id);
        host.clock.AdvanceUntil([&] { return !host.dlg.IsOperationRunning(); }, host.clock.Now() + 60000);
    }
    return 0;
}
