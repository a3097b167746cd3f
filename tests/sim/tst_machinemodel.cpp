// The running-machine model as the board memory shows it, driven by a
// manual clock.
#include "boardsim.h"
#include "manualclock.h"

#include <QtTest>

namespace {
constexpr int kGoodCans = 1100;
constexpr int kBlowoffs = 1104;
constexpr int kBadCans = 1108;
constexpr int kQcBlowoffs = 1120;

QByteArray bytesAt(const BoardSim& board, int address, int count) {
    return board.memoryImage().mid(address, count);
}
} // namespace

class TestMachineModel : public QObject {
    Q_OBJECT

private slots:
    void stoppedMachineLeavesMemoryAlone();
    void runningMachineCountsCans();
    void counterCarriesIntoTenThousands_data();
    void counterCarriesIntoTenThousands();
    void resolverTurnsAndChannelsFollow();
    void testRequestsBlowOffOneCan();
    void alarms_data();
    void alarms();
    void stoppingZeroesTheSpeed();
};

void TestMachineModel::stoppedMachineLeavesMemoryAlone() {
    ManualClock clock;
    BoardSim board(clock);
    const QByteArray before = board.memoryImage();
    clock.advance(60000);
    board.runMachine();
    QVERIFY(board.memoryImage() == before);
}

void TestMachineModel::runningMachineCountsCans() {
    ManualClock clock;
    BoardSim board(clock);
    board.setMachineRunning(true);
    clock.advance(60000); // 600 cans at 600 CPM, one in 500 blown off
    board.runMachine();
    QCOMPARE(board.memoryMap().doubleWord(kGoodCans), qint64(599));
    QCOMPARE(board.memoryMap().doubleWord(kBlowoffs), qint64(1));
    QCOMPARE(board.memoryMap().doubleWord(kBadCans), qint64(1));
    QCOMPARE(board.memoryMap().word(182), 300); // the display doubles it
    QCOMPARE(board.memoryMap().word(184), 200); // ms per resolver turn
    QCOMPARE(int(board.memory(34) & 1), 1);     // IN0: machine running
    // Time split into small steps counts the same cans.
    for (int i = 0; i < 600; ++i) {
        clock.advance(100);
        board.runMachine();
    }
    QCOMPARE(board.memoryMap().doubleWord(kGoodCans) + board.memoryMap().doubleWord(kBlowoffs),
             qint64(1200));
}

void TestMachineModel::counterCarriesIntoTenThousands_data() {
    QTest::addColumn<qint64>("start");
    QTest::addColumn<QByteArray>("bytes"); // D1100 after ten more good cans

    QTest::newRow("9990 + 10 = 10000: 00 00 01 00")
        << qint64(9990) << QByteArray::fromHex("00000100");
    QTest::newRow("19989 + 10 = 19999: 0F 27 01 00")
        << qint64(19989) << QByteArray::fromHex("0F270100");
    QTest::newRow("top of range wraps to 9")
        << qint64(655359999) << QByteArray::fromHex("09000000");
}

void TestMachineModel::counterCarriesIntoTenThousands() {
    QFETCH(qint64, start);
    QFETCH(QByteArray, bytes);
    ManualClock clock;
    BoardSim board(clock);
    board.memoryMap().setDoubleWord(kGoodCans, start);
    board.setMachineRunning(true);
    clock.advance(1000); // ten cans, none bad
    board.runMachine();
    QCOMPARE(bytesAt(board, kGoodCans, 4).toHex(' '), bytes.toHex(' '));
}

void TestMachineModel::resolverTurnsAndChannelsFollow() {
    ManualClock clock;
    BoardSim board(clock);
    board.setMachineRunning(true);
    clock.advance(100); // 300 RPM x 360 counts = 1.8 counts per ms
    board.runMachine();
    QCOMPARE(board.memoryMap().word(180), 180);
    QCOMPARE(board.pls().position(), 180);
    // Default set-up at 180: channels 2 (180-0), 3 (120-230), 4 (80-220),
    // 5 (155-195) and 6 (160-200) are on; 8 (0-180) has just gone off.
    QCOMPARE(board.memoryMap().word(170), 0x7C);
    QCOMPARE(board.memoryMap().word(186), 360);
    clock.advance(200); // one full turn: back at 180
    board.runMachine();
    QCOMPARE(board.memoryMap().word(180), 180);
}

void TestMachineModel::testRequestsBlowOffOneCan() {
    ManualClock clock;
    BoardSim board(clock);
    board.setMachineRunning(true);
    board.memoryMap().setBit(32 + 830 / 8, 830 % 8, true); // bad-can test
    board.memoryMap().setBit(32 + 825 / 8, 825 % 8, true); // Q.C. request
    board.memoryMap().setBit(32 + 102 / 8, 102 % 8, true);
    board.runMachine();
    QVERIFY(!board.memoryMap().bit(32 + 830 / 8, 830 % 8));
    QVERIFY(!board.memoryMap().bit(32 + 825 / 8, 825 % 8));
    QVERIFY(!board.memoryMap().bit(32 + 102 / 8, 102 % 8));
    QCOMPARE(board.memoryMap().doubleWord(kBlowoffs), qint64(2));
    QCOMPARE(board.memoryMap().doubleWord(kBadCans), qint64(1));
    QCOMPARE(board.memoryMap().doubleWord(kQcBlowoffs), qint64(1));
}

void TestMachineModel::alarms_data() {
    QTest::addColumn<int>("held");
    QTest::addColumn<bool>("cycling");
    QTest::addColumn<qint64>("atMs");
    QTest::addColumn<int>("word");

    QTest::newRow("none by default") << 0 << false << qint64(35000) << 0;
    QTest::newRow("held jam") << 32 << false << qint64(1000) << 32;
    QTest::newRow("held both") << 96 << false << qint64(1000) << 96;
    QTest::newRow("cycling, quiet start") << 0 << true << qint64(10000) << 0;
    QTest::newRow("cycling, jam") << 0 << true << qint64(35000) << 32;
    QTest::newRow("cycling, timing failure") << 0 << true << qint64(62000) << 64;
    QTest::newRow("cycling, next period jam again") << 0 << true << qint64(125000) << 32;
    QTest::newRow("cycling over a held alarm") << 64 << true << qint64(35000) << 96;
}

void TestMachineModel::alarms() {
    QFETCH(int, held);
    QFETCH(bool, cycling);
    QFETCH(qint64, atMs);
    QFETCH(int, word);
    ManualClock clock;
    BoardSim board(clock);
    board.machine().setAlarms(held);
    board.machine().setAlarmCycling(cycling);
    board.setMachineRunning(true);
    clock.advance(atMs);
    board.runMachine();
    QCOMPARE(int(board.memory(121)), word);
}

void TestMachineModel::stoppingZeroesTheSpeed() {
    ManualClock clock;
    BoardSim board(clock);
    board.setMachineRunning(true);
    clock.advance(1000);
    board.runMachine();
    board.setMachineRunning(false);
    QCOMPARE(board.memoryMap().word(182), 0);
    QCOMPARE(board.pls().rpm(), 0);
    QCOMPARE(int(board.memory(34) & 1), 0);
    const qint64 good = board.memoryMap().doubleWord(kGoodCans);
    clock.advance(60000);
    board.runMachine();
    QCOMPARE(board.memoryMap().doubleWord(kGoodCans), good);
}

QTEST_GUILESS_MAIN(TestMachineModel)
#include "tst_machinemodel.moc"
