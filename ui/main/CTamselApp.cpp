#include "ui/main/CTamselApp.h"

#include "dialog/ControlIds.h"
#include "dialog/Layout.h"
#include "ui/main/PortsDialog.h"
#include "ui/signals/EndSignals.h"

#include <QApplication>
#include <QDateTime>
#include <QTimer>

#include <iostream>
#include <utility>

namespace {

// Longest the loop's return may take after a signal: the operation under way
// to its next request, then three tries of command 40.
constexpr int kLoopReturnMs = 30000;

// Each as if cancelled, the topmost first; a box that will not go stops it.
void CloseBoxesOver(const QWidget& window)
{
    while (QWidget* popup = QApplication::activePopupWidget()) {
        popup->close();
        if (QApplication::activePopupWidget() == popup)
            return;
    }
    while (QWidget* box = QApplication::activeModalWidget()) {
        if (box == &window)
            return;
        if (auto* dialog = qobject_cast<QDialog*>(box))
            dialog->done(QDialog::Rejected);
        else
            box->close();
        if (QApplication::activeModalWidget() == box)
            return;
    }
}

}  // namespace

CTamselApp::CTamselApp(PortMap ports, RecordPlace record)
    : m_Window(MainDialogLayout(), m_Relay), m_Port(std::move(ports)), m_Dlg(m_Window, m_Port),
      m_RecordFile(std::move(record), std::cerr), m_Record(m_RecordFile, m_Window)
{
    m_Relay.target = &m_Dlg;
    m_Dlg.AddObserver(m_Record);
    m_Dlg.AddObserver(m_Trend);
    m_Dlg.OnInitDialog();
    m_Window.AddMenuAction("Trend...", [this] { ShowTrend(); });
    m_Window.AddMenuAction("Calibration...", [this] { ShowCalibration(); });
    m_Window.AddMenuAction("Ports...", [this] { EditPorts(); });
    m_Window.AddMenuAction("Configuration...", [this] { ShowConfiguration(); });
    m_Window.AddMenuAction("Survey...", [this] { ShowSurvey(); });
    m_Dlg.Configuration().onDone = [this] {
        if (const auto done = std::exchange(m_ConfigurationDone, nullptr))
            done();
    };
    m_Window.SetAboutNote([this] {
        const QString path = m_RecordFile.PathFor(QDate::currentDate());
        return "Record: " + (path.isEmpty() ? QString("none") : path);
    });
}

void CTamselApp::ShowTrend()
{
    // A window of the main window's own, so that its modal run leaves the
    // trend usable.
    if (!m_TrendWindow)
        m_TrendWindow = std::make_unique<TrendWindow>(m_Trend, &m_Window);
    m_TrendWindow->show();
    m_TrendWindow->raise();
}

// Made when first opened, and then kept: a run goes on, and is filed, while
// the window is closed.
void CTamselApp::ShowCalibration()
{
    if (!m_CalibrationWindow)
        m_CalibrationWindow = std::make_unique<CalibrationWindow>(
            m_Dlg.Calibration(), [this] { return m_Dlg.IsOperationRunning(); }, CalibrationStore(), &m_Window);
    m_CalibrationWindow->show();
    m_CalibrationWindow->raise();
}

ConfigurationJobs CTamselApp::Jobs()
{
    return {m_Dlg.Configuration(), [this] { return m_Dlg.IsOperationRunning(); },
            [] { return QDateTime::currentDateTime().toString("yyyy-MM-dd HH:mm:ss").toStdString(); },
            [this](std::function<void()> done) { m_ConfigurationDone = std::move(done); }};
}

// Like the trend, windows of the main window's own.
void CTamselApp::ShowConfiguration()
{
    if (!m_ConfigurationDialog)
        m_ConfigurationDialog = std::make_unique<ConfigurationDialog>(Jobs(), &m_Window);
    m_ConfigurationDialog->show();
    m_ConfigurationDialog->raise();
}

void CTamselApp::ShowSurvey()
{
    if (!m_SurveyDialog)
        m_SurveyDialog = std::make_unique<SurveyDialog>(Jobs(), &m_Window);
    m_SurveyDialog->show();
    m_SurveyDialog->raise();
}

// Saved for the next starts, and used from the next search on, unless the
// environment or the demo defines the ports.
void CTamselApp::EditPorts()
{
    const bool environmentWins = PortMap::FromEnvironment(PortMap::ProcessEnvironment()).has_value();
    PortsDialog dialog(PortMap::SavedValues(), environmentWins, &m_Window);
    if (dialog.exec() != QDialog::Accepted)
        return;
    PortMap::SaveValues(dialog.Values());
    if (!environmentWins && !m_FixedPorts)
        m_Port.SetPorts(PortMap::Load());
}

bool CTamselApp::InitInstance()
{
    m_Window.exec();  // the result of the modal run is not used
    return false;
}

int CTamselApp::Run()
{
    const EndSignals endSignals([this](int signal) { EndOnSignal(signal); });
    InitInstance();
    return endSignals.ExitStatus(0);
}

// The modal runs of the boxes unwind once this returns, each answered as
// cancelled; the window's own ends when the loop is back.
void CTamselApp::EndOnSignal(int signal)
{
    CloseBoxesOver(m_Window);
    m_Dlg.Interrupt(EndSignals::Name(signal));
    m_Dlg.ReturnLoopAndClose();
    QTimer::singleShot(kLoopReturnMs, &m_Window, [this] { m_Window.EndDialog(IDCANCEL); });
}
