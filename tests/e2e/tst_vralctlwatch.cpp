// vralctl watch against the simulated board over a pseudo-terminal: one
// line per pass, the pass count and interval, a clean end at Ctrl+C with the
// link taken down, and addresses refused before anything reaches the line.
#include "e2erig.h"
#include "filebytes.h"

#include <QDateTime>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>
#include <signal.h>

namespace {
constexpr int kExitOk = 0;
constexpr int kExitUsage = 2;
const QString kTimeFormat = QStringLiteral("yyyy-MM-ddTHH:mm:ss.zzz");

// The time a watch line starts with; invalid when the line has another shape.
QDateTime lineTime(const QString& line) {
    return QDateTime::fromString(line.section(QLatin1Char(' '), 0, 0), kTimeFormat);
}

QString lineValues(const QString& line) {
    return line.section(QLatin1Char(' '), 1);
}

// The trace's last line is the byte sent to take the link down.
bool endsWithLinkDown(const QByteArray& trace) {
    const QList<QByteArray> lines = trace.trimmed().split('\n');
    for (auto it = lines.crbegin(); it != lines.crend(); ++it)
        if (it->contains(" > "))
            return it->contains(" > FF");
    return false;
}
} // namespace

class TestVralctlWatch : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void countedPassesAtTheInterval();
    void valuesMoveWithTheMachine();
    void ctrlCEndsCleanlyWithTheLinkDown();
    void refusedArguments_data();
    void refusedArguments();

private:
    QStringList link(const BoardProcess& board) const {
        return linkArguments(board.device(), m_home.path());
    }

    QTemporaryDir m_home;
    std::unique_ptr<BoardProcess> m_stopped;
};

void TestVralctlWatch::initTestCase() {
    QVERIFY(m_home.isValid());
    QFile image(m_home.filePath(QStringLiteral("board.mem")));
    QVERIFY(image.open(QIODevice::WriteOnly));
    image.write(memoryImage({{1012, 25}, {200, 0x34}, {201, 0x12}, {4303, 0x10}}));
    image.close();
    m_stopped = std::make_unique<BoardProcess>(
        QStringList{QStringLiteral("--stopped"), QStringLiteral("--memory"), image.fileName()});
    QVERIFY(!m_stopped->device().isEmpty());
}

void TestVralctlWatch::countedPassesAtTheInterval() {
    const QString trace = m_home.filePath(QStringLiteral("count.trace"));
    const CtlRun run =
        runVralctl(link(*m_stopped) + QStringList{"--trace", trace, "watch", "B1012", "W200",
                                                  "B4303", "--interval", "150", "--count", "4"});
    QVERIFY(!run.crashed);
    QCOMPARE(run.exitCode, kExitOk);
    QCOMPARE(run.err, QStringList());
    QCOMPARE(run.out.size(), 4);
    // Passes keep to their schedule, first + n x interval: none starts before
    // its time, and one woken late (a busy machine) does not shift the rest.
    QDateTime first;
    QDateTime previous;
    for (int n = 0; n < run.out.size(); ++n) {
        const QString& line = run.out[n];
        QCOMPARE(lineValues(line), QStringLiteral("25 4660 16"));
        const QDateTime time = lineTime(line);
        QVERIFY2(time.isValid(), qPrintable(line));
        if (n == 0)
            first = time;
        else {
            const qint64 sinceFirst = first.msecsTo(time);
            QVERIFY2(sinceFirst >= n * 150 - 2, qPrintable(QString::number(sinceFirst)));
            QVERIFY2(previous.msecsTo(time) < 1000, qPrintable(line));
        }
        previous = time;
    }
    QVERIFY(endsWithLinkDown(fileBytes(trace)));
}

