// "Module 9 - Common Settings", upper rows: transfer function, PV unit and
// damping; and the shared read of command 15, which fills range, transfer
// function, damping, write protection and alarm at once.
#pragma once

#include "modules/Module.h"

class CommonSettings : public Module {
public:
    enum State : std::int16_t {
        kSharedReadSend = 7,    // command 15; every entry clears the tries first
        kSharedReadCheck = 8,   // range, transfer function, damping, write protection, alarm
        kDampingPrepare = 113,  //
        kDampingSend = 114,     // command 34 with the damping: four float bytes
        kDampingCheck = 115,    // shows the echoed damping
        kTransFuncPrepare = 116,
        kTransFuncSend = 117,   // command 47 with the transfer function code
        kTransFuncCheck = 118,  // selects the echoed code
        kPvUnitWritePrepare = 119,
        kPvUnitWriteSend = 120,   // command 44 with the unit code
        kPvUnitWriteCheck = 121,  // selects the echoed unit
        kPvUnitReadPrepare = 201,
        kPvUnitReadSend = 202,   // command 1: the PV unit code
        kPvUnitReadCheck = 203,  // selects the unit
    };

    using Module::Module;
    std::vector<StepEntry> Steps() override;
    std::vector<Handler> Handlers() override;

    void OnReadSettings();
    void OnTransFuncChange();
    void OnSetTransFunc();
    void OnReadPvUnit();
    void OnPvUnitChange();
    void OnSetPvUnit();
    void OnDampingChange();
    void OnSetDamping();

private:
    void CheckSharedRead();
    void CheckDampingWrite();
    void CheckTransFuncWrite();
    void CheckPvUnitWrite();
    void CheckPvUnitRead();
    void SelectCode(int listId, std::int16_t code, std::string_view complaint);
};
