#include "speedtrend.h"

#include <QTest>

#include <numeric>

namespace {

constexpr qint64 kStart = 1'765'000'000'000; // some afternoon, in ms since the epoch
constexpr qint64 kMinute = 60'000;
using Steps = QVector<qint64>;
using Runs = QVector<int>;

} // namespace

class TestSpeedTrend : public QObject {
    Q_OBJECT

private slots:
    void runsBreakAtGaps_data() {
        // Each step: milliseconds after the start, and the CPM read; -1 as the
        // CPM means the readings stopped there (page closed, link down).
        QTest::addColumn<Steps>("steps");
        QTest::addColumn<Runs>("runLengths");
        const qint64 gap = SpeedTrend::kGapMs;
        QTest::newRow("steady 1/s") << Steps{0, 600, 1000, 600, 2000, 600} << Runs{3};
        QTest::newRow("thinned") << Steps{0, 600, 300, 610, 999, 620, 1000, 630} << Runs{2};
        QTest::newRow("a stop is a line") << Steps{0, 600, 1000, 0, 2000, 0, 3000, 600} << Runs{4};
        QTest::newRow("page closed") << Steps{0, 600, 1000, 600, 1500, -1, 2500, 600} << Runs{2, 1};
        QTest::newRow("silence of the gap joins") << Steps{0, 600, gap, 600} << Runs{2};
        QTest::newRow("longer silence breaks") << Steps{0, 600, gap + 1, 600} << Runs{1, 1};
        QTest::newRow("clock set back restarts")
            << Steps{10000, 600, 11000, 600, 5000, 300} << Runs{1};
    }
    void runsBreakAtGaps() {
        QFETCH(Steps, steps);
        QFETCH(Runs, runLengths);
        SpeedTrend trend;
        qint64 last = kStart;
        for (int i = 0; i + 1 < steps.size(); i += 2) {
            last = kStart + steps[i];
            if (steps[i + 1] < 0)
                trend.interrupt();
            else
                trend.add(last, static_cast<qint32>(steps[i + 1]));
        }
        Runs lengths;
        for (const auto& run : trend.runs(last))
            lengths << run.size();
        QCOMPARE(lengths, runLengths);
        // Every sample kept is in some run.
        QCOMPARE(trend.size(), std::accumulate(lengths.begin(), lengths.end(), 0));
    }

    void boundedToAnHour() {
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

    void windowFitsWhatWasRecorded_data() {
        QTest::addColumn<qint64>("recordedMs");
        QTest::addColumn<qint64>("spanMs");
        QTest::addColumn<qint64>("tickMs");
        QTest::newRow("a few seconds") << qint64(5000) << 2 * kMinute << kMinute / 2;
        QTest::newRow("exactly two minutes") << 2 * kMinute << 2 * kMinute << kMinute / 2;
        QTest::newRow("just past two minutes") << 2 * kMinute + 1000 << 5 * kMinute << kMinute;
        QTest::newRow("twenty minutes") << 20 * kMinute << 30 * kMinute << 5 * kMinute;
        QTest::newRow("nearly an hour") << 59 * kMinute << 60 * kMinute << 10 * kMinute;
        QTest::newRow("older than the hour not counted")
            << 90 * kMinute << 2 * kMinute << kMinute / 2;
    }
    void windowFitsWhatWasRecorded() {
        QFETCH(qint64, recordedMs);
        QFETCH(qint64, spanMs);
        QFETCH(qint64, tickMs);
        SpeedTrend trend;
        trend.add(kStart, 600);
        trend.add(kStart + recordedMs, 600);
        QCOMPARE(trend.window(kStart + recordedMs), (SpeedTrend::Window{spanMs, tickMs}));
    }
};

QTEST_GUILESS_MAIN(TestSpeedTrend)
#include "tst_speedtrend.moc"
