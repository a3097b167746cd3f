// vralctl pls against the simulated board over a pseudo-terminal: what a
// setpoint, pulse train, clear or offset leaves in the limit switch as recall
// and show read it back, the refusals that keep the channel command off the
// line, and a PLS that never takes a command.
#include "e2erig.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

namespace {
constexpr int kExitOk = 0;
constexpr int kExitUsage = 2;
constexpr int kExitLink = 3;

// The bytes the program sent, in hexadecimal, from a byte trace.
QStringList sentBytes(const QString& tracePath) {
    QFile file(tracePath);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QStringList sent;
    for (const QByteArray& line : file.readAll().split('\n')) {
        const int mark = line.indexOf(" > ");
        if (mark >= 0)
            sent << QString::fromLatin1(line.mid(mark + 3, 2));
    }
    return sent;
}
} // namespace

class TestVralctlPls : public QObject {
    Q_OBJECT

private slots:
    void init();
    void setThenRecallAndShow();
    void pulseTrainRecallsItsStart();
    void clearLeavesNothingToRecall();
    void offsetMakesThePositionRead();
    void configListsNineteenValues();
    void outputsFollowTheSetpointsAtRest();
    void refused_data();
    void refused();
    void busyPlsFailsTheLink();

private:
    CtlRun ctl(const QStringList& arguments) {
        return runVralctl(linkArguments(m_board->device(), m_home.path()) + arguments);
    }

    QTemporaryDir m_home;
    std::unique_ptr<BoardProcess> m_board;
};

// A fresh board for every case: the limit switch as a new board has it
// (scale 360, offset 0, channels 0-8 programmed), standing at position 0.
void TestVralctlPls::init() {
    QVERIFY(m_home.isValid());
    m_board = std::make_unique<BoardProcess>(QStringList{QStringLiteral("--stopped")});
    QVERIFY(!m_board->device().isEmpty());
}

void TestVralctlPls::setThenRecallAndShow() {
    const CtlRun set = ctl({"pls", "set", "10", "30", "359"});
    QCOMPARE(set.exitCode, kExitOk);
    QCOMPARE(set.err, QStringList());
    QVERIFY(set.out.isEmpty());
    // Recall answers the ON setpoint first, then the OFF setpoint.
    QCOMPARE(ctl({"pls", "recall", "10"}).out, QStringList{"state 1 position 30"});
    QCOMPARE(ctl({"pls", "recall", "10"}).out, QStringList{"state 0 position 359"});
    const CtlRun show = ctl({"pls", "show"});
    QCOMPARE(show.exitCode, kExitOk);
    QCOMPARE(show.out, QStringList({"scale 360", "offset 0", "position 0", "rpm 0"}));
}

void TestVralctlPls::pulseTrainRecallsItsStart() {
    // 10 + 20 divides 360.
    QCOMPARE(ctl({"pls", "pulse", "12", "10", "20", "45"}).exitCode, kExitOk);
    QCOMPARE(ctl({"pls", "recall", "12"}).out, QStringList{"state 3 position 45"});
}

void TestVralctlPls::clearLeavesNothingToRecall() {
    QCOMPARE(ctl({"pls", "recall", "3"}).out, QStringList{"state 1 position 120"});
    QCOMPARE(ctl({"pls", "clear", "3"}).exitCode, kExitOk);
    QCOMPARE(ctl({"pls", "recall", "3"}).out, QStringList{"state 2 position 0"});
}

void TestVralctlPls::offsetMakesThePositionRead() {
    QCOMPARE(ctl({"pls", "offset", "100"}).exitCode, kExitOk);
    QCOMPARE(ctl({"pls", "show"}).out,
             QStringList({"scale 360", "offset 260", "position 100", "rpm 0"}));
    // The scale itself is a position the machine can be aligned to: it reads 0.
    QCOMPARE(ctl({"pls", "offset", "360"}).exitCode, kExitOk);
    QCOMPARE(ctl({"pls", "show"}).out.value(2), QStringLiteral("position 0"));
}

void TestVralctlPls::configListsNineteenValues() {
    const CtlRun run = ctl({"pls", "config"});
    QCOMPARE(run.exitCode, kExitOk);
    // A new board: sixteen channels, every other parameter 0.
    QCOMPARE(run.out, QStringList{"16 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0"});
}

