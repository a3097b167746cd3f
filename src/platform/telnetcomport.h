#pragma once

#include <QByteArray>

#include <array>

// The Telnet side of a serial line reached through a device server: binary
// transmission both ways and the COM-PORT-OPTION, which sets the remote
// port's speed and line format and purges its buffers. A pure codec: bytes
// received go in, the line's bytes and the answers owed to the peer come
// out; nothing here touches a socket.
//
// 0xFF, the board's attention byte, is also Telnet's command byte (IAC):
// on the wire it travels doubled, both ways, and is undoubled here, so every
// byte value reaches the board and comes back unchanged. A command or an
// option's sub-negotiation may be split anywhere between two TCP segments;
// the decoder keeps its place between calls.
//
// The same codec plays either end: the client (the link) or the server (the
// simulated board's listener, standing in for a device server).
class TelnetComPort {
public:
    enum class Role { Client, Server };
    // The client's offer of the COM-PORT-OPTION and what the server made of it.
    enum class ComPort { Offered, Accepted, Refused };

    // `baud` is the speed the client sets on the remote port (8-N-1, no flow control).
    explicit TelnetComPort(Role role, int baud = 9600);

    // What this end sends first, right after the connection is made.
    QByteArray opening();
    // Takes bytes received from the peer; returns the line's data bytes in
    // them. Answers owed to the peer are queued for takeReplies().
    QByteArray decode(const QByteArray& received);
    // The negotiation answers queued by decode(), to be sent at once.
    QByteArray takeReplies();
    // The line's bytes as they travel: every 0xFF doubled.
    static QByteArray encode(const QByteArray& data);
    // Client: the request that the server drop what it has received from
    // the board and not yet sent on; empty when the server does not speak
    // the COM-PORT-OPTION.
    QByteArray purgeRemoteInput() const;

    ComPort comPort() const { return m_comPort; }
    // Client: the negotiation is over: the server refused the COM-PORT-OPTION,
    // or acknowledged the speed. Server: always.
    bool settled() const;

private:
    enum class State { Data, Command, Option, SubNegotiation, SubNegotiationCommand };

    void command(quint8 verb, quint8 option);
    void subNegotiation();
    bool offersWill(quint8 option) const;
    bool acceptsDo(quint8 option) const;
    void reply(quint8 verb, quint8 option);
    QByteArray comPortRequest(quint8 command, const QByteArray& value) const;

    Role m_role;
    int m_baud;
    State m_state = State::Data;
    quint8 m_verb = 0;
    QByteArray m_sub;
    QByteArray m_replies;
    // Which options are on for this end sending (WILL) and the peer sending (DO).
    std::array<bool, 256> m_will{};
    std::array<bool, 256> m_do{};
    ComPort m_comPort = ComPort::Offered;
    bool m_speedAcknowledged = false;
};
