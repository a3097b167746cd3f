#include "bytetrace.h"
#include "linkrig.h"

#include <QBuffer>

namespace {
using Kind = SimulatedPort::WireEvent::Kind;

// The wire as "kind byte @time" texts, for readable comparisons.
QStringList wireLog(const SimulatedPort& port) {
    QStringList log;
    for (const auto& event : port.wire()) {
        const char* kind = event.kind == Kind::Sent       ? ">"
                           : event.kind == Kind::Received ? "<"
                                                          : "discard";
        log.append(
            QStringLiteral("%1 %2 @%3")
                .arg(QLatin1String(kind))
                .arg(event.kind == Kind::Discard ? QString() : QString::number(event.byte, 16))
                .arg(event.atMs));
    }
    return log;
}

const QString kCommTitle = QStringLiteral("WARNING - Communication Error!");
const QString kNoAnswer = QStringLiteral("Cannot Communicate with Target Board.\r"
                                         "Verify RS-232 Cable is Connected Between\r"
                                         "COMM Port and PROG Port.");
} // namespace

class TestLinkRecovery : public QObject {
    Q_OBJECT

private slots:
    void silentBoardTimeline();
    void cancelLatchesCommError();
    void retryAndTheBoardAnswers();
    void retryWithoutAnswerAsksAgain();
    void modeRefusedThenCancel();
    void modeRefusedThenRetry();
    void lostPortOnWrite();
    void lostPortWhileWaiting();
    void transactionInProgressInsideBoxes();
    void byteTrace();
};

void TestLinkRecovery::silentBoardTimeline() {
    LinkRig rig;
    QVERIFY(rig.goOnline());
    rig.board.setFault(BoardSim::Fault::Silent);
    QList<qint64> boxTimes;
    rig.prompts.setDuringMessage([&] { boxTimes.append(rig.clock.monotonicMs()); });
    rig.prompts.answerMessage(Prompts::Answer::Cancel);

    QCOMPARE(rig.link.RSRead(QStringLiteral("B100")), QStringLiteral("0"));

    // The handshake's 0xFF, then one resynchronising 0xFF after 1 s and one
    // after 2 s more, each on an emptied input; the box 2 s after that.
    QCOMPARE(wireLog(rig.port), (QStringList{"discard  @0", "> ff @0", "discard  @1000",
                                             "> ff @1000", "discard  @3000", "> ff @3000"}));
    QCOMPARE(boxTimes, QList<qint64>{5000});
    QCOMPARE(rig.prompts.messageCount(), 1);
    const auto box = rig.prompts.messages().first();
    QCOMPARE(box.title, kCommTitle);
    QCOMPARE(box.text, kNoAnswer);
    QCOMPARE(box.icon, Prompts::Icon::Critical);
    QCOMPARE(box.buttons, Prompts::Buttons::RetryCancel);
    QVERIFY(rig.link.CommError);
    QVERIFY(rig.link.CommErrorAlert);
    QCOMPARE(rig.link.linkMode(), 0);
}

void TestLinkRecovery::cancelLatchesCommError() {
    LinkRig rig;
    QVERIFY(rig.goOnline());
    rig.board.setFault(BoardSim::Fault::Silent);
    rig.prompts.answerMessage(Prompts::Answer::Cancel);
    rig.link.RSRead(QStringLiteral("B100"));
    rig.board.setFault(BoardSim::Fault::None);
    rig.port.clearWire();
    const qint64 before = rig.clock.monotonicMs();

    QCOMPARE(rig.link.ExchangeByte(0x12, false, true), 9999);
    QCOMPARE(rig.link.RSRead(QStringLiteral("B100")), QStringLiteral("0"));
    rig.link.RSWrite(QStringLiteral("B100"), QStringLiteral("1"));
    QCOMPARE(rig.link.ReadPLSWord(0x18), -9999);
    QVERIFY(!rig.link.WritePLSWord(0x1A, 360));
    rig.link.CloseRSComm(); // no last 0xFF on a failed link

    QVERIFY(rig.port.wire().isEmpty());
    QCOMPARE(rig.clock.monotonicMs(), before);
    QCOMPARE(rig.prompts.messageCount(), 1);
    QVERIFY(!rig.port.isOpen());

    rig.link.OpenRSComm(rig.port); // the only way back
    QVERIFY(!rig.link.CommError);
    QVERIFY(rig.link.OnlineMode);
}