void TestVralctlWatch::valuesMoveWithTheMachine() {
    BoardProcess running({QStringLiteral("--seed"), QStringLiteral("3")});
    QVERIFY(!running.device().isEmpty());
    const CtlRun run = runVralctl(
        link(running) + QStringList{"watch", "D1100", "W182", "--interval", "300", "--count", "3"});
    QCOMPARE(run.exitCode, kExitOk);
    QCOMPARE(run.out.size(), 3);
    qint64 previous = -1;
    for (const QString& line : run.out) {
        const QStringList values = lineValues(line).split(QLatin1Char(' '));
        QCOMPARE(values.size(), 2);
        QCOMPARE(values[1], QStringLiteral("300")); // 600 cans a minute
        const qint64 goodCans = values[0].toLongLong();
        QVERIFY2(goodCans > previous, qPrintable(line));
        previous = goodCans;
    }
}

void TestVralctlWatch::ctrlCEndsCleanlyWithTheLinkDown() {
    const QString trace = m_home.filePath(QStringLiteral("interrupted.trace"));
    QProcess ctl;
    ctl.start(QStringLiteral(VRALCTL_PATH),
              link(*m_stopped) +
                  QStringList{"--trace", trace, "watch", "W200", "--interval", "50"});
    QVERIFY(ctl.waitForStarted());
    QStringList lines;
    QElapsedTimer waited;
    waited.start();
    while (lines.size() < 3 && waited.elapsed() < 10000) {
        ctl.waitForReadyRead(200);
        while (ctl.canReadLine())
            lines << QString::fromLocal8Bit(ctl.readLine()).trimmed();
    }
    QVERIFY2(lines.size() >= 3, qPrintable(lines.join('|')));
    ::kill(pid_t(ctl.processId()), SIGINT);
    QVERIFY(ctl.waitForFinished(5000));
    QCOMPARE(ctl.exitStatus(), QProcess::NormalExit);
    QCOMPARE(ctl.exitCode(), kExitOk);
    lines += QString::fromLocal8Bit(ctl.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
    for (const QString& line : lines)
        QCOMPARE(lineValues(line), QStringLiteral("4660"));
    QVERIFY(ctl.readAllStandardError().isEmpty());
    QVERIFY(endsWithLinkDown(fileBytes(trace)));
    // The board is still there for the next client.
    const CtlRun after = runVralctl(link(*m_stopped) + QStringList{"read", "B1012"});
    QCOMPARE(after.out, QStringList{QStringLiteral("25")});
}

void TestVralctlWatch::refusedArguments_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("message"); // part of the one line on stderr ("" for the usage)
    QTest::newRow("not an address") << QStringList{"W200", "X9"} << "\"X9\" is not a board address";
    QTest::newRow("beyond the board")
        << QStringList{"B65536"} << "\"B65536\" is not a board address";
    QTest::newRow("word over the top")
        << QStringList{"W65535"} << "\"W65535\" is not a board address";
    QTest::newRow("no address") << QStringList{"--count", "2"} << "";
    QTest::newRow("count 0") << QStringList{"W200", "--count", "0"} << "";
    QTest::newRow("negative interval") << QStringList{"W200", "--interval", "-5"} << "";
    QTest::newRow("interval without a value") << QStringList{"W200", "--interval"} << "";
    QTest::newRow("unknown option") << QStringList{"W200", "--every", "5"} << "";
}

void TestVralctlWatch::refusedArguments() {
    QFETCH(QStringList, arguments);
    QFETCH(QString, message);
    const QString trace = m_home.filePath(QStringLiteral("refused.trace"));
    QFile::remove(trace);
    const CtlRun run =
        runVralctl(link(*m_stopped) + QStringList{"--trace", trace, "watch"} + arguments);
    QVERIFY(!run.crashed);
    QCOMPARE(run.exitCode, kExitUsage);
    QCOMPARE(run.out, QStringList());
    if (!message.isEmpty())
        QVERIFY2(run.err.join('\n').contains(message), qPrintable(run.err.join('\n')));
    else
        QVERIFY2(run.err.join('\n').contains(QLatin1String("watch ADDR...")),
                 qPrintable(run.err.join('\n')));
    QVERIFY2(fileBytes(trace).isEmpty(), "nothing may reach the line");
}

QTEST_GUILESS_MAIN(TestVralctlWatch)
#include "tst_vralctlwatch.moc"
