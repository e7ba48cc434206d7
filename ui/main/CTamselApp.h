// The application: the window, its serial port and the dialog object that
// runs them, wired together, with the record and the trend following the
// work, and the configuration dialogs on the dialog object's procedure.
// InitInstance runs the window modally; the process ends when it closes.
#pragma once

#include "app/CTamselDlg.h"
#include "ui/calibration/CalibrationWindow.h"
#include "ui/configuration/ConfigurationDialog.h"
#include "ui/configuration/SurveyDialog.h"
#include "ui/qt/QtDialogWindow.h"
#include "ui/record/RecordWriter.h"
#include "ui/serialport/QtSerialPort.h"
#include "ui/trend/TrendWindow.h"

#include <memory>

class CTamselApp {
public:
    // A QApplication must exist.
    explicit CTamselApp(PortMap ports, RecordPlace record = {});

    // Runs the window until it closes; returns false, as the process then ends.
    bool InitInstance();
    // InitInstance, ended in order by SIGTERM, SIGINT or SIGHUP (see
    // EndOnSignal); returns the process's exit status: 0, or 128 + the
    // signal's number.
    int Run();
    // Nobody is there to answer: every box over the window goes, the running
    // operation is cut short, a loop current left fixed is returned without
    // the question (within a bound), and the window ends.
    void EndOnSignal(int signal);

    QtDialogWindow& Window() { return m_Window; }
    CTamselDlg& Dialog() { return m_Dlg; }
    TrendModel& Trend() { return m_Trend; }
    // The record's file, which its lines reach on a thread of their own.
    RecordFile& Record() { return m_RecordFile; }
    // Opens the trend window ("Trend..." in the window menu), or raises it.
    void ShowTrend();
    TrendWindow* TrendView() const { return m_TrendWindow.get(); }
    // Opens the calibration window ("Calibration..." in the window menu), or
    // raises it. It files the calibrations under the state directory.
    void ShowCalibration();
    CalibrationWindow* CalibrationView() const { return m_CalibrationWindow.get(); }
    // "Configuration..." and "Survey..." in the window menu: opened, or raised.
    void ShowConfiguration();
    ConfigurationDialog* ConfigurationView() const { return m_ConfigurationDialog.get(); }
    void ShowSurvey();
    SurveyDialog* SurveyView() const { return m_SurveyDialog.get(); }
    // "Ports..." in the window menu.
    void EditPorts();
    // The demo's ports stay what they are.
    void KeepPorts() { m_FixedPorts = true; }

private:
    ConfigurationJobs Jobs();

    // The window needs its event sink before the dialog object that is the
    // sink exists; the relay stands in between.
    class EventRelay : public DialogEvents {
    public:
        DialogEvents* target = nullptr;
        void OnCommand(int id, Notify notify) override { target->OnCommand(id, notify); }
        void OnTimer(int timerId) override { target->OnTimer(timerId); }
        void OnSysCommand(unsigned id) override { target->OnSysCommand(id); }
    };

    EventRelay m_Relay;
    QtDialogWindow m_Window;
    QtSerialPort m_Port;
    CTamselDlg m_Dlg;
    RecordFile m_RecordFile;
    RecordWriter m_Record;
    TrendModel m_Trend;
    std::unique_ptr<TrendWindow> m_TrendWindow;              // made when first opened
    std::unique_ptr<CalibrationWindow> m_CalibrationWindow;  // made when first opened
    // The procedure's one onDone goes to the dialog whose job it ends.
    std::function<void()> m_ConfigurationDone;
    std::unique_ptr<ConfigurationDialog> m_ConfigurationDialog;
    std::unique_ptr<SurveyDialog> m_SurveyDialog;
    bool m_FixedPorts = false;
};
