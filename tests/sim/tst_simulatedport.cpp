// The in-process port: what it records, how its waits spend (manual) time,
// and how it fails like a real port.
#include "boardsim.h"
#include "manualclock.h"
#include "simulatedport.h"

#include <QtTest>

namespace {
using Kind = SimulatedPort::WireEvent::Kind;

SimulatedPort::WireEvent ev(Kind kind, quint8 byte) {
    return {kind, byte, 0};
}
} // namespace

class TestSimulatedPort : public QObject {
    Q_OBJECT

private slots:
    void pacedLineTakesTheWireTime_data();
    void pacedLineTakesTheWireTime();
    void wireRecordsRepliesAfterTheirBytes();
    void discardIsRecordedWithWhatItDropped();
    void waitSpendsTheTimeoutOnlyWhenNothingCame_data();
    void waitSpendsTheTimeoutOnlyWhenNothingCame();
    void closedPortRefusesWrites();
    void unpluggedPortLosesTheDevice();
    void openFailureIsReportedOnce();
};

void TestSimulatedPort::wireRecordsRepliesAfterTheirBytes() {
    ManualClock clock;
    BoardSim board(clock);
    SimulatedPort port(board, clock);
    QVERIFY(port.open());
    QVERIFY(port.write(QByteArray::fromHex("FF0103F4")));
    const QVector<SimulatedPort::WireEvent> expected{ev(Kind::Sent, 0xFF), ev(Kind::Received, 0x55),
                                                     ev(Kind::Sent, 0x01), ev(Kind::Received, 0x55),
                                                     ev(Kind::Sent, 0x03), ev(Kind::Received, 0x03),
                                                     ev(Kind::Sent, 0xF4), ev(Kind::Received, 20)};
    QCOMPARE(port.wire(), expected);
    QCOMPARE(port.sentBytes(), QByteArray::fromHex("FF0103F4"));
    QCOMPARE(port.receivedBytes(), QByteArray::fromHex("55550314"));
    QCOMPARE(port.bytesWaiting(), 4);
    for (int b : {0x55, 0x55, 0x03, 20})
        QCOMPARE(port.readByte(), b);
    QCOMPARE(port.readByte(), -1);
    port.clearWire();
    QVERIFY(port.wire().isEmpty());
}

void TestSimulatedPort::discardIsRecordedWithWhatItDropped() {
    ManualClock clock;
    BoardSim board(clock);
    SimulatedPort port(board, clock);
    QVERIFY(port.open());
    QVERIFY(port.write(QByteArray::fromHex("FFFF")));
    port.discardInput();
    QCOMPARE(port.bytesWaiting(), 0);
    QVERIFY(port.write(QByteArray::fromHex("01")));
    port.discardInput();
    const QVector<SimulatedPort::WireEvent> expected{
        ev(Kind::Sent, 0xFF),     ev(Kind::Received, 0x55), ev(Kind::Sent, 0xFF),
        ev(Kind::Received, 0x55), ev(Kind::Discard, 2),     ev(Kind::Sent, 0x01),
        ev(Kind::Received, 0x55), ev(Kind::Discard, 1)};
    QCOMPARE(port.wire(), expected);
    QCOMPARE(port.discardCount(), 2);
}

void TestSimulatedPort::waitSpendsTheTimeoutOnlyWhenNothingCame_data() {
    QTest::addColumn<QByteArray>("sent");
    QTest::addColumn<int>("result");
    QTest::addColumn<int>("elapsedMs");

    QTest::newRow("reply queued: ready at once")
        << QByteArray::fromHex("FF") << int(SerialPort::WaitResult::Ready) << 0;
    QTest::newRow("no reply: the whole time-out passes")
        << QByteArray::fromHex("01") << int(SerialPort::WaitResult::TimedOut) << 1000;
}

void TestSimulatedPort::waitSpendsTheTimeoutOnlyWhenNothingCame() {
    QFETCH(QByteArray, sent);
    QFETCH(int, result);
    QFETCH(int, elapsedMs);
    ManualClock clock;
    BoardSim board(clock);
    SimulatedPort port(board, clock);
    QVERIFY(port.open());
    QVERIFY(port.write(sent));
    QCOMPARE(int(port.waitForBytes(1000)), result);
    QCOMPARE(clock.monotonicMs(), qint64(elapsedMs));
}

