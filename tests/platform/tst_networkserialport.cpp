#include "qtserialport.h"

#include <QElapsedTimer>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>

#include <sys/socket.h>

// The link's port on a network endpoint, opened as vral and vralctl open it
// (an endpoint in place of a device), against a TCP server in this process
// that plays the device server: why an open fails, and a connection that
// goes away while the link waits.
namespace {
QString localEndpoint(const char* scheme, quint16 port) {
    return QStringLiteral("%1://127.0.0.1:%2").arg(QLatin1String(scheme)).arg(port);
}
} // namespace

class TestNetworkSerialPort : public QObject {
    Q_OBJECT

private slots:
    void openFailure_data() {
        QTest::addColumn<QString>("device");
        QTest::addColumn<int>("number");
        QTest::addColumn<QString>("what");
        QTest::addColumn<int>("minMs");

        QTcpServer closed; // its port is free again once the server is gone
        closed.listen(QHostAddress::LocalHost);
        QTest::newRow("nobody listening") << localEndpoint("tcp", closed.serverPort()) << 8100
                                          << "the connection was refused" << 0;
        QTest::newRow("host name not found")
            << "tcp://no-such-host.invalid:4001" << 8102 << "the host name was not found" << 0;
        QTest::newRow("no port number")
            << "rfc2217://127.0.0.1" << 8002
            << "is not a network port (no TCP port number 1 to 65535)" << 0;
        // Filled in with the silent server's port below.
        QTest::newRow("a server that never answers Telnet")
            << "rfc2217://SILENT" << 8105 << "no Telnet answer within 3 s (a raw TCP port?)"
            << 2900;
    }

    void openFailure() {
        QFETCH(QString, device);
        QFETCH(int, number);
        QFETCH(QString, what);
        QFETCH(int, minMs);
        QTcpServer silent; // accepts (the kernel does) but never says a word
        QVERIFY(silent.listen(QHostAddress::LocalHost));
        device.replace("rfc2217://SILENT", localEndpoint("rfc2217", silent.serverPort()));

        QtSerialPort port(device);
        QElapsedTimer timer;
        timer.start();
        QVERIFY(!port.open());
        QVERIFY2(timer.elapsed() >= minMs && timer.elapsed() < minMs + 1500,
                 qPrintable(QString::number(timer.elapsed())));
        QVERIFY(!port.isOpen());
        const SerialPort::Failure failure = port.failure();
        QCOMPARE(failure.number, number);
        QCOMPARE(failure.source, device);
        QVERIFY2(failure.description.contains(device), qPrintable(failure.description));
        QVERIFY2(failure.description.endsWith(what), qPrintable(failure.description));
    }

    void lostConnection_data() {
        QTest::addColumn<bool>("reset");
        QTest::newRow("server closes") << false;
        QTest::newRow("server resets") << true;
    }

    void lostConnection() {
        QFETCH(bool, reset);
        QTcpServer server;
        QVERIFY(server.listen(QHostAddress::LocalHost));
        QtSerialPort port(localEndpoint("tcp", server.serverPort()));
        QVERIFY(port.open());
        QVERIFY(server.waitForNewConnection(2000));
        QTcpSocket* board = server.nextPendingConnection();

        // A byte from the board is read as it came; a quiet line times out.
        board->write("\xFF");
        board->flush();
        QCOMPARE(port.waitForBytes(2000), SerialPort::WaitResult::Ready);
        QCOMPARE(port.readByte(), 0xFF);
        QElapsedTimer timer;
        timer.start();
        QCOMPARE(port.waitForBytes(100), SerialPort::WaitResult::TimedOut);
        QVERIFY(timer.elapsed() >= 90);

        if (reset) { // close with a reset, as a device server's reboot does
            const linger hard{1, 0};
            ::setsockopt(int(board->socketDescriptor()), SOL_SOCKET, SO_LINGER, &hard, sizeof hard);
            board->abort();
        } else {
            board->disconnectFromHost();
        }
        timer.restart();
        QCOMPARE(port.waitForBytes(3000), SerialPort::WaitResult::Lost);
        QVERIFY2(timer.elapsed() < 500, qPrintable(QString::number(timer.elapsed())));
        QVERIFY(!port.write(QByteArray(1, '\xFF')));
        // Open until the link closes it, as a vanished serial device is.
        QVERIFY(port.isOpen());
        port.close();
        QVERIFY(!port.isOpen());
    }
};

QTEST_GUILESS_MAIN(TestNetworkSerialPort)
#include "tst_networkserialport.moc"
