// "Module 1 - Comm Setting": find the ports that open, open and close one.
#pragma once

#include "modules/Module.h"

class PortSetting : public Module {
public:
    PortSetting(Shell& shell, StepMachine& machine, SerialPort& comm, Link& link)
        : Module(shell, machine), m_Comm(comm), m_Link(link)
    {
    }

    std::vector<Handler> Handlers() override;

    void OnSearchCom();
    void OnOpenCom();
    // The link of the port just opened knows now whether it is usable.
    void OnLinkOpened(bool usable);
    bool Opening() const { return m_bOpening; }
    // The program is ending while the link opens: the port closes.
    void AbandonOpening();
    // The device went away. An operation under way runs out its tries on the
    // closed port; then the window shows a closed port.
    void OnDeviceLost();
    void AfterStep();

private:
    bool m_bDeviceLost = false;
    bool m_bOpening = false;  // the port is open, its link not yet usable
    void Close();
    void ShowOpenPort();
    void ShowClosedPort();
    void ShowDeviceLost();
    SerialPort& m_Comm;
    Link& m_Link;
};