void TestLinkRecovery::retryAndTheBoardAnswers() {
    LinkRig rig;
    rig.board.setMemory(100, 42);
    QVERIFY(rig.goOnline());
    rig.board.setFault(BoardSim::Fault::Silent, 3); // ignores three bytes, then answers
    rig.prompts.answerMessage(Prompts::Answer::Retry);

    QCOMPARE(rig.link.RSRead(QStringLiteral("B100")), QStringLiteral("42"));
    // After Retry the link waits 2 s more, then resynchronises again; that
    // 0xFF is answered and the read goes on.
    QCOMPARE(rig.port.sentBytes(), bytes({0xFF, 0xFF, 0xFF, 0xFF, 0x01, 0x00, 100}));
    QCOMPARE(rig.sendTimes().at(3), qint64(7000));
    QVERIFY(!rig.link.CommError);
    QVERIFY(!rig.link.CommErrorAlert);
    QCOMPARE(rig.prompts.messageCount(), 1);
}

void TestLinkRecovery::retryWithoutAnswerAsksAgain() {
    LinkRig rig;
    QVERIFY(rig.goOnline());
    rig.board.setFault(BoardSim::Fault::Silent);
    QList<qint64> boxTimes;
    rig.prompts.setDuringMessage([&] { boxTimes.append(rig.clock.monotonicMs()); });
    rig.prompts.answerMessage(Prompts::Answer::Retry);
    rig.prompts.answerMessage(Prompts::Answer::Cancel);

    QCOMPARE(rig.link.ExchangeByte(0x12, false, false), 9999);
    QCOMPARE(boxTimes, (QList<qint64>{5000, 11000}));
    QCOMPARE(rig.sendTimes(), (QList<qint64>{0, 1000, 3000, 7000, 9000}));
    QCOMPARE(rig.port.sentBytes(), bytes({0x12, 0xFF, 0xFF, 0xFF, 0xFF}));
    QVERIFY(rig.link.CommError);
}

void TestLinkRecovery::modeRefusedThenCancel() {
    LinkRig rig;
    QVERIFY(rig.goOnline(rig.paced));
    rig.board.setFault(BoardSim::Fault::ModeRefused);
    qint64 boxTime = -1;
    rig.prompts.setDuringMessage([&] { boxTime = rig.clock.monotonicMs(); });
    rig.prompts.answerMessage(Prompts::Answer::Cancel);

    QCOMPARE(rig.link.RSRead(QStringLiteral("B100")), QStringLiteral("0"));

    const QByteArray sent = rig.port.sentBytes();
    QVERIFY(sent.size() > 100);
    for (int i = 0; i < sent.size(); i += 2)
        QCOMPARE(sent.mid(i, 2), bytes({0xFF, 0x01}));
    QVERIFY2(boxTime > 2000 && boxTime < 2010, qPrintable(QString::number(boxTime)));
    const auto box = rig.prompts.messages().first();
    QCOMPARE(box.title, kCommTitle);
    QCOMPARE(box.text, QStringLiteral("Cannot Set PLC Mode Within Target Board."));
    QCOMPARE(box.icon, Prompts::Icon::Critical);
    QCOMPARE(box.buttons, Prompts::Buttons::RetryCancel);
    QVERIFY(rig.link.CommError);
    QVERIFY(!rig.link.OnlineMode);
    QVERIFY(!rig.port.isOpen());
    QCOMPARE(rig.prompts.messageCount(), 1);
}

void TestLinkRecovery::modeRefusedThenRetry() {
    LinkRig rig;
    rig.board.setMemory(100, 7);
    QVERIFY(rig.goOnline(rig.paced));
    rig.board.setFault(BoardSim::Fault::ModeRefused);
    rig.prompts.setDuringMessage([&] { rig.board.setFault(BoardSim::Fault::None); });
    rig.prompts.answerMessage(Prompts::Answer::Retry);

    QCOMPARE(rig.link.RSRead(QStringLiteral("B100")), QStringLiteral("7"));
    QCOMPARE(rig.port.sentBytes().right(4), bytes({0xFF, 0x01, 0x00, 100}));
    QCOMPARE(rig.link.linkMode(), 1);
    QVERIFY(rig.link.OnlineMode);
    QVERIFY(!rig.link.CommError);
}

