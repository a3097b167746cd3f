// The step driver and the task runner: one step per tick, none inside a
// running transaction, the pace asked after every step, a task run to its end.
#include "linkrig.h"
#include "stepdriver.h"
#include "steptask.h"
#include "taskrunner.h"

#include <QSignalSpy>
#include <QTest>
#include <QTimer>

namespace {

// Counts its steps and ends after `steps` of them.
class CountingTask : public StepTask {
public:
    explicit CountingTask(int steps, int delayMs = 0) : m_steps(steps), m_delayMs(delayMs) {}
    bool step() override {
        ++calls;
        return calls < m_steps;
    }
    int progress() const override { return calls; }
    int progressMaximum() const override { return m_steps; }
    QString statusText() const override { return QStringLiteral("Counting"); }
    int delayBeforeNextStepMs() const override { return m_delayMs; }
    int calls = 0;

private:
    int m_steps;
    int m_delayMs;
};

} // namespace

class TestStepDriver : public QObject {
    Q_OBJECT

private slots:
    void tickInsideTransactionIsDeferred();
    void paceFollowsTheLink();
    void stoppedDriverSchedulesNothing();
    void taskRunsToItsEnd();
    void taskDelayPacesTheNextStep_data();
    void taskDelayPacesTheNextStep();
};

void TestStepDriver::tickInsideTransactionIsDeferred() {
    LinkRig rig;
    QVERIFY(rig.goOnline());
    int steps = 0;
    StepDriver driver(
        rig.link, [&steps] { ++steps; }, StepDriver::every(500));
    driver.start();
    rig.board.setFault(BoardSim::Fault::Silent);
    int stepsDuringBox = -1;
    int delayDuringBox = -1;
    rig.prompts.setDuringMessage([&] {
        driver.runStep(); // the timer firing inside the link's box
        stepsDuringBox = steps;
        delayDuringBox = driver.scheduledDelayMs();
    });
    rig.prompts.answerMessage(Prompts::Answer::Cancel);
    rig.link.RSRead(QStringLiteral("B1012"));
    QCOMPARE(stepsDuringBox, 0);
    QCOMPARE(delayDuringBox, StepDriver::kBusyRetryMs);

    driver.runStep(); // outside any transaction
    QCOMPARE(steps, 1);
    QCOMPARE(driver.scheduledDelayMs(), 500);
}

void TestStepDriver::paceFollowsTheLink() {
    LinkRig rig;
    StepDriver driver(
        rig.link, [] {}, StepDriver::followLink(rig.link));
    driver.start();
    driver.runStep();
    QCOMPARE(driver.scheduledDelayMs(), StepDriver::kOfflinePaceMs);
    QVERIFY(rig.goOnline());
    driver.runStep();
    QCOMPARE(driver.scheduledDelayMs(), 0);
    driver.stop();
}

void TestStepDriver::stoppedDriverSchedulesNothing() {
    LinkRig rig;
    int steps = 0;
    StepDriver driver(
        rig.link, [&steps] { ++steps; }, StepDriver::every(10));
    driver.runStep(); // a direct call still steps
    QCOMPARE(steps, 1);
    QVERIFY(!driver.timer()->isActive());
    driver.start();
    QVERIFY(driver.timer()->isActive());
    driver.stop();
    QVERIFY(!driver.timer()->isActive());
    QVERIFY(!driver.isActive());
}

void TestStepDriver::taskRunsToItsEnd() {
    LinkRig rig;
    CountingTask task(3);
    TaskRunner runner(rig.link, task);
    QSignalSpy progressed(&runner, &TaskRunner::progressed);
    QVERIFY(progressed.isValid());
    QSignalSpy finished(&runner, &TaskRunner::finished);
    QVERIFY(finished.isValid());
    QVERIFY(progressed.isValid());
    QVERIFY(finished.isValid());
    runner.runToEnd();
    QCOMPARE(task.calls, 3);
    QCOMPARE(progressed.count(), 3);
    QCOMPARE(finished.count(), 1);
    QVERIFY(runner.hasFinished());
    QVERIFY(!runner.isRunning());
    QVERIFY(!runner.driver().isActive());
    runner.start(); // a finished task is not started again
    QTest::qWait(20);
    QCOMPARE(task.calls, 3);
}

void TestStepDriver::taskDelayPacesTheNextStep_data() {
    QTest::addColumn<int>("pauseMs");
    QTest::addColumn<int>("earlyMs"); // how early the timer fires
    QTest::newRow("0.1 s, the timer 5 ms early") << 100 << 5;
    QTest::newRow("2 s, the timer 1 ms early") << 2000 << 1;
}

void TestStepDriver::taskDelayPacesTheNextStep() {
    QFETCH(int, pauseMs);
    QFETCH(int, earlyMs);
    LinkRig rig;
    CountingTask task(3, pauseMs);
    TaskRunner runner(rig.link, task);
    runner.start();
    runner.driver().runStep();
    QCOMPARE(task.calls, 1);
    QCOMPARE(runner.driver().scheduledDelayMs(), pauseMs);
    QCOMPARE(runner.driver().timer()->timerType(), Qt::PreciseTimer);
    // The timer fires before the pause is over on the clock: no step, and
    // the driver waits for the rest.
    rig.clock.advance(pauseMs - earlyMs);
    runner.driver().runStep();
    QCOMPARE(task.calls, 1);
    QCOMPARE(runner.driver().scheduledDelayMs(), earlyMs);
    rig.clock.advance(earlyMs);
    runner.driver().runStep();
    QCOMPARE(task.calls, 2);
    runner.driver().stop();
}

QTEST_GUILESS_MAIN(TestStepDriver)
#include "tst_stepdriver.moc"
