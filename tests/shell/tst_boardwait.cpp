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
};

void TestBoardWait::windowLivesThroughSilentBoard() {
    QFETCH(int, thawAtMs);
    QFETCH(int, lastSecondShown);
    QFETCH(QByteArray, received);
    SystemClock clock;
    BoardSim board(clock);
    SimulatedPort port(board, clock);
    ScriptedPrompts prompts;
    QTemporaryDir home;
    AppFolder folder(home.path());
    RSComm link(clock, prompts, folder);
    AppState state;
    frmMDIMain window(state, link, port, prompts, clock, folder,
                      {{"frmMain", "&1 Main Display", true, placeholderPage("Main")}});
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    window.onlineSession().goOnline();
    link.RSRead("B121"); // the next read goes straight to its address

    PaintLog log;
    log.clock = &clock;
    window.statusBar()->installEventFilter(&log);
    QTimer repaint; // what an animated window would ask for
    QObject::connect(&repaint, &QTimer::timeout, window.statusBar(), qOverload<>(&QWidget::update));
    repaint.start(20);
    QSignalSpy clockTicks(window.findChild<SecondTicker*>("tmrClockPanels")->timer(),
                          &QTimer::timeout);
    QSignalSpy pollTicks(window.statusPollDriver().timer(), &QTimer::timeout);
    QVERIFY(clockTicks.isValid() && pollTicks.isValid());
    if (thawAtMs)
        QTimer::singleShot(thawAtMs, &window, [&] { board.setFault(BoardSim::Fault::None); });
    qint64 boxAtMs = 0;
    QString messageAtBox;
    prompts.setDuringMessage([&] {
        boxAtMs = clock.monotonicMs();
        messageAtBox = window.statusBar()->currentMessage();
    });
    prompts.setDefaultMessageAnswer(Prompts::Answer::Cancel);

    board.setFault(BoardSim::Fault::Silent);
    port.clearWire();
    const qint64 startMs = clock.monotonicMs();
    link.RSRead("B121");
    const qint64 endMs = boxAtMs ? boxAtMs : clock.monotonicMs();

    QCOMPARE(port.sentBytes(), bytes({0x00, 0xFF, 0xFF}));
    QCOMPARE(port.receivedBytes(), received);
    QList<qint64> late; // after 0, 1 and 3 s, and the box's after 5 s
    for (const auto& event : port.wire())
        if (event.kind == SimulatedPort::WireEvent::Kind::Sent)
            late << event.atMs - startMs - QList<qint64>{0, 1000, 3000}.at(late.size());
    if (boxAtMs)
        late << boxAtMs - startMs - 5000;
    for (const qint64 ms : late)
        QVERIFY2(ms >= 0 && ms < 150, qPrintable(QString::number(ms)));
    QCOMPARE(prompts.messageCount(), thawAtMs ? 0 : 1);
    if (boxAtMs) {
        const ScriptedPrompts::Record box = prompts.messages().first();
        QCOMPARE(box.title, "WARNING - Communication Error!");
        QCOMPARE(box.text, "Cannot Communicate with Target Board.\rVerify RS-232 Cable is "
                           "Connected Between\rCOMM Port and PROG Port.");
        QCOMPARE(box.icon, Prompts::Icon::Critical);
        QCOMPARE(box.buttons, Prompts::Buttons::RetryCancel);
        QCOMPARE(messageAtBox, QString());
    }

    qint64 lastPaintMs = startMs;
    QStringList shown;
    for (const auto& [atMs, message] : log.paints) {
        if (atMs < startMs)
            continue;
        QVERIFY2(std::min(atMs, endMs) - lastPaintMs <= 250, qPrintable(QString::number(atMs)));
        lastPaintMs = atMs;
        if (!message.isEmpty() && (shown.isEmpty() || shown.last() != message))
            shown << message;
    }
    QVERIFY(endMs - lastPaintMs <= 250);
    QStringList seconds;
    for (int second = 0; second <= lastSecondShown; ++second)
        seconds << QStringLiteral("Waiting for the target board to answer: %1 s").arg(second);
    QCOMPARE(shown, seconds);
    QCOMPARE(window.statusBar()->currentMessage(), QString());
    QVERIFY(clockTicks.size() >= lastSecondShown && pollTicks.size() >= 2 * lastSecondShown);
}

QTEST_MAIN(TestBoardWait)
#include "tst_boardwait.moc"