void TestLinkRecovery::lostPortOnWrite() {
    LinkRig rig;
    QVERIFY(rig.goOnline());
    rig.port.unplug();
    rig.prompts.answerMessage(Prompts::Answer::Ok);

    QCOMPARE(rig.link.RSRead(QStringLiteral("B100")), QStringLiteral("0"));
    QVERIFY(rig.port.sentBytes().isEmpty());
    QCOMPARE(rig.clock.monotonicMs(), qint64(0));
    QVERIFY(rig.link.CommError);
    QVERIFY(!rig.port.isOpen());
    QCOMPARE(rig.prompts.messageCount(), 1);
    const auto box = rig.prompts.messages().first();
    QCOMPARE(box.title, kCommTitle);
    QCOMPARE(box.text, kNoAnswer);
    QCOMPARE(box.buttons, Prompts::Buttons::Ok);

    rig.link.RSRead(QStringLiteral("B101"));
    QCOMPARE(rig.prompts.messageCount(), 1);
}

void TestLinkRecovery::lostPortWhileWaiting() {
    LinkRig rig;
    QVERIFY(rig.goOnline(rig.paced));
    rig.board.setFault(BoardSim::Fault::Silent);
    rig.paced.loseWaits = true;
    rig.prompts.answerMessage(Prompts::Answer::Ok);
    const qint64 start = rig.clock.monotonicMs();

    QCOMPARE(rig.link.ExchangeByte(0x12, false, false), 9999);
    // No resynchronisation and no 5 s of waiting on a device that is gone.
    QCOMPARE(rig.port.sentBytes(), bytes({0x12}));
    QCOMPARE(rig.port.discardCount(), 0);
    QCOMPARE(rig.clock.monotonicMs() - start, qint64(1));
    QVERIFY(rig.link.CommError);
    QVERIFY(!rig.port.isOpen());
    QCOMPARE(rig.prompts.messageCount(), 1);
}

void TestLinkRecovery::transactionInProgressInsideBoxes() {
    LinkRig rig;
    QVERIFY(rig.goOnline());
    QVERIFY(!rig.link.transactionInProgress());
    rig.board.setFault(BoardSim::Fault::Silent);
    QList<bool> inProgress;
    rig.prompts.setDuringMessage([&] { inProgress.append(rig.link.transactionInProgress()); });
    rig.prompts.answerMessage(Prompts::Answer::Cancel);
    rig.prompts.answerMessage(Prompts::Answer::Cancel);
    rig.prompts.answerMessage(Prompts::Answer::Ok);

    rig.link.RSRead(QStringLiteral("B100"));
    rig.link.OpenRSComm(rig.port); // silent board: the opening 0xFF times out too
    rig.board.setFault(BoardSim::Fault::None);
    rig.link.CommError = false;
    rig.link.RSWrite(QStringLiteral("B100"), QStringLiteral("x"));

    QCOMPARE(inProgress, (QList<bool>{true, true, true}));
    QVERIFY(!rig.link.transactionInProgress());
}

void TestLinkRecovery::byteTrace() {
    LinkRig rig;
    rig.board.setMemory(100, 0x2A);
    QBuffer buffer;
    QVERIFY(buffer.open(QIODevice::WriteOnly));
    ByteTrace trace(buffer, rig.clock);
    rig.link.setTrace(&trace);
    QVERIFY(rig.goOnline());
    rig.clock.advance(1250);
    rig.link.RSRead(QStringLiteral("B100"));

    const QStringList lines = QString::fromLatin1(buffer.data()).split('\n', Qt::SkipEmptyParts);
    QCOMPARE(lines,
             (QStringList{
                 "2026-12-07T08:00:00.000 > FF mode 0", "2026-12-07T08:00:00.000 < 55 mode 0",
                 "2026-12-07T08:00:01.250 > FF mode 0", "2026-12-07T08:00:01.250 < 55 mode 0",
                 "2026-12-07T08:00:01.250 > 01 mode 0", "2026-12-07T08:00:01.250 < 55 mode 0",
                 "2026-12-07T08:00:01.250 > 00 mode 1", "2026-12-07T08:00:01.250 < 00 mode 1",
                 "2026-12-07T08:00:01.250 > 64 mode 1", "2026-12-07T08:00:01.250 < 2A mode 1"}));
}

QTEST_GUILESS_MAIN(TestLinkRecovery)
#include "tst_linkrecovery.moc"
