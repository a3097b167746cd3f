// A board that stops answering in the middle of a read, in real time: the
// link keeps its waits, its resynchronising 0xFF bytes and its box to the
// millisecond, while the window goes on painting with the status bar
// counting the seconds, and no timer that fires meanwhile (the status poll,
// the clock panels) gets a byte onto the line.
#include "appfolder.h"
#include "appstate.h"
#include "boardsim.h"
#include "boardwaitindicator.h"
#include "frmmdimain.h"
#include "linkrig.h"
#include "placeholderpage.h"
#include "rscomm.h"
#include "scriptedprompts.h"
#include "secondticker.h"
#include "simulatedport.h"
#include "stepdriver.h"
#include "systemclock.h"

#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <memory>

namespace {

using Kind = SimulatedPort::WireEvent::Kind;

constexpr int kNever = -1;
// The window must paint again this soon, however long the board is silent.
constexpr qint64 kRepaintWithinMs = 250;
// How late a byte or the box may come on a loaded machine; never early.
constexpr qint64 kLateMs = 150;

struct Rig {
    SystemClock clock;
    BoardSim board{clock};
    SimulatedPort port{board, clock};
    ScriptedPrompts prompts;
    QTemporaryDir home;
    AppFolder folder{home.path()};
    RSComm link{clock, prompts, folder};
    AppState state;
    frmMDIMain window{state, link, port, prompts, clock, folder, pages()};

    static QVector<PageEntry> pages() {
        PageEntry entry{QStringLiteral("frmMain"), QStringLiteral("&1 Main Display"), true, {}};
        entry.create = placeholderPage(entry.menuCaption);
        return {entry};
    }
};

// Paints of the status bar and what it said at each, with the time.
class PaintProbe : public QObject {
public:
    struct Paint {
        qint64 atMs;
        QString message;
    };
    PaintProbe(QStatusBar* bar, const Clock& clock) : m_bar(bar), m_clock(clock) {
        bar->installEventFilter(this);
    }
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint)
            paints.append({m_clock.monotonicMs(), m_bar->currentMessage()});
        return false;
    }
    // The longest time between two paints from fromMs to toMs.
    qint64 longestGap(qint64 fromMs, qint64 toMs) const {
        qint64 last = fromMs;
        qint64 gap = 0;
        for (const Paint& paint : paints) {
            if (paint.atMs < fromMs || paint.atMs > toMs)
                continue;
            gap = std::max(gap, paint.atMs - last);
            last = paint.atMs;
        }
        return std::max(gap, toMs - last);
    }
    // The messages shown, each once, in order.
    QStringList messages() const {
        QStringList shown;
        for (const Paint& paint : paints)
            if (!paint.message.isEmpty() && (shown.isEmpty() || shown.last() != paint.message))
                shown.append(paint.message);
        return shown;
    }
    QList<Paint> paints;

private:
    QStatusBar* m_bar;
    const Clock& m_clock;
};

} // namespace

class TestBoardWait : public QObject {
    Q_OBJECT
private slots:
    void windowLivesThroughSilentBoard_data();
    void windowLivesThroughSilentBoard();
};

void TestBoardWait::windowLivesThroughSilentBoard_data() {
    QTest::addColumn<int>("thawAtMs");
    QTest::addColumn<int>("lastSecondShown");
    QTest::addColumn<bool>("boxShown");
    QTest::addColumn<QByteArray>("received");

    // The address byte of B121 (0x00), then after 1 s and 3 s an input
    // discard and a resynchronising 0xFF; the box at 5 s.
    QTest::newRow("silent to the box, Cancel") << kNever << 4 << true << QByteArray();
    // Thawed at 1.5 s, the board takes the second 0xFF as attention and
    // answers it; the read ends there, without a box.
    QTest::newRow("thawed before the second 0xFF") << 1500 << 2 << false << bytes({0x55});
}

