// "Module 8 - Burst Setting": which command the transmitter bursts (command
// 108, from the three radio buttons) and burst mode on and off (command 109).
// The Status indicator's blink follows the burst bit of the replies.
#pragma once

#include "modules/Module.h"

class BurstSetting : public Module {
public:
    enum State : std::int16_t {
        kBurstCommandPrepare = 146,
        kBurstCommandSend = 147,   // command 108 with the command number: one data byte
        kBurstCommandCheck = 148,  // the echoed number: 1, 2 or 3
        kBurstModePrepare = 149,
        kBurstModeSend = 150,   // command 109: 1 enters burst mode, 0 leaves it
        kBurstModeCheck = 151,  // the echoed mode decides the message
    };

    using Module::Module;
    std::vector<StepEntry> Steps() override;
    std::vector<Handler> Handlers() override;

    void OnBurstCmd1() { ChooseBurstCommand(1); }
    void OnBurstCmd2() { ChooseBurstCommand(2); }
    void OnBurstCmd3() { ChooseBurstCommand(3); }
    void OnEnterBurst() { SetBurstMode(1); }
    void OnExitBurst() { SetBurstMode(0); }

private:
    void ChooseBurstCommand(int command);
    void SetBurstMode(int mode);
    void CheckBurstCommand();
    void CheckBurstMode();
};
