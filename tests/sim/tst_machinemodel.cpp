// The running-machine model as the board memory shows it, driven by a
// manual clock.
#include "boardsim.h"
#include "manualclock.h"

#include <QSet>
#include <QtTest>

namespace {
constexpr int kGoodCans = 1100;
constexpr int kBlowoffs = 1104;
constexpr int kBadCans = 1108;
constexpr int kQcBlowoffs = 1120;

QByteArray bytesAt(const BoardSim& board, int address, int count) {
    return board.memoryImage().mid(address, count);
}

// Trips per spindle since the reset, and the current shift's trips.
constexpr int kDriveSideTrips = 1700;
constexpr int kOffSideTrips = 1748;
constexpr int kShiftDriveSideTrips = 1124;
constexpr int kShiftOffSideTrips = 1126;
constexpr int kShiftDriveSideSpindles = 1128;
constexpr int kShiftOffSideSpindles = 1176;
constexpr int kTrippedSpindle = 598;
constexpr int kEndOfShiftByte = 48; // F133 = bit 5 of byte 48
constexpr int kEndOfShiftBit = 5;

int sumOfWords(const BoardSim& board, int first, int count) {
    int sum = 0;
    for (int k = 0; k < count; ++k)
        sum += board.memoryMap().word(first + 2 * k);
    return sum;
}

// Runs the machine for `ms`, a byte's worth of time at a step, as the link
// would drive it.
void runFor(ManualClock& clock, BoardSim& board, qint64 ms, qint64 stepMs = 50) {
    for (qint64 t = 0; t < ms; t += stepMs) {
        clock.advance(stepMs);
        board.runMachine();
    }
}

// Flips a command bit the way a page's momentary button does: 1, a scan, 0,
// a scan.
void pulse(BoardSim& board, int address, int bit) {
    board.memoryMap().setBit(address, bit, true);
    board.runMachine();
    board.memoryMap().setBit(address, bit, false);
    board.runMachine();
}
} // namespace

class TestMachineModel : public QObject {
    Q_OBJECT

private slots:
    void stoppedMachineLeavesMemoryAlone();
    void boardClockTicks_data();
    void boardClockTicks();
    void runningMachineCountsCans();
    void counterCarriesIntoTenThousands_data();
    void counterCarriesIntoTenThousands();
    void resolverTurnsAndChannelsFollow();
    void testRequestsBlowOffOneCan();
    void alarms_data();
    void alarms();
    void stoppingZeroesTheSpeed();
    void spindlesTripAndEveryRecordCountsThem();
    void trippedSpindleShowsForAWhile();
    void sameSeedSameMachine();
    void endOfShiftMovesTheBlockOnTheFall();
    void resetTripsClearsTripsPerSpindleOnly();
    void resolverRegistersAgree();
    void pointsFollowTheMachineAndWander();
    void analogValues_data();
    void analogValues();
    void df1TransactionsCountWhileTheDriverIsOn();
};

// The board clock's six bytes, B43008 to B43017, blanked.
QByteArray withoutClock(QByteArray image) {
    image.replace(43008, 10, QByteArray(10, '\0'));
    return image;
}

void TestMachineModel::stoppedMachineLeavesMemoryAlone() {
    ManualClock clock;
    BoardSim board(clock);
    const QByteArray before = board.memoryImage();
    clock.advance(60000);
    board.runMachine();
    clock.advance(60000);
    board.runMachine();
    QVERIFY(withoutClock(board.memoryImage()) == withoutClock(before));
}

void TestMachineModel::boardClockTicks_data() {
    QTest::addColumn<QList<int>>("start"); // h, m, s, day, month, year
    QTest::addColumn<qint64>("elapsedMs");
    QTest::addColumn<QList<int>>("expected");
    QTest::newRow("under a second")
        << QList<int>{6, 0, 0, 5, 1, 26} << qint64(999) << QList<int>{6, 0, 0, 5, 1, 26};
    QTest::newRow("a second") << QList<int>{6, 0, 0, 5, 1, 26} << qint64(1000)
                              << QList<int>{6, 0, 1, 5, 1, 26};
    QTest::newRow("into the next minute")
        << QList<int>{6, 0, 59, 5, 1, 26} << qint64(1000) << QList<int>{6, 1, 0, 5, 1, 26};
    QTest::newRow("end of January")
        << QList<int>{23, 59, 59, 31, 1, 26} << qint64(1000) << QList<int>{0, 0, 0, 1, 2, 26};
    QTest::newRow("leap day") << QList<int>{23, 59, 59, 28, 2, 28} << qint64(1000)
                              << QList<int>{0, 0, 0, 29, 2, 28};
    QTest::newRow("no leap day") << QList<int>{23, 59, 59, 28, 2, 26} << qint64(1000)
                                 << QList<int>{0, 0, 0, 1, 3, 26};
    QTest::newRow("year 99 to 00")
        << QList<int>{23, 59, 59, 31, 12, 99} << qint64(1000) << QList<int>{0, 0, 0, 1, 1, 0};
    QTest::newRow("an hour unread")
        << QList<int>{6, 30, 0, 5, 1, 26} << qint64(3600000) << QList<int>{7, 30, 0, 5, 1, 26};
    QTest::newRow("month 13 stands still")
        << QList<int>{6, 0, 0, 5, 13, 26} << qint64(5000) << QList<int>{6, 0, 0, 5, 13, 26};
    QTest::newRow("31 April stands still")
        << QList<int>{6, 0, 0, 31, 4, 26} << qint64(5000) << QList<int>{6, 0, 0, 31, 4, 26};
}

