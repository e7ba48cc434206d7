#include "link/BinaryModemLink.h"

#include "dialog/Timing.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace {
constexpr std::uint8_t kPreamble = 0xFF;
int CharTimes(int chars) { return static_cast<int>(std::ceil(chars * BinaryModemLink::kCharMs)); }
}  // namespace

Link::OpenState BinaryModemLink::Open()
{
    m_Settings = m_Comm.Settings();
    m_Hunter.Reset();
    m_Request.clear();
    m_Draining = false;
    m_NoModemLines = false;
    m_Keyed = true;  // so that the line is set to rest for certain
    Key(false);
    return OpenState::Ready;
}

// The level that keys the transmitter is the port's choice; "none" leaves
// the line alone. A device without modem lines is said once and then left.
void BinaryModemLink::Key(bool on)
{
    if (m_Settings.rts == KeyLevel::None || m_NoModemLines || m_Keyed == on)
        return;
    m_Keyed = on;
    try {
        m_Comm.SetRts(on == (m_Settings.rts == KeyLevel::High));
    } catch (const SerialPortError& e) {
        m_NoModemLines = true;
        ReportError(std::string("binary modem: ") + e.what() + "; only rts=none works on this port");
    }
}

void BinaryModemLink::Send(std::span<const std::uint8_t> frame)
{
    m_Hunter.Reset();
    m_Wnd.KillTimer(TIMER_LINK_IDLE);
    m_Request.assign(frame.begin(), frame.end());
    std::vector<std::uint8_t> wire(static_cast<std::size_t>(m_Settings.preambles), kPreamble);
    wire.insert(wire.end(), frame.begin(), frame.end());
    Key(true);
    m_Comm.SetOutput(wire);
    m_Draining = true;
    ArmDrainCheck();
}

// While the driver still holds bytes, look again when they should have left.
void BinaryModemLink::ArmDrainCheck() { m_Wnd.SetTimer(TIMER_LINK, CharTimes(std::max(m_Comm.OutputPending(), 1))); }

void BinaryModemLink::OnTimer(int timerId)
{
    if (timerId == TIMER_LINK_IDLE) {
        if (m_Hunter.InFrame())
            ReportError("binary modem: a frame stalled for " + std::to_string(kStallMs) + " ms; dropped");
        m_Hunter.Reset();
        return;
    }
    if (timerId != TIMER_LINK || !m_Keyed)
        return;
    if (m_Draining && m_Comm.OutputPending() > 0)
        return ArmDrainCheck();
    if (m_Draining) {  // the queue is empty: the last characters are still leaving
        m_Draining = false;
        return m_Wnd.SetTimer(TIMER_LINK, CharTimes(kShiftRegisterChars));
    }
    Key(false);
}

void BinaryModemLink::OnCommEvent()
{
    const std::int16_t event = m_Comm.GetCommEvent();
    if (event != CommEvent::kReceive) {
        if (event != CommEvent::kDeviceLost)
            ReportError(std::string("binary modem: ") + CommEvent::Text(event));
        return;
    }
    for (const std::uint8_t byte : ReadAll(m_Comm)) {
        std::optional<std::vector<std::uint8_t>> frame = m_Hunter.Feed(byte);
        if (!frame)
            continue;
        if (m_Settings.echo && *frame == m_Request) {
            m_Request.clear();  // the modem handing back what it sent
            continue;
        }
        Deliver(ModemReply::Frame(std::move(*frame)));
    }
    if (m_Hunter.InFrame())
        m_Wnd.SetTimer(TIMER_LINK_IDLE, kStallMs);
    else
        m_Wnd.KillTimer(TIMER_LINK_IDLE);
}
