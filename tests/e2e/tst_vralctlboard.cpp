// vralctl board, board reset-faults and board set-clock against the
// simulated board over a pseudo-terminal: the report a service engineer
// reads and what reaches the board's fault and clock locations.
#include "e2erig.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

namespace {
constexpr int kExitOk = 0;
constexpr int kExitUsage = 2;
} // namespace

class TestVralctlBoard : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void reportsFaultsAndIdent();
    void resetFaultsNeedsYes();
    void setClockWritesComputerClock();
    void badArguments_data();
    void badArguments();

private:
    CtlRun ctl(const QStringList& arguments) {
        return runVralctl(linkArguments(m_board->device(), m_home.path()) + arguments);
    }
    QStringList read(const QStringList& addresses) {
        return ctl(QStringList{QStringLiteral("read")} + addresses).out;
    }
    void setFaults() {
        QCOMPARE(ctl({"write", "B8176", "10"}).exitCode, kExitOk);
        QCOMPARE(ctl({"write", "B8177", "1"}).exitCode, kExitOk);
    }

    QTemporaryDir m_home;
    std::unique_ptr<BoardProcess> m_board;
};

void TestVralctlBoard::initTestCase() {
    QVERIFY(m_home.isValid());
    QDir(m_home.path()).mkpath(QStringLiteral("Support"));
    QFile faults(m_home.filePath(QStringLiteral("Support/FaultErrCodes.txt")));
    QVERIFY(faults.open(QIODevice::WriteOnly));
    faults.write("00,No Fault\r\n01,\"Resolver lost, check cable\"\r\n0a,Checksum\r\n");
    faults.close();
    QFile comm(m_home.filePath(QStringLiteral("Support/CommErrCodes.txt")));
    QVERIFY(comm.open(QIODevice::WriteOnly));
    comm.write("42,Old text\r\n42,Timeout\r\n00,No Error\r\n");
    comm.close();
    QFile image(m_home.filePath(QStringLiteral("board.mem")));
    QVERIFY(image.open(QIODevice::WriteOnly));
    image.write(memoryImage(
        {{8179, 0x42}, {8159, 23}, {61424, 'K'}, {61425, '7'}, {61432, 165}, {61433, 3}}));
    image.close();
    m_board = std::make_unique<BoardProcess>(
        QStringList{QStringLiteral("--stopped"), QStringLiteral("--memory"), image.fileName()});
    QVERIFY(!m_board->device().isEmpty());
}

void TestVralctlBoard::reportsFaultsAndIdent() {
    setFaults();
    const CtlRun run = ctl({QStringLiteral("board")});
    QCOMPARE(run.exitCode, kExitOk);
    QCOMPARE(run.out, QStringList({"fault: Fault Code (0AH): Checksum",
                                   "last fault: Fault Code (01H): Resolver lost, check cable",
                                   "comm error: 42H Timeout", "last comm error: 00H No Error",
                                   "firmware revision: 23", "program ident: K7",
                                   "program revision: 3", "program checksum: 165"}));
}

void TestVralctlBoard::resetFaultsNeedsYes() {
    setFaults();
    const CtlRun declined = ctl({QStringLiteral("board"), QStringLiteral("reset-faults")});
    QCOMPARE(declined.exitCode, kExitUsage);
    QCOMPARE(declined.err, QStringList({"WARNING - Fault Code Reset!: Target Board will be "
                                        "reinitialized. Do you wish to continue?"}));
    QCOMPARE(read({"B8176", "B8177"}), QStringList({"10", "1"}));

    const CtlRun done = ctl({"board", "reset-faults", "--yes"});
    QCOMPARE(done.exitCode, kExitOk);
    QCOMPARE(read({"B8176", "B8177", "B8178", "B8179"}), QStringList({"0", "0", "0", "0"}));
}

void TestVralctlBoard::setClockWritesComputerClock() {
    const QDateTime before = QDateTime::currentDateTime();
    const CtlRun run = ctl({"board", "set-clock", "--yes"});
    QCOMPARE(run.exitCode, kExitOk);
    const QStringList clock = read({"B43012", "B43016", "B43015", "B43017"});
    QCOMPARE(clock.size(), 4);
    // The hour may turn between the two readings of the computer's clock.
    const int hour = clock[0].toInt();
    QVERIFY(hour == before.time().hour() || hour == (before.time().hour() + 1) % 24);
    QCOMPARE(clock[3].toInt(), before.date().year() % 100);
    QVERIFY(clock[1].toInt() >= 1 && clock[1].toInt() <= 12);
}

void TestVralctlBoard::badArguments_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::newRow("unknown subcommand") << QStringList{"board", "erase"};
    QTest::newRow("unknown option") << QStringList{"board", "reset-faults", "--force"};
    QTest::newRow("too many") << QStringList{"board", "set-clock", "--yes", "x"};
}

void TestVralctlBoard::badArguments() {
    QFETCH(QStringList, arguments);
    QCOMPARE(ctl(arguments).exitCode, kExitUsage);
}

QTEST_GUILESS_MAIN(TestVralctlBoard)
#include "tst_vralctlboard.moc"
