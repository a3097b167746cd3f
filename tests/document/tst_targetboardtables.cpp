#include "targetboardtables.h"

#include <QTest>

class TestTargetBoardTables : public QObject {
    Q_OBJECT

private slots:
    void faultCodeText_data();
    void faultCodeText();
    void correctiveActionText_data();
    void correctiveActionText();
    void boardCodeFeatures_data();
    void boardCodeFeatures();
};

void TestTargetBoardTables::faultCodeText_data() {
    QTest::addColumn<int>("value");
    QTest::addColumn<bool>("failed");
    QTest::addColumn<QString>("code");
    QTest::newRow("zero") << 0 << false << "00";
    QTest::newRow("single digit padded") << 0x0A << false << "0A";
    QTest::newRow("upper case") << 0xAB << false << "AB";
    QTest::newRow("failed read is the cable code") << 0x10 << true << "42";
}

void TestTargetBoardTables::faultCodeText() {
    QFETCH(int, value);
    QFETCH(bool, failed);
    QFETCH(QString, code);
    QCOMPARE(targetFaultCodeText(value, failed), code);
}

void TestTargetBoardTables::correctiveActionText_data() {
    const QString coCpu = QStringLiteral(
        "Replace CO-CPU board at \"CO-CPU Slot\" and try again.  If fault persists, peplace "
        "R6112 processor board and try again.  If fault persists, verify proper use of "
        "\"sfunc05/06/12\" in user program.");
    const QString cable = QStringLiteral(
        "Verify connection of cable between computer \"COM\" port and target board \"PROG "
        "PORT\".  Verify cable wiring and connectors.  If fault persists, replace target board "
        "and/or try a different computer.");
    const QString sfunc09 = QStringLiteral(
        "User program executed an sfunc09() system fault function call.  See User program for "
        "details on source of fault and corrective action.");
    const QString invalid = QStringLiteral(
        "Program is invalid.  Re-dump program to target board.  If fault persists, verify cable "
        "connections between computer and target board.  If fault persists, replace target "
        "board.");
    const QString reset = QStringLiteral(
        "Reset fault and try again.  If fault persists, replace target board and try again.  "
        "See Wendax Manual for more details.");
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("action");
    QTest::newRow("00 none") << 0x00 << "None";
    QTest::newRow("01 first co-cpu") << 0x01 << coCpu;
    QTest::newRow("0A co-cpu") << 0x0A << coCpu;
    QTest::newRow("3F last co-cpu") << 0x3F << coCpu;
    QTest::newRow("40 first reset") << 0x40 << reset;
    QTest::newRow("41 reset") << 0x41 << reset;
    QTest::newRow("42 cable") << 0x42 << cable;
    QTest::newRow("43 reset") << 0x43 << reset;
    QTest::newRow("45 sfunc09") << 0x45 << sfunc09;
    QTest::newRow("5B reset") << 0x5B << reset;
    QTest::newRow("5C invalid") << 0x5C << invalid;
    QTest::newRow("5D invalid") << 0x5D << invalid;
    QTest::newRow("5E reset") << 0x5E << reset;
    QTest::newRow("7A last reset") << 0x7A << reset;
    QTest::newRow("7B none") << 0x7B << "None";
    QTest::newRow("FF none") << 0xFF << "None";
}

void TestTargetBoardTables::correctiveActionText() {
    QFETCH(int, code);
    QFETCH(QString, action);
    QCOMPARE(correctiveAction(code), action);
}

void TestTargetBoardTables::boardCodeFeatures_data() {
    QTest::addColumn<int>("boardCode");
    QTest::addColumn<bool>("second");
    QTest::addColumn<bool>("clock");
    QTest::addColumn<bool>("slot");
    QTest::newRow("2 co-cpu slot") << int('2') << false << false << true;
    QTest::newRow("6 clock") << int('6') << false << true << false;
    QTest::newRow("A both addresses and clock") << int('A') << true << true << false;
    QTest::newRow("a lower case is another code") << int('a') << false << false << false;
    QTest::newRow("D other") << int('D') << false << false << false;
    QTest::newRow("0 first use") << 0 << false << false << false;
}

void TestTargetBoardTables::boardCodeFeatures() {
    QFETCH(int, boardCode);
    QFETCH(bool, second);
    QFETCH(bool, clock);
    QFETCH(bool, slot);
    const TargetBoardFeatures features = targetBoardFeaturesOf(boardCode);
    QCOMPARE(features.secondNetworkAddress, second);
    QCOMPARE(features.realTimeClock, clock);
    QCOMPARE(features.coCpuSlot, slot);
}

QTEST_APPLESS_MAIN(TestTargetBoardTables)
#include "tst_targetboardtables.moc"
