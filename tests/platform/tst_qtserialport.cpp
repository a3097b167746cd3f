#include "portpath.h"
#include "qtserialport.h"

#include <QElapsedTimer>
#include <QTest>

#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

// The real serial port class on a pseudo-terminal: the program's end is the
// slave, the test plays the board on the master.
class TestQtSerialPort : public QObject {
    Q_OBJECT

private slots:
    void devicePaths_data();
    void devicePaths();
    void overrideOpensEveryNumber();
    void openFailure();
    void bytesBothWays();
    void waitTimesOut();
    void vanishedDeviceIsLost();

private:
    bool openMaster();
    void closeMaster();

    int m_master = -1;
    QString m_slave;
};

bool TestQtSerialPort::openMaster() {
    m_master = posix_openpt(O_RDWR | O_NOCTTY);
    if (m_master < 0 || grantpt(m_master) != 0 || unlockpt(m_master) != 0)
        return false;
    m_slave = QString::fromLocal8Bit(ptsname(m_master));
    return true;
}

void TestQtSerialPort::closeMaster() {
    if (m_master >= 0)
        ::close(m_master);
    m_master = -1;
}

void TestQtSerialPort::devicePaths_data() {
    QTest::addColumn<int>("number");
    QTest::addColumn<QString>("device");
    QTest::newRow("0 is no port") << 0 << QString();
    QTest::newRow("1") << 1 << "/dev/ttyS0";
    QTest::newRow("32") << 32 << "/dev/ttyS31";
    QTest::newRow("33") << 33 << "/dev/ttyUSB0";
    QTest::newRow("66") << 66 << "/dev/ttyUSB33";
    QTest::newRow("67") << 67 << "/dev/ttyACM0";
    QTest::newRow("99") << 99 << "/dev/ttyACM32";
    QTest::newRow("100 is no port") << 100 << QString();
}

void TestQtSerialPort::devicePaths() {
    QFETCH(int, number);
    QFETCH(QString, device);
    QCOMPARE(portDevicePath(number), device);
    QCOMPARE(QtSerialPort().deviceFor(number), device);
}

void TestQtSerialPort::overrideOpensEveryNumber() {
    QtSerialPort port(QStringLiteral("/tmp/board"));
    port.setPortNumber(57);
    QCOMPARE(port.devicePath(), QStringLiteral("/tmp/board"));
    QCOMPARE(port.deviceFor(3), QStringLiteral("/tmp/board"));
}

void TestQtSerialPort::openFailure() {
    QtSerialPort port(QStringLiteral("/dev/no-such-board-device"));
    QVERIFY(!port.open());
    QVERIFY(!port.isOpen());
    QCOMPARE(port.failure().number, 8002);
    QCOMPARE(port.failure().source, QStringLiteral("/dev/no-such-board-device"));
    QVERIFY(!port.failure().description.isEmpty());
    QVERIFY(!port.write("x"));
}

void TestQtSerialPort::bytesBothWays() {
    QVERIFY(openMaster());
    QtSerialPort port(m_slave);
    port.setSettings(QStringLiteral("19200,n,8,1"));
    QVERIFY2(port.open(), qPrintable(port.failure().description));

    QVERIFY(port.write(QByteArray("\xFF", 1)));
    char got = 0;
    QCOMPARE(::read(m_master, &got, 1), ssize_t(1));
    QCOMPARE(quint8(got), quint8(0xFF));

    QCOMPARE(::write(m_master, "\x55\x01", 2), ssize_t(2));
    QCOMPARE(port.waitForBytes(2000), SerialPort::WaitResult::Ready);
    QTRY_COMPARE(port.bytesWaiting(), 2);
    QCOMPARE(port.readByte(), 0x55);
    QCOMPARE(port.readByte(), 0x01);
    QCOMPARE(port.readByte(), -1);

    QCOMPARE(::write(m_master, "\x07", 1), ssize_t(1));
    QCOMPARE(port.waitForBytes(2000), SerialPort::WaitResult::Ready);
    port.discardInput();
    QCOMPARE(port.bytesWaiting(), 0);
    port.close();
    closeMaster();
}

void TestQtSerialPort::waitTimesOut() {
    QVERIFY(openMaster());
    QtSerialPort port(m_slave);
    QVERIFY(port.open());
    QElapsedTimer timer;
    timer.start();
    QCOMPARE(port.waitForBytes(100), SerialPort::WaitResult::TimedOut);
    QVERIFY(timer.elapsed() >= 90);
    port.close();
    closeMaster();
}

void TestQtSerialPort::vanishedDeviceIsLost() {
    QVERIFY(openMaster());
    QtSerialPort port(m_slave);
    QVERIFY(port.open());
    closeMaster(); // the device goes away under an open port
    QElapsedTimer timer;
    timer.start();
    QCOMPARE(port.waitForBytes(2000), SerialPort::WaitResult::Lost);
    QVERIFY2(timer.elapsed() < 1000, "a vanished device must end the wait early");
    port.close();
}

QTEST_GUILESS_MAIN(TestQtSerialPort)
#include "tst_qtserialport.moc"
