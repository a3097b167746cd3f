// The timing page's board cycle on the in-memory board, without the page:
// one exchange per step in the order configuration, recalls, status pass,
// and the snapshot and news each step publishes.
#include "appstate.h"
#include "linkrig.h"
#include "timingcycle.h"
#include "transferwire.h"

#include <QtTest>

class TestTimingCycle : public QObject {
    Q_OBJECT

private slots:
    void onlineCycle_data();
    void onlineCycle();
    void channelsDownloadedRecallsAgain();
};

void TestTimingCycle::onlineCycle_data() {
    QTest::addColumn<int>("rpm");
    QTest::addColumn<QStringList>("statusReads");
    QTest::addColumn<QString>("position");
    QTest::addColumn<bool>("chartPosition");
    QTest::addColumn<bool>("offsetSettable");
    QTest::newRow("stopped: position read, offset settable")
        << 0 << QStringList{"word 0x58", "word 0x58", "word 0x48", "word 0x28", "word 0x18"} << "75"
        << true << true;
    QTest::newRow("at the limit: position read")
        << 50 << QStringList{"word 0x58", "word 0x58", "word 0x48", "word 0x28", "word 0x18"}
        << "75" << true << false;
    QTest::newRow("too fast: position not read")
        << 51 << QStringList{"word 0x58", "word 0x58", "word 0x28", "word 0x18"} << "888" << false
        << false;
}

void TestTimingCycle::onlineCycle() {
    QFETCH(int, rpm);
    QFETCH(QStringList, statusReads);
    QFETCH(QString, position);
    QFETCH(bool, chartPosition);
    QFETCH(bool, offsetSettable);
    LinkRig rig;
    AppState state;
    rig.board.pls().setConfigBlock(0, {3, 11, 12, 13, 14, 0});
    rig.board.pls().clear(7);
    rig.board.pls().setScale(360);
    rig.board.pls().turnResolver(75);
    rig.board.pls().setRpm(rpm);
    QVERIFY(rig.goOnline());
    TimingCycle cycle(rig.link, state, rig.prompts);
    cycle.startOnline();

    QStringList expected{"readconfig"};
    for (int row = 0; row < TimingCycle::kRowCount; ++row)
        for (int i = 0; i < (row == 7 ? 1 : 2); ++i)
            expected << QStringLiteral("recall %1").arg(row);
    const qsizetype recallSteps = expected.size() - 1;
    expected << statusReads;

    QList<TimingNews> news;
    for (qsizetype step = 0; step < expected.size(); ++step) {
        news << cycle.step();
        // Every step is exactly one exchange.
        QCOMPARE(transferTransactions(rig.port.sentBytes()).size(), step + 1);
    }
    QCOMPARE(transferTransactions(rig.port.sentBytes()), expected);
    QCOMPARE(rig.prompts.messageCount(), 0);

    const TimingSnapshot& board = cycle.snapshot();
    QCOMPARE(news[0].part, TimingNews::Part::Configuration);
    QVERIFY(news[0].recallsStarted);
    QCOMPARE(board.configuration[0], 16);
    QCOMPARE(board.configuration[1], 3);
    QCOMPARE(board.configuration[5], 14);
    for (qsizetype step = 1; step <= recallSteps; ++step) {
        QCOMPARE(news[step].part, TimingNews::Part::Recall);
        QCOMPARE(news[step].channelsShown, step == recallSteps);
    }
    // The last recall was channel 8's second edge.
    QCOMPARE(board.recallRow, 8);
    QCOMPARE(board.recall, TimingSnapshot::Recall::Off);
    QCOMPARE(board.recallPosition, 180);
    // Shown only: the cycle's recalls leave the document alone.
    QCOMPARE(state.CurrentDocument.OffSetpoints[8], 0);

    const TimingNews& speed = news[recallSteps + 1];
    QCOMPARE(speed.part, TimingNews::Part::Speed);
    QCOMPARE(speed.offsetSettable.has_value(), offsetSettable);
    QCOMPARE(board.rpm, QString::number(rpm));
    QCOMPARE(board.position, position);
    QCOMPARE(board.chartPosition.has_value(), chartPosition);
    QCOMPARE(board.scale, QStringLiteral("360"));
    QCOMPARE(news.last().part, TimingNews::Part::Scale);
}

void TestTimingCycle::channelsDownloadedRecallsAgain() {
    LinkRig rig;
    AppState state;
    rig.board.pls().clear(4);
    QVERIFY(rig.goOnline());
    TimingCycle cycle(rig.link, state, rig.prompts);
    state.ChannelsDownloaded = true;
    // The flag starts the recall without an exchange; the recall stores nothing.
    const TimingNews start = cycle.step();
    QVERIFY(start.recallsStarted);
    QVERIFY(!state.ChannelsDownloaded);
    QVERIFY(rig.port.sentBytes().isEmpty());
    for (int step = 0; step < 9; ++step)
        cycle.step();
    QCOMPARE(transferTransactions(rig.port.sentBytes()).last(), QStringLiteral("recall 4"));
    QCOMPARE(cycle.snapshot().recall, TimingSnapshot::Recall::NotProgrammed);
    // Not part of an online appearance: nothing to finish.
    QVERIFY(!cycle.step().channelsShown);
}

QTEST_GUILESS_MAIN(TestTimingCycle)
#include "tst_timingcycle.moc"
