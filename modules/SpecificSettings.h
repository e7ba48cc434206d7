// "Module 10 - Specific Settings": write protection and the alarm selection
// (both read by the shared read of command 15), the display setting and the
// version text, through the transmitter maker's own commands.
#pragma once

#include "modules/Module.h"

class SpecificSettings : public Module {
public:
    // Script states, with what each sends or judges. The writes send the
    // code and a fixed second byte 0x00; the transmitter echoes the code.
    enum State : std::int16_t {
        kDisplayReadPrepare = 107,
        kDisplayReadSend = 108,   // command 165: the display code
        kDisplayReadCheck = 109,  // selects the display entry
        kDisplayWritePrepare = 110,
        kDisplayWriteSend = 111,   // command 134 with the display code
        kDisplayWriteCheck = 112,  // selects the echoed code
        kAlarmWritePrepare = 122,
        kAlarmWriteSend = 123,   // command 135 with the alarm code, 239 for "Keep Last"
        kAlarmWriteCheck = 124,  // selects the echoed code
        kWriteProtectPrepare = 125,
        kWriteProtectSend = 126,   // command 192 with the write-protect code
        kWriteProtectCheck = 127,  // selects the echoed code
        kVersionPrepare = 204,
        kVersionSend = 205,   // command 172 with its fixed access code
        kVersionCheck = 206,  // shows the version text of data bytes 6 to 11
    };

    using Module::Module;
    std::vector<StepEntry> Steps() override;
    std::vector<Handler> Handlers() override;

    void OnWriteProtectChange();
    void OnSetWriteProtect();
    void OnAlarmChange();
    void OnSetAlarm();
    void OnDisplayChange();
    void OnReadDisplay();
    void OnSetDisplay();
    void OnReadVersion();

private:
    void CheckDisplayRead();
    void CheckDisplayWrite();
    void CheckAlarmWrite();
    void CheckWriteProtectWrite();
    void CheckVersionRead();
};
