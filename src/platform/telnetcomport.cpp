#include "telnetcomport.h"

#include "platformlog.h"

namespace {

constexpr quint8 kIac = 255;
constexpr quint8 kDont = 254;
constexpr quint8 kDo = 253;
constexpr quint8 kWont = 252;
constexpr quint8 kWill = 251;
constexpr quint8 kSb = 250;
constexpr quint8 kSe = 240;

constexpr quint8 kBinary = 0;
constexpr quint8 kSuppressGoAhead = 3;
constexpr quint8 kComPortOption = 44;

// COM-PORT-OPTION commands, client to server; the server answers each with
// the command plus 100.
constexpr quint8 kSetBaudRate = 1;
constexpr quint8 kSetDataSize = 2;
constexpr quint8 kSetParity = 3;
constexpr quint8 kSetStopSize = 4;
constexpr quint8 kSetControl = 5;
constexpr quint8 kPurgeData = 12;
constexpr quint8 kServerAnswer = 100;

constexpr quint8 kParityNone = 1;
constexpr quint8 kOneStopBit = 1;
constexpr quint8 kNoFlowControl = 1;
constexpr quint8 kPurgeServerReceiveBuffer = 1;

char byte(quint8 value) {
    return static_cast<char>(value);
}

QByteArray sequence(std::initializer_list<quint8> values) {
    QByteArray bytes;
    for (const quint8 value : values)
        bytes += byte(value);
    return bytes;
}

} // namespace

TelnetComPort::TelnetComPort(Role role, int baud) : m_role(role), m_baud(baud) {}

// Both ends offer binary transmission and no go-aheads each way; the client
// also offers the COM-PORT-OPTION, which the server takes up or refuses.
QByteArray TelnetComPort::opening() {
    QByteArray bytes;
    for (const quint8 option : {kBinary, kSuppressGoAhead}) {
        bytes += sequence({kIac, kWill, option});
        bytes += sequence({kIac, kDo, option});
        m_will[option] = true;
        m_do[option] = true;
    }
    if (m_role == Role::Client) {
        bytes += sequence({kIac, kWill, kComPortOption});
        m_will[kComPortOption] = true;
    }
    return bytes;
}

QByteArray TelnetComPort::decode(const QByteArray& received) {
    QByteArray data;
    for (const char c : received) {
        const quint8 b = static_cast<quint8>(c);
        switch (m_state) {
        case State::Data:
            if (b == kIac)
                m_state = State::Command;
            else
                data += c;
            break;
        case State::Command:
            m_state = State::Data;
            if (b == kIac) {
                data += c; // a doubled 0xFF is one data byte
            } else if (b == kSb) {
                m_sub.clear();
                m_state = State::SubNegotiation;
            } else if (b >= kWill) {
                m_verb = b;
                m_state = State::Option;
            } // any other command (NOP, go-ahead, ...) carries nothing for the line
            break;
        case State::Option:
            command(m_verb, b);
            m_state = State::Data;
            break;
        case State::SubNegotiation:
            if (b == kIac)
                m_state = State::SubNegotiationCommand;
            else
                m_sub += c;
            break;
        case State::SubNegotiationCommand:
            if (b == kIac) {
                m_sub += c;
                m_state = State::SubNegotiation;
            } else {
                // IAC SE ends it; anything else is a broken peer, which we
                // take as the end as well rather than swallow the line.
                subNegotiation();
                m_state = State::Data;
            }
            break;
        }
    }
    return data;
}

QByteArray TelnetComPort::takeReplies() {
    QByteArray replies;
    replies.swap(m_replies);
    return replies;
}

QByteArray TelnetComPort::encode(const QByteArray& data) {
    if (!data.contains(byte(kIac)))
        return data;
    QByteArray bytes;
    bytes.reserve(data.size() * 2);
    for (const char c : data) {
        bytes += c;
        if (static_cast<quint8>(c) == kIac)
            bytes += c;
    }
    return bytes;
}

