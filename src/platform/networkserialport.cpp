#include "networkserialport.h"

#include "networkendpoint.h"

#include <QDeadlineTimer>

namespace {

constexpr int kWriteTimeoutMs = 1000;
constexpr int kCloseTimeoutMs = 500;
// The number the "Comm Port Error" box gives a network failure: this base
// plus Qt's socket error (refused 0, host not found 2, time-out 5, network 7).
constexpr int kSocketFailureBase = 8100;
constexpr int kBadEndpoint = 8002; // as an invalid port number

QString whatFailed(const QTcpSocket& socket) {
    switch (socket.error()) {
    case QAbstractSocket::ConnectionRefusedError:
        return QStringLiteral("the connection was refused");
    case QAbstractSocket::HostNotFoundError:
        return QStringLiteral("the host name was not found");
    case QAbstractSocket::SocketTimeoutError:
        return QStringLiteral("no connection within %1 s")
            .arg(NetworkSerialPort::kOpenTimeoutMs / 1000);
    case QAbstractSocket::NetworkError:
        return QStringLiteral("no route to the host (%1)").arg(socket.errorString());
    default:
        return socket.errorString();
    }
}

} // namespace

bool NetworkSerialPort::open() {
    m_failure = Failure();
    close();
    QString error;
    const std::optional<NetworkEndpoint> endpoint = NetworkEndpoint::parse(m_endpointText, &error);
    if (!endpoint) {
        m_failure = {kBadEndpoint, m_endpointText, error};
        return false;
    }
    const QDeadlineTimer deadline(kOpenTimeoutMs);
    m_socket.connectToHost(endpoint->host, endpoint->port);
    if (!m_socket.waitForConnected(kOpenTimeoutMs)) {
        refuse(kSocketFailureBase + static_cast<int>(m_socket.error()), whatFailed(m_socket));
        return false;
    }
    m_socket.setSocketOption(QAbstractSocket::LowDelayOption, 1);
    if (endpoint->kind == NetworkEndpoint::Kind::Rfc2217) {
        m_telnet.emplace(TelnetComPort::Role::Client,
                         m_settings.section(QLatin1Char(','), 0, 0).toInt());
        if (!negotiate(static_cast<int>(deadline.remainingTime())))
            return false;
    }
    m_open = true;
    return true;
}

// Sends the Telnet offers and waits until the server has taken up or refused
// the COM-PORT-OPTION and, if it took it up, acknowledged the speed.
bool NetworkSerialPort::negotiate(int timeoutMs) {
    const QDeadlineTimer deadline(timeoutMs);
    if (!send(m_telnet->opening())) {
        refuse(kSocketFailureBase + static_cast<int>(m_socket.error()), whatFailed(m_socket));
        return false;
    }
    while (!m_telnet->settled()) {
        if (!m_socket.waitForReadyRead(static_cast<int>(deadline.remainingTime()))) {
            if (m_socket.state() == QAbstractSocket::ConnectedState)
                refuse(kSocketFailureBase + QAbstractSocket::SocketTimeoutError,
                       QStringLiteral("no Telnet answer within %1 s (a raw TCP port?)")
                           .arg(kOpenTimeoutMs / 1000));
            else
                refuse(kSocketFailureBase + static_cast<int>(m_socket.error()),
                       QStringLiteral("the server closed the connection while opening"));
            return false;
        }
        takeReceived();
    }
    return true;
}

void NetworkSerialPort::refuse(int number, const QString& what) {
    m_failure = {number, m_endpointText,
                 QStringLiteral("Cannot open %1: %2").arg(m_endpointText, what)};
    m_socket.abort();
    m_telnet.reset();
}

void NetworkSerialPort::close() {
    if (m_socket.state() != QAbstractSocket::UnconnectedState) {
        m_socket.disconnectFromHost();
        if (m_socket.state() != QAbstractSocket::UnconnectedState)
            m_socket.waitForDisconnected(kCloseTimeoutMs);
        m_socket.abort();
    }
    m_telnet.reset();
    m_input.clear();
    m_open = false;
}

bool NetworkSerialPort::connected() const {
    return m_socket.state() == QAbstractSocket::ConnectedState;
}

bool NetworkSerialPort::write(const QByteArray& bytes) {
    return send(m_telnet ? TelnetComPort::encode(bytes) : bytes);
}

bool NetworkSerialPort::send(const QByteArray& bytes) {
    if (!connected() || m_socket.write(bytes) != bytes.size())
        return false;
    m_socket.flush();
    return m_socket.bytesToWrite() == 0 || m_socket.waitForBytesWritten(kWriteTimeoutMs);
}

// Moves what the socket has received into the line's input, answering any
// Telnet negotiation on the way.
void NetworkSerialPort::takeReceived() {
    if (m_socket.bytesAvailable() <= 0)
        return;
    const QByteArray received = m_socket.readAll();
    if (!m_telnet) {
        m_input += received;
        return;
    }
    m_input += m_telnet->decode(received);
    const QByteArray replies = m_telnet->takeReplies();
    if (!replies.isEmpty())
        send(replies);
}

int NetworkSerialPort::bytesWaiting() {
    takeReceived();
    return static_cast<int>(m_input.size());
}

int NetworkSerialPort::readByte() {
    takeReceived();
    if (m_input.isEmpty())
        return -1;
    const int byte = static_cast<quint8>(m_input.front());
    m_input.remove(0, 1);
    return byte;
}

void NetworkSerialPort::discardInput() {
    takeReceived();
    m_input.clear();
    if (m_telnet) {
        const QByteArray purge = m_telnet->purgeRemoteInput();
        if (!purge.isEmpty())
            send(purge);
    }
}

SerialPort::WaitResult NetworkSerialPort::waitForBytes(int timeoutMs) {
    const QDeadlineTimer deadline(timeoutMs);
    for (;;) {
        takeReceived();
        if (!m_input.isEmpty())
            return WaitResult::Ready;
        if (!connected())
            return WaitResult::Lost;
        // Telnet negotiation alone is no data: wait on for the rest of the time.
        if (!m_socket.waitForReadyRead(static_cast<int>(deadline.remainingTime()))) {
            takeReceived(); // what came just before the server closed
            if (!m_input.isEmpty())
                return WaitResult::Ready;
            return connected() ? WaitResult::TimedOut : WaitResult::Lost;
        }
    }
}
