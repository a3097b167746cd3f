#pragma once

#include "serialport.h"
#include "telnetcomport.h"

#include <QTcpSocket>

#include <optional>

// The board's serial line reached through a device server on the network
// (tcp://HOST:PORT raw, rfc2217://HOST:PORT Telnet with the COM-PORT-OPTION).
// The board sees the same bytes as on a local port; only where they travel
// changes.
//
// Every byte of the protocol is echoed, so each exchange waits for one round
// trip: Nagle's delay is switched off, bytes are written as they come, and
// the waits block in the socket (no CPU while the board is silent). A
// connection that the server closes or resets is a vanished device: the
// port stays open until the link closes it (as a pulled USB adapter's
// does), while waits report Lost at once and writes fail, so the link
// takes its lost-line path whether or not the event loop saw the close first.
class NetworkSerialPort : public SerialPort {
public:
    // How long opening may take, name look-up, connection and Telnet
    // negotiation together.
    static constexpr int kOpenTimeoutMs = 3000;

    void setEndpoint(const QString& text) { m_endpointText = text; }
    QString endpoint() const { return m_endpointText; }

    void setPortNumber(int number) override { m_portNumber = number; }
    int portNumber() const override { return m_portNumber; }
    // The speed of the text is set on the remote port (RFC 2217 only).
    void setSettings(const QString& settings) override { m_settings = settings; }
    QString settings() const override { return m_settings; }
    QString deviceFor(int) const override { return m_endpointText; }

    bool open() override;
    void close() override;
    bool isOpen() const override { return m_open; }
    Failure failure() const override { return m_failure; }

    bool write(const QByteArray& bytes) override;
    int bytesWaiting() override;
    int readByte() override;
    // Ours, and with RFC 2217 the server's receive buffer as well.
    void discardInput() override;
    WaitResult waitForBytes(int timeoutMs) override;

private:
    bool connected() const;
    bool negotiate(int timeoutMs);
    bool send(const QByteArray& bytes);
    void takeReceived();
    void refuse(int number, const QString& what);

    QTcpSocket m_socket;
    std::optional<TelnetComPort> m_telnet;
    QString m_endpointText;
    QByteArray m_input; // line bytes received, not yet read
    int m_portNumber = 1;
    QString m_settings = QStringLiteral("9600,n,8,1");
    Failure m_failure;
    bool m_open = false;
};
