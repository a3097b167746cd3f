// The DF1 bridge's status bytes as the bridge page shows them: every text of
// the short tables, and the edges and unknown codes of the link layer table.
#include "df1status.h"

#include <QTest>

class TestDF1Status : public QObject {
    Q_OBJECT

private slots:
    void configurationStatus_data();
    void configurationStatus();
    void transmitStatus_data();
    void transmitStatus();
    void activeCommandAndReceivedBit_data();
    void activeCommandAndReceivedBit();
    void linkLayerStatus_data();
    void linkLayerStatus();
};

void TestDF1Status::configurationStatus_data() {
    QTest::addColumn<int>("value");
    QTest::addColumn<QString>("text");
    QTest::newRow("1") << 1 << "(1) Busy";
    QTest::newRow("2") << 2 << "(2) Success";
    QTest::newRow("3") << 3 << "(3) Invalid Parameter";
    QTest::newRow("4") << 4 << "(4) Timeout - No Response";
    QTest::newRow("32") << 32 << "(32) Hardware ACK Error";
    QTest::newRow("34") << 34 << "(34) Invalid Slot ADD";
    QTest::newRow("other: 0") << 0 << "(0) Unknown Status";
    QTest::newRow("other: 7") << 7 << "(7) Unknown Status";
    QTest::newRow("other: 33") << 33 << "(33) Unknown Status";
}

void TestDF1Status::configurationStatus() {
    QFETCH(int, value);
    QFETCH(QString, text);
    QCOMPARE(configurationStatusText(value), text);
}

void TestDF1Status::transmitStatus_data() {
    QTest::addColumn<int>("value");
    QTest::addColumn<QString>("text");
    QTest::newRow("1") << 1 << "(1) Busy";
    QTest::newRow("2") << 2 << "(2) Done";
    QTest::newRow("3") << 3 << "(3) DLE NAK Received";
    QTest::newRow("4") << 4 << "(4) DLE ENQ Timeout";
    QTest::newRow("5") << 5 << "(5) No Response Timeout";
    QTest::newRow("6") << 6 << "(6) Message Packet Error";
    QTest::newRow("other: 0") << 0 << "(0) Unknown Status";
    QTest::newRow("other: 7") << 7 << "(7) Unknown Status";
    QTest::newRow("other: 255") << 255 << "(255) Unknown Status";
}

void TestDF1Status::transmitStatus() {
    QFETCH(int, value);
    QFETCH(QString, text);
    QCOMPARE(transmitStatusText(value), text);
}

void TestDF1Status::activeCommandAndReceivedBit_data() {
    QTest::addColumn<bool>("command"); // true: active command, false: received bit
    QTest::addColumn<int>("value");
    QTest::addColumn<QString>("text");
    QTest::newRow("active command 0") << true << 0 << "Read";
    QTest::newRow("active command 1") << true << 1 << "Write";
    QTest::newRow("active command other: 2") << true << 2 << "(2) Unknown";
    QTest::newRow("active command other: 200") << true << 200 << "(200) Unknown";
    QTest::newRow("received bit 0") << false << 0 << "Command";
    QTest::newRow("received bit 1") << false << 1 << "Reply";
}

void TestDF1Status::activeCommandAndReceivedBit() {
    QFETCH(bool, command);
    QFETCH(int, value);
    QFETCH(QString, text);
    QCOMPARE(command ? activeCommandText(value) : receivedBitText(value), text);
}

void TestDF1Status::linkLayerStatus_data() {
    QTest::addColumn<int>("sts");
    QTest::addColumn<int>("ext");
    QTest::addColumn<QString>("text");
    QTest::newRow("STS 01, two digits") << 0x01 << 0 << QStringLiteral("(01) Not Used");
    QTest::newRow("STS 05") << 0x05 << 0
                            << QStringLiteral(
                                   "(05) Application Layer Timed out waiting for a response");
    QTest::newRow("STS A0, letters") << 0xA0 << 0 << QStringLiteral("(A0) Not Used");
    QTest::newRow("STS E0, the last") << 0xE0 << 0 << QStringLiteral("(E0) Not Used");
    QTest::newRow("STS 09 unknown, no padding") << 0x09 << 0 << QStringLiteral("(9) - Not Used");
    QTest::newRow("STS 00 unknown") << 0x00 << 0 << QStringLiteral("(0) - Not Used");
    QTest::newRow("STS FF unknown") << 0xFF << 0 << QStringLiteral("(FF) - Not Used");
    QTest::newRow("STS 05 ignores EXT")
        << 0x05 << 0x1B
        << QStringLiteral("(05) Application Layer Timed out waiting for a response");
    QTest::newRow("STS F0, EXT 00") << 0xF0 << 0x00 << QStringLiteral("(F0-0) Not Used");
    QTest::newRow("STS F0, EXT 0C")
        << 0xF0 << 0x0C
        << QStringLiteral("(F0-C) Condition cannot be Generated - Resource is Not Available");
    QTest::newRow("STS F0, EXT 1B, the last")
        << 0xF0 << 0x1B << QStringLiteral("(F0-1B) Another Node is the Program Owner");
    QTest::newRow("STS F0, EXT 1C unknown") << 0xF0 << 0x1C << QStringLiteral("(F0-1C) - Not Used");
    QTest::newRow("STS F0, EXT FF unknown") << 0xF0 << 0xFF << QStringLiteral("(F0-FF) - Not Used");
}

void TestDF1Status::linkLayerStatus() {
    QFETCH(int, sts);
    QFETCH(int, ext);
    QFETCH(QString, text);
    QCOMPARE(linkLayerStatusText(sts, ext), text);
}

QTEST_GUILESS_MAIN(TestDF1Status)
#include "tst_df1status.moc"
