// The main dialog object: owns all communication state and every value read
// from the transmitter, and runs every operation of the window. It reaches the
// window only through DialogWindow and the port only through SerialPort.
#pragma once

#include "hart/ReplyDecoder.h"
#include "serial/SerialPort.h"
#include "ui/dialog/DialogWindow.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// The reply record of the last decoded reply is part of the dialog's state.
class CTamselDlg : public DialogEvents, public ReplyRecord {
public:
    CTamselDlg(DialogWindow& window, SerialPort& comm);

    // Window shell
    bool OnInitDialog();
    void OnCommand(int id, Notify notify) override;
    void OnTimer(int timerId) override;
    void OnSysCommand(unsigned id) override;
    void OnOK();
    void OnCancel();

    // Control groups and the activity log
    void DisableAllControls();
    void EnableAllControls();
    // Appends one entry; the caller runs TrimLog after its entries.
    void AppendLog(std::string_view text);
    void TrimLog();

    // Port setting and receive path
    void OnSearchCom();
    void OnOpenCom();
    void OnCommEvent();
    void ResetReceive();
    void CheckReply();

    // Step machine: runs the state in m_nStep.
    void RunStep();
    // A script runs until its end puts the machine at rest.
    bool IsOperationRunning() const;
    // The primitive states: send one command; parse its reply, the values
    // stored as the command's row of the command table says.
    void SendCommand(const CommandInfo& cmd);
    void ParseReplyHead(const CommandInfo& cmd);

    // Used by the module scripts.
    void ArmStep(int ms);
    // Starts a script at its first state (the handler has disabled the controls).
    void StartScript(std::int16_t firstState, std::int16_t maxTries);
    // Counts a failed try; true when the command is sent again from sendState
    // after the retry delay, false when the tries are used up.
    bool RetryCommand(std::int16_t sendState);
    // Ends a script: controls enabled, machine at rest.
    void EndScript();
    // Logs one message, trims the log and ends the script.
    void EndScriptWith(std::string_view message);
    // The failed end of connect and search: only the ways to connect again.
    void EndConnectScript();

    // --- Module 2 - Online
    void OnHartCommunication();
    void OnSearchAddress();
    void OnSetAddress();
    void OnPollingAddressChange();
    void ConnectBegin();               // 1
    void SendCommand0AtScanAddress();  // 2, 10
    void CheckConnect();               // 3
    void SearchBegin();                // 9
    void CheckSearch();                // 11
    void CheckSetAddress();            // 136

    // --- Module 3 - Inst. Infor.
    void ShowIdentity();       // 4
    void CheckSensorLimits();  // 6

    // --- Module 9 - Common Settings
    void OnReadSettings();
    void OnTransFuncChange();
    void OnSetTransFunc();
    void OnReadPvUnit();
    void OnPvUnitChange();
    void OnSetPvUnit();
    void OnDampingChange();
    void OnSetDamping();
    void CheckSharedRead();             // 8
    void CheckDampingWrite();           // 115
    void CheckTransferFunctionWrite();  // 118
    void CheckPvUnitWrite();            // 121
    void CheckPvUnitRead();             // 203

    // --- State. Public, like the controls: hosts and tests read it.

    // Receive path
    std::uint8_t m_RxBuf[1024] = {};
    std::int16_t m_nRxCount = 0;
    std::int16_t m_nRxError = 0;
    std::int32_t m_bRxReady = 0;

    // Transmit scratch
    std::uint8_t m_TxFrame[1024] = {};
    std::uint8_t m_HexText[2048] = {};
    std::vector<std::uint8_t> m_TxBytes;
    std::string m_strTx;
    std::string m_strRx;

    // Step machine
    std::int16_t m_nStep = 0;
    std::int16_t m_nReturnStep = 0;
    std::int16_t m_nStepTimer = 2;
    std::int16_t m_nResult = 0;
    std::int16_t m_nMaxTries = 0;
    std::int16_t m_nTries = 0;

    // Burst mode as the last decoded reply showed it; drives the Status blink.
    std::uint8_t m_bBurst = 0;

    // Request parameters of the next command; only the low byte of a code
    // goes into a frame. m_pReqBlock stays valid while its operation runs.
    std::int16_t m_nReqCode[3] = {};
    float m_fReqValue[2] = {};
    const std::uint8_t* m_pReqBlock = nullptr;

    // The connected transmitter: unique identifier from command 0, and the
    // polling address at which it answered.
    std::uint8_t m_UniqueId[5] = {};
    std::uint8_t m_nScanAddr = 0;

private:
    DialogWindow& m_Wnd;
    SerialPort& m_Comm;

    void BlinkStatus();
    void StartConnect(std::int16_t firstState, std::int16_t maxTries);
    bool TransmitterAnswered() const;
    bool SettingTryFailed(std::int16_t sendState);
    void EndListWrite(int listId, int (*entryOf)(std::int16_t code));
};