// The clock ticks with the machine stopped, from whatever the link last
// wrote into its bytes.
void TestMachineModel::boardClockTicks() {
    QFETCH(QList<int>, start);
    QFETCH(qint64, elapsedMs);
    QFETCH(QList<int>, expected);
    const QList<int> addresses{43012, 43010, 43008, 43015, 43016, 43017};
    ManualClock clock;
    BoardSim board(clock);
    board.runMachine();
    for (int k = 0; k < addresses.size(); ++k)
        board.memoryMap().setByte(addresses[k], static_cast<std::uint8_t>(start[k]));
    clock.advance(elapsedMs);
    board.runMachine();
    QList<int> shown;
    for (int address : addresses)
        shown << board.memoryMap().byte(address);
    QCOMPARE(shown, expected);
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
    QTest::addColumn<int>("rpm"); // W182: a cycled jam stands the machine still

    QTest::newRow("none by default") << 0 << false << qint64(35000) << 0 << 300;
    QTest::newRow("held jam") << 32 << false << qint64(1000) << 32 << 300;
    QTest::newRow("held both") << 96 << false << qint64(1000) << 96 << 300;
    QTest::newRow("cycling, quiet start") << 0 << true << qint64(10000) << 0 << 300;
    QTest::newRow("cycling, jam") << 0 << true << qint64(35000) << 32 << 0;
    QTest::newRow("cycling, timing failure") << 0 << true << qint64(62000) << 64 << 300;
    QTest::newRow("cycling, next period jam again") << 0 << true << qint64(125000) << 32 << 0;
    QTest::newRow("cycling over a held alarm") << 64 << true << qint64(35000) << 96 << 0;
}