// At position 0 channels 7 (0-40) and 8 (0-180) are on. A setpoint pair
// made while the machine stands shows in the outputs word at once.
void TestVralctlPls::outputsFollowTheSetpointsAtRest() {
    QCOMPARE(ctl({"pls", "set", "11", "0", "5"}).exitCode, kExitOk);
    QCOMPARE(ctl({"read", "W170"}).out,
             QStringList{QString::number((1 << 7) | (1 << 8) | (1 << 11))});
    QCOMPARE(ctl({"pls", "clear", "8"}).exitCode, kExitOk);
    QCOMPARE(ctl({"read", "W170"}).out, QStringList{QString::number((1 << 7) | (1 << 11))});
}

void TestVralctlPls::refused_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("message");
    QTest::addColumn<bool>("online"); // the board's scale was read before the refusal

    QTest::newRow("ON setpoint at the scale")
        << QStringList{"pls", "set", "3", "360", "10"}
        << "PLS Single Setpoint: Setpoint setting 360 is greater than scale factor. Channel can "
           "not be programmed."
        << true;
    QTest::newRow("divisions not a part of the scale")
        << QStringList{"pls", "pulse", "4", "7", "10", "0"}
        << "PLS Pulse Train: ON Division Plus OFF Division Must be a Multiple of 360. PLS Channel "
           "will not be Programmed."
        << true;
    QTest::newRow("start at the scale")
        << QStringList{"pls", "pulse", "4", "10", "20", "360"}
        << "PLS Pulse Train: Start Position Must Not Be Greater Than 359. PLS Channel will not "
           "be Programmed."
        << true;
    QTest::newRow("position past the scale")
        << QStringList{"pls", "offset", "361"}
        << "Set PLS Offset: Desired Position cannot be greater than Scale Factor of 360. PLS "
           "Offset will not be Programmed."
        << true;
    QTest::newRow("channel 16") << QStringList{"pls", "clear", "16"}
                                << "vralctl: \"16\" is not a PLS channel (0 to 15)" << false;
    QTest::newRow("negative setpoint")
        << QStringList{"pls", "set", "1", "-1", "5"}
        << "vralctl: \"-1\" is not a number from 0 to 65535" << false;
    QTest::newRow("setpoint beyond 16 bits")
        << QStringList{"pls", "set", "1", "5", "65536"}
        << "vralctl: \"65536\" is not a number from 0 to 65535" << false;
    QTest::newRow("channel not a number")
        << QStringList{"pls", "recall", "CH1"} << "vralctl: \"CH1\" is not a PLS channel (0 to 15)"
        << false;
}

void TestVralctlPls::refused() {
    QFETCH(QStringList, arguments);
    QFETCH(QString, message);
    QFETCH(bool, online);
    const QString trace = m_home.filePath(QStringLiteral("refused.trace"));
    QFile::remove(trace);
    const CtlRun run = ctl(QStringList{QStringLiteral("--trace"), trace} + arguments);
    QVERIFY(!run.crashed);
    QCOMPARE(run.exitCode, kExitUsage);
    QCOMPARE(run.err, QStringList{message});
    QVERIFY(run.out.isEmpty());
    const QStringList sent = sentBytes(trace);
    if (!online) {
        QCOMPARE(sent, QStringList());
        return;
    }
    // Online, the scale (and for the offset the offset and position) was
    // read; no channel command, offset write or pulse train followed.
    QVERIFY(sent.contains(QStringLiteral("18")));
    for (const char* command : {"1B", "2B", "2A"})
        QVERIFY2(!sent.contains(QLatin1String(command)), command);
    // Channels 3 and 4 are as a new board has them.
    QCOMPARE(ctl({"pls", "recall", "3"}).out, QStringList{"state 1 position 120"});
    QCOMPARE(ctl({"pls", "recall", "4"}).out, QStringList{"state 1 position 80"});
}

// The PLS never reports ready: after 3 s the link asks, vralctl answers
// Cancel and the command fails as a link failure. The setting has still
// reached the PLS (it takes effect before the ready handshake).
void TestVralctlPls::busyPlsFailsTheLink() {
    BoardProcess busy(
        {QStringLiteral("--stopped"), QStringLiteral("--fault"), QStringLiteral("pls-busy")});
    QVERIFY(!busy.device().isEmpty());
    const CtlRun run = runVralctl(linkArguments(busy.device(), m_home.path()) +
                                  QStringList{"pls", "set", "5", "10", "20"});
    QVERIFY(!run.crashed);
    QCOMPARE(run.exitCode, kExitLink);
    QCOMPARE(run.err, QStringList{"WARNING - Communication Error!: Cannot Determine PLS READY "
                                  "Mode Within Target Board."});
    QVERIFY2(run.elapsedMs >= 2900, qPrintable(QString::number(run.elapsedMs)));
}

QTEST_GUILESS_MAIN(TestVralctlPls)
#include "tst_vralctlpls.moc"