void TestSimulatedPort::closedPortRefusesWrites() {
    ManualClock clock;
    BoardSim board(clock);
    SimulatedPort port(board, clock);
    QVERIFY(!port.isOpen());
    QVERIFY(!port.write(QByteArray::fromHex("FF")));
    QVERIFY(port.wire().isEmpty());
    QVERIFY(port.open());
    QVERIFY(port.write(QByteArray::fromHex("FF")));
    port.close();
    QCOMPARE(port.bytesWaiting(), 0);
    QVERIFY(!port.write(QByteArray::fromHex("FF")));
}

void TestSimulatedPort::unpluggedPortLosesTheDevice() {
    ManualClock clock;
    BoardSim board(clock);
    SimulatedPort port(board, clock);
    QVERIFY(port.open());
    QVERIFY(port.write(QByteArray::fromHex("FF")));
    port.unplug();
    QVERIFY(port.isOpen()); // as a QSerialPort: open until closed
    QCOMPARE(port.waitForBytes(1000), SerialPort::WaitResult::Lost);
    QCOMPARE(clock.monotonicMs(), qint64(0));
    QVERIFY(!port.write(QByteArray::fromHex("FF")));
    QCOMPARE(port.sentBytes(), QByteArray::fromHex("FF"));
    port.close();
    QVERIFY(!port.open());
    QVERIFY(!port.failure().description.isEmpty());
    port.replug();
    QVERIFY(port.open());
    QVERIFY(port.write(QByteArray::fromHex("FF")));
    QCOMPARE(port.waitForBytes(1000), SerialPort::WaitResult::Ready);
}

void TestSimulatedPort::openFailureIsReportedOnce() {
    ManualClock clock;
    BoardSim board(clock);
    SimulatedPort port(board, clock);
    port.setOpenFailure({8005, QStringLiteral("MSComm"), QStringLiteral("Port already open")});
    QVERIFY(!port.open());
    QVERIFY(!port.isOpen());
    QCOMPARE(port.failure().number, 8005);
    QCOMPARE(port.failure().source, QStringLiteral("MSComm"));
    QCOMPARE(port.failure().description, QStringLiteral("Port already open"));
    QVERIFY(port.open());
    QCOMPARE(port.failure().number, 0);
}

// Paced, an attention byte and its answer cost 20 bits of line time; the
// link only sees the answer after waiting that long on the clock.
void TestSimulatedPort::pacedLineTakesTheWireTime_data() {
    QTest::addColumn<QString>("settings");
    QTest::addColumn<int>("exchanges");
    QTest::addColumn<qint64>("elapsedMs");
    QTest::newRow("one exchange at 9600") << "9600,n,8,1" << 1 << qint64(2);      // 2.08 ms
    QTest::newRow("48 exchanges at 9600") << "9600,n,8,1" << 48 << qint64(100);   // 100 ms
    QTest::newRow("96 exchanges at 19200") << "19200,n,8,1" << 96 << qint64(100); // 100 ms
}

void TestSimulatedPort::pacedLineTakesTheWireTime() {
    QFETCH(QString, settings);
    QFETCH(int, exchanges);
    QFETCH(qint64, elapsedMs);
    ManualClock clock;
    BoardSim board(clock);
    SimulatedPort port(board, clock);
    port.setPaced(true);
    port.setRecording(false);
    port.setSettings(settings);
    QVERIFY(port.open());
    for (int i = 0; i < exchanges; ++i) {
        QVERIFY(port.write(QByteArray(1, char(0xFF))));
        if (i == 0)
            QCOMPARE(port.bytesWaiting(), 0); // the answer is still on the wire
        QCOMPARE(port.waitForBytes(1000), SerialPort::WaitResult::Ready);
        QCOMPARE(port.readByte(), 0x55);
    }
    QCOMPARE(clock.monotonicMs(), elapsedMs);
    QVERIFY(port.wire().isEmpty());
}

QTEST_GUILESS_MAIN(TestSimulatedPort)
#include "tst_simulatedport.moc"
