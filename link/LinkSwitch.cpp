#include "link/LinkSwitch.h"

LinkSwitch::LinkSwitch(DialogWindow& window, SerialPort& comm)
    : m_Comm(comm), m_HexLine(window, comm), m_Binary(window, comm), m_HartIp(window, comm)
{
    // Every link reports through this one's sinks, whichever is active.
    for (Link* link : std::initializer_list<Link*>{&m_HexLine, &m_Binary, &m_HartIp})
        link->SetSinks([this](const ModemReply& reply) { Deliver(reply); },
                       [this](bool usable) { ReportOpened(usable); },
                       [this](std::string_view error) { ReportError(error); });
}

Link::OpenState LinkSwitch::Open()
{
    const LinkKind kind = m_Comm.Settings().kind;
    m_Active = kind == LinkKind::BinaryModem ? static_cast<Link*>(&m_Binary)
               : kind == LinkKind::HexLine   ? static_cast<Link*>(&m_HexLine)
                                             : static_cast<Link*>(&m_HartIp);
    return m_Active->Open();
}