void TestMachineModel::alarms() {
    QFETCH(int, held);
    QFETCH(bool, cycling);
    QFETCH(qint64, atMs);
    QFETCH(int, word);
    QFETCH(int, rpm);
    ManualClock clock;
    BoardSim board(clock);
    board.machine().setAlarms(held);
    board.machine().setAlarmCycling(cycling);
    board.setMachineRunning(true);
    clock.advance(atMs);
    board.runMachine();
    QCOMPARE(int(board.memory(121)), word);
    QCOMPARE(int(board.memoryMap().word(182)), rpm);
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

void TestMachineModel::spindlesTripAndEveryRecordCountsThem() {
    ManualClock clock;
    BoardSim board(clock);
    board.setMachineRunning(true);
    runFor(clock, board, 10 * 60000, 1000); // 6000 cans: about 20 trips
    const int drive = sumOfWords(board, kDriveSideTrips, 24);
    const int off = sumOfWords(board, kOffSideTrips, 24);
    QVERIFY2(drive + off >= 6000 / (3 * MachineModel::kTripEveryCans / 2) &&
                 drive + off <= 6000 / (MachineModel::kTripEveryCans / 2),
             qPrintable(QString::number(drive + off)));
    QVERIFY(drive > 0 && off > 0);
    QCOMPARE(board.memoryMap().word(kShiftDriveSideTrips), drive);
    QCOMPARE(board.memoryMap().word(kShiftOffSideTrips), off);
    for (int k = 0; k < 24; ++k) {
        QCOMPARE(board.memoryMap().word(kShiftDriveSideSpindles + 2 * k),
                 board.memoryMap().word(kDriveSideTrips + 2 * k));
        QCOMPARE(board.memoryMap().word(kShiftOffSideSpindles + 2 * k),
                 board.memoryMap().word(kOffSideTrips + 2 * k));
    }
    // Nothing outside the 24 spindles' words.
    QCOMPARE(board.memoryMap().word(kOffSideTrips + 48), 0);
    QCOMPARE(board.memoryMap().word(kShiftOffSideSpindles + 48), 0);
    // Trips are not cans: the counters still add up to the cans made.
    QCOMPARE(board.memoryMap().doubleWord(kGoodCans) + board.memoryMap().doubleWord(kBlowoffs),
             qint64(6000));
}

void TestMachineModel::trippedSpindleShowsForAWhile() {
    ManualClock clock;
    BoardSim board(clock);
    board.setMachineRunning(true);
    // Run until the first trip is shown.
    qint64 waited = 0;
    while (board.memory(kTrippedSpindle) == 0 && waited < 60000) {
        runFor(clock, board, 50);
        waited += 50;
    }
    const int spindle = board.memory(kTrippedSpindle);
    QVERIFY(spindle >= 1 && spindle <= 24);
    QVERIFY(board.memoryMap().bit(34, 1)); // IN1 (F17): the trip input
    QVERIFY(board.memoryMap().word(100) & 0x08);
    QVERIFY(board.memoryMap().word(110) & 0x04); // print trip retract
    QCOMPARE(board.memoryMap().word(kDriveSideTrips + 2 * (spindle - 1)) +
                 board.memoryMap().word(kOffSideTrips + 2 * (spindle - 1)),
             1);
    runFor(clock, board, MachineModel::kTripShownMs - 100);
    QCOMPARE(int(board.memory(kTrippedSpindle)), spindle);
    runFor(clock, board, 200);
    QCOMPARE(int(board.memory(kTrippedSpindle)), 0);
    QVERIFY(!board.memoryMap().bit(34, 1));
    QVERIFY(!(board.memoryMap().word(110) & 0x04));
}

void TestMachineModel::sameSeedSameMachine() {
    ManualClock clockA;
    ManualClock clockB;
    ManualClock clockC;
    BoardSim a(clockA);
    BoardSim b(clockB);
    BoardSim c(clockC);
    a.machine().setSeed(7);
    b.machine().setSeed(7);
    c.machine().setSeed(8);
    for (BoardSim* board : {&a, &b, &c})
        board->setMachineRunning(true);
    runFor(clockA, a, 120000, 100);
    runFor(clockB, b, 120000, 100);
    runFor(clockC, c, 120000, 100);
    QVERIFY(a.memoryImage() == b.memoryImage());
    QVERIFY(a.memoryImage().mid(1700, 96) != c.memoryImage().mid(1700, 96));
}

void TestMachineModel::endOfShiftMovesTheBlockOnTheFall() {
    ManualClock clock;
    BoardSim board(clock);
    BoardMemory& memory = board.memoryMap();
    memory.setDoubleWord(kGoodCans, 123456);
    memory.setDoubleWord(1116, 7); // manual blow-offs
    memory.setWord(kShiftOffSideTrips, 9);
    memory.setWord(1222, 4);         // off side spindle 24
    memory.setDoubleWord(1300, 999); // the previous last shift
    memory.setWord(1224, 0x5A5A);    // past the block: left alone
    memory.setBit(kEndOfShiftByte, kEndOfShiftBit, true);
    board.runMachine();
    // Held at 1: nothing moves yet (the machine is stopped; the program
    // answers the link's bits regardless).
    QCOMPARE(memory.doubleWord(kGoodCans), qint64(123456));
    QCOMPARE(memory.doubleWord(1300), qint64(999));
    memory.setBit(kEndOfShiftByte, kEndOfShiftBit, false);
    board.runMachine();
    QCOMPARE(memory.doubleWord(1300), qint64(123456));
    QCOMPARE(memory.doubleWord(1316), qint64(7));
    QCOMPARE(memory.word(1326), 9);
    QCOMPARE(memory.word(1422), 4);
    QVERIFY(board.memoryImage().mid(1100, 124) == QByteArray(124, '\0'));
    QCOMPARE(memory.word(1224), 0x5A5A);
    // A second fall with nothing counted since clears the last shift.
    pulse(board, kEndOfShiftByte, kEndOfShiftBit);
    QCOMPARE(memory.doubleWord(1300), qint64(0));
}

void TestMachineModel::resetTripsClearsTripsPerSpindleOnly() {
    ManualClock clock;
    BoardSim board(clock);
    BoardMemory& memory = board.memoryMap();
    memory.setWord(kDriveSideTrips, 5);
    memory.setWord(kOffSideTrips + 46, 6); // off side spindle 24
    memory.setByte(kTrippedSpindle, 12);
    memory.setWord(kShiftDriveSideSpindles, 5);
    memory.setWord(1796, 0x1234); // past the trips: left alone
    memory.setBit(1016, 0, true);
    board.runMachine();
    QCOMPARE(memory.word(kDriveSideTrips), 5);
    memory.setBit(1016, 0, false);
    board.runMachine();
    QVERIFY(board.memoryImage().mid(1700, 96) == QByteArray(96, '\0'));
    QCOMPARE(int(board.memory(kTrippedSpindle)), 0);
    QCOMPARE(memory.word(kShiftDriveSideSpindles), 5); // the shift keeps its record
    QCOMPARE(memory.word(1796), 0x1234);
}

void TestMachineModel::resolverRegistersAgree() {
    ManualClock clock;
    BoardSim board(clock);
    board.machine().setCansPerMinute(900);
    board.setMachineRunning(true);
    for (int k = 0; k < 20; ++k) {
        runFor(clock, board, 37, 37);
        QCOMPARE(board.memoryMap().word(180), board.pls().position());
        QCOMPARE(board.memoryMap().word(182), board.pls().rpm());
        QCOMPARE(board.memoryMap().word(182), 450);
        QCOMPARE(board.memoryMap().word(184), 60000 / 450);
        QVERIFY(board.memoryMap().word(180) < board.memoryMap().word(186));
    }
}

void TestMachineModel::pointsFollowTheMachineAndWander() {
    ManualClock clock;
    BoardSim board(clock);
    board.machine().setAlarms(MachineModel::kInfeedTrackJam);
    board.setMachineRunning(true);
    QSet<int> slot00;
    QSet<int> slot01;
    QSet<int> slot02;
    for (int k = 0; k < 40; ++k) {
        runFor(clock, board, IoPoints::kWanderMs, 10);
        QVERIFY(board.memoryMap().word(100) & 0x01); // running
        QVERIFY(board.memoryMap().word(110) & 0x08); // run lamp
        QCOMPARE(int(board.memory(121)), MachineModel::kInfeedTrackJam);
        slot00.insert(board.memoryMap().word(100) & 0xFF00);
        slot01.insert(board.memoryMap().word(110) & 0xFF00);
        slot02.insert(board.memory(120));
    }
    // One point of 24 changes every step: each slot sees several patterns.
    QVERIFY(slot00.size() >= 3);
    QVERIFY(slot01.size() >= 3);
    QVERIFY(slot02.size() >= 3);
    board.setMachineRunning(false);
    QCOMPARE(board.memoryMap().word(100) & 0x0F, 0);
    QCOMPARE(board.memoryMap().word(110) & 0x0F, 0);
}

void TestMachineModel::analogValues_data() {
    QTest::addColumn<int>("cpm");
    QTest::addColumn<qint64>("atMs");
    QTest::addColumn<int>("input0");
    QTest::addColumn<int>("input1");
    QTest::addColumn<int>("output0");
    QTest::addColumn<int>("output1");

    // Input 0 swings 2048 +/- 600 over a minute; output 1 drives against it.
    QTest::newRow("600 CPM, a quarter minute in: temperature at its top")
        << 600 << qint64(15000) << 2648 << 2047 << 127 << 90;
    QTest::newRow("1200 CPM reads full scale, half a minute: mid-scale")
        << 1200 << qint64(30000) << 2048 << 4095 << 255 << 127;
    QTest::newRow("above full scale is held at full scale")
        << 1500 << qint64(45000) << 1448 << 4095 << 255 << 165;
}

void TestMachineModel::analogValues() {
    QFETCH(int, cpm);
    QFETCH(qint64, atMs);
    QFETCH(int, input0);
    QFETCH(int, input1);
    QFETCH(int, output0);
    QFETCH(int, output1);
    ManualClock clock;
    BoardSim board(clock);
    board.machine().setCansPerMinute(cpm);
    board.setMachineRunning(true);
    clock.advance(atMs);
    board.runMachine();
    QCOMPARE(board.memoryMap().word(162), input0);
    QCOMPARE(board.memoryMap().word(164), input1);
    QCOMPARE(int(board.memory(166)), output0);
    QCOMPARE(int(board.memory(167)), output1);
    board.setMachineRunning(false);
    QCOMPARE(board.memoryMap().word(164), 0);
    QCOMPARE(int(board.memory(166)), 0);
}

void TestMachineModel::df1TransactionsCountWhileTheDriverIsOn() {
    ManualClock clock;
    BoardSim board(clock);
    board.setMachineRunning(true);
    runFor(clock, board, 10000, 100); // the factory memory has the driver on
    const int counted = board.memoryMap().word(4016);
    QVERIFY2(counted >= 9 && counted <= 10, qPrintable(QString::number(counted)));
    QCOMPARE(board.memoryMap().word(4304), counted);
    board.memoryMap().setBit(32 + 152 / 8, 152 % 8, false);
    runFor(clock, board, 10000, 100);
    QCOMPARE(board.memoryMap().word(4016), counted);
}

QTEST_GUILESS_MAIN(TestMachineModel)
#include "tst_machinemodel.moc"
