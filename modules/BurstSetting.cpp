#include "modules/BurstSetting.h"

#include "dialog/ControlIds.h"

namespace {
constexpr int kCommandButtons[] = {IDC_BURST_CMD1, IDC_BURST_CMD2, IDC_BURST_CMD3};
}

std::vector<StepEntry> BurstSetting::Steps()
{
    return {
        Exchange(kBurstCommandPrepare, 108, &BurstSetting::CheckBurstCommand),
        Exchange(kBurstModePrepare, 109, &BurstSetting::CheckBurstMode),
    };
}

std::vector<Handler> BurstSetting::Handlers()
{
    using B = BurstSetting;
    return {
        On(IDC_BURST_CMD1, &B::OnBurstCmd1),
        On(IDC_BURST_CMD2, &B::OnBurstCmd2),
        On(IDC_BURST_CMD3, &B::OnBurstCmd3),
        On(IDC_ENTER_BURST, &B::OnEnterBurst, {std::begin(kCommandButtons), std::end(kCommandButtons)}),
        On(IDC_EXIT_BURST, &B::OnExitBurst),
    };
}

// Each radio button is a group of its own: the handler clears the other two.
// The clicked one stays set whatever the outcome.
void BurstSetting::ChooseBurstCommand(int command)
{
    Machine().m_nReqCode[0] = static_cast<std::int16_t>(command);
    for (int i = 0; i < 3; ++i)
        if (i != command - 1)
            Wnd().SetCheck(kCommandButtons[i], 0);
    StartScript(kBurstCommandPrepare);
}

void BurstSetting::SetBurstMode(int mode)
{
    Machine().m_nReqCode[0] = static_cast<std::int16_t>(mode);
    StartScript(kBurstModePrepare);
}

// 148: any of the three numbers is taken, whichever was sent.
void BurstSetting::CheckBurstCommand()
{
    if (Reply().StatusOnly())
        return FinishWith("Command not implemented!");
    const int echoed = Reply().EchoedCode();
    FinishWith(echoed >= 1 && echoed <= 3 ? "Setting succeed!" : "Data reply not right!");
}

// 151: the mode the transmitter now has, not the one requested.
void BurstSetting::CheckBurstMode()
{
    if (Reply().StatusOnly())
        return FinishWith("Command not implemented!");
    switch (Reply().EchoedCode()) {
    case 1:
        return FinishWith("Burst mode entered!");
    case 0:
        return FinishWith("Burst mode exited!");
    default:
        return FinishWith("Data reply not right!");
    }
}
