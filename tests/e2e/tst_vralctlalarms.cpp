// vralctl alarms against the simulated board over a pseudo-terminal: an
// alarm on at the start is printed as raised, a calm board prints nothing
// until Ctrl+C, and wrong arguments are refused.
#include "e2erig.h"

#include <QDateTime>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <signal.h>

namespace {
constexpr int kExitOk = 0;
constexpr int kExitUsage = 2;
} // namespace

class TestVralctlAlarms : public QObject {
    Q_OBJECT

private slots:
    void alarmOnAtStartIsRaised_data();
    void alarmOnAtStartIsRaised();
    void calmBoardPrintsNothingUntilCtrlC();
    void refusedArguments_data();
    void refusedArguments();

private:
    QTemporaryDir m_home;
};

void TestVralctlAlarms::alarmOnAtStartIsRaised_data() {
    QTest::addColumn<QString>("word");
    QTest::addColumn<int>("count");
    QTest::addColumn<QStringList>("printed");

    QTest::newRow("infeed track jam") << "32" << 1 << QStringList{"raised Infeed Track Jam"};
    QTest::newRow("both, in the status text's order")
        << "96" << 2 << QStringList{"raised Infeed Track Jam", "raised Timing Signal Failure"};
    QTest::newRow("count ends mid-tick") << "96" << 1 << QStringList{"raised Infeed Track Jam"};
}

void TestVralctlAlarms::alarmOnAtStartIsRaised() {
    QFETCH(QString, word);
    QFETCH(int, count);
    QFETCH(QStringList, printed);
    BoardProcess board({QStringLiteral("--stopped"), QStringLiteral("--set"), "B121=" + word});
    QVERIFY(!board.device().isEmpty());
    const CtlRun run = runVralctl(linkArguments(board.device(), m_home.path()) +
                                  QStringList{"alarms", "--count", QString::number(count)});
    QCOMPARE(run.exitCode, kExitOk);
    QCOMPARE(run.err, QStringList());
    QStringList words;
    for (const QString& line : run.out) {
        const QString time = line.section(QLatin1Char(' '), 0, 0);
        QVERIFY2(QDateTime::fromString(time, Qt::ISODate).isValid(), qPrintable(line));
        words << line.section(QLatin1Char(' '), 1);
    }
    QCOMPARE(words, printed);
}

void TestVralctlAlarms::calmBoardPrintsNothingUntilCtrlC() {
    BoardProcess board({QStringLiteral("--stopped")});
    QVERIFY(!board.device().isEmpty());
    QProcess ctl;
    ctl.start(QStringLiteral(VRALCTL_PATH),
              linkArguments(board.device(), m_home.path()) + QStringList{"alarms"});
    QVERIFY(ctl.waitForStarted());
    QTest::qWait(1500); // three polls
    ::kill(pid_t(ctl.processId()), SIGINT);
    QVERIFY(ctl.waitForFinished(5000));
    QCOMPARE(ctl.exitStatus(), QProcess::NormalExit);
    QCOMPARE(ctl.exitCode(), kExitOk);
    QCOMPARE(ctl.readAllStandardOutput(), QByteArray());
    QCOMPARE(ctl.readAllStandardError(), QByteArray());
}

void TestVralctlAlarms::refusedArguments_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::newRow("count of 0") << QStringList{"alarms", "--count", "0"};
    QTest::newRow("count without a number") << QStringList{"alarms", "--count"};
    QTest::newRow("an address") << QStringList{"alarms", "B121"};
}

void TestVralctlAlarms::refusedArguments() {
    QFETCH(QStringList, arguments);
    const CtlRun run =
        runVralctl(linkArguments(QStringLiteral("/dev/null/none"), m_home.path()) + arguments);
    QCOMPARE(run.exitCode, kExitUsage);
    QVERIFY(run.out.isEmpty());
}

QTEST_GUILESS_MAIN(TestVralctlAlarms)
#include "tst_vralctlalarms.moc"
