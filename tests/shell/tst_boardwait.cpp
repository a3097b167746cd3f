// A board that stops answering in the middle of a read, in real time: the
// link keeps its bytes, their times and its box, while the window goes on
// painting with the seconds counting in the status bar, and the timers that
// fire meanwhile (the status poll, the clock panels) get nothing onto the line.
#include "appstate.h"
#include "frmmdimain.h"
#include "linkrig.h"
#include "placeholderpage.h"
#include "secondticker.h"
#include "stepdriver.h"
#include "systemclock.h"

#include <QSignalSpy>
#include <QStatusBar>
#include <QTimer>

namespace {
// When the status bar paints, and what it says then.
struct PaintLog : QObject {
    const Clock* clock = nullptr;
    QList<std::pair<qint64, QString>> paints;
    bool eventFilter(QObject* bar, QEvent* event) override {
        if (event->type() == QEvent::Paint)
            paints.append({clock->monotonicMs(), static_cast<QStatusBar*>(bar)->currentMessage()});
        return false;
    }
};

const QString kCommErrorTitle = QStringLiteral("WARNING - Communication Error!");

// The main window online to the in-process board over a real-time line, its
// status bar asked to repaint every 20 ms (as an animated window would), the
// paints logged, the first box's time and the status bar's message then.
struct WaitRig : BasicBoardRig<SystemClock> {
    AppState state;
    frmMDIMain window{state,
                      link,
                      port,
                      prompts,
                      clock,
                      folder,
                      {{"frmMain", "&1 Main Display", true, placeholderPage("Main")}}};
    PaintLog log;
    QTimer repaint;
    qint64 boxAtMs = 0;
    QString messageAtBox;

    bool start() {
        window.show();
        if (!QTest::qWaitForWindowExposed(&window))
            return false;
        window.onlineSession().goOnline();
        log.clock = &clock;
        window.statusBar()->installEventFilter(&log);
        QObject::connect(&repaint, &QTimer::timeout, window.statusBar(),
                         qOverload<>(&QWidget::update));
        repaint.start(20);
        prompts.setDuringMessage([this] {
            if (!boxAtMs) {
                boxAtMs = clock.monotonicMs();
                messageAtBox = window.statusBar()->currentMessage();
            }
        });
        prompts.setDefaultMessageAnswer(Prompts::Answer::Cancel);
        return link.OnlineMode;
    }

    // The status bar painted at least every 250 ms from startMs to endMs,
    // showing the seconds from 0 to lastSecond, and is clear afterwards.
    void checkPaintedThrough(qint64 startMs, qint64 endMs, int lastSecond) const {
        qint64 lastPaintMs = startMs;
        QStringList shown;
        for (const auto& [atMs, message] : log.paints) {
            if (atMs < startMs)
                continue;
            QVERIFY2(std::min(atMs, endMs) - lastPaintMs <= 250,
                     qPrintable(QString::number(atMs - startMs)));
            lastPaintMs = atMs;
            if (!message.isEmpty() && (shown.isEmpty() || shown.last() != message))
                shown << message;
        }
        QVERIFY(endMs - lastPaintMs <= 250);
        QStringList seconds;
        for (int second = 0; second <= lastSecond; ++second)
            seconds << QStringLiteral("Waiting for the target board to answer: %1 s").arg(second);
        QCOMPARE(shown, seconds);
        QCOMPARE(window.statusBar()->currentMessage(), QString());
    }
};
} // namespace

class TestBoardWait : public QObject {
    Q_OBJECT
private slots:
    void windowLivesThroughSilentBoard_data() {
        QTest::addColumn<int>("thawAtMs"); // 0: never
        QTest::addColumn<int>("lastSecondShown");
        QTest::addColumn<QByteArray>("received");
        // The address byte of B121, a discard and 0xFF at 1 s and at 3 s, the box at 5 s.
        QTest::newRow("silent to the box") << 0 << 4 << QByteArray();
        // Thawed, the board takes the second 0xFF as attention: no box, but
        // the late reply voids the read and the line is kept quiet for 1 s
        // more, the seconds still counting.
        QTest::newRow("thawed at 1.5 s") << 1500 << 3 << bytes({0x55});
    }
    void windowLivesThroughSilentBoard();
    // A board that answers every byte, but not what the link waits for: the
    // tries go on as fast as the line allows, the window painting between them.
    void windowLivesThroughRetries_data() {
        QTest::addColumn<BoardSim::Fault>("fault");
        QTest::addColumn<int>("boxAfterMs");
        QTest::addColumn<QString>("boxText");
        QTest::newRow("mode refused")
            << BoardSim::Fault::ModeRefused << 2000 << "Cannot Set PLC Mode Within Target Board.";
        QTest::newRow("PLS busy") << BoardSim::Fault::PlsBusy << 3000
                                  << "Cannot Determine PLS READY Mode Within Target Board.";
    }
    void windowLivesThroughRetries();
};

