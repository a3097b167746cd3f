#include "telnetcomport.h"

#include <QRegularExpression>
#include <QTest>

// The Telnet COM-PORT-OPTION codec, bytes in and bytes out: every byte value
// of the board's protocol through both ways, however TCP cuts the stream,
// and the negotiation with servers that take the option up or refuse it.
namespace {
QByteArray bytes(std::initializer_list<quint8> values) {
    return QByteArray(reinterpret_cast<const char*>(values.begin()), qsizetype(values.size()));
}

constexpr quint8 IAC = 255, DONT = 254, DO = 253, WONT = 252, WILL = 251, SB = 250, SE = 240;
constexpr quint8 COMPORT = 44;
using ComPort = TelnetComPort::ComPort;
using Segments = QList<QByteArray>;

// Client's settings at 19200 bit/s, 8-N-1, no flow control.
const QByteArray kSettings19200 =
    bytes({IAC, SB, COMPORT, 1, 0, 0, 0x4B, 0, IAC, SE}) +
    bytes({IAC, SB, COMPORT, 2, 8, IAC, SE}) + bytes({IAC, SB, COMPORT, 3, 1, IAC, SE}) +
    bytes({IAC, SB, COMPORT, 4, 1, IAC, SE}) + bytes({IAC, SB, COMPORT, 5, 1, IAC, SE});

const QRegularExpression kRefusalLog(QStringLiteral("refused the COM-PORT-OPTION"));
} // namespace

class TestTelnetComPort : public QObject {
    Q_OBJECT

private slots:
    void everyByteValueBothWays_data() {
        QTest::addColumn<int>("segmentSize");
        QTest::newRow("one segment") << 1024;
        QTest::newRow("a byte per segment: every doubled 0xFF split") << 1;
        QTest::newRow("three bytes per segment") << 3;
    }

    void everyByteValueBothWays() {
        QFETCH(int, segmentSize);
        QByteArray line;
        for (int value = 0; value < 256; ++value)
            line += static_cast<char>(value);
        line += bytes({IAC, IAC, 0x55, IAC}); // attention bytes back to back, and one last

        const QByteArray wire = TelnetComPort::encode(line);
        QCOMPARE(wire.size(), line.size() + line.count(static_cast<char>(IAC)));
        QCOMPARE(wire.right(9), bytes({IAC, IAC, IAC, IAC, IAC, IAC, 0x55, IAC, IAC}));
        for (const auto role : {TelnetComPort::Role::Client, TelnetComPort::Role::Server}) {
            TelnetComPort codec(role);
            QByteArray decoded;
            for (int i = 0; i < wire.size(); i += segmentSize)
                decoded += codec.decode(wire.mid(i, segmentSize));
            QCOMPARE(decoded, line);
            QVERIFY(codec.takeReplies().isEmpty());
        }
    }

