// The stage of the receive-path fuzz target and of its seeds: the window on
// the virtual clock with COM1 open, every control enabled and the simulated
// transmitter's address known, as after a connect.
//
// An input is one pick byte, then the bytes that arrive, in chunks:
//   pick: below 0x80 a command of the table (index modulo its size), sent
//         alone; from 0x80 on a button or radio button of the layout (index
//         modulo their number), clicked to run its whole operation;
//   chunk: the delay in ms after the previous chunk (two bytes, big endian,
//          modulo 4096), a length byte, that many bytes. A length of 0
//          only lets the time pass; kLineError stands for a line error.
#pragma once

#include "dialog/Layout.h"
#include "dialog/Timing.h"
#include "hart/CommandTable.h"
#include "sim/Transmitter.h"
#include "tests/support/OpenPortHost.h"

#include <algorithm>
#include <cstdint>
#include <vector>

inline constexpr std::uint8_t kOperationPick = 0x80;
inline constexpr std::uint8_t kLineError = 255;
inline constexpr int kMaxChunkDelay = 4096;

struct ReceiveStage : OpenPortHost {
    ReceiveStage()
    {
        dlg.EnableAllControls();
        const sim::Identity id;
        const std::uint8_t address[] = {id.manufacturer, id.deviceType, id.deviceId[0], id.deviceId[1], id.deviceId[2]};
        std::copy(std::begin(address), std::end(address), dlg.Machine().m_UniqueId);
        dlg.Machine().m_pReqBlock = block;  // the block writes send zeros
    }

    // Every button and radio button of the layout, in its order.
    static const std::vector<int>& Buttons()
    {
        static const std::vector<int> ids = [] {
            std::vector<int> found;
            for (const ControlSpec& c : MainDialogLayout().controls)
                if (c.kind == ControlKind::Button || c.kind == ControlKind::RadioButton)
                    found.push_back(c.id);
            return found;
        }();
        return ids;
    }

    // Sends the command or clicks the button the pick names.
    void Start(std::uint8_t pick)
    {
        if (pick >= kOperationPick)
            return void(window.Click(Buttons()[(pick - kOperationPick) % Buttons().size()]));
        dlg.Machine().SendRequest(AllCommands()[pick % AllCommands().size()].command, kRestState);
        clock.AdvanceBy(STEP_DELAY);
    }

    std::uint8_t block[kMaxRequestData] = {};
};
