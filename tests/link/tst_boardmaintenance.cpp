#include "boardmaintenance.h"
#include "linkrig.h"

// Reset Faults and Set to Current Time/Date as they reach the board.
class TestBoardMaintenance : public QObject {
    Q_OBJECT

private slots:
    void resetClearsFaultsInOrder();
    void offlineSendsNothing();
    void timeAndDateFromComputerClock();
    void blowoffWithoutAPage();
};

namespace {
// Index of an address's two bytes (high, low) in the sent bytes, or -1.
qsizetype addressAt(const QByteArray& sent, int address) {
    return sent.indexOf(bytes({address >> 8, address & 0xFF}));
}
} // namespace

void TestBoardMaintenance::resetClearsFaultsInOrder() {
    LinkRig rig;
    QVERIFY(rig.goOnline());
    for (int address = 8176; address <= 8179; ++address)
        rig.board.setMemory(address, 0x30);
    QVERIFY(resetBoardFaults(rig.link));
    for (int address = 8176; address <= 8179; ++address)
        QCOMPARE(rig.board.memory(address), 0);
    const QByteArray sent = rig.port.sentBytes();
    const qsizetype at8178 = addressAt(sent, 8178), at8179 = addressAt(sent, 8179),
                    at8177 = addressAt(sent, 8177), at8176 = addressAt(sent, 8176);
    QVERIFY(at8178 >= 0);
    QVERIFY(at8178 < at8179);
    QVERIFY(at8179 < at8177);
    QVERIFY(at8177 < at8176);
}

void TestBoardMaintenance::offlineSendsNothing() {
    LinkRig rig;
    QVERIFY(rig.goOnline());
    rig.link.OnlineMode = false;
    QVERIFY(resetBoardFaults(rig.link));
    QVERIFY(setBoardTime(rig.link, rig.clock));
    QVERIFY(rig.port.sentBytes().isEmpty());
}

void TestBoardMaintenance::timeAndDateFromComputerClock() {
    LinkRig rig;
    QVERIFY(rig.goOnline());
    rig.clock.advance((13 * 60 + 5) * 1000); // 08:13:05 on 7 December 2026
    QVERIFY(setBoardTime(rig.link, rig.clock));
    QVERIFY(setBoardDate(rig.link, rig.clock));
    QCOMPARE(rig.board.memory(43012), 8);
    QCOMPARE(rig.board.memory(43010), 13);
    QVERIFY(rig.board.memory(43008) >= 5); // the clock runs on during the writes
    QCOMPARE(rig.board.memory(43016), 12);
    QCOMPARE(rig.board.memory(43015), 7);
    QCOMPARE(rig.board.memory(43017), 26);
}

// The page buttons are covered with their pages; here the requests as vralctl
// would send them, and the answer after a latched link failure.
void TestBoardMaintenance::blowoffWithoutAPage() {
    LinkRig rig;
    QVERIFY(rig.goOnline());
    QVERIFY(requestBlowoff(rig.link, kMandrelSelection));
    QVERIFY(requestBadCanTest(rig.link));
    QCOMPARE(rig.board.memory(2088), kMandrelSelection);
    QVERIFY(rig.board.memoryMap().bit(135, 1)); // F825
    QVERIFY(rig.board.memoryMap().bit(44, 6));  // F102
    QVERIFY(rig.board.memoryMap().bit(135, 6)); // F830

    rig.port.clearWire();
    rig.link.CommError = true;
    QVERIFY(!requestBlowoff(rig.link, 3));
    QVERIFY(!requestBadCanTest(rig.link));
    QVERIFY(rig.port.sentBytes().isEmpty());
}

QTEST_GUILESS_MAIN(TestBoardMaintenance)
#include "tst_boardmaintenance.moc"
