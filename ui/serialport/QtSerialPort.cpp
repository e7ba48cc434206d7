#include "ui/serialport/QtSerialPort.h"

#include <QTimer>

#include <sys/ioctl.h>

#include <algorithm>
#include <limits>

namespace {

constexpr qint32 kBaudRate = 9600;
constexpr qint32 kBinaryBaudRate = 1200;

std::string ErrorText(const QSerialPort& port) { return port.errorString().toStdString(); }

}  // namespace

QtSerialPort::QtSerialPort(PortMap ports) : m_Ports(std::move(ports)), m_Port(std::make_unique<QSerialPort>())
{
    // The port object is the context of both connections, so they end with it.
    QObject::connect(m_Port.get(), &QSerialPort::readyRead, m_Port.get(), [this] { OnReadyRead(); });
    QObject::connect(m_Port.get(), &QSerialPort::errorOccurred, m_Port.get(),
                     [this](QSerialPort::SerialPortError error) { OnError(error); });
}

QtSerialPort::~QtSerialPort()
{
    // Close before the connections' receiver (this) goes away.
    if (m_Port->isOpen())
        m_Port->close();
}

void QtSerialPort::SetCommPort(std::int16_t port) { m_CommPort = port; }

std::string QtSerialPort::PortLabel() const { return "COM" + std::to_string(m_CommPort); }

void QtSerialPort::SetPortOpen(bool open)
{
    if (!open) {
        m_Socket.Close();
        if (m_Port->isOpen()) {
            m_Port->close();
            ++m_Session;
        }
        m_Port->clearError();
        m_ErrorCounts.reset();
        return;
    }

    if (m_Port->isOpen() || m_Socket.IsOpen())
        throw SerialPortError(PortLabel() + " is already open");
    const std::optional<LinkSettings> linkSettings = m_Ports.SettingsFor(m_CommPort);
    if (!linkSettings)
        throw SerialPortError("No serial device for " + PortLabel());
    if (linkSettings->IsHartIp())
        return m_Socket.Open(*linkSettings);
    const std::string* device = &linkSettings->device;
    const bool binary = linkSettings->kind == LinkKind::BinaryModem;

    m_Port->clearError();
    m_Port->setPortName(QString::fromStdString(*device));
    m_Port->setBaudRate(binary ? kBinaryBaudRate : kBaudRate);
    m_Port->setDataBits(QSerialPort::Data8);
    m_Port->setParity(binary ? QSerialPort::OddParity : QSerialPort::NoParity);
    m_Port->setStopBits(QSerialPort::OneStop);
    m_Port->setFlowControl(QSerialPort::NoFlowControl);
    if (!m_Port->open(QIODevice::ReadWrite)) {
        const std::string reason = ErrorText(*m_Port);
        m_Port->clearError();
        throw SerialPortError("Cannot open " + PortLabel() + " (" + *device + "): " + reason);
    }
    // A modem may draw power from DTR. Devices without modem lines (a
    // pseudo-terminal) refuse the call; the port works without it.
    if (!m_Port->setDataTerminalReady(true))
        m_Port->clearError();
    m_ErrorCounts = ReadLineErrorCounts(static_cast<int>(m_Port->handle()));
}

bool QtSerialPort::GetPortOpen() const { return m_Port->isOpen() || m_Socket.IsOpen(); }

LinkSettings QtSerialPort::Settings() const { return m_Ports.SettingsFor(m_CommPort).value_or(LinkSettings{}); }

void QtSerialPort::SetRts(bool level)
{
    if (!m_Port->isOpen() || !m_Port->setRequestToSend(level)) {
        m_Port->clearError();
        throw SerialPortError(PortLabel() + " has no RTS line to key the modem");
    }
}

// Qt's own buffer and the driver's queue (what a pseudo-terminal cannot tell
// counts as sent).
int QtSerialPort::OutputPending() const
{
    if (!m_Port->isOpen())
        return 0;
    int queued = 0;
    if (ioctl(static_cast<int>(m_Port->handle()), TIOCOUTQ, &queued) != 0)
        queued = 0;
    return static_cast<int>(m_Port->bytesToWrite()) + queued;
}

std::int16_t QtSerialPort::GetInBufferCount() const
{
    if (m_Socket.IsOpen())
        return m_Socket.Waiting();
    if (!m_Port->isOpen())
        return 0;
    const qint64 waiting = m_Port->bytesAvailable();
    return static_cast<std::int16_t>(std::min<qint64>(waiting, std::numeric_limits<std::int16_t>::max()));
}

void QtSerialPort::SetInputLen(std::int16_t n) { m_InputLen = std::max<std::int16_t>(n, 0); }

std::vector<std::uint8_t> QtSerialPort::GetInput()
{
    if (m_Socket.IsOpen())
        return m_Socket.Read();
    if (!m_Port->isOpen())
        return {};
    qint64 count = m_Port->bytesAvailable();
    if (m_InputLen > 0)
        count = std::min<qint64>(count, m_InputLen);
    if (count <= 0)
        return {};
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(count));
    const qint64 got = m_Port->read(reinterpret_cast<char*>(bytes.data()), count);
    bytes.resize(static_cast<std::size_t>(std::max<qint64>(got, 0)));
    return bytes;
}

void QtSerialPort::SetOutput(const std::vector<std::uint8_t>& bytes)
{
    if (m_Socket.IsOpen())
        return m_Socket.Write(bytes);
    if (!m_Port->isOpen())
        throw SerialPortError("Cannot write to " + PortLabel() + ": the port is closed");
    if (bytes.empty())
        return;
    const auto size = static_cast<qint64>(bytes.size());
    const qint64 written = m_Port->write(reinterpret_cast<const char*>(bytes.data()), size);
    if (written != size) {
        const std::string reason = ErrorText(*m_Port);
        m_Port->clearError();
        throw SerialPortError("Cannot write to " + PortLabel() + ": " + reason);
    }
    // Hand the bytes to the driver now; whatever does not fit goes out from
    // the event loop.
    m_Port->flush();
}

std::int16_t QtSerialPort::GetCommEvent() const { return CurrentCommEvent(); }

void QtSerialPort::OnReadyRead()
{
    RaiseLineErrors();
    // A handler may have closed the port.
    if (m_Port->isOpen())
        RaiseCommEvent(CommEvent::kReceive);
}

void QtSerialPort::RaiseLineErrors()
{
    if (!m_ErrorCounts)
        return;
    const std::optional<LineErrorCounts> now = ReadLineErrorCounts(static_cast<int>(m_Port->handle()));
    if (!now)
        return;
    const LineErrorCounts before = *m_ErrorCounts;
    m_ErrorCounts = now;
    for (const std::int16_t code : LineErrorEvents(before, *now)) {
        if (!m_Port->isOpen())
            return;
        RaiseCommEvent(code);
    }
}

void QtSerialPort::OnError(QSerialPort::SerialPortError error)
{
    // The device went away (unplugged, the other end hung up): reads then
    // fail or see end of file on every turn of the loop. Close the port so
    // that it reads closed and writes fail instead of the loop spinning.
    // Closed from the loop, not inside Qt's own notification; the session
    // number keeps a late close away from a port opened again meanwhile.
    if (error != QSerialPort::ResourceError && error != QSerialPort::ReadError)
        return;
    const unsigned session = m_Session;
    QTimer::singleShot(0, m_Port.get(), [this, session] {
        if (session != m_Session)
            return;
        SetPortOpen(false);
        RaiseCommEvent(CommEvent::kDeviceLost);
    });
}
