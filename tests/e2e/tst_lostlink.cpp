// The board goes away in the middle of a run of reads (SIGKILL of the
// simulator: the pty's master side closes, as when a USB serial adapter is
// pulled). The link must notice at once rather than sit out its time-outs
// or spin on a dead descriptor: vralctl reports the failure and ends with
// the link-failure status well within the 5 s a silent board would take,
// and it uses little CPU both while it waits for replies and after the loss.
#include "e2erig.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/resource.h>
#include <unistd.h>

namespace {
const QString kCommFailure =
    QStringLiteral("WARNING - Communication Error!: Cannot Communicate with Target Board. "
                   "Verify RS-232 Cable is Connected Between COMM Port and PROG Port.");
constexpr int kExitLink = 3;
constexpr int kAddressCount = 4000;
constexpr int kLinesBeforeKill = 50;

// User + system CPU time of a live process, from /proc (clock ticks).
qint64 processCpuMs(qint64 pid) {
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray text = stat.readAll();
    // Fields after the command name in parentheses; utime and stime are
    // fields 14 and 15 of the whole line, 12 and 13 after the name.
    const QList<QByteArray> fields = text.mid(text.lastIndexOf(')') + 2).split(' ');
    if (fields.size() < 13)
        return -1;
    const qint64 ticks = fields[11].toLongLong() + fields[12].toLongLong();
    return ticks * 1000 / ::sysconf(_SC_CLK_TCK);
}

// CPU time of all reaped children of this process.
qint64 reapedChildrenCpuMs() {
    rusage usage{};
    ::getrusage(RUSAGE_CHILDREN, &usage);
    const auto ms = [](const timeval& t) { return qint64(t.tv_sec) * 1000 + t.tv_usec / 1000; };
    return ms(usage.ru_utime) + ms(usage.ru_stime);
}
} // namespace

class TestLostLink : public QObject {
    Q_OBJECT

private slots:
    void boardKilledMidRun_data();
    void boardKilledMidRun();
};

void TestLostLink::boardKilledMidRun_data() {
    QTest::addColumn<QStringList>("boardOptions");
    QTest::addColumn<bool>("paced");
    // At 9600 bit/s every byte read takes 4.2 ms on the wire, so the link
    // spends nearly all its time waiting for a reply when the board dies.
    QTest::newRow("paced at 9600, killed while the link waits")
        << QStringList{"--stopped", "--baud", "9600"} << true;
    QTest::newRow("unpaced, killed mid-stream") << QStringList{"--stopped"} << false;
}

void TestLostLink::boardKilledMidRun() {
    QFETCH(QStringList, boardOptions);
    QFETCH(bool, paced);

    QTemporaryDir home;
    BoardProcess board(boardOptions);
    QVERIFY(!board.device().isEmpty());

    QStringList arguments = linkArguments(board.device(), home.path());
    arguments << QStringLiteral("read");
    for (int i = 0; i < kAddressCount; ++i)
        arguments << QStringLiteral("B%1").arg(1000 + i);

    QProcess ctl;
    ctl.setProgram(QStringLiteral(VRALCTL_PATH));
    ctl.setArguments(arguments);
    QElapsedTimer running;
    running.start();
    ctl.start();
    QVERIFY(ctl.waitForStarted());
    QByteArray out;
    while (out.count('\n') < kLinesBeforeKill && ctl.waitForReadyRead(5000))
        out += ctl.readAllStandardOutput();
    QVERIFY2(out.count('\n') >= kLinesBeforeKill, "no values read before the kill");

    const qint64 cpuBeforeKill = processCpuMs(ctl.processId());
    const qint64 wallBeforeKill = running.elapsed();
    QVERIFY(cpuBeforeKill >= 0);
    board.kill();
    const qint64 childrenBefore = reapedChildrenCpuMs();

    QElapsedTimer sinceKill;
    sinceKill.start();
    QVERIFY(ctl.waitForFinished(10000));
    const qint64 failedAfterMs = sinceKill.elapsed();
    const qint64 totalCpuMs = reapedChildrenCpuMs() - childrenBefore;
    out += ctl.readAllStandardOutput();
    const QStringList err = QString::fromLocal8Bit(ctl.readAllStandardError())
                                .split(QLatin1Char('\n'), Qt::SkipEmptyParts);

    qInfo("reads before the loss: %lld; vralctl CPU %lld ms over %lld ms before the kill; "
          "failure reported %lld ms after the kill; CPU after the kill %lld ms",
          static_cast<long long>(out.count('\n')), static_cast<long long>(cpuBeforeKill),
          static_cast<long long>(wallBeforeKill), static_cast<long long>(failedAfterMs),
          static_cast<long long>(totalCpuMs - cpuBeforeKill));

    QCOMPARE(ctl.exitStatus(), QProcess::NormalExit);
    QCOMPARE(ctl.exitCode(), kExitLink);
    QVERIFY(out.count('\n') < kAddressCount);
    QCOMPARE(err, QStringList{kCommFailure});
    // A link that sat out its time-outs would take 5 s; one that spun on
    // the dead descriptor would burn CPU for as long as it took.
    QVERIFY2(failedAfterMs < 2000, qPrintable(QString::number(failedAfterMs)));
    QVERIFY2(totalCpuMs - cpuBeforeKill < 200,
             qPrintable(QString::number(totalCpuMs - cpuBeforeKill)));
    if (paced) {
        // Waiting for the board blocks on the port: far from a busy poll.
        QVERIFY2(cpuBeforeKill * 2 < wallBeforeKill,
                 qPrintable(
                     QStringLiteral("%1 ms CPU in %2 ms").arg(cpuBeforeKill).arg(wallBeforeKill)));
    }
}

QTEST_GUILESS_MAIN(TestLostLink)
#include "tst_lostlink.moc"
