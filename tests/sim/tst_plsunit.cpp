// The simulated limit switch as a machine shows it: which channel outputs
// are on at a position for single setpoints (wrapping past zero or not) and
// pulse trains, the position register against the offset, the scale's hold
// on offset and angle, what recall answers, and the outputs word "W170"
// following a PLS command while the machine stands.
#include "boardsim.h"
#include "manualclock.h"
#include "plsunit.h"

#include <QtTest>

namespace {
constexpr int kChannel = 12; // cleared on a new board
constexpr int kOutputs = 170;

QByteArray talk(BoardSim& board, const QByteArray& sent) {
    QByteArray replies;
    for (const char c : sent)
        replies += board.receive(static_cast<std::uint8_t>(c));
    return replies;
}

QByteArray hex(const char* text) {
    return QByteArray::fromHex(text);
}

bool channelOn(const PlsUnit& pls, int channel) {
    return (pls.outputs() >> channel) & 1;
}
} // namespace

class TestPlsUnit : public QObject {
    Q_OBJECT

private slots:
    void outputAtPosition_data();
    void outputAtPosition();
    void outputsFollowThePositionNotTheAngle();
    void scaleKeepsOffsetAndAngleInside();
    void recallAlternatesPerChannel();
    void outputsWordFollowsCommandsAtRest();
    void outputsWordFollowsTheTurningMachine();
};

void TestPlsUnit::outputAtPosition_data() {
    QTest::addColumn<QString>("kind"); // "single", "pulse" or "cleared"
    QTest::addColumn<int>("first");    // ON setpoint, or the pulse train's start
    QTest::addColumn<int>("second");   // OFF setpoint, or the ON division
    QTest::addColumn<int>("third");    // the OFF division
    QTest::addColumn<int>("position");
    QTest::addColumn<bool>("on");

    // ON is inclusive, OFF exclusive.
    QTest::newRow("single, just before ON") << "single" << 120 << 160 << 0 << 119 << false;
    QTest::newRow("single, at ON") << "single" << 120 << 160 << 0 << 120 << true;
    QTest::newRow("single, at OFF") << "single" << 120 << 160 << 0 << 160 << false;
    // OFF below ON: the dwell runs past the end of the turn.
    QTest::newRow("180 to 0, at 359") << "single" << 180 << 0 << 0 << 359 << true;
    QTest::newRow("180 to 0, at 0") << "single" << 180 << 0 << 0 << 0 << false;
    QTest::newRow("300 to 20, at 10") << "single" << 300 << 20 << 0 << 10 << true;
    QTest::newRow("300 to 20, at 20") << "single" << 300 << 20 << 0 << 20 << false;
    QTest::newRow("ON equal to OFF never on") << "single" << 50 << 50 << 0 << 50 << false;
    // Pulse train from 300: 10 on, 20 off, again every 30 counts.
    QTest::newRow("pulse, at start") << "pulse" << 300 << 10 << 20 << 300 << true;
    QTest::newRow("pulse, first off") << "pulse" << 300 << 10 << 20 << 310 << false;
    QTest::newRow("pulse, across zero") << "pulse" << 300 << 10 << 20 << 0 << true;
    QTest::newRow("pulse, before start") << "pulse" << 300 << 10 << 20 << 299 << false;
    QTest::newRow("cleared") << "cleared" << 0 << 0 << 0 << 0 << false;
}

void TestPlsUnit::outputAtPosition() {
    QFETCH(QString, kind);
    QFETCH(int, first);
    QFETCH(int, second);
    QFETCH(int, third);
    QFETCH(int, position);
    QFETCH(bool, on);
    PlsUnit pls;
    if (kind == QLatin1String("single"))
        pls.setSingle(kChannel, first, second);
    else if (kind == QLatin1String("pulse"))
        pls.setPulseTrain(kChannel, first, second, third);
    pls.turnResolver(position);
    QCOMPARE(pls.position(), position);
    QCOMPARE(channelOn(pls, kChannel), on);
}