QByteArray TelnetComPort::purgeRemoteInput() const {
    if (m_role != Role::Client || m_comPort != ComPort::Accepted)
        return QByteArray();
    return comPortRequest(kPurgeData, QByteArray(1, byte(kPurgeServerReceiveBuffer)));
}

bool TelnetComPort::settled() const {
    return m_role == Role::Server || m_comPort == ComPort::Refused || m_speedAcknowledged;
}

bool TelnetComPort::offersWill(quint8 option) const {
    return option == kBinary || option == kSuppressGoAhead ||
           (option == kComPortOption && m_role == Role::Client);
}

bool TelnetComPort::acceptsDo(quint8 option) const {
    return option == kBinary || option == kSuppressGoAhead ||
           (option == kComPortOption && m_role == Role::Server);
}

// Option negotiation as RFC 1143 keeps it loop-free: a request for a state
// the option is already in gets no answer; an option this end cannot do is
// refused once per request.
void TelnetComPort::command(quint8 verb, quint8 option) {
    switch (verb) {
    case kDo:
        if (!offersWill(option)) {
            reply(kWont, option);
        } else if (!m_will[option]) {
            m_will[option] = true;
            reply(kWill, option);
        }
        if (option == kComPortOption && m_role == Role::Client && m_comPort == ComPort::Offered) {
            m_comPort = ComPort::Accepted;
            QByteArray speed(4, '\0');
            for (int i = 0; i < 4; ++i)
                speed[i] = byte(static_cast<quint8>(m_baud >> (24 - 8 * i)));
            m_replies += comPortRequest(kSetBaudRate, speed);
            m_replies += comPortRequest(kSetDataSize, QByteArray(1, byte(8)));
            m_replies += comPortRequest(kSetParity, QByteArray(1, byte(kParityNone)));
            m_replies += comPortRequest(kSetStopSize, QByteArray(1, byte(kOneStopBit)));
            m_replies += comPortRequest(kSetControl, QByteArray(1, byte(kNoFlowControl)));
        }
        break;
    case kDont:
        if (m_will[option]) {
            m_will[option] = false;
            reply(kWont, option);
        }
        if (option == kComPortOption && m_role == Role::Client && m_comPort != ComPort::Refused) {
            m_comPort = ComPort::Refused;
            qCWarning(lcPlatform) << "the device server refused the COM-PORT-OPTION: its port "
                                     "keeps the speed and format it was set to, bytes go raw";
        }
        break;
    case kWill:
        if (!acceptsDo(option)) {
            reply(kDont, option);
        } else if (!m_do[option]) {
            m_do[option] = true;
            reply(kDo, option);
        }
        if (option == kComPortOption && m_role == Role::Server)
            m_comPort = ComPort::Accepted;
        break;
    case kWont:
        if (m_do[option]) {
            m_do[option] = false;
            reply(kDont, option);
        }
        break;
    }
}

// Client: the server's answers; only the speed's acknowledgement matters
// (it ends the opening), the line and modem state notices are ignored.
// Server: every request is granted and answered with its value.
void TelnetComPort::subNegotiation() {
    if (m_sub.size() < 2 || static_cast<quint8>(m_sub[0]) != kComPortOption)
        return;
    const quint8 request = static_cast<quint8>(m_sub[1]);
    if (m_role == Role::Client) {
        if (request == kServerAnswer + kSetBaudRate)
            m_speedAcknowledged = true;
    } else if (request < kServerAnswer) {
        m_replies += comPortRequest(request + kServerAnswer, m_sub.mid(2));
    }
}

void TelnetComPort::reply(quint8 verb, quint8 option) {
    m_replies += sequence({kIac, verb, option});
}

QByteArray TelnetComPort::comPortRequest(quint8 command, const QByteArray& value) const {
    return sequence({kIac, kSb, kComPortOption, command}) + encode(value) + sequence({kIac, kSe});
}
