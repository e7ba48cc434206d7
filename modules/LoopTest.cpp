#include "modules/LoopTest.h"

#include "dialog/ControlIds.h"
#include "text/Format.h"
#include "text/Numbers.h"

// The currents an operation accepts, in mA, both ends included.
struct CurrentBounds {
    double lowest;
    double highest;
    const char* rejection;
};

namespace {

constexpr CurrentBounds kFixedCurrent{3.5, 22.0, "Must between 3.5 and 22.0!"};
constexpr CurrentBounds kTrim4mA{3.5, 4.5, "Must between 3.5 and 4.5!"};
constexpr CurrentBounds kTrim20mA{19.5, 20.5, "Must between 19.5 and 20.5!"};

// Status bytes and the current: the least a reply that carries it must hold.
constexpr std::int16_t kCurrentReplyByteCount = 6;

}  // namespace

std::vector<StepEntry> LoopTest::Steps()
{
    return {
        Exchange(kFixedPrepare, 40, &LoopTest::CheckFixedCurrent),
        ExchangeOf(kTrim4mAPrepare, 45, [this] { CheckOutputTrim("%.4f"); }),
        ExchangeOf(kTrim20mAPrepare, 46, [this] { CheckOutputTrim("%+.4f"); }),
    };
}

std::vector<Handler> LoopTest::Handlers()
{
    return {
        On(IDC_FIXED_CURR, &LoopTest::OnFixedCurrent, {IDC_D_CURR}),
        On(IDC_EXIT_FIXED, &LoopTest::OnExitFixed),
        On(IDC_TRIM_4MA, &LoopTest::OnTrim4mA, {IDC_A_CURR}),
        On(IDC_TRIM_20MA, &LoopTest::OnTrim20mA, {IDC_A_CURR}),
    };
}

// --- Handlers

void LoopTest::OnFixedCurrent() { StartWithCurrent(IDC_D_CURR, kFixedCurrent, kFixedPrepare); }

// Zero milliampere releases the fixed current.
void LoopTest::OnExitFixed()
{
    Machine().m_fReqValue[0] = 0.0f;
    StartScript(kFixedPrepare);
}

void LoopTest::OnTrim4mA() { StartWithCurrent(IDC_A_CURR, kTrim4mA, kTrim4mAPrepare); }

void LoopTest::OnTrim20mA() { StartWithCurrent(IDC_A_CURR, kTrim20mA, kTrim20mAPrepare); }

// A current outside the bounds empties its field and sends nothing; so does
// a text that is no number at all.
void LoopTest::StartWithCurrent(int field, const CurrentBounds& bounds, std::int16_t firstState)
{
    const double current = LeadingNumber(Wnd().GetText(field));
    if (!(current >= bounds.lowest && current <= bounds.highest)) {
        Wnd().SetText(field, "");
        return Log(bounds.rejection);
    }
    Machine().m_fReqValue[0] = static_cast<float>(current);
    StartScript(firstState);
}

// --- Check states

// 29: command 40 returns the current the transmitter fixed (0 when it
// released it). A bare success without the current did not fix it.
void LoopTest::CheckFixedCurrent()
{
    if (Reply().ByteCount() >= kCurrentReplyByteCount) {
        const float reported = Reply().m_fReplyValue[0];
        Wnd().SetText(IDC_D_CURR, FormatText("%.4f", double{reported}));
        const bool released = Machine().m_fReqValue[0] == 0.0f;
        m_FixedAt = released ? std::nullopt : std::optional<float>(reported);
        return FinishWith("Current fixed!");
    }
    if (Reply().StatusOnly())
        return FinishWith(Reply().ResponseCode() != 0 ? "Command not implemented!" : "Current not fixed!");
    FinishWith("Reply not right!");
}

// 32 and 35: commands 45 and 46 return the current the transmitter took.
// The response code is not judged.
void LoopTest::CheckOutputTrim(const char* format)
{
    if (Reply().ByteCount() < kCurrentReplyByteCount)
        return FinishWith(Reply().StatusOnly() ? "Command not implemented!" : "Reply not right!");
    Wnd().SetText(IDC_A_CURR, FormatText(format, double{Reply().m_fReplyValue[0]}));
    FinishWith("Setting succeed!");
}