    void serverNegotiation_data() {
        QTest::addColumn<Segments>("received");
        QTest::addColumn<QByteArray>("replies");
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<ComPort>("comPort");
        QTest::addColumn<bool>("settled");

        QTest::newRow("option taken up: the speed and 8-N-1 are set")
            << Segments{bytes({IAC, DO, COMPORT})} << kSettings19200 << QByteArray()
            << ComPort::Accepted << false;
        QTest::newRow("speed acknowledged, split across segments, data after it")
            << Segments{bytes({IAC, DO, COMPORT, IAC}), bytes({SB, COMPORT, 101, 0, 0, 0x4B}),
                        bytes({0, IAC}), bytes({SE, IAC}), bytes({IAC, 0x55})}
            << kSettings19200 << bytes({IAC, 0x55}) << ComPort::Accepted << true;
        QTest::newRow("command split inside its verb and option")
            << Segments{bytes({0x01, IAC}), bytes({DO}), bytes({COMPORT, 0x02})} << kSettings19200
            << bytes({0x01, 0x02}) << ComPort::Accepted << false;
        QTest::newRow("option refused (twice): raw bytes, still undoubled, said once")
            << Segments{bytes({IAC, DONT, COMPORT, 0x12, IAC, IAC}), bytes({IAC, DONT, COMPORT})}
            << bytes({IAC, WONT, COMPORT}) << bytes({0x12, IAC}) << ComPort::Refused << true;
        QTest::newRow("options we cannot do are refused once each")
            << Segments{bytes({IAC, WILL, 1, IAC, DO, 24, IAC, DONT, 24})}
            << bytes({IAC, DONT, 1, IAC, WONT, 24}) << QByteArray() << ComPort::Offered << false;
        QTest::newRow("binary both ways confirmed: nothing to answer")
            << Segments{bytes({IAC, DO, 0, IAC, WILL, 0, IAC, WILL, 3})} << QByteArray()
            << QByteArray() << ComPort::Offered << false;
        QTest::newRow("line state notices and no-operations carry nothing")
            << Segments{bytes({IAC, SB, COMPORT, 106, 0x60, IAC, SE, IAC, 241, 0x33})}
            << QByteArray() << bytes({0x33}) << ComPort::Offered << false;
    }

    void serverNegotiation() {
        QFETCH(Segments, received);
        QFETCH(QByteArray, replies);
        QFETCH(QByteArray, data);
        QFETCH(ComPort, comPort);
        QFETCH(bool, settled);

        TelnetComPort client(TelnetComPort::Role::Client, 19200);
        QCOMPARE(client.opening(), bytes({IAC, WILL, 0, IAC, DO, 0, IAC, WILL, 3, IAC, DO, 3}) +
                                       bytes({IAC, WILL, COMPORT}));
        if (comPort == ComPort::Refused)
            QTest::ignoreMessage(QtWarningMsg, kRefusalLog);
        QTest::failOnWarning(kRefusalLog); // a second time fails the test
        QByteArray decoded, answered;
        for (const QByteArray& segment : received) {
            decoded += client.decode(segment);
            answered += client.takeReplies();
        }
        QCOMPARE(answered, replies);
        QCOMPARE(decoded, data);
        QCOMPARE(client.comPort(), comPort);
        QCOMPARE(client.settled(), settled);
        QCOMPARE(client.purgeRemoteInput(), comPort == ComPort::Accepted
                                                ? bytes({IAC, SB, COMPORT, 12, 1, IAC, SE})
                                                : QByteArray());
    }

    // The simulated board's listener plays the server with the same codec:
    // the two settle between themselves, and a purge is granted.
    void clientAndServerAgree() {
        TelnetComPort client(TelnetComPort::Role::Client, 9600);
        TelnetComPort server(TelnetComPort::Role::Server);
        QByteArray toServer = client.opening(), toClient = server.opening();
        for (int round = 0; round < 10 && !(toServer.isEmpty() && toClient.isEmpty()); ++round) {
            QVERIFY(server.decode(toServer).isEmpty());
            QVERIFY(client.decode(toClient).isEmpty());
            toServer = client.takeReplies();
            toClient = server.takeReplies();
        }
        QVERIFY(toServer.isEmpty() && toClient.isEmpty());
        QVERIFY(client.settled());
        QCOMPARE(client.comPort(), ComPort::Accepted);
        QCOMPARE(server.comPort(), ComPort::Accepted);

        QVERIFY(server.decode(client.purgeRemoteInput()).isEmpty());
        QCOMPARE(server.takeReplies(), bytes({IAC, SB, COMPORT, 112, 1, IAC, SE}));
        const QByteArray line = bytes({IAC, 0x55, 0x01, IAC});
        QCOMPARE(server.decode(TelnetComPort::encode(line)), line);
        QCOMPARE(client.decode(TelnetComPort::encode(line)), line);
    }
};

QTEST_GUILESS_MAIN(TestTelnetComPort)
#include "tst_telnetcomport.moc"
