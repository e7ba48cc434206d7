// "Module 2 - Online": connect at polling address 0, search addresses 1 to
// 15, and give the transmitter a new polling address.
#pragma once

#include "modules/Module.h"

#include <cstdint>

class Online : public Module {
public:
    // Script states, with what each sends or judges.
    enum State : std::int16_t {
        kConnectBegin = 1,  // polling address 0 into the box
        kConnectSend = 2,   // command 0, short frame to the polling address: 02 8n 00 00 check
        kConnectCheck = 3,  // answered: identity follows; else tried again, then "Not found!"
        kSearchBegin = 9,   // polling address 1 into the box
        kSearchSend = 10,   // command 0 at the polling address
        kSearchCheck = 11,  // answered: identity follows; else the next address, up to 15
        kSetAddressPrepare = 134,
        kSetAddressSend = 135,   // command 6 with the new address: one data byte
        kSetAddressCheck = 136,  // judges the echoed address
    };

    using Module::Module;
    std::vector<StepEntry> Steps() override;
    std::vector<Handler> Handlers() override;

    void OnHartCommunication();
    void OnSearchAddress();
    void OnSetAddress();
    void OnPollingAddressChange();

    // The polling address tried by connect and search; after a success the
    // one the transmitter answered at.
    std::uint8_t m_nScanAddr = 0;

private:
    void StartConnect(std::int16_t firstState, std::int16_t maxTries);
    void ScanFrom(std::uint8_t address, std::int16_t sendState);
    bool AtScanAddress();
    void ShowIdentity();
    void NotFoundAtZero();
    void SearchNextAddress();
    void CheckSetAddress();
    void EndNotFound();
};
