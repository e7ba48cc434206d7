#include "ui/serialport/QtSerialPort.h"

#include <QTimer>

#include <algorithm>
#include <limits>

namespace {

constexpr qint32 kBaudRate = 9600;

std::string ErrorText(const QSerialPort& port) { return port.errorString().toStdString(); }

}  // namespace

QtSerialPort::QtSerialPort(PortMap ports) : m_ports(std::move(ports)), m_port(std::make_unique<QSerialPort>())
{
    // The port object is the context of both connections, so they end with it.
    QObject::connect(m_port.get(), &QSerialPort::readyRead, m_port.get(), [this] { OnReadyRead(); });
    QObject::connect(m_port.get(), &QSerialPort::errorOccurred, m_port.get(),
                     [this](QSerialPort::SerialPortError error) { OnError(error); });
}

QtSerialPort::~QtSerialPort()
{
    // Close before the connections' receiver (this) goes away.
    if (m_port->isOpen())
        m_port->close();
}

void QtSerialPort::SetCommPort(std::int16_t port) { m_commPort = port; }

std::string QtSerialPort::PortLabel() const { return "COM" + std::to_string(m_commPort); }

void QtSerialPort::SetPortOpen(bool open)
{
    if (!open) {
        if (m_port->isOpen()) {
            m_port->close();
            ++m_session;
        }
        m_port->clearError();
        m_errorCounts.reset();
        return;
    }

    if (m_port->isOpen())
        throw SerialPortError(PortLabel() + " is already open");
    const std::optional<std::string> device = m_ports.DeviceFor(m_commPort);
    if (!device)
        throw SerialPortError("No serial device for " + PortLabel());

    m_port->clearError();
    m_port->setPortName(QString::fromStdString(*device));
    m_port->setBaudRate(kBaudRate);
    m_port->setDataBits(QSerialPort::Data8);
    m_port->setParity(QSerialPort::NoParity);
    m_port->setStopBits(QSerialPort::OneStop);
    m_port->setFlowControl(QSerialPort::NoFlowControl);
    if (!m_port->open(QIODevice::ReadWrite)) {
        const std::string reason = ErrorText(*m_port);
        m_port->clearError();
        throw SerialPortError("Cannot open " + PortLabel() + " (" + *device + "): " + reason);
    }
    // A modem may draw power from DTR. Devices without modem lines (a
    // pseudo-terminal) refuse the call; the port works without it.
    if (!m_port->setDataTerminalReady(true))
        m_port->clearError();
    m_errorCounts = ReadLineErrorCounts(static_cast<int>(m_port->handle()));
}

bool QtSerialPort::GetPortOpen() const { return m_port->isOpen(); }

std::int16_t QtSerialPort::GetInBufferCount() const
{
    if (!m_port->isOpen())
        return 0;
    const qint64 waiting = m_port->bytesAvailable();
    return static_cast<std::int16_t>(std::min<qint64>(waiting, std::numeric_limits<std::int16_t>::max()));
}

void QtSerialPort::SetInputLen(std::int16_t n) { m_inputLen = std::max<std::int16_t>(n, 0); }

std::vector<std::uint8_t> QtSerialPort::GetInput()
{
    if (!m_port->isOpen())
        return {};
    qint64 count = m_port->bytesAvailable();
    if (m_inputLen > 0)
        count = std::min<qint64>(count, m_inputLen);
    if (count <= 0)
        return {};
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(count));
    const qint64 got = m_port->read(reinterpret_cast<char*>(bytes.data()), count);
    bytes.resize(static_cast<std::size_t>(std::max<qint64>(got, 0)));
    return bytes;
}

void QtSerialPort::SetOutput(const std::vector<std::uint8_t>& bytes)
{
    if (!m_port->isOpen())
        throw SerialPortError("Cannot write to " + PortLabel() + ": the port is closed");
    if (bytes.empty())
        return;
    const auto size = static_cast<qint64>(bytes.size());
    const qint64 written = m_port->write(reinterpret_cast<const char*>(bytes.data()), size);
    if (written != size) {
        const std::string reason = ErrorText(*m_port);
        m_port->clearError();
        throw SerialPortError("Cannot write to " + PortLabel() + ": " + reason);
    }
    // Hand the bytes to the driver now; whatever does not fit goes out from
    // the event loop.
    m_port->flush();
}

std::int16_t QtSerialPort::GetCommEvent() const { return CurrentCommEvent(); }

void QtSerialPort::OnReadyRead()
{
    RaiseLineErrors();
    // A handler may have closed the port.
    if (m_port->isOpen())
        RaiseCommEvent(CommEvent::kReceive);
}

void QtSerialPort::RaiseLineErrors()
{
    if (!m_errorCounts)
        return;
    const std::optional<LineErrorCounts> now = ReadLineErrorCounts(static_cast<int>(m_port->handle()));
    if (!now)
        return;
    const LineErrorCounts before = *m_errorCounts;
    m_errorCounts = now;
    for (const std::int16_t code : LineErrorEvents(before, *now)) {
        if (!m_port->isOpen())
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
    const unsigned session = m_session;
    QTimer::singleShot(0, m_port.get(), [this, session] {
        if (session != m_session)
            return;
        SetPortOpen(false);
        RaiseCommEvent(CommEvent::kDeviceLost);
    });
}
