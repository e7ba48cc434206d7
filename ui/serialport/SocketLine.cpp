#include "ui/serialport/SocketLine.h"

#include "serial/SerialPort.h"

#include <QNetworkDatagram>
#include <QScopedValueRollback>
#include <QTcpSocket>
#include <QTimer>
#include <QUdpSocket>

#include <algorithm>
#include <limits>

namespace {
constexpr int kConnectMs = 2000;
}

SocketLine::~SocketLine() { Close(); }

void SocketLine::Open(const LinkSettings& linkSettings)
{
    Close();
    m_Udp = linkSettings.kind == LinkKind::HartIpUdp;
    if (m_Udp)
        m_Socket = std::make_unique<QUdpSocket>();
    else
        m_Socket = std::make_unique<QTcpSocket>();
    QAbstractSocket* socket = m_Socket.get();
    socket->connectToHost(QString::fromStdString(linkSettings.host), linkSettings.port);
    if (!socket->waitForConnected(kConnectMs)) {
        const std::string reason = socket->errorString().toStdString();
        m_Socket.reset();
        throw SerialPortError("Cannot reach " + linkSettings.host + ":" + std::to_string(linkSettings.port) + ": " +
                              reason);
    }
    QObject::connect(socket, &QIODevice::readyRead, socket, [this, socket] {
        // One event a datagram; the handler reads it (or a handler closed us).
        const QScopedValueRollback inHandler(m_InHandler, true);
        do {
            m_Raise(CommEvent::kReceive);
        } while (m_Udp && m_Socket.get() == socket && static_cast<QUdpSocket*>(socket)->hasPendingDatagrams());
    });
    if (!m_Udp)
        QObject::connect(socket, &QAbstractSocket::disconnected, socket, [this, socket] {
            QTimer::singleShot(0, socket, [this] {
                const QScopedValueRollback inHandler(m_InHandler, true);
                Close();
                m_Raise(CommEvent::kDeviceLost);
            });
        });
}

void SocketLine::Close()
{
    if (!m_Socket)
        return;
    m_Socket->disconnect();  // no events from a socket on its way out
    m_Socket->abort();
    // Only a socket one of whose own events is being handled must outlive
    // this call. Any other goes now: the command line's loop never runs the
    // deferred deletes posted outside an event, so each close kept a socket.
    if (m_InHandler)
        m_Socket.release()->deleteLater();
    else
        m_Socket.reset();
}

bool SocketLine::IsOpen() const { return m_Socket != nullptr; }

std::int16_t SocketLine::Waiting() const
{
    if (!m_Socket)
        return 0;
    const qint64 n =
        m_Udp ? static_cast<QUdpSocket*>(m_Socket.get())->pendingDatagramSize() : m_Socket->bytesAvailable();
    return static_cast<std::int16_t>(std::clamp<qint64>(n, 0, std::numeric_limits<std::int16_t>::max()));
}

std::vector<std::uint8_t> SocketLine::Read()
{
    if (!m_Socket)
        return {};
    const QByteArray data =
        m_Udp ? static_cast<QUdpSocket*>(m_Socket.get())->receiveDatagram().data() : m_Socket->readAll();
    return {data.begin(), data.end()};
}

void SocketLine::Write(const std::vector<std::uint8_t>& bytes)
{
    if (!m_Socket)
        throw SerialPortError("the connection to the gateway is closed");
    const auto size = static_cast<qint64>(bytes.size());
    if (m_Socket->write(reinterpret_cast<const char*>(bytes.data()), size) != size)
        throw SerialPortError("Cannot send to the gateway: " + m_Socket->errorString().toStdString());
    m_Socket->flush();
}
