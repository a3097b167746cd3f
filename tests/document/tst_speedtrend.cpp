#include "speedtrend.h"

#include <QTest>

namespace {

constexpr qint64 kStart = 1'765'000'000'000; // some afternoon, in ms since the epoch
constexpr qint64 kMinute = 60'000;

} // namespace

class TestSpeedTrend : public QObject {
    Q_OBJECT

private slots:
    void runsBreakAtGaps_data();
    void runsBreakAtGaps();
    void boundedToAnHour();
    void windowFitsWhatWasRecorded_data();
    void windowFitsWhatWasRecorded();
};

void TestSpeedTrend::runsBreakAtGaps_data() {
    // Each step: milliseconds after the start, and the CPM read; -1 as the
    // CPM means the readings stopped there (page closed, link down).
    QTest::addColumn<QVector<qint64>>("steps");
    QTest::addColumn<QVector<int>>("runLengths");
    QTest::addColumn<int>("kept");

    QTest::newRow("steady once a second")
        << QVector<qint64>{0, 600, 1000, 600, 2000, 600} << QVector<int>{3} << 3;
    QTest::newRow("faster than once a second is thinned")
        << QVector<qint64>{0, 600, 300, 610, 999, 620, 1000, 630} << QVector<int>{2} << 2;
    QTest::newRow("a stop is a line, not a gap")
        << QVector<qint64>{0, 600, 1000, 0, 2000, 0, 3000, 600} << QVector<int>{4} << 4;
    QTest::newRow("page closed in between")
        << QVector<qint64>{0, 600, 1000, 600, 1500, -1, 2500, 600} << QVector<int>{2, 1} << 3;
    QTest::newRow("silence of exactly the gap still joins")
        << QVector<qint64>{0, 600, SpeedTrend::kGapMs, 600} << QVector<int>{2} << 2;
    QTest::newRow("longer silence breaks")
        << QVector<qint64>{0, 600, SpeedTrend::kGapMs + 1, 600} << QVector<int>{1, 1} << 2;
    QTest::newRow("clock set back starts afresh")
        << QVector<qint64>{10000, 600, 11000, 600, 5000, 300} << QVector<int>{1} << 1;
}

void TestSpeedTrend::runsBreakAtGaps() {
    QFETCH(QVector<qint64>, steps);
    QFETCH(QVector<int>, runLengths);
    QFETCH(int, kept);

    SpeedTrend trend;
    qint64 last = kStart;
    for (int i = 0; i + 1 < steps.size(); i += 2) {
        last = kStart + steps[i];
        if (steps[i + 1] < 0)
            trend.interrupt();
        else
            trend.add(last, static_cast<qint32>(steps[i + 1]));
    }
    QVector<int> lengths;
    for (const auto& run : trend.runs(last))
        lengths << run.size();
    QCOMPARE(lengths, runLengths);
    QCOMPARE(trend.size(), kept);
}

void TestSpeedTrend::boundedToAnHour() {
    // Two hours at one reading a second: the oldest hour is gone and the
    // buffer never grows past its fixed size.
    SpeedTrend trend;
    const qint64 end = kStart + 2 * SpeedTrend::kSpanMs;
    for (qint64 at = kStart; at <= end; at += 1000)
        QVERIFY(trend.add(at, static_cast<qint32>((at - kStart) / 1000 % 700)));
    QCOMPARE(trend.size(), SpeedTrend::kCapacity);
    QVERIFY(sizeof(SpeedTrend) < 64 * 1024);
    const auto runs = trend.runs(end);
    QCOMPARE(runs.size(), 1);
    QCOMPARE(runs.first().size(), SpeedTrend::kCapacity);
    QCOMPARE(runs.first().first().atMs, end - SpeedTrend::kSpanMs + 1000);
    QCOMPARE(trend.latest()->atMs, end);
    // A minute later the first 59 s of the hour have slipped out of view (the
    // sample exactly an hour old is still in it).
    QCOMPARE(trend.runs(end + kMinute).first().size(), SpeedTrend::kCapacity - 59);
}

void TestSpeedTrend::windowFitsWhatWasRecorded_data() {
    QTest::addColumn<qint64>("recordedMs");
    QTest::addColumn<qint64>("spanMs");
    QTest::addColumn<qint64>("tickMs");

    QTest::newRow("a few seconds") << qint64(5000) << 2 * kMinute << kMinute / 2;
    QTest::newRow("exactly two minutes") << 2 * kMinute << 2 * kMinute << kMinute / 2;
    QTest::newRow("just past two minutes") << 2 * kMinute + 1000 << 5 * kMinute << kMinute;
    QTest::newRow("twenty minutes") << 20 * kMinute << 30 * kMinute << 5 * kMinute;
    QTest::newRow("nearly an hour") << 59 * kMinute << 60 * kMinute << 10 * kMinute;
    QTest::newRow("older than the hour is not counted")
        << 90 * kMinute << 2 * kMinute << kMinute / 2;
}

void TestSpeedTrend::windowFitsWhatWasRecorded() {
    QFETCH(qint64, recordedMs);
    QFETCH(qint64, spanMs);
    QFETCH(qint64, tickMs);
    SpeedTrend trend;
    trend.add(kStart, 600);
    trend.add(kStart + recordedMs, 600);
    QCOMPARE(trend.window(kStart + recordedMs), (SpeedTrend::Window{spanMs, tickMs}));
}

QTEST_GUILESS_MAIN(TestSpeedTrend)
#include "tst_speedtrend.moc"
