// The main dialog object: the window shell (start-up, timers, the Status
// blink, the About box), the two control groups and the activity log. It
// owns the receive path, the step machine and the device modules, and routes
// every control notification to its module. It reaches the window only
// through DialogWindow and the port only through SerialPort.
#pragma once

#include "app/LoopReturn.h"
#include "calibration/CalibrationProcedure.h"
#include "configuration/ConfigurationProcedure.h"
#include "configuration/WriteTrail.h"
#include "dialog/DialogWindow.h"
#include "link/LinkSwitch.h"
#include "modules/BurstSetting.h"
#include "modules/CommonSettings.h"
#include "modules/IdentificationTexts.h"
#include "modules/InstrumentInfo.h"
#include "modules/LoopTest.h"
#include "modules/Online.h"
#include "modules/PortSetting.h"
#include "modules/ProcessVariables.h"
#include "modules/RangeSetting.h"
#include "modules/SensorTrim.h"
#include "modules/SpecificSettings.h"
#include "sequencer/OperationObserver.h"
#include "sequencer/Shell.h"
#include "sequencer/StepMachine.h"
#include "serial/SerialPort.h"

#include <optional>
#include <string>
#include <string_view>

class CTamselDlg : public DialogEvents, public Shell {
public:
    CTamselDlg(DialogWindow& window, SerialPort& comm);

    // Window shell
    bool OnInitDialog();
    void OnCommand(int id, Notify notify) override;
    void OnTimer(int timerId) override;
    void OnSysCommand(unsigned id) override;
    void OnOK();
    // Exit, Esc, the close box. With the loop current fixed by this tool, the
    // operator chooses whether it is returned first.
    void OnCancel() { m_LoopReturn.OnExit(); }
    // Returns the fixed loop current as "Exit Fixed" does, once any running
    // operation has ended, then ends the dialog: what the command line does
    // at its end.
    void ReturnLoopAndClose() { m_LoopReturn.ReturnAndClose(); }
    std::optional<float> FixedLoopCurrent() const { return m_LoopTest.FixedCurrent(); }
    // The program is ending (cause: the signal's name): the running
    // operation ends before its next request, and its end goes to the
    // observers as interrupted. A port still opening its link closes.
    void Interrupt(std::string_view cause);
    // Whether a notification of a control runs an operation: the message map,
    // the shell's own rows and those every module brings.
    bool HasHandler(int id, Notify notify) const { return FindHandler(id, notify) != nullptr; }

    // Control groups and the activity log
    DialogWindow& Window() override { return m_Wnd; }
    void DisableAllControls() override;
    void EnableAllControls() override;
    void AppendLog(std::string_view text) override;
    void TrimLog() override;

    // For hosts and tests: the receive path, the step machine with the
    // exchange it runs, and whether an operation is running.
    const ReceivePath& Receive() const { return m_Link.Receive(); }
    StepMachine& Machine() { return m_Machine; }
    const Online& OnlineModule() const { return m_Online; }
    // Calibration runs, for the hosts that show them.
    CalibrationProcedure& Calibration() { return m_Calibration; }
    // Configuration files and the survey of a loop.
    ConfigurationProcedure& Configuration() { return m_Configuration; }
    // A port whose link is still opening (a HART-IP session) counts too.
    bool IsOperationRunning() const { return m_Machine.IsOperationRunning() || m_PortSetting.Opening(); }
    // Hosts that follow the work (the record, the trend); each must outlive
    // the dialog object.
    void AddObserver(OperationObserver& observer) { m_Observers.Add(observer); }

private:
    DialogWindow& m_Wnd;
    OperationObservers m_Observers;
    LinkSwitch m_Link;
    StepMachine m_Machine;

    PortSetting m_PortSetting;
    Online m_Online;
    InstrumentInfo m_InstrumentInfo;
    ProcessVariables m_ProcessVariables;
    RangeSetting m_RangeSetting;
    SensorTrim m_SensorTrim;
    LoopTest m_LoopTest;
    BurstSetting m_BurstSetting;
    CommonSettings m_CommonSettings;
    SpecificSettings m_SpecificSettings;
    IdentificationTexts m_IdentificationTexts;
    CalibrationProcedure m_Calibration;
    ConfigurationProcedure m_Configuration;
    WriteTrail m_WriteTrail{m_Observers};
    std::vector<Handler> m_Handlers;
    LoopReturn m_LoopReturn;
    std::string m_InterruptCause;

    void BlinkStatus();
    void OnCommEvent(SerialPort& comm);
    const Handler* FindHandler(int id, Notify notify) const;
    void RunObserved(const Handler& handler);
    void RunObservedStep();
    void EndObserved();
};
