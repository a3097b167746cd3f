#include "linkrig.h"
#include "portmap.h"
#include "qtserialport.h"

#include <QTemporaryDir>
#include <QTest>

// The port map: which lines it takes, which it refuses (naming the file and
// the line).
class TestPortMap : public QObject {
    Q_OBJECT

private slots:
    // Port 0 asks for the whole map's refusal instead of a port's endpoint.
    void reads_data() {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<int>("port");
        QTest::addColumn<QString>("expected");

        QTest::newRow("comments, blank lines, CR LF and spaces")
            << QByteArray("# hall 2\r\n\r\n  3 = rfc2217://ser2net.hall2:4003   # decorator 3\r\n"
                          "99=tcp://[fe80::1]:4001\n1 =tcp://10.0.0.5:1")
            << 3 << "rfc2217://ser2net.hall2:4003";
        QTest::newRow("last of the range")
            << QByteArray("99=tcp://[fe80::1]:4001") << 99 << "tcp://[fe80::1]:4001";
        QTest::newRow("a number not in the map") << QByteArray("3 = tcp://a:1") << 4 << QString();
        QTest::newRow("no equals sign") << QByteArray("# ok\n3 tcp://a:1\n") << 0
                                        << "PortMap.cfg, line 2: not NUMBER = ENDPOINT";
        QTest::newRow("number 0") << QByteArray("0 = tcp://a:1") << 0
                                  << "PortMap.cfg, line 1: port number 0 is not between 1 and 99";
        QTest::newRow("number 100")
            << QByteArray("1 = tcp://a:1\n100 = tcp://a:2") << 0
            << "PortMap.cfg, line 2: port number 100 is not between 1 and 99";
        QTest::newRow("a number twice") << QByteArray("5 = tcp://a:1\n\n5 = tcp://b:1") << 0
                                        << "PortMap.cfg, line 3: port 5 is mapped twice";
        QTest::newRow("a device path") << QByteArray("5 = /dev/ttyS4") << 0
                                       << "PortMap.cfg, line 1: /dev/ttyS4 is not a network port "
                                          "(it must start with tcp:// or rfc2217://)";
        QTest::newRow("no TCP port") << QByteArray("5 = tcp://a") << 0
                                     << "PortMap.cfg, line 1: tcp://a is not a network port (no "
                                        "TCP port number 1 to 65535)";
        QTest::newRow("two endpoints") << QByteArray("5 = tcp://a:1 tcp://b:1") << 0
                                       << "PortMap.cfg, line 1: not NUMBER = ENDPOINT";
    }

    void reads() {
        QFETCH(QByteArray, text);
        QFETCH(int, port);
        QFETCH(QString, expected);
        const PortMap::ReadResult read = PortMap::parse(text, QStringLiteral("PortMap.cfg"));
        QCOMPARE(read.error, port == 0 ? expected : QString());
        if (read.ok())
            QCOMPARE(read.map.endpointFor(port), expected);
        else
            QCOMPARE(read.map.size(), 0);
    }

    // A refused map keeps every port closed and says why in the "Comm Port Error" box.
    void refusedMapOpensNothing() {
        QTemporaryDir home;
        const QString map = home.filePath(QStringLiteral("PortMap.cfg"));
        writeFile(map, "4 = tcp://127.0.0.1:1\n4 = tcp://127.0.0.1:2\n");
        QtSerialPort port;
        port.setPortMapFile(map);
        port.setPortNumber(5);
        QVERIFY(!port.open());
        QCOMPARE(port.failure().source, map);
        QCOMPARE(port.failure().description, map + ", line 2: port 4 is mapped twice");
    }
};

QTEST_GUILESS_MAIN(TestPortMap)
#include "tst_portmap.moc"
