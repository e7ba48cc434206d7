#include "ui/main/CTamselApp.h"

#include "dialog/Layout.h"

#include <iostream>

CTamselApp::CTamselApp(PortMap ports, RecordPlace record)
    : m_window(MainDialogLayout(), m_relay), m_port(std::move(ports)), m_dlg(m_window, m_port),
      m_recordFile(std::move(record), std::cerr), m_record(m_recordFile, m_window)
{
    m_relay.target = &m_dlg;
    m_dlg.AddObserver(m_record);
    m_dlg.AddObserver(m_trend);
    m_dlg.OnInitDialog();
    m_window.AddMenuAction("Trend...", [this] { ShowTrend(); });
    m_window.SetAboutNote([this] {
        const QString path = m_recordFile.PathFor(QDate::currentDate());
        return "Record: " + (path.isEmpty() ? QString("none") : path);
    });
}

void CTamselApp::ShowTrend()
{
    // A window of the main window's own, so that its modal run leaves the
    // trend usable.
    if (!m_trendWindow)
        m_trendWindow = std::make_unique<TrendWindow>(m_trend, &m_window);
    m_trendWindow->show();
    m_trendWindow->raise();
}

bool CTamselApp::InitInstance()
{
    m_window.exec();  // the result of the modal run is not used
    return false;
}