void TestPlsUnit::outputsFollowThePositionNotTheAngle() {
    PlsUnit pls;
    pls.setSingle(kChannel, 120, 160);
    pls.turnResolver(130);
    pls.setOffset(10);
    QCOMPARE(pls.position(), 120);
    QVERIFY(channelOn(pls, kChannel));
    pls.setOffset(140); // the angle less the offset wraps below zero
    QCOMPARE(pls.position(), 350);
    QVERIFY(!channelOn(pls, kChannel));
    pls.setOffset(400); // taken modulo the scale
    QCOMPARE(pls.offset(), 40);
    QCOMPARE(pls.position(), 90);
}

void TestPlsUnit::scaleKeepsOffsetAndAngleInside() {
    PlsUnit pls;
    pls.setOffset(300);
    pls.turnResolver(350);
    pls.setScale(200);
    QCOMPARE(pls.scale(), 200);
    QCOMPARE(pls.offset(), 100);
    QCOMPARE(pls.position(), 50); // angle 150 less 100
    pls.setScale(0);              // ignored
    QCOMPARE(pls.scale(), 200);
    pls.turnResolver(-160); // a resolver turning back wraps below zero: angle 190
    QCOMPARE(pls.position(), 90);
}

void TestPlsUnit::recallAlternatesPerChannel() {
    PlsUnit pls; // channel 3 is 120/230 and channel 4 80/220 on a new board
    const auto recall = [&pls](int channel) {
        const PlsUnit::Recall r = pls.recall(channel);
        return QPair<int, int>(r.state, r.position);
    };
    QCOMPARE(recall(3), qMakePair(1, 120));
    QCOMPARE(recall(3), qMakePair(0, 230));
    QCOMPARE(recall(3), qMakePair(1, 120));
    // Another channel between two recalls starts the first one at ON again.
    QCOMPARE(recall(4), qMakePair(1, 80));
    QCOMPARE(recall(3), qMakePair(1, 120));
    pls.setPulseTrain(3, 45, 10, 20);
    QCOMPARE(recall(3), qMakePair(3, 45));
    QCOMPARE(recall(3), qMakePair(3, 45));
    pls.clear(3);
    QCOMPARE(recall(3), qMakePair(2, 0));
    // Channel numbers beyond the sixteen are ignored by every command.
    pls.setSingle(16, 1, 2);
    pls.clear(-1);
    QCOMPARE(recall(4), qMakePair(1, 80));
}

// The machine stands at position 0, where channels 7 (0-40) and 8 (0-180)
// of a new board are on. The outputs word shows a channel command at once.
void TestPlsUnit::outputsWordFollowsCommandsAtRest() {
    ManualClock clock;
    BoardSim board(clock);
    // Single setpoint 0/5 on channel 12, then a clear of channel 8.
    talk(board, hex("FF1B 0C 0000 0500 01 385555"));
    QCOMPARE(board.memoryMap().word(kOutputs), (1 << 7) | (1 << 8) | (1 << 12));
    talk(board, hex("FF1B 08 0000 0000 00 385555"));
    QCOMPARE(board.memoryMap().word(kOutputs), (1 << 7) | (1 << 12));
    // An offset of 350 puts the machine at position 10: channel 12 goes off.
    talk(board, hex("FF2A 5E01 385555"));
    QCOMPARE(board.memoryMap().word(180), 10);
    QCOMPARE(board.memoryMap().word(188), 350);
    QCOMPARE(board.memoryMap().word(kOutputs), 1 << 7);
    // Standing still, time passing changes nothing.
    clock.advance(60000);
    board.runMachine();
    QCOMPARE(board.memoryMap().word(kOutputs), 1 << 7);
}

void TestPlsUnit::outputsWordFollowsTheTurningMachine() {
    ManualClock clock;
    BoardSim board(clock);
    for (int c = 0; c < PlsUnit::kChannels; ++c)
        board.pls().clear(c);
    board.pls().setSingle(kChannel, 90, 180);
    board.setMachineRunning(true);
    // 600 cans per minute turn the resolver at 300 RPM: 360 counts in 200 ms.
    for (int step = 0; step < 20; ++step) {
        clock.advance(10);
        board.runMachine();
        const int position = board.memoryMap().word(180);
        QCOMPARE(position, (step + 1) * 18 % 360);
        QCOMPARE(board.memoryMap().word(kOutputs),
                 position >= 90 && position < 180 ? 1 << kChannel : 0);
    }
}

QTEST_GUILESS_MAIN(TestPlsUnit)
#include "tst_plsunit.moc"
