// "Module 9 - Common Settings", lower rows: the texts and numbers by which the
// plant knows the transmitter. Tag, descriptor and date together, the
// message, and the final assembly number, each read and written.
#pragma once

#include "modules/Module.h"

#include <array>
#include <cstddef>
#include <cstdint>

class IdentificationTexts : public Module {
public:
    // Script states, with what each sends or judges.
    enum State : std::int16_t {
        kTagDescDateReadPrepare = 18,
        kTagDescDateReadSend = 19,   // command 13: tag, descriptor, date
        kTagDescDateReadCheck = 20,  // shows the three fields
        kMessageReadPrepare = 128,
        kMessageReadSend = 129,   // command 12: the message
        kMessageReadCheck = 130,  // shows it
        kAssemblyReadPrepare = 131,
        kAssemblyReadSend = 132,   // command 16: the final assembly number
        kAssemblyReadCheck = 133,  // shows it
        kMessageWritePrepare = 137,
        kMessageWriteSend = 138,   // command 17 with the 24-byte message block
        kMessageWriteCheck = 139,  // shows the echoed message
        kAssemblyWritePrepare = 140,
        kAssemblyWriteSend = 141,   // command 19 with the number's three bytes
        kAssemblyWriteCheck = 142,  // shows the echoed number
        kTagDescDateWritePrepare = 143,
        kTagDescDateWriteSend = 144,   // command 18 with the 21-byte block
        kTagDescDateWriteCheck = 145,  // shows the echoed fields
    };

    using Module::Module;
    std::vector<StepEntry> Steps() override;
    std::vector<Handler> Handlers() override;

    void OnIdentTextChange();
    void OnReadTagDescDate();
    void OnSetTagDescDate();
    void OnMessageChange();
    void OnReadMessage();
    void OnSetMessage();
    void OnAssemblyChange();
    void OnReadAssembly();
    void OnSetAssembly();

private:
    void CheckTagDescDateRead();
    void CheckMessageRead();
    void CheckAssemblyRead();
    void CheckTagDescDateWrite();
    void CheckMessageWrite();
    void CheckAssemblyWrite();
    bool EchoComplete(std::size_t echoBytes) const;
    void ShowTagDescDate(const std::uint8_t* data);
    void ShowMessage(const std::uint8_t* data);
    void ShowAssembly(const std::int16_t* codes);

    // The request blocks of commands 18 and 17, laid out as the replies of
    // commands 13 and 12. Every try sends them again, so they live here,
    // apart from what a send or a reply writes.
    static constexpr std::size_t kTagDescDateBytes = 21;  // tag 6, descriptor 12, date 3
    static constexpr std::size_t kMessageBytes = 24;
    std::array<std::uint8_t, kTagDescDateBytes> m_TagDescDateBlock{};
    std::array<std::uint8_t, kMessageBytes> m_MessageBlock{};
};
