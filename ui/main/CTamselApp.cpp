#include "ui/main/CTamselApp.h"

#include "dialog/Layout.h"

CTamselApp::CTamselApp(PortMap ports)
    : m_window(MainDialogLayout(), m_relay), m_port(std::move(ports)), m_dlg(m_window, m_port)
{
    m_relay.target = &m_dlg;
    m_dlg.OnInitDialog();
}

bool CTamselApp::InitInstance()
{
    m_window.exec();  // the result of the modal run is not used
    return false;
}