void TestBoardWait::windowLivesThroughSilentBoard() {
    QFETCH(int, thawAtMs);
    QFETCH(int, lastSecondShown);
    QFETCH(QByteArray, received);
    WaitRig rig;
    QVERIFY(rig.start());
    rig.link.RSRead("B121"); // the next read goes straight to its address
    QSignalSpy clockTicks(rig.window.findChild<SecondTicker*>("tmrClockPanels")->timer(),
                          &QTimer::timeout);
    QSignalSpy pollTicks(rig.window.statusPollDriver().timer(), &QTimer::timeout);
    QVERIFY(clockTicks.isValid() && pollTicks.isValid());
    if (thawAtMs)
        QTimer::singleShot(thawAtMs, &rig.window,
                           [&] { rig.board.setFault(BoardSim::Fault::None); });

    rig.board.setFault(BoardSim::Fault::Silent);
    rig.port.clearWire();
    const qint64 startMs = rig.clock.monotonicMs();
    rig.link.RSRead("B121");
    const qint64 endMs = rig.boxAtMs ? rig.boxAtMs : rig.clock.monotonicMs();

    QCOMPARE(rig.port.sentBytes(), bytes({0x00, 0xFF, 0xFF}));
    QCOMPARE(rig.port.receivedBytes(), received);
    QList<qint64> late; // after 0, 1 and 3 s, and the box's after 5 s
    for (const auto& event : rig.port.wire())
        if (event.kind == SimulatedPort::WireEvent::Kind::Sent)
            late << event.atMs - startMs - QList<qint64>{0, 1000, 3000}.at(late.size());
    if (rig.boxAtMs)
        late << rig.boxAtMs - startMs - 5000;
    for (const qint64 ms : late)
        QVERIFY2(ms >= 0 && ms < 150, qPrintable(QString::number(ms)));
    QCOMPARE(rig.prompts.messageCount(), thawAtMs ? 0 : 1);
    if (rig.boxAtMs) {
        const ScriptedPrompts::Record box = rig.prompts.messages().first();
        QCOMPARE(box.title, kCommErrorTitle);
        QCOMPARE(box.text, "Cannot Communicate with Target Board.\rVerify RS-232 Cable is "
                           "Connected Between\rCOMM Port and PROG Port.");
        QCOMPARE(box.icon, Prompts::Icon::Critical);
        QCOMPARE(box.buttons, Prompts::Buttons::RetryCancel);
        QCOMPARE(rig.messageAtBox, QString());
    }
    rig.checkPaintedThrough(startMs, endMs, lastSecondShown);
    QVERIFY(clockTicks.size() >= lastSecondShown && pollTicks.size() >= 2 * lastSecondShown);
}

void TestBoardWait::windowLivesThroughRetries() {
    QFETCH(BoardSim::Fault, fault);
    QFETCH(int, boxAfterMs);
    QFETCH(QString, boxText);
    WaitRig rig;
    QVERIFY(rig.start());
    rig.port.setPaced(true); // each try takes its time on a 9600 bit/s line
    rig.board.setFault(fault);
    rig.port.clearWire();
    const qint64 startMs = rig.clock.monotonicMs();

    QVERIFY(!rig.link.WritePLSWord(0x2A, 10));

    QCOMPARE(rig.prompts.messageCount(), 1);
    const ScriptedPrompts::Record box = rig.prompts.messages().first();
    QCOMPARE(box.title, kCommErrorTitle);
    QCOMPARE(box.text, boxText);
    QCOMPARE(box.buttons, Prompts::Buttons::RetryCancel);
    QCOMPARE(rig.messageAtBox, QString());
    // The deadline is the link's, to within a try or two on the line.
    const qint64 boxLateMs = rig.boxAtMs - startMs - boxAfterMs;
    QVERIFY2(boxLateMs >= 0 && boxLateMs < 150, qPrintable(QString::number(boxLateMs)));
    // Still trying to the end: the line was never left idle for a paint's sake.
    QVERIFY(rig.port.sentBytes().size() > boxAfterMs / 10);
    rig.checkPaintedThrough(startMs, rig.boxAtMs, boxAfterMs / 1000 - 1);
}

QTEST_MAIN(TestBoardWait)
#include "tst_boardwait.moc"