void TestBoardWait::windowLivesThroughSilentBoard() {
    QFETCH(int, thawAtMs);
    QFETCH(int, lastSecondShown);
    QFETCH(bool, boxShown);
    QFETCH(QByteArray, received);

    Rig rig;
    rig.window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&rig.window));
    rig.window.onlineSession().goOnline();
    QVERIFY(rig.link.linkUp());
    rig.link.RSRead(QStringLiteral("B121")); // in read mode: the next read sends its address
    QVERIFY(rig.link.linkUp());

    QStatusBar* bar = rig.window.statusBar();
    PaintProbe probe(bar, rig.clock);
    QTimer repaint;
    repaint.setTimerType(Qt::PreciseTimer);
    QObject::connect(&repaint, &QTimer::timeout, bar, qOverload<>(&QWidget::update));
    repaint.start(20);
    int clockTicks = 0;
    int pollTicks = 0;
    QObject::connect(rig.window.findChild<SecondTicker*>("tmrClockPanels")->timer(),
                     &QTimer::timeout, [&] { ++clockTicks; });
    QObject::connect(rig.window.statusPollDriver().timer(), &QTimer::timeout, [&] { ++pollTicks; });
    QTimer thaw;
    thaw.setSingleShot(true);
    QObject::connect(&thaw, &QTimer::timeout, [&] { rig.board.setFault(BoardSim::Fault::None); });

    qint64 boxAtMs = -1;
    QString messageAtBox = QStringLiteral("<no box>");
    rig.prompts.setDuringMessage([&] {
        boxAtMs = rig.clock.monotonicMs();
        messageAtBox = bar->currentMessage();
    });
    if (boxShown)
        rig.prompts.answerMessage(Prompts::Answer::Cancel);

    rig.board.setFault(BoardSim::Fault::Silent);
    if (thawAtMs != kNever)
        thaw.start(thawAtMs);
    rig.port.clearWire();
    const qint64 startMs = rig.clock.monotonicMs();
    rig.link.RSRead(QStringLiteral("B121"));
    const qint64 endMs = rig.clock.monotonicMs();

    // The line: exactly the link's own bytes, at the link's own times.
    QList<Kind> kinds;
    QList<qint64> sentAt;
    for (const SimulatedPort::WireEvent& event : rig.port.wire()) {
        kinds.append(event.kind);
        if (event.kind == Kind::Sent)
            sentAt.append(event.atMs - startMs);
    }
    QCOMPARE(rig.port.sentBytes(), bytes({0x00, 0xFF, 0xFF}));
    QCOMPARE(rig.port.receivedBytes(), received);
    QCOMPARE(kinds.mid(0, 5),
             (QList<Kind>{Kind::Sent, Kind::Discard, Kind::Sent, Kind::Discard, Kind::Sent}));
    for (const qint64 expected : {1000, 3000}) {
        const qint64 at = sentAt.at(expected == 1000 ? 1 : 2);
        QVERIFY2(at >= expected && at <= expected + kLateMs, qPrintable(QString::number(at)));
    }

    if (boxShown) {
        QCOMPARE(rig.prompts.messageCount(), 1);
        const ScriptedPrompts::Record box = rig.prompts.messages().first();
        QCOMPARE(box.title, QStringLiteral("WARNING - Communication Error!"));
        QCOMPARE(box.text, QStringLiteral("Cannot Communicate with Target Board.\rVerify RS-232 "
                                          "Cable is Connected Between\rCOMM Port and PROG Port."));
        QCOMPARE(box.icon, Prompts::Icon::Critical);
        QCOMPARE(box.buttons, Prompts::Buttons::RetryCancel);
        QVERIFY2(boxAtMs - startMs >= 5000 && boxAtMs - startMs <= 5000 + kLateMs,
                 qPrintable(QString::number(boxAtMs - startMs)));
        QCOMPARE(messageAtBox, QString()); // the box speaks for itself
        QVERIFY(rig.link.CommError);
    } else {
        QCOMPARE(rig.prompts.messageCount(), 0);
        QVERIFY(!rig.link.CommError);
    }

    // The window, meanwhile: painting, counting the seconds, its clock
    // ticking, the poll's turns skipped.
    const qint64 waitEndMs = boxShown ? boxAtMs : endMs;
    const qint64 gap = probe.longestGap(startMs, waitEndMs);
    QVERIFY2(gap <= kRepaintWithinMs, qPrintable(QStringLiteral("no paint for %1 ms").arg(gap)));
    QStringList seconds;
    for (int second = 0; second <= lastSecondShown; ++second)
        seconds << BoardWaitIndicator::text(second * 1000);
    QCOMPARE(probe.messages(), seconds);
    QCOMPARE(bar->currentMessage(), QString());
    QVERIFY(clockTicks >= lastSecondShown);
    QVERIFY(pollTicks >= 2 * lastSecondShown);
}

QTEST_MAIN(TestBoardWait)
#include "tst_boardwait.moc"
