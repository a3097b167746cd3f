#include "statuspoll.h"

#include <QTest>

namespace {

// One poll tick: online with a reply (and the CommError seen after the
// read), or offline; or the poll held by a long command with its notice.
struct Tick {
    bool online = true;
    bool commError = false;
    QString reply;
    QString heldNotice;
};

Tick online(const QString& reply) {
    return {true, false, reply, QString()};
}
Tick onlineWithCommError() {
    return {true, true, QString(), QString()};
}
Tick offline(bool commError = false) {
    return {false, commError, QString(), QString()};
}
const QString kNotice = QStringLiteral("Paused since 14:02:31 while the program is downloaded");
Tick held() {
    return {true, false, QString(), kNotice};
}

const QString kNormal = QStringLiteral("-- System Normal --\r\nSet-up Program is Currently ONLINE");
const QString kInfeed = QStringLiteral("***** SYSTEM ALARM *****\r\n Infeed Track Jam \r\n\r\n");
const QString kTiming =
    QStringLiteral("***** SYSTEM ALARM *****\r\n Timing Signal Failure \r\n\r\n");
const QString kPanelNormal = QStringLiteral("System Message:  All Faults Normal");
const QString kPanelFaults = QStringLiteral("System Message:  Faults Active in PLC");

} // namespace

Q_DECLARE_METATYPE(QList<Tick>)

class TestStatusPoll : public QObject {
    Q_OBJECT
private slots:
    void startsWithBarePanelText();
    void ticks_data();
    void ticks();
};

void TestStatusPoll::startsWithBarePanelText() {
    StatusPoll poll;
    QCOMPARE(poll.panelText(), QStringLiteral("System Message:"));
    QVERIFY(poll.systemStatusText().isEmpty());
    QVERIFY(!poll.alarmLatched(0));
    QVERIFY(!poll.alarmLatched(1));
}

void TestStatusPoll::ticks_data() {
    QTest::addColumn<QList<Tick>>("ticks");
    QTest::addColumn<bool>("infeedLatched");
    QTest::addColumn<bool>("timingLatched");
    QTest::addColumn<QString>("systemStatus");
    QTest::addColumn<QString>("panel");

    QTest::newRow("word 0: normal")
        << QList<Tick>{online("0")} << false << false << kNormal << kPanelNormal;
    QTest::newRow("word 96 latches both, infeed listed first")
        << QList<Tick>{online("96")} << true << true << kInfeed + kTiming << kPanelFaults;
    QTest::newRow("word 64 latches timing only")
        << QList<Tick>{online("64")} << false << true << kTiming << kPanelFaults;
    QTest::newRow("bits other than 5 and 6 latch nothing")
        << QList<Tick>{online("16")} << false << false << kNormal << kPanelNormal;
    QTest::newRow("32 then 16: positive word without bit 5 keeps the latch")
        << QList<Tick>{online("32"), online("16")} << true << false << kInfeed << kPanelFaults;
    QTest::newRow("32, 16, then 0 clears") << QList<Tick>{online("32"), online("16"), online("0")}
                                           << false << false << kNormal << kPanelNormal;
    QTest::newRow("96 then 32 keeps both") << QList<Tick>{online("96"), online("32")} << true
                                           << true << kInfeed + kTiming << kPanelFaults;
    QTest::newRow("negative word clears")
        << QList<Tick>{online("96"), online("-5")} << false << false << kNormal << kPanelNormal;
    QTest::newRow("reply that is no number counts 0 and clears")
        << QList<Tick>{online("96"), online("abc")} << false << false << kNormal << kPanelNormal;
    QTest::newRow("leading number of the reply is taken")
        << QList<Tick>{online(" 32 units")} << true << false << kInfeed << kPanelFaults;
    QTest::newRow("CommError keeps previous alarm texts")
        << QList<Tick>{online("96"), onlineWithCommError()} << true << true << kInfeed + kTiming
        << kPanelFaults;
    QTest::newRow("CommError keeps previous normal texts")
        << QList<Tick>{online("0"), onlineWithCommError()} << false << false << kNormal
        << kPanelNormal;
    QTest::newRow("CommError on first tick keeps the start texts")
        << QList<Tick>{onlineWithCommError()} << false << false << QString()
        << QStringLiteral("System Message:");
    QTest::newRow("offline") << QList<Tick>{offline()} << false << false
                             << QStringLiteral("Set-up Program is Currently OFFLINE")
                             << QStringLiteral("System Message:  Program is Currently OFFLINE");
    QTest::newRow("offline with CommError")
        << QList<Tick>{offline(true)} << false << false
        << QStringLiteral("Set-up Program is Currently OFFLINE")
        << QStringLiteral("System Message:  Comm Fault with K7600");
    QTest::newRow("held: the notice instead of the alarm")
        << QList<Tick>{online("96"), held()} << true << true << kNotice
        << QStringLiteral("System Message:  ") + kNotice;
    QTest::newRow("a tick after the hold shows the latched alarms again")
        << QList<Tick>{online("96"), held(), online("16")} << true << true << kInfeed + kTiming
        << kPanelFaults;
    QTest::newRow("latches survive an offline period")
        << QList<Tick>{online("32"), offline(), online("16")} << true << false << kInfeed
        << kPanelFaults;
}

void TestStatusPoll::ticks() {
    QFETCH(QList<Tick>, ticks);
    QFETCH(bool, infeedLatched);
    QFETCH(bool, timingLatched);
    QFETCH(QString, systemStatus);
    QFETCH(QString, panel);

    StatusPoll poll;
    for (const Tick& tick : ticks) {
        if (!tick.heldNotice.isEmpty())
            poll.hold(tick.heldNotice);
        else if (tick.online)
            poll.updateOnline(tick.commError, tick.reply);
        else
            poll.updateOffline(tick.commError);
    }
    QCOMPARE(poll.alarmLatched(0), infeedLatched);
    QCOMPARE(poll.alarmLatched(1), timingLatched);
    QCOMPARE(poll.systemStatusText(), systemStatus);
    QCOMPARE(poll.panelText(), panel);
    // Online, the panel turns red exactly while its text names the alarms.
    if (ticks.constLast().online)
        QCOMPARE(poll.alarmActive(), panel == kPanelFaults);
}

QTEST_APPLESS_MAIN(TestStatusPoll)
#include "tst_statuspoll.moc"
